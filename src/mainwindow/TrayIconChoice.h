#pragma once

#include <functional>
#include <string>

#include "core/Currency.h"
#include "platform/IconImage.h"

namespace kestrelon {

class TrayIcon;
struct ConnectionProfile;
struct DialSession;

// What the tray icon shows now: a static picture (0 offline, 1 online) or the drawn counter
// (3), and the digits last drawn, so the counter is redrawn only when they change.
struct TrayState {
    static constexpr int kCounter = 3;
    int ShownIcon = 0;
    std::string LastTimeText;
    bool WarningGiven = false;
    std::string LastChargesText;
};

// Chooses the tray picture on each status refresh: the time or charges counter while online
// when the profile asks for one, else the static picture of the icon index (which blinks while
// dialing).
class TrayIconChoice {
  public:
    struct Services {
        TrayIcon& tray;
        int iconId;
        IconImage offline;
        IconImage online;
        // Plays the disconnection warning.
        std::function<void()> warn;
        // The charges text as money; nothing when it does not read as money.
        std::function<Currency(const std::string&)> parseCharges;
        int currencyDigits = 2;
    };

    explicit TrayIconChoice(Services services) : s_(std::move(services)) {}

    // profile is the profile in use (null for none); iconIndex 0 or 1.
    void Update(const DialSession& session, const ConnectionProfile* profile, int iconIndex);

    const TrayState& State() const { return state_; }

  private:
    void Plot(const std::string& digits, int colour, int mode);

    Services s_;
    TrayState state_;
};

}  // namespace kestrelon
