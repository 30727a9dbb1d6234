#include "dialer/SimulatedRasPhoneBook.h"

#include <sys/stat.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "core/AtomicFile.h"
#include "core/INIio.h"
#include "core/IniDocument.h"

namespace kestrelon {

namespace {

constexpr std::uint32_t kErrorLineBusy = 676;
constexpr std::uint32_t kErrorNoAnswer = 678;
constexpr std::uint32_t kErrorNoDialTone = 680;

// Section names in file order, read the way IniDocument reads section lines.
std::vector<std::string> SectionNames(std::string_view text) {
    std::vector<std::string> names;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t lf = text.find('\n', pos);
        const std::string line =
            Trim(text.substr(pos, lf == std::string_view::npos ? lf : lf - pos));
        pos = lf == std::string_view::npos ? text.size() : lf + 1;
        if (!line.starts_with('[')) {
            continue;
        }
        const std::size_t close = line.find(']');
        std::string name =
            Trim(std::string_view(line).substr(1, close == std::string::npos ? close : close - 1));
        const bool known = std::ranges::any_of(
            names, [&](const std::string& other) { return EqualsIgnoreCase(other, name); });
        if (!name.empty() && !known) {
            names.push_back(std::move(name));
        }
    }
    return names;
}

// A duration key as milliseconds: negative and unreadable values are 0, huge ones are held
// well inside the 32-bit tick range.
std::uint32_t Milliseconds(const IniDocument& doc, std::string_view section, std::string_view key,
                           std::uint32_t fallback, double scale = 1.0) {
    const auto value = doc.Get(section, key);
    if (!value || Trim(*value).empty()) {
        return fallback;
    }
    const double ms = LeadingNumber(*value) * scale;
    constexpr double kMax = std::numeric_limits<std::int32_t>::max();
    if (!(ms > 0)) {
        return 0;
    }
    return static_cast<std::uint32_t>(std::min(std::round(ms), kMax));
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

}  // namespace

const DialOutcome& PhoneBookEntry::OutcomeOfDial(std::size_t dial) const {
    return answers[std::min(dial, answers.size() - 1)];
}

std::vector<DialOutcome> ParseAnswers(std::string_view text) {
    std::vector<DialOutcome> outcomes;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = text.find_first_not_of(" \t", pos);
        if (start == std::string_view::npos) {
            break;
        }
        std::size_t end = text.find_first_of(" \t", start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        pos = end;
        const std::string word = ToLower(text.substr(start, end - start));
        using Kind = DialOutcome::Kind;
        if (word == "connect") {
            outcomes.push_back({Kind::Connect, 0});
        } else if (word == "busy") {
            outcomes.push_back({Kind::Error, kErrorLineBusy});
        } else if (word == "noanswer") {
            outcomes.push_back({Kind::Error, kErrorNoAnswer});
        } else if (word == "nodialtone") {
            outcomes.push_back({Kind::Error, kErrorNoDialTone});
        } else if (word == "authfail") {
            outcomes.push_back({Kind::AuthFail, 0});
        } else if (word == "silent") {
            outcomes.push_back({Kind::Silent, 0});
        } else {
            std::uint32_t number = 0;
            const auto [last, ec] = std::from_chars(word.data(), word.data() + word.size(), number);
            if (ec == std::errc{} && last == word.data() + word.size() && number != 0) {
                outcomes.push_back({Kind::Error, number});
            }
        }
    }
    if (outcomes.empty()) {
        outcomes.push_back({});
    }
    return outcomes;
}

std::string DefaultIpAddress(std::string_view entryName) {
    // FNV-1a over the lower-case name, so that the address follows the entry, not its spelling.
    std::uint32_t hash = 2166136261u;
    for (const char c : ToLower(entryName)) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    const unsigned x = (hash >> 16) & 0xFF;
    const unsigned y = (hash >> 8) & 0xFF;
    const unsigned z = 1 + (hash & 0xFF) % 254;  // neither the network nor the broadcast address
    return "10." + std::to_string(x) + "." + std::to_string(y) + "." + std::to_string(z);
}

std::string SamplePhoneBook() {
    return "; Phone book of the simulated remote access service: one section per entry.\n"
           "; PhoneNumber, UserName and Password are the stored dial parameters. The rest tells\n"
           "; the simulation what a dial does:\n"
           ";   Answer     outcomes of the successive dials one program makes (the last one\n"
           ";              repeats): connect, busy, noanswer, nodialtone, authfail, silent or\n"
           ";              a RAS error number\n"
           ";   DeviceMs   dial to modem connected (2000)   AuthMs  modem to online (1000)\n"
           ";   FailMs     dial to the error of a failing outcome (1500)\n"
           ";   DropAfter  seconds online until the line drops by itself (0 = never)\n"
           ";   HangUpMs   how long a hung-up handle stays valid (300)\n"
           ";   IpAddress  the address the connection gets\n"
           "\n"
           "[Nightjar Online]\n"
           "PhoneNumber=0800 555 0100\n"
           "UserName=guest\n"
           "Password=nightjar\n"
           "Answer=connect\n"
           "\n"
           "[Harbour Net]\n"
           "PhoneNumber=0800 555 0142\n"
           "UserName=sailor\n"
           "Password=harbour\n"
           "Answer=busy busy connect\n"
           "\n"
           "[Crowded Exchange]\n"
           "PhoneNumber=0900 555 0199\n"
           "UserName=member\n"
           "Password=crowded\n"
           "Answer=busy\n"
           "\n"
           "[Brief Link]\n"
           "PhoneNumber=0800 555 0120\n"
           "UserName=visitor\n"
           "Password=brief\n"
           "Answer=connect\n"
           "DropAfter=120\n";
}

std::vector<PhoneBookEntry> ParsePhoneBook(std::string_view text) {
    const IniDocument doc = IniDocument::Parse(text);
    std::vector<PhoneBookEntry> book;
    for (std::string& name : SectionNames(text)) {
        PhoneBookEntry entry;
        const auto get = [&](std::string_view key) { return doc.Get(name, key).value_or(""); };
        entry.phoneNumber = get("PhoneNumber");
        entry.userName = get("UserName");
        entry.password = get("Password");
        entry.answers = ParseAnswers(get("Answer"));
        entry.deviceMs = Milliseconds(doc, name, "DeviceMs", entry.deviceMs);
        entry.authMs = Milliseconds(doc, name, "AuthMs", entry.authMs);
        entry.failMs = Milliseconds(doc, name, "FailMs", entry.failMs);
        entry.hangUpMs = Milliseconds(doc, name, "HangUpMs", entry.hangUpMs);
        entry.dropAfterMs = Milliseconds(doc, name, "DropAfter", 0, 1000.0);
        entry.ipAddress = Trim(get("IpAddress"));
        if (entry.ipAddress.empty()) {
            entry.ipAddress = DefaultIpAddress(name);
        }
        entry.name = std::move(name);
        book.push_back(std::move(entry));
    }
    return book;
}

std::vector<PhoneBookEntry> LoadPhoneBook(const std::string& path) {
    if (auto content = ReadWholeFile(path)) {
        return ParsePhoneBook(*content);
    }
    // Only a missing file is replaced; one that exists but cannot be read is left alone.
    if (FileExists(path)) {
        return {};
    }
    const std::string sample = SamplePhoneBook();
    ReplaceFileAtomically(path, sample);
    return ParsePhoneBook(sample);
}

std::optional<PhoneBookEntry> FindEntry(const std::vector<PhoneBookEntry>& book,
                                        std::string_view name) {
    const auto it = std::ranges::find_if(
        book, [&](const PhoneBookEntry& entry) { return EqualsIgnoreCase(entry.name, name); });
    return it == book.end() ? std::nullopt : std::optional<PhoneBookEntry>(*it);
}

}  // namespace kestrelon
