#include "core/Language.h"

#include <dirent.h>

#include <memory>

#include "core/INIio.h"
#include "core/ProgramDirectory.h"

namespace kestrelon {

std::string TextLookup::LangText(std::string_view key, std::string_view englishDefault,
                                 std::string_view parameter) {
    const std::string lowerKey = ToLower(key);
    std::string result;
    for (const Slot& slot : cache_) {
        if (!slot.key.empty() && slot.key == lowerKey) {
            result = slot.value;
            break;
        }
    }
    if (!language_.empty() && result.empty()) {
        result = IniReadString("default", lowerKey, LanguageFileName(language_));
        ++fileReads_;
        nextSlot_ = (nextSlot_ + 1) % kSlots;
        cache_[nextSlot_] = Slot{lowerKey, result};
    }
    if (result.empty()) {
        result = std::string(englishDefault);
    }
    if (const auto hash = result.find('#'); hash != std::string::npos) {
        result = result.substr(0, hash) + std::string(parameter) + result.substr(hash + 1);
    }
    return result;
}

std::string LanguageFileName(std::string_view language) {
    return "lng" + std::string(language) + ".ini";
}

std::vector<std::string> FindLanguages(const std::string& directory) {
    std::vector<std::string> names;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(directory.c_str()), ::closedir);
    if (!dir) {
        return names;
    }
    // readdir gives the order the file system lists the entries in, as the chooser wants.
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name.size() > 7 && EqualsIgnoreCase(name.substr(0, 3), "lng") &&
            EqualsIgnoreCase(name.substr(name.size() - 4), ".ini")) {
            names.push_back(name.substr(3, name.size() - 7));
        }
    }
    return names;
}

std::string HelpPagePath(const std::string& helpFolder, std::string_view topic) {
    const std::string page = topic.empty() ? std::string("index") : std::string(topic);
    return AddBackslash(InProgramDirectory(helpFolder)) + page + ".htm";
}

}  // namespace kestrelon
