#include "core/AppSettings.h"

#include <algorithm>
#include <limits>

#include "core/INIio.h"

namespace kestrelon {

namespace {

constexpr std::string_view kSettings = "Settings";

// A hand-edited number beyond the int range would make the conversion undefined; it is held at
// the range's end instead.
int ToInt(double value) {
    constexpr double kMin = std::numeric_limits<int>::min();
    constexpr double kMax = std::numeric_limits<int>::max();
    return static_cast<int>(std::clamp(value, kMin, kMax));
}

}  // namespace

std::string ProgramVersionText() {
    return std::to_string(KESTRELON_VERSION_MAJOR) + "." + std::to_string(KESTRELON_VERSION_MINOR) +
           std::to_string(KESTRELON_VERSION_PATCH);
}

void LoadSettings(AppSettings& s) {
    // One snapshot of the file for the whole load; a batch that is never written.
    IniBatch file;
    auto text = [&](std::string_view section, std::string_view key) {
        return file.ReadString(section, key);
    };
    auto flag = [&](std::string_view key) {
        return EqualsIgnoreCase(Trim(text(kSettings, key)), "True");
    };
    auto number = [&](std::string_view key) { return ToInt(LeadingNumber(text(kSettings, key))); };

    s.StartHidden = flag("StartHidden");
    s.StartDial = flag("StartDial");
    s.DialDelay = number("Dialdelay");
    s.DynDelay = flag("DynDelay");
    s.WaitInvalidate = flag("WaitInvalidate");
    s.ProgLog = text(kSettings, "ProgLog");
    s.DialLog = text(kSettings, "DialLog");
    s.ErrorLog = text(kSettings, "ErrorLog");
    s.MaxLogSize = number("MaxLogSize");
    if (s.MaxLogSize <= 0) {
        s.MaxLogSize = 50;
    }
    s.StartCon = number("StartCon");
    s.DisDual = flag("DisDual");
    s.Language = text(kSettings, "Language");
    s.Hangup = flag("Hangup");
    s.ShowError = flag("ShowError");
    s.GlobalLaunchApps = flag("GlobalLaunchApps");
    s.ConMan = flag("ConMan");
    s.EmailProg = text(kSettings, "EmailProg");
    s.EmailInterval = number("EmailInterval");
    s.KeepAliveHost = text(kSettings, "KeepAliveHost");

    for (int n = 1; n <= s.sounds.count; ++n) {
        const std::string enabled = text("Sounds", std::to_string(n) + "Enabled");
        if (!enabled.empty()) {
            s.sounds.events[n].Enabled = EqualsIgnoreCase(Trim(enabled), "True");
            s.sounds.events[n].FName = text("Sounds", std::to_string(n) + "FName");
        }
    }

    s.nMailCheck = std::clamp(ToInt(LeadingNumber(text("MailCheck", "nMailCheck"))), 0,
                              AppSettings::kMaxMailServers);
    for (int n = 1; n <= s.nMailCheck; ++n) {
        const std::string prefix = std::to_string(n);
        s.mailServers[n] =
            MailServer{text("MailCheck", prefix + "Server"), text("MailCheck", prefix + "UName"),
                       text("MailCheck", prefix + "Pass")};
    }
}

void SaveSettings(const AppSettings& s) {
    IniBatch file;
    file.Write(kSettings, "StartHidden", s.StartHidden);
    file.Write(kSettings, "StartDial", s.StartDial);
    file.Write(kSettings, "DialDelay", s.DialDelay);
    file.Write(kSettings, "DynDelay", s.DynDelay);
    file.Write(kSettings, "WaitInvalidate", s.WaitInvalidate);
    file.Write("settings", "ProgLog", s.ProgLog);
    file.Write("settings", "DialLog", s.DialLog);
    file.Write("settings", "ErrorLog", s.ErrorLog);
    file.Write("settings", "MaxLogSize", s.MaxLogSize);
    file.Write(kSettings, "StartCon", s.StartCon);
    file.Write(kSettings, "DisDual", s.DisDual);
    file.Write(kSettings, "Language", s.Language);
    file.Write(kSettings, "Hangup", s.Hangup);
    file.Write(kSettings, "ShowError", s.ShowError);
    file.Write(kSettings, "GlobalLaunchApps", s.GlobalLaunchApps);
    file.Write(kSettings, "ConMan", s.ConMan);
    file.Write(kSettings, "EmailProg", s.EmailProg);
    file.Write(kSettings, "EmailInterval", s.EmailInterval);
    if (!s.KeepAliveHost.empty()) {
        file.Write(kSettings, "KeepAliveHost", s.KeepAliveHost);
    }

    for (int n = 1; n <= s.sounds.count; ++n) {
        const std::string prefix = std::to_string(n);
        file.Write("Sounds", prefix + "FName", s.sounds.events[n].FName);
        file.Write("Sounds", prefix + "Enabled", s.sounds.events[n].Enabled);
    }

    file.Write("MailCheck", "nMailCheck", s.nMailCheck);
    for (int n = 1; n <= s.nMailCheck; ++n) {
        const std::string prefix = std::to_string(n);
        file.Write("MailCheck", prefix + "Server", s.mailServers[n].Server);
        file.Write("MailCheck", prefix + "UName", s.mailServers[n].UName);
        file.Write("MailCheck", prefix + "Pass", s.mailServers[n].Pass);
    }
    file.Commit();
}

}  // namespace kestrelon
