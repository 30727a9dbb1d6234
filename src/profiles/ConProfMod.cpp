#include "profiles/ConProfMod.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "conman/ScheduledTask.h"
#include "core/AppSettings.h"
#include "core/INIio.h"
#include "core/IniDocument.h"
#include "core/Scramble.h"

namespace kestrelon {

namespace {

constexpr std::string_view kSection = "ConProf";

// Counts as the table can hold them: a hand-edited file or a caller may hold larger or negative
// numbers, which must never become an index beyond the arrays.
int ProfileCount(const ProfileTable& table) {
    return std::clamp(table.nProfs, 0, ProfileTable::kMaxProfiles);
}

int LaunchAppCount(const ConnectionProfile& profile) {
    return std::clamp(profile.nLaunchApps, 0, ConnectionProfile::kMaxLaunchApps);
}

int TaskCount(const TaskTable& tasks) {
    return std::clamp(tasks.nTasks, 0, TaskTable::kMaxTasks);
}

// Stored numbers are rounded to the nearest integer (halves to even); numbers beyond the int
// range are held at its ends, where the conversion would otherwise be undefined.
int RoundToInt(double value) {
    constexpr double kMin = std::numeric_limits<int>::min();
    constexpr double kMax = std::numeric_limits<int>::max();
    return static_cast<int>(std::clamp(std::nearbyint(value), kMin, kMax));
}

void Swap(int& x, int a, int b) {
    if (x == a) {
        x = b;
    } else if (x == b) {
        x = a;
    }
}

ConnectionProfile& Slot(ProfileTable& table, int i) {
    return table.ConProf[static_cast<std::size_t>(i)];
}

LaunchApp& App(ConnectionProfile& profile, int j) {
    return profile.LaunchApps[static_cast<std::size_t>(j)];
}

// One snapshot of the file for the whole load, read the way the single-key reads do.
class ProfileReader {
  public:
    std::string Text(const std::string& key) const { return file_.ReadString(kSection, key); }
    int Number(const std::string& key) const { return RoundToInt(LeadingNumber(Text(key))); }
    bool Flag(const std::string& key) const { return EqualsIgnoreCase(Trim(Text(key)), "True"); }

