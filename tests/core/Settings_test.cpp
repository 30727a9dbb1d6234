#include "core/AppSettings.h"

#include <limits>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/AppCore.h"
#include "core/CheckVersion.h"
#include "core/FileHelpers.h"
#include "core/INIio.h"
#include "core/Scramble.h"
#include "platform/FakePlatform.h"
#include "platform/TempProgramDirectory.h"

namespace kestrelon {
namespace {

using test::ReadFile;
using test::WriteFile;

class SettingsTest : public ::testing::Test {
  protected:
    std::string Ini() const { return dir_.File("Kestrelon.Ini"); }

    // As start-up does it before the version check.
    void Load() {
        InitSoundEvents(app_.settings.sounds);
        LoadSettings(app_.settings);
    }

    TempProgramDirectory dir_;
    FakePlatform fake_;
    AppCore app_{fake_.platform};
};

int CountSettingsHeaders(const std::string& content) {
    const std::regex header(R"((^|\n)\[settings\])", std::regex::icase);
    return static_cast<int>(std::distance(
        std::sregex_iterator(content.begin(), content.end(), header), std::sregex_iterator()));
}

TEST_F(SettingsTest, WhatIsSavedIsLoadedBack) {
    AppSettings saved;
    InitSoundEvents(saved.sounds);
    saved.StartHidden = true;
    saved.StartDial = true;
    saved.DialDelay = 3500;
    saved.DynDelay = true;
    saved.WaitInvalidate = true;
    saved.ProgLog = "my program.log";
    saved.DialLog = "";
    saved.ErrorLog = "/var/tmp/errors.log";
    saved.MaxLogSize = 120;
    saved.StartCon = -1;
    saved.DisDual = true;
    saved.Language = "Deutsch";
    saved.Hangup = true;
    saved.ShowError = true;
    saved.GlobalLaunchApps = true;
    saved.ConMan = true;
    saved.EmailProg = "thunderbird -compose";
    saved.EmailInterval = 12;
    saved.sounds.events[3] = {"Start dialing", "dial.wav", true};
    saved.nMailCheck = 2;
    saved.mailServers[1] = {"pop.example.org", "anna", ScramblePassword("s3cret pass")};
    saved.mailServers[2] = {"mail.example.net", "bert", ScramblePassword("")};

    test::FileWriteCounter writes(dir_.Path());
    SaveSettings(saved);
    EXPECT_EQ(writes.Writes("Kestrelon.Ini"), 1) << "the settings are saved in one write";

    AppSettings loaded;
    InitSoundEvents(loaded.sounds);
    LoadSettings(loaded);
    EXPECT_EQ(writes.Writes("Kestrelon.Ini"), 0) << "loading writes nothing";
    // Every value differs from its default, so one that is not loaded back changes the file.
    const std::string content = ReadFile(Ini());
    SaveSettings(loaded);
    EXPECT_EQ(ReadFile(Ini()), content);
    EXPECT_EQ(loaded.DialDelay, 3500);
    EXPECT_EQ(loaded.StartCon, -1);
    EXPECT_EQ(loaded.sounds.events[3].FName, "dial.wav");
    ASSERT_EQ(loaded.nMailCheck, 2);
    EXPECT_EQ(loaded.mailServers[2].Server, "mail.example.net");
    EXPECT_EQ(UnscramblePassword(loaded.mailServers[1].Pass), "s3cret pass");

    // The log keys, written to "settings", land in the one Settings section.
    EXPECT_EQ(CountSettingsHeaders(content), 1) << content;
    for (const char* key : {"Windowx=", "Windowy=", "LastCon=", "Version="}) {
        EXPECT_EQ(content.find(key), std::string::npos) << key;
    }
    const IniDocument doc = IniDocument::Parse(content);
    const auto sounds = doc.Keys("Sounds");
    ASSERT_GE(sounds.size(), 2u);
    EXPECT_EQ(sounds[0], "1FName");
    EXPECT_EQ(sounds[1], "1Enabled");
}

TEST_F(SettingsTest, SavingKeepsWhatShutDownAndTheVersionCheckWrote) {
    WriteFile(Ini(),
              "[Settings]\nWindowx=120\nWindowy=80\nLastCon=3\nVersion=0.9\nCustom=keep\n"
              "[ConProf]\nnProfs=1\n1Name=Home\n");
    Load();
    SaveSettings(app_.settings);
    EXPECT_EQ(IniReadString("Settings", "Windowx"), "120");
    EXPECT_EQ(IniReadString("Settings", "Windowy"), "80");
    EXPECT_EQ(IniReadString("Settings", "LastCon"), "3");
    EXPECT_EQ(IniReadString("Settings", "Version"), "0.9");
    EXPECT_EQ(IniReadString("Settings", "Custom"), "keep");
    EXPECT_EQ(IniReadString("ConProf", "1Name"), "Home");
}

TEST_F(SettingsTest, StoredFormsAreReadAsTheProgramWroteThem) {
    WriteFile(Ini(),
              "[SETTINGS]\n"
              "DialDelay=2000\n"
              "StartHidden=1\n"
              "StartDial=  TRUE  \n"
              "DynDelay=yes\n"
              "MaxLogSize=0\n"
              "EmailInterval=10 minutes\n"
              "[MailCheck]\nnMailCheck=99\n1Server=a\n16Server=p\n");
    Load();
    const AppSettings& s = app_.settings;
    EXPECT_EQ(s.DialDelay, 2000);
    EXPECT_FALSE(s.StartHidden);
    EXPECT_TRUE(s.StartDial);
    EXPECT_FALSE(s.DynDelay);
    EXPECT_EQ(s.MaxLogSize, 50);
    EXPECT_EQ(s.EmailInterval, 10);
    EXPECT_EQ(s.nMailCheck, AppSettings::kMaxMailServers);
    EXPECT_EQ(s.mailServers[16].Server, "p");

    WriteFile(Ini(), "[Settings]\nDialDelay=1\n[MailCheck]\nnMailCheck=-3\n");
    AppSettings other;
    LoadSettings(other);
    EXPECT_EQ(other.MaxLogSize, 50) << "an absent limit is the default";
    EXPECT_EQ(other.nMailCheck, 0);
}

// A hand-edited number beyond the int range is held at the range's end, not wrapped around.
TEST_F(SettingsTest, HugeNumbersAreHeldToTheIntRange) {
    WriteFile(Ini(),
              "[Settings]\nDialDelay=99999999999\nMaxLogSize=-99999999999\n"
              "EmailInterval=-99999999999\n[MailCheck]\nnMailCheck=99999999999\n");
    Load();
    EXPECT_EQ(app_.settings.DialDelay, std::numeric_limits<int>::max());
    EXPECT_EQ(app_.settings.MaxLogSize, 50);
    EXPECT_EQ(app_.settings.EmailInterval, std::numeric_limits<int>::min());
    EXPECT_EQ(app_.settings.nMailCheck, AppSettings::kMaxMailServers);
}

TEST_F(SettingsTest, LoadingAMissingFileCreatesNothing) {
    Load();
    EXPECT_FALSE(test::FileExists(Ini()));
    EXPECT_EQ(app_.settings.ProgLog, "");
    EXPECT_EQ(app_.settings.MaxLogSize, 50);
}

class VersionCheckTest : public SettingsTest {
  protected:
    VersionCheckTest() {
        fake_.mailClient.command = "thunderbird -compose";
        steps_.createProfilesFromPhoneBook = [this] { calls_.push_back("profiles"); };
        steps_.chooseLanguage = [this](const std::vector<std::string>& entries) {
            calls_.push_back("language");
            offered_ = entries;
            return languageAnswer_;
        };
    }

