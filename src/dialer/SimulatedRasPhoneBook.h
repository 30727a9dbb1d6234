#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrelon {

inline constexpr std::string_view kPhoneBookFileName = "rasphone.pbk";

// What one dial of an entry does in the simulation.
struct DialOutcome {
    enum class Kind {
        Connect,   // device connects, then the connection comes up
        AuthFail,  // device connects, then the log-on is refused (691)
        Silent,    // nothing ever happens: the caller's time-out has to end it
        Error,     // the dial fails with `error` before the device connects
    };
    Kind kind = Kind::Connect;
    std::uint32_t error = 0;

    bool operator==(const DialOutcome&) const = default;
};

// One entry of the simulated service's phone book with its simulation keys.
struct PhoneBookEntry {
    std::string name;
    std::string phoneNumber;
    std::string userName;
    std::string password;
    // Outcomes of the successive dials; the last one repeats. Never empty.
    std::vector<DialOutcome> answers{DialOutcome{}};
    std::uint32_t deviceMs = 2000;  // dial to device connected
    std::uint32_t authMs = 1000;    // device connected to connected (or the log-on failure)
    std::uint32_t failMs = 1500;    // dial to the error of a failing outcome
    std::uint32_t hangUpMs = 300;   // how long a hung-up handle stays valid
    std::uint32_t dropAfterMs = 0;  // online time until the line drops by itself; 0 = never
    std::string ipAddress;          // never empty: the key's value or a per-entry default

    // The outcome of the dial with this 0-based number.
    const DialOutcome& OutcomeOfDial(std::size_t dial) const;
};

// The "Answer" key: "connect", "busy", "noanswer", "nodialtone", "authfail", "silent" or a RAS
// error number, separated by blanks; words it does not know are skipped. Empty means connect.
std::vector<DialOutcome> ParseAnswers(std::string_view text);

// A private address that differs from entry to entry: 10.x.y.z from a hash of the name.
std::string DefaultIpAddress(std::string_view entryName);

// The phone book file as the service ships it, with a few entries that show what it can do.
std::string SamplePhoneBook();

// The entries of a phone book text, in file order; a repeated name counts once, first wins.
std::vector<PhoneBookEntry> ParsePhoneBook(std::string_view text);

// Reads the phone book at path as it is now, creating the sample one when the file is missing.
std::vector<PhoneBookEntry> LoadPhoneBook(const std::string& path);

// The entry of that name (matched without regard to case).
std::optional<PhoneBookEntry> FindEntry(const std::vector<PhoneBookEntry>& book,
                                        std::string_view name);

}  // namespace kestrelon
