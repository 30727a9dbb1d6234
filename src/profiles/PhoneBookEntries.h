#pragma once

#include <string>
#include <vector>

namespace kestrelon {

// Editing the simulated service's phone book ("rasphone.pbk"): one section per entry. The
// service reads the file anew on every use, so changes count at once, also for
// kestrelon-rasdial.

// The keys of one entry as the file holds them; an empty simulation key means its default.
struct PhoneBookEntryKeys {
    std::string phoneNumber;  // "PhoneNumber"
    std::string userName;     // "UserName"
    std::string password;     // "Password", as the service stores it (plain)
    std::string answer;       // "Answer": outcomes of the successive dials
    std::string deviceMs;     // "DeviceMs"
    std::string authMs;       // "AuthMs"
    std::string failMs;       // "FailMs"
    std::string dropAfter;    // "DropAfter", seconds
    std::string ipAddress;    // "IpAddress"

    bool operator==(const PhoneBookEntryKeys&) const = default;
};

// The phone book of the simulated service in its shared directory; "" when there is none.
std::string DefaultPhoneBookPath();

// Entry names in file order; a repeated name counts once.
std::vector<std::string> PhoneBookEntryNames(const std::string& path);
bool PhoneBookHasEntry(const std::string& path, const std::string& name);
// A name the phone book can hold: not empty, no blanks around it, no brackets or control
// characters, at most 256 characters.
bool IsValidEntryName(const std::string& name);

PhoneBookEntryKeys ReadPhoneBookEntry(const std::string& path, const std::string& name);
// Writes the keys into the entry's section, in one file write; empty simulation keys are
// removed so the defaults apply. Keys the dialog does not know (HangUpMs, comments) stay.
void WritePhoneBookEntry(const std::string& path, const std::string& name,
                         const PhoneBookEntryKeys& keys);
// Adds a new entry at the end; false when the name is invalid or taken (in any letter case).
bool CreatePhoneBookEntry(const std::string& path, const std::string& name,
                          const PhoneBookEntryKeys& keys);
// Renames the entry in place, keeping its keys and its position; false when the old name is
// missing or the new one invalid or taken by another entry.
bool RenamePhoneBookEntry(const std::string& path, const std::string& oldName,
                          const std::string& newName);
// Removes the entry's section; false when there is none.
bool DeletePhoneBookEntry(const std::string& path, const std::string& name);

}  // namespace kestrelon