  private:
    IniBatch file_;  // never written
};

void ReadProfile(const ProfileReader& in, int i, ConnectionProfile& p) {
    const std::string n = std::to_string(i);
    p = ConnectionProfile{};
    p.Name = in.Text(n + "Name");
    p.Con1 = in.Text(n + "Con1");
    p.Con2 = in.Text(n + "Con2");
    p.UName = in.Text(n + "UName");
    p.Pass = in.Text(n + "Pass");
    p.Reconnect = in.Flag(n + "Reconnect");
    p.IgnFErr = in.Flag(n + "IgnFErr");
    p.IgnErr = in.Text(n + "IgnErr");
    p.TrayTimer = in.Number(n + "TrayTimer");
    p.CountDown = in.Number(n + "CountDown");  // written as "Countdown"; keys are case-blind
    p.Warning = in.Number(n + "Warning");
    p.TrayColor = in.Number(n + "TrayColor");
    p.CancCall = in.Number(n + "CancCall");
    p.KeepAlive = in.Flag(n + "KeepAlive");
    p.BackupCon = in.Number(n + "BackupCon");
    p.MaxDials = in.Number(n + "MaxDials");
    // Programs beyond the list's room are not read.
    p.nLaunchApps = std::clamp(in.Number(n + "nLaunchApps"), 0, ConnectionProfile::kMaxLaunchApps);
    p.ChargeProfile = in.Text(n + "ChargeProfile");
    for (int j = 1; j <= p.nLaunchApps; ++j) {
        const std::string k = std::to_string(j);
        App(p, j).LaunchAppCL = in.Text(n + "LaunchAppCL" + k);
        App(p, j).LaunchAppClose = in.Flag(n + "LaunchAppClose" + k);
    }
}

void WriteProfile(IniBatch& out, int i, ConnectionProfile& p) {
    const std::string n = std::to_string(i);
    out.Write(kSection, n + "Name", p.Name);
    out.Write(kSection, n + "Con1", p.Con1);
    out.Write(kSection, n + "Con2", p.Con2);
    out.Write(kSection, n + "UName", p.UName);
    out.Write(kSection, n + "Pass", p.Pass);
    out.Write(kSection, n + "Reconnect", p.Reconnect);
    out.Write(kSection, n + "IgnFErr", p.IgnFErr);
    out.Write(kSection, n + "IgnErr", p.IgnErr);
    out.Write(kSection, n + "TrayTimer", p.TrayTimer);
    out.Write(kSection, n + "Countdown", p.CountDown);
    out.Write(kSection, n + "Warning", p.Warning);
    out.Write(kSection, n + "TrayColor", p.TrayColor);
    out.Write(kSection, n + "CancCall", p.CancCall);
    out.Write(kSection, n + "KeepAlive", p.KeepAlive);
    // A profile cannot be its own backup: that would redial the failed profile for ever.
    if (p.BackupCon == i) {
        p.BackupCon = 0;
    }
    out.Write(kSection, n + "BackupCon", p.BackupCon);
    out.Write(kSection, n + "MaxDials", p.MaxDials);
    out.Write(kSection, n + "ChargeProfile", p.ChargeProfile);
    p.nLaunchApps = LaunchAppCount(p);
    out.Write(kSection, n + "nLaunchApps", p.nLaunchApps);
    for (int j = 1; j <= p.nLaunchApps; ++j) {
        const std::string k = std::to_string(j);
        out.Write(kSection, n + "LaunchAppCL" + k, App(p, j).LaunchAppCL);
        out.Write(kSection, n + "LaunchAppClose" + k, App(p, j).LaunchAppClose);
    }
}

bool ValidSelection(const ProfileTable& table, const ProfileReferences& refs) {
    return refs.selProfile != nullptr && *refs.selProfile >= 1 &&
           *refs.selProfile <= ProfileCount(table);
}

// Puts a profile into a new last slot, selects it and saves, which sorts it into place.
bool AppendProfile(ProfileTable& table, ProfileReferences& refs, ConnectionProfile profile) {
    if (ProfileCount(table) >= ProfileTable::kMaxProfiles) {
        return false;
    }
    table.nProfs = ProfileCount(table) + 1;
    Slot(table, table.nProfs) = std::move(profile);
    if (refs.selProfile != nullptr) {
        *refs.selProfile = table.nProfs;
    }
    SaveProfiles(table, refs);
    return true;
}

}  // namespace

void LoadProfiles(ProfileTable& table) {
    const ProfileReader in;
    // Profiles beyond the table's room are not read.
    table.nProfs = std::clamp(in.Number("nProfs"), 0, ProfileTable::kMaxProfiles);
    for (int i = 0; i <= ProfileTable::kMaxProfiles; ++i) {
        if (i <= table.nProfs) {
            ReadProfile(in, i, Slot(table, i));
        } else {
            Slot(table, i) = ConnectionProfile{};
        }
    }
}

void SaveProfiles(ProfileTable& table, ProfileReferences& refs) {
    SortProfiles(table, refs);
    table.nProfs = ProfileCount(table);
    IniBatch out;
    out.Write(kSection, "nProfs", table.nProfs);
    for (int i = 0; i <= table.nProfs; ++i) {
        WriteProfile(out, i, Slot(table, i));
    }
    out.Commit();
}

void SortProfiles(ProfileTable& table, ProfileReferences& refs) {
    const int count = ProfileCount(table);
    for (int i = 1; i <= count; ++i) {
        for (int j = i + 1; j <= count; ++j) {
            if (ProfileNameNotAfter(Slot(table, j).Name, Slot(table, i).Name)) {
                ExchangeProfileRefs(table, refs, i, j);
                std::swap(Slot(table, i), Slot(table, j));
            }
        }
    }
    // The start-up profile may have moved.
    if (refs.settings != nullptr) {
        SaveSettings(*refs.settings);
    }
}

void ExchangeProfileRefs(ProfileTable& table, ProfileReferences& refs, int a, int b) {
    if (refs.selProfile != nullptr) {
        Swap(*refs.selProfile, a, b);
    }
    if (refs.sessionProfile != nullptr) {
        Swap(*refs.sessionProfile, a, b);
    }
    for (int i = 1; i <= ProfileCount(table); ++i) {
        Swap(Slot(table, i).BackupCon, a, b);
    }
    if (refs.settings != nullptr) {
        Swap(refs.settings->StartCon, a, b);
    }
    if (refs.tasks != nullptr) {
        for (int t = 1; t <= TaskCount(*refs.tasks); ++t) {
            ScheduledTask& task = refs.tasks->tasks[static_cast<std::size_t>(t)];
            if (task.action == kTaskSelectConnection) {
                Swap(task.connection, a, b);
            }
        }
    }
}

bool ProfileNameNotAfter(const std::string& a, const std::string& b) {
    const std::string x = ToLower(a);
    const std::string y = ToLower(b);
    for (std::size_t k = 0; k < x.size(); ++k) {
        if (k >= y.size()) {
            return false;
        }
        const auto cx = static_cast<unsigned char>(x[k]);
        const auto cy = static_cast<unsigned char>(y[k]);
        if (cx != cy) {
            return cx < cy;
        }
    }
    return true;
}

void DeleteProfile(ProfileTable& table, ProfileReferences& refs, int n) {
    const int count = ProfileCount(table);
    if (n < 1 || n > count) {
        return;
    }
    if (refs.sessionProfile != nullptr && *refs.sessionProfile == n && refs.hangUpAll) {
        refs.hangUpAll();
    }
    if (refs.settings != nullptr && refs.settings->StartCon == n) {
        refs.settings->StartCon = 0;
        SaveSettings(*refs.settings);
    }
    for (int i = 1; i <= count; ++i) {
        if (Slot(table, i).BackupCon == n) {
            Slot(table, i).BackupCon = 0;
        }
    }
    // A Select Connection task of the deleted profile would otherwise be carried along to the
    // number one past the new last profile, and later pick up whatever profile is added next.
    // Clearing it makes it select nothing, visibly, until the user assigns a profile again.
    if (refs.tasks != nullptr) {
        for (int t = 1; t <= TaskCount(*refs.tasks); ++t) {
            ScheduledTask& task = refs.tasks->tasks[static_cast<std::size_t>(t)];
            if (task.action == kTaskSelectConnection && task.connection == n) {
                task.connection = 0;
            }
        }
    }
    for (int k = n + 1; k <= count; ++k) {
        Slot(table, k - 1) = Slot(table, k);
        ExchangeProfileRefs(table, refs, k, k - 1);
    }
    // The old last slot keeps its record; it lies beyond the count.
    table.nProfs = count - 1;
}

void CreateProfilesFromPhoneBook(ProfileTable& table, ProfileReferences& refs,
                                 const std::vector<FirstRunEntry>& entries) {
    // Entries beyond the table's room get no profile.
    table.nProfs = static_cast<int>(
        std::min(entries.size(), static_cast<std::size_t>(ProfileTable::kMaxProfiles)));
    for (int i = 1; i <= table.nProfs; ++i) {
        const FirstRunEntry& entry = entries[static_cast<std::size_t>(i - 1)];
        ConnectionProfile& p = Slot(table, i);
        p = ConnectionProfile{};
        p.Name = entry.name;
        p.Con1 = entry.name;
        p.UName = entry.userName;
        p.Pass = ScramblePassword(entry.password);
    }
    SaveProfiles(table, refs);
}

bool AddConnectionProfile(ProfileTable& table, ProfileReferences& refs,
                          const ConnectionProfile& profile) {
    return AppendProfile(table, refs, profile);
}

bool CopyConnectionProfile(ProfileTable& table, ProfileReferences& refs,
                           const std::string& copyOfText) {
    if (!ValidSelection(table, refs)) {
        return false;
    }
    ConnectionProfile copy = Slot(table, *refs.selProfile);
    copy.Name = copyOfText + " " + copy.Name;
    return AppendProfile(table, refs, std::move(copy));
}

void ReplaceSelectedProfile(ProfileTable& table, ProfileReferences& refs,
                            const ConnectionProfile& profile) {
    if (!ValidSelection(table, refs)) {
        return;
    }
    Slot(table, *refs.selProfile) = profile;
    SaveProfiles(table, refs);
}

}  // namespace kestrelon
