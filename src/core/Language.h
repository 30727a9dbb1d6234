#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace kestrelon {

// Every visible text is looked up by a lower-case key in the language file
// "lng" + language + ".ini" (section "default"); a missing file or key gives the English text
// built into the program. The first "#" of the result is replaced by the parameter.
class TextLookup {
  public:
    // The language in use; "" is English, which never touches the disk.
    void SetLanguageInUse(std::string language) { language_ = std::move(language); }
    const std::string& LanguageInUse() const { return language_; }

    std::string LangText(std::string_view key, std::string_view englishDefault = {},
                         std::string_view parameter = {});

    // How often a language file was read; the ten-slot cache keeps this low.
    int FileReads() const { return fileReads_; }

  private:
    struct Slot {
        std::string key;
        std::string value;
    };
    static constexpr int kSlots = 10;
    std::array<Slot, kSlots> cache_{};
    int nextSlot_ = 0;
    int fileReads_ = 0;
    std::string language_;
};

// The language file of a language name.
std::string LanguageFileName(std::string_view language);

// Language names of the "lng*.ini" files in a directory, in the order the directory lists them.
std::vector<std::string> FindLanguages(const std::string& directory);

// The help page of a topic: help folder + topic + ".htm"; the empty topic gives the index.
// helpFolder is what the language gives for "helpfile"; a relative one is in the program
// directory.
std::string HelpPagePath(const std::string& helpFolder, std::string_view topic);

}  // namespace kestrelon
