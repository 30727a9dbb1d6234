#include "profiles/PhoneBookEntries.h"

#include <algorithm>

#include "core/AtomicFile.h"
#include "core/INIio.h"
#include "dialer/RasServiceDirectory.h"
#include "dialer/SimulatedRasPhoneBook.h"
#include "profiles/ConProfRules.h"

namespace kestrelon {

namespace {

constexpr std::size_t kMaxEntryName = 256;

struct KeyField {
    const char* key;
    std::string PhoneBookEntryKeys::*field;
    bool simulation;  // removed when empty, so that the service's default applies
};

constexpr KeyField kKeys[] = {
    {"PhoneNumber", &PhoneBookEntryKeys::phoneNumber, false},
    {"UserName", &PhoneBookEntryKeys::userName, false},
    {"Password", &PhoneBookEntryKeys::password, false},
    {"Answer", &PhoneBookEntryKeys::answer, true},
    {"DeviceMs", &PhoneBookEntryKeys::deviceMs, true},
    {"AuthMs", &PhoneBookEntryKeys::authMs, true},
    {"FailMs", &PhoneBookEntryKeys::failMs, true},
    {"DropAfter", &PhoneBookEntryKeys::dropAfter, true},
    {"IpAddress", &PhoneBookEntryKeys::ipAddress, true},
};

void WriteKeys(IniBatch& batch, const std::string& name, const PhoneBookEntryKeys& keys) {
    for (const KeyField& k : kKeys) {
        const std::string value = Trim(keys.*k.field);
        if (k.simulation && value.empty()) {
            batch.DeleteKey(name, k.key);
        } else {
            batch.Write(name, k.key, value);
        }
    }
}

// The section name of a header line, or nullopt for other lines; read as IniDocument does.
std::optional<std::string> HeaderName(std::string_view line) {
    const std::string trimmed = Trim(line);
    if (!trimmed.starts_with('[')) {
        return std::nullopt;
    }
    const std::size_t close = trimmed.find(']');
    return Trim(
        std::string_view(trimmed).substr(1, close == std::string::npos ? close : close - 1));
}

}  // namespace

std::string DefaultPhoneBookPath() {
    const std::string directory = RasServiceDirectory();
    return directory.empty() ? std::string() : directory + "/" + std::string(kPhoneBookFileName);
}

std::vector<std::string> PhoneBookEntryNames(const std::string& path) {
    std::vector<std::string> names;
    if (const auto content = ReadWholeFile(path)) {
        for (PhoneBookEntry& entry : ParsePhoneBook(*content)) {
            names.push_back(std::move(entry.name));
        }
    }
    return names;
}

bool PhoneBookHasEntry(const std::string& path, const std::string& name) {
    const auto names = PhoneBookEntryNames(path);
    return std::ranges::any_of(names,
                               [&](const std::string& n) { return EqualsIgnoreCase(n, name); });
}

bool IsValidEntryName(const std::string& name) {
    if (name.empty() || name.size() > kMaxEntryName || Trim(name) != name) {
        return false;
    }
    return std::ranges::all_of(
        name, [](char c) { return IsSectionNameCharacter(static_cast<unsigned char>(c)); });
}

PhoneBookEntryKeys ReadPhoneBookEntry(const std::string& path, const std::string& name) {
    PhoneBookEntryKeys keys;
    const IniBatch file(path);  // one read for all keys; never written
    for (const KeyField& k : kKeys) {
        keys.*k.field = file.ReadString(name, k.key);
    }
    return keys;
}

void WritePhoneBookEntry(const std::string& path, const std::string& name,
                         const PhoneBookEntryKeys& keys) {
    IniBatch batch(path);
    WriteKeys(batch, name, keys);
    batch.Commit();
}

bool CreatePhoneBookEntry(const std::string& path, const std::string& name,
                          const PhoneBookEntryKeys& keys) {
    if (!IsValidEntryName(name) || PhoneBookHasEntry(path, name)) {
        return false;
    }
    WritePhoneBookEntry(path, name, keys);
    return true;
}

bool RenamePhoneBookEntry(const std::string& path, const std::string& oldName,
                          const std::string& newName) {
    if (!IsValidEntryName(newName) || !PhoneBookHasEntry(path, oldName)) {
        return false;
    }
    if (!EqualsIgnoreCase(oldName, newName) && PhoneBookHasEntry(path, newName)) {
        return false;
    }
    const auto content = ReadWholeFile(path);
    if (!content) {
        return false;
    }
    // Only the header line changes, so the entry keeps its place, keys and comments.
    std::string text = *content;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::size_t lineEnd = end;
        if (lineEnd > pos && text[lineEnd - 1] == '\r') {
            --lineEnd;
        }
        const auto header = HeaderName(std::string_view(text).substr(pos, lineEnd - pos));
        if (header && EqualsIgnoreCase(*header, oldName)) {
            text.replace(pos, lineEnd - pos, "[" + newName + "]");
            return ReplaceFileAtomically(path, text);
        }
        pos = end + 1;
    }
    return false;
}

bool DeletePhoneBookEntry(const std::string& path, const std::string& name) {
    if (!PhoneBookHasEntry(path, name)) {
        return false;
    }
    IniDeleteSection(name, path);
    return true;
}

}  // namespace kestrelon
