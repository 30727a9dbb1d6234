#pragma once

#include <array>
#include <string>

namespace kestrelon {

// One program of a profile's program list.
struct LaunchApp {
    std::string LaunchAppCL;      // command line: program path and arguments
    bool LaunchAppClose = false;  // ended when the connection ends

    bool operator==(const LaunchApp&) const = default;
};

// One connection profile. A value-initialised record is the blank profile a new one starts
// from.
struct ConnectionProfile {
    static constexpr int kMaxLaunchApps = 32;

    std::string Name;
    std::string Con1;  // phone-book entry dialled on line 1
    std::string Con2;  // second entry for the second line; "" = none
    std::string UName;
    std::string Pass;  // scrambled
    bool Reconnect = false;
    bool IgnFErr = false;
    std::string IgnErr;  // error numbers separated by one blank
    int TrayTimer = 0;   // 0 no status icon, 1 charges counter, 2 online-time counter
    int TrayColor = 0;   // 0..15 of the 16-colour text-mode palette
    int CountDown = 0;   // seconds
    int Warning = 0;     // minutes
    int CancCall = 0;    // seconds; 0 = off
    bool KeepAlive = false;
    int BackupCon = 0;  // profile number; 0 = none
    int MaxDials = 0;   // 0 = unlimited
    int nLaunchApps = 0;
    std::array<LaunchApp, kMaxLaunchApps + 1> LaunchApps{};  // 1..nLaunchApps
    std::string ChargeProfile;

    bool operator==(const ConnectionProfile&) const = default;
};

// The profile table: slots 1..nProfs are the user's profiles in name order; slot 0 only holds
// the global program list.
struct ProfileTable {
    static constexpr int kMaxProfiles = 64;

    std::array<ConnectionProfile, kMaxProfiles + 1> ConProf{};
    int nProfs = 0;

    // Profile n, 1-based; nullptr for 0 and numbers beyond the count.
    const ConnectionProfile* Find(int n) const {
        return n >= 1 && n <= nProfs ? &ConProf[static_cast<std::size_t>(n)] : nullptr;
    }
    ConnectionProfile* Find(int n) {
        return n >= 1 && n <= nProfs ? &ConProf[static_cast<std::size_t>(n)] : nullptr;
    }
};

}  // namespace kestrelon
