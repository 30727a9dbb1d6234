#include "core/Language.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/AppCore.h"
#include "core/CheckVersion.h"
#include "core/FileHelpers.h"
#include "platform/FakePlatform.h"
#include "platform/TempProgramDirectory.h"

namespace kestrelon {
namespace {

using test::WriteFile;

class LanguageTest : public ::testing::Test {
  protected:
    void WriteLanguage(const std::string& name, const std::string& content) {
        WriteFile(dir_.File("lng" + name + ".ini"), content);
    }

    TempProgramDirectory dir_;
    TextLookup lang_;
};

TEST_F(LanguageTest, EnglishUsesTheBuiltInTextsWithoutTouchingTheDisk) {
    WriteLanguage("", "[default]\nstdialing=should not be used\n");
    EXPECT_EQ(lang_.LangText("stdialing", "DIALING"), "DIALING");
    EXPECT_EQ(lang_.LangText("emailservererror", "Email Notification: Can't Connect to #",
                             "pop.example.org"),
              "Email Notification: Can't Connect to pop.example.org");
    EXPECT_EQ(lang_.LangText("two", "# of #", "3"), "3 of #");
    EXPECT_EQ(lang_.LangText("noparam", "Connection Time: #"), "Connection Time: ");
    EXPECT_EQ(lang_.FileReads(), 0);
}

TEST_F(LanguageTest, TextsComeFromTheLanguageFileElseFromTheDefault) {
    WriteLanguage("Deutsch",
                  "[Default]\n"
                  "stdialing=W\xC3\x84HLEN\n"
                  "exit=&Beenden\n"
                  "connectiontime=Verbindungszeit: #\n"
                  "empty=\n");
    lang_.SetLanguageInUse("Deutsch");
    EXPECT_EQ(lang_.LangText("stdialing", "DIALING"), "W\xC3\x84HLEN");
    EXPECT_EQ(lang_.LangText("StDialing", "DIALING"), "W\xC3\x84HLEN");
    EXPECT_EQ(lang_.LangText("exit", "E&xit"), "&Beenden");
    EXPECT_EQ(lang_.LangText("connectiontime", "Connection Time: #", "1:05"),
              "Verbindungszeit: 1:05");
    EXPECT_EQ(lang_.LangText("empty", "Fallback"), "Fallback");
    EXPECT_EQ(lang_.LangText("notinfile", "Not in file #", "x"), "Not in file x");

    TextLookup missing;
    missing.SetLanguageInUse("Klingon");
    EXPECT_EQ(missing.LangText("stdialing", "DIALING"), "DIALING");
}

TEST_F(LanguageTest, TenRecentlyReadKeysAreCachedAndReusedInTurn) {
    auto file = [](char letter, int upTo) {
        std::string text = "[default]\n";
        for (int n = 0; n <= upTo; ++n) {
            text += "k" + std::to_string(n) + "=" + letter + std::to_string(n) + "\n";
        }
        return text;
    };
    auto text = [&](int n) { return lang_.LangText("k" + std::to_string(n), "english"); };

    WriteLanguage("Test", file('v', 9));
    lang_.SetLanguageInUse("Test");
    for (int n = 0; n < 10; ++n) {
        EXPECT_EQ(text(n), "v" + std::to_string(n));
    }
    EXPECT_EQ(lang_.FileReads(), 10);

    // The file changes under the running program: cached keys keep their old texts.
    WriteLanguage("Test", file('w', 10));
    for (int n = 0; n < 10; ++n) {
        EXPECT_EQ(text(n), "v" + std::to_string(n));
    }
    EXPECT_EQ(lang_.LangText("K5", "english"), "v5");
    EXPECT_EQ(lang_.FileReads(), 10);

    // The 11th key takes the slot of the oldest one, k0; reading k0 again takes k1's slot.
    EXPECT_EQ(text(10), "w10");
    EXPECT_EQ(text(0), "w0");
    EXPECT_EQ(lang_.FileReads(), 12);
    for (int n = 2; n < 10; ++n) {
        EXPECT_EQ(text(n), "v" + std::to_string(n));
    }
    EXPECT_EQ(lang_.FileReads(), 12);
    EXPECT_EQ(text(1), "w1");
    EXPECT_EQ(lang_.FileReads(), 13);
}

TEST_F(LanguageTest, KeysWithoutATextAreReadAgainEachTime) {
    WriteLanguage("Test", "[default]\nempty=\n");
    lang_.SetLanguageInUse("Test");
    lang_.LangText("missing", "a");
    lang_.LangText("missing", "a");
    lang_.LangText("empty", "b");
    EXPECT_EQ(lang_.FileReads(), 3);
    // A translation added meanwhile is found.
    WriteLanguage("Test", "[default]\nmissing=da\n");
    EXPECT_EQ(lang_.LangText("missing", "a"), "da");
}

TEST_F(LanguageTest, LanguageFilesAreFoundByTheirNames) {
    EXPECT_EQ(LanguageFileName("Deutsch"), "lngDeutsch.ini");
    WriteLanguage("Deutsch", "[default]\n");
    WriteLanguage("Francais", "[default]\n");
    WriteFile(dir_.File("lng.ini"), "");
    WriteFile(dir_.File("lngDeutsch.txt"), "");
    WriteFile(dir_.File("Kestrelon.Ini"), "");
    auto names = FindLanguages(dir_.Path());
    std::ranges::sort(names);
    EXPECT_EQ(names, (std::vector<std::string>{"Deutsch", "Francais"}));
}

TEST_F(LanguageTest, SelectLanguageOffersEnglishThenTheFilesFound) {
    WriteLanguage("Deutsch", "[default]\nexit=&Beenden\n");
    FakePlatform fake;
    AppCore app(fake.platform);
    std::vector<std::string> offered;
    int answer = 1;
    FirstRunSteps steps;
    steps.chooseLanguage = [&](const std::vector<std::string>& entries) {
        offered = entries;
        return answer;
    };

    SelectLanguage(app, steps);
    EXPECT_EQ(offered, (std::vector<std::string>{"Default (English)", "Deutsch"}));
    EXPECT_EQ(app.settings.Language, "Deutsch");
    EXPECT_EQ(app.settings.LanguageInUse, "Deutsch");
    EXPECT_EQ(app.LangText("exit", "E&xit"), "&Beenden");

    for (int other : {0, 2, -1}) {
        answer = other;
        SelectLanguage(app, steps);
        EXPECT_EQ(app.settings.Language, "") << other;
        EXPECT_EQ(app.lang.LanguageInUse(), "") << other;
    }
}

}  // namespace
}  // namespace kestrelon