    FirstRunSteps steps_;
    std::vector<std::string> calls_;
    std::vector<std::string> offered_;
    int languageAnswer_ = 0;
};

TEST_F(VersionCheckTest, TheFirstRunFillsANewFileWithDefaults) {
    WriteFile(dir_.File("lngDeutsch.ini"), "[default]\n");
    Load();
    languageAnswer_ = 1;
    EXPECT_TRUE(CheckVersion(app_, steps_));

    EXPECT_EQ(calls_, (std::vector<std::string>{"profiles", "language"}));
    EXPECT_EQ(offered_, (std::vector<std::string>{"Default (English)", "Deutsch"}));
    EXPECT_GE(fake_.loop.processEventsCalls, 1);
    EXPECT_EQ(fake_.mailClient.calls, 1);

    EXPECT_EQ(IniReadString("Settings", "Version"), ProgramVersionText());
    EXPECT_EQ(IniReadString("Settings", "LastCon"), "1");
    EXPECT_EQ(IniReadString("Settings", "ProgLog"), "Program.log");
    EXPECT_EQ(IniReadString("Settings", "DialLog"), "Dial.log");
    EXPECT_EQ(IniReadString("Settings", "ErrorLog"), "Error.log");
    EXPECT_EQ(IniReadString("Settings", "DialDelay"), "2000");
    EXPECT_EQ(IniReadString("Settings", "DynDelay"), "True");
    EXPECT_EQ(IniReadString("Settings", "WaitInvalidate"), "True");
    EXPECT_EQ(IniReadString("Settings", "MaxLogSize"), "50");
    EXPECT_EQ(IniReadString("Settings", "StartHidden"), "False");
    EXPECT_EQ(IniReadString("Settings", "EmailProg"), "thunderbird -compose");
    EXPECT_EQ(IniReadString("Settings", "EmailInterval"), "5");
    EXPECT_EQ(IniReadString("Settings", "Language"), "Deutsch");
    EXPECT_EQ(app_.lang.LanguageInUse(), "Deutsch");
    EXPECT_EQ(IniReadString("Sounds", "6FName"), "Connect.wav");
    EXPECT_EQ(CountSettingsHeaders(ReadFile(Ini())), 1);
}

TEST_F(VersionCheckTest, AFileOfVersionBelow095GetsTheMailProgramAgain) {
    WriteFile(Ini(),
              "[Settings]\nVersion=0.9\nDialDelay=3000\nStartDial=True\nProgLog=my.log\n"
              "EmailProg=old-mailer\nEmailInterval=15\nLastCon=4\n");
    Load();
    EXPECT_FALSE(CheckVersion(app_, steps_));
    EXPECT_TRUE(calls_.empty());
    EXPECT_EQ(fake_.mailClient.calls, 1);
    EXPECT_EQ(IniReadString("Settings", "EmailProg"), "thunderbird -compose");
    EXPECT_EQ(IniReadString("Settings", "EmailInterval"), "5");
    EXPECT_EQ(IniReadString("Settings", "Version"), ProgramVersionText());
    // Everything else stays as the user had it.
    EXPECT_EQ(IniReadString("Settings", "DialDelay"), "3000");
    EXPECT_EQ(IniReadString("Settings", "StartDial"), "True");
    EXPECT_EQ(IniReadString("Settings", "ProgLog"), "my.log");
    EXPECT_EQ(IniReadString("Settings", "LastCon"), "4");
}

TEST_F(VersionCheckTest, AFileOfVersion10OnlyGetsTheNewVersion) {
    const std::string before =
        "[Settings]\nDialDelay=3000\nVersion=1.0\nEmailProg=old-mailer\nEmailInterval=15\n";
    WriteFile(Ini(), before);
    Load();
    EXPECT_FALSE(CheckVersion(app_, steps_));
    EXPECT_TRUE(calls_.empty());
    EXPECT_EQ(fake_.mailClient.calls, 0);
    std::string expected = before;
    expected.replace(expected.find("Version=1.0"), 11, "Version=" + ProgramVersionText());
    EXPECT_EQ(ReadFile(Ini()), expected);
}

TEST_F(VersionCheckTest, TheCurrentVersionLeavesTheFileUntouched) {
    WriteFile(Ini(), "[settings]\nversion=" + ProgramVersionText() + "\n");
    Load();
    test::FileWriteCounter writes(dir_.Path());
    EXPECT_FALSE(CheckVersion(app_, steps_));
    EXPECT_EQ(writes.Writes("Kestrelon.Ini"), 0);
}

TEST_F(VersionCheckTest, TheMailDefaultsStopAtVersion095) {
    for (const auto& [version, mailDefaults] :
         std::vector<std::pair<std::string, bool>>{{"0.949", true}, {"0.95", false}}) {
        WriteFile(Ini(), "[Settings]\nVersion=" + version + "\nEmailInterval=15\n");
        fake_.mailClient.calls = 0;
        Load();
        CheckVersion(app_, steps_);
        EXPECT_EQ(fake_.mailClient.calls, mailDefaults ? 1 : 0) << version;
        EXPECT_EQ(IniReadString("Settings", "EmailInterval"), mailDefaults ? "5" : "15") << version;
    }
}

}  // namespace
}  // namespace kestrelon
