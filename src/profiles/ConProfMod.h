#pragma once

#include <functional>
#include <string>
#include <vector>

#include "profiles/ConnectionProfile.h"

namespace kestrelon {

struct AppSettings;
struct TaskTable;

// The profile numbers held outside the table, which the store keeps right when it reorders
// it. Null members are skipped.
struct ProfileReferences {
    int* selProfile = nullptr;        // the main window's selection
    int* sessionProfile = nullptr;    // the dial session's profile
    AppSettings* settings = nullptr;  // StartCon; saved after every sort and a deletion of it
    TaskTable* tasks = nullptr;       // Select Connection tasks
    // Hangs up all lines; run when the profile being dialled or online is deleted.
    std::function<void()> hangUpAll;
};

// A phone-book entry with its stored credentials, for the first run.
struct FirstRunEntry {
    std::string name;
    std::string userName;
    std::string password;  // as stored with the entry, unscrambled
};

// Reads section "ConProf"; counts beyond the table's room (64 profiles, 32 programs) are cut
// to it. Slots beyond the count are left blank.
void LoadProfiles(ProfileTable& table);
// Sorts, then writes the whole table in one file write.
void SaveProfiles(ProfileTable& table, ProfileReferences& refs);
void SortProfiles(ProfileTable& table, ProfileReferences& refs);
void ExchangeProfileRefs(ProfileTable& table, ProfileReferences& refs, int a, int b);
// Case-blind name order; equal names and a prefix count as not after.
bool ProfileNameNotAfter(const std::string& a, const std::string& b);
// Removes profile n and renumbers every held number; a Select Connection task of profile n is
// cleared to 0. The selection and the session number of profile n end one past the new last
// profile. Does not save the table.
void DeleteProfile(ProfileTable& table, ProfileReferences& refs, int n);
// One profile per phone-book entry, with the entry's credentials scrambled, then saved.
void CreateProfilesFromPhoneBook(ProfileTable& table, ProfileReferences& refs,
                                 const std::vector<FirstRunEntry>& entries);

// The main window's profile commands. Each saves the table and leaves the selection on the
// added, copied or edited profile wherever the sort put it. Add and copy refuse (returning
// false, changing nothing) when the table is full. copyOfText is the translated "Copy of".
bool AddConnectionProfile(ProfileTable& table, ProfileReferences& refs,
                          const ConnectionProfile& profile);
bool CopyConnectionProfile(ProfileTable& table, ProfileReferences& refs,
                           const std::string& copyOfText);
void ReplaceSelectedProfile(ProfileTable& table, ProfileReferences& refs,
                            const ConnectionProfile& profile);

}  // namespace kestrelon
