#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kestrelon {

// A RAS connection handle; 0 means none.
using RasHandle = std::uint32_t;

inline constexpr std::uint32_t kRasCsDeviceConnected = 3;
inline constexpr std::uint32_t kRasCsConnected = 0x2000;
inline constexpr std::uint32_t kRasCsDisconnected = 0x2001;
// RasGetConnectStatus on a handle that is gone.
inline constexpr std::uint32_t kErrorInvalidHandle = 6;

struct RasConnection {
    RasHandle handle = 0;
    std::string entryName;
};

struct RasDialParams {
    std::string userName;
    std::string password;
};

// The remote access service behind the program's one door to it (RasFunc). The simulated
// service implements it on every machine; a platform service can implement it where one exists.
class RasBackend {
  public:
    // Receives the dial events of a line, on the user-interface thread, later than the Dial
    // call that started the call (never from inside it).
    using DialEventSink = std::function<void(int line, std::uint32_t state, std::uint32_t error)>;

    virtual ~RasBackend() = default;

    virtual void SetDialEventSink(DialEventSink sink) = 0;
    // The phone-book entry names, in phone-book order.
    virtual std::vector<std::string> EnumEntries() = 0;
    // The user name and password stored with an entry; empty when none.
    virtual RasDialParams GetEntryDialParams(const std::string& entry) = 0;
    // Starts an asynchronous dial whose events go to the sink for this line. Returns 0 and the
    // new handle when the call started, else a RAS error number (and handle 0).
    virtual std::uint32_t Dial(int line, const std::string& entry, const std::string& userName,
                               const std::string& password, RasHandle& handle) = 0;
    // Harmless for 0 and for handles that are gone.
    virtual void HangUp(RasHandle handle) = 0;
    // 0 and the connection state, or kErrorInvalidHandle.
    virtual std::uint32_t GetConnectStatus(RasHandle handle, std::uint32_t& state) = 0;
    // Active connections of the whole system, in the order they came up.
    virtual std::vector<RasConnection> EnumConnections() = 0;
    // Milliseconds online; nullopt when the service cannot tell.
    virtual std::optional<std::uint32_t> ConnectDurationMs(RasHandle handle) = 0;
    // The local address as dotted text; "" when unknown.
    virtual std::string IpAddress(RasHandle handle) = 0;
    // The service's English text for a RAS error number; "" when it has none.
    virtual std::string ErrorString(std::uint32_t code) = 0;
};

}  // namespace kestrelon
