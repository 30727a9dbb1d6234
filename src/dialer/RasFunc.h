#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "dialer/RasBackend.h"

namespace kestrelon {

class TextLookup;

// The program's own pseudo-errors: the dial limit and the connect time-out.
inline constexpr std::uint32_t kErrorMaxDials = 900;
inline constexpr std::uint32_t kErrorConnectTimeout = 901;

// The only door to the remote access service. Everything is synchronous except the dial,
// whose events reach the handler set by SetDialEventHandler.
class RasFunc {
  public:
    using DialEventHandler =
        std::function<void(int line, std::uint32_t state, std::uint32_t error)>;

    RasFunc(RasBackend& backend, TextLookup& lang);

    // Routes the dial events of both lines to the controller. A failure inside the handler is
    // swallowed, as the notifier windows do.
    void SetDialEventHandler(DialEventHandler handler);
    // Connection statistics exist only on the NT family from major version 5 on.
    void SetPlatformVersion(bool isNt, int majorVersion);

    std::vector<std::string> EnumRasEntries();
    RasDialParams GetEntryDialParams(const std::string& entry);
    // Starts a dial on line 1 or 2; returns the RAS result code (0 = started).
    std::uint32_t RasDialLine(int line, const std::string& entry, const std::string& userName,
                              const std::string& password, RasHandle& handle);
    void RasHangUp(RasHandle handle);
    std::uint32_t RasGetConnectStatus(RasHandle handle, std::uint32_t& state);
    // With an empty name: the first connection and its entry name (handle 0 and "" when there
    // is none). With a name: the handle of the last connection of that entry; unchanged when
    // nothing matches.
    void FindRasConnection(std::string& name, RasHandle& handle);
    std::uint32_t RasConnectDuration(RasHandle handle);
    std::string RasIpAddress(RasHandle handle);
    std::string RasErrorText(std::uint32_t code);

  private:
    RasBackend& backend_;
    TextLookup& lang_;
    DialEventHandler handler_;
    bool isNt_ = true;
    int majorVersion_ = 10;
};

}  // namespace kestrelon
