#include "mainwindow/TrayIconChoice.h"

#include <cmath>

#include "dialer/DialSession.h"
#include "mainwindow/TrayCounter.h"
#include "mainwindow/TrayIcon.h"
#include "profiles/ConnectionProfile.h"

namespace kestrelon {

void TrayIconChoice::Plot(const std::string& digits, int colour, int mode) {
    const IconImage icon = PlotTimeImage(digits, PaletteColour(colour), mode);
    s_.tray.TrayModify(s_.iconId, &icon, "");
}

void TrayIconChoice::Update(const DialSession& session, const ConnectionProfile* profile,
                            int iconIndex) {
    const bool connected = session.StatusState == kStatusConnected && profile != nullptr;
    if (connected && profile->TrayTimer == 2) {
        state_.ShownIcon = TrayState::kCounter;
        const auto elapsed = std::lround(session.OnlineSeconds);
        long long s = elapsed;
        if (profile->CountDown >= 1) {
            s = std::lround(profile->CountDown - session.OnlineSeconds);
            if (s < static_cast<long long>(profile->Warning) * 60) {
                if (profile->Warning == 0) {
                    state_.WarningGiven = false;
                } else if (!state_.WarningGiven) {
                    if (s_.warn) {
                        s_.warn();
                    }
                    state_.WarningGiven = true;
                }
            } else {
                state_.WarningGiven = false;
            }
            if (s < 0) {
                s = elapsed;  // the count-down has run out: count the time up again
            }
        }
        const std::string digits = TimeDigits(s);
        if (digits != state_.LastTimeText) {
            Plot(digits, profile->TrayColor, 0);
            state_.LastTimeText = digits;
        }
        return;
    }
    if (connected && profile->TrayTimer == 1) {
        state_.ShownIcon = TrayState::kCounter;
        const Currency amount = s_.parseCharges ? s_.parseCharges(session.ChargesText) : Currency{};
        const TrayDigits shown = ChargesToTrayDigits(amount, s_.currencyDigits);
        if (shown.digits != state_.LastChargesText) {
            state_.LastChargesText = shown.digits;
            Plot(shown.digits, profile->TrayColor, shown.mode);
        }
        return;
    }
    if (state_.ShownIcon != iconIndex) {
        state_.LastTimeText.clear();
        state_.LastChargesText.clear();
        s_.tray.TrayModify(s_.iconId, iconIndex == 1 ? &s_.online : &s_.offline, "");
        state_.ShownIcon = iconIndex;
    }
}

}  // namespace kestrelon
