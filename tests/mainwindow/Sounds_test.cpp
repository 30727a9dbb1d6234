#include "mainwindow/Sounds.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/AppSettings.h"
#include "core/FileHelpers.h"
#include "platform/FakePlatform.h"
#include "platform/TempProgramDirectory.h"

namespace kestrelon {
namespace {

class SoundsTest : public ::testing::Test {
  protected:
    // Loads the table as start-up does: defaults first, then the INI file.
    void Load() {
        InitSoundEvents(settings_.sounds);
        LoadSettings(settings_);
    }

    // What each event 1..11 does: "-" nothing, "beep", or the file played.
    std::vector<std::string> PlayAll() {
        std::vector<std::string> heard;
        for (int n = 1; n <= 11; ++n) {
            FakeSoundPlayer player;
            PlaySoundEvent(settings_.sounds, n, player);
            EXPECT_LE(player.beeps + player.played.size(), 1u) << "event " << n;
            if (player.beeps == 1) {
                heard.push_back("beep");
            } else if (!player.played.empty()) {
                EXPECT_TRUE(player.played[0].keepPlaying) << "event " << n;
                heard.push_back(player.played[0].path);
            } else {
                heard.push_back("-");
            }
        }
        return heard;
    }

    TempProgramDirectory dir_;
    AppSettings settings_;
};

TEST_F(SoundsTest, AFreshInstallationPlaysTheDefaults) {
    Load();
    EXPECT_EQ(settings_.sounds.count, 11);
    EXPECT_EQ(PlayAll(),
              (std::vector<std::string>{"-", "-", "-", "-", "beep", "Connect.wav", "Connect.wav",
                                        "-", "beep", "beep", "Newmail.wav"}));
    std::vector<std::string> names;
    for (int n = 1; n <= 11; ++n) {
        names.push_back(settings_.sounds.events[n].Name);
    }
    EXPECT_EQ(names,
              (std::vector<std::string>{
                  "Startup", "Shutdown", "Start dialing", "Abort dialing", "Dialerror",
                  "Connection established", "Connection detected", "Connection broken (by user)",
                  "Connection broken (external)", "Disconnectionwarning", "New email"}));
}

TEST_F(SoundsTest, StoredChoicesReplaceTheDefaults) {
    test::WriteFile(dir_.File("Kestrelon.Ini"),
                    "[Sounds]\n"
                    "1Enabled=True\n1FName=/usr/share/sounds/start.wav\n"
                    "5Enabled=False\n"
                    "6FName=ignored-without-enabled-key.wav\n"
                    "9enabled= true \n9FNAME=broken.wav\n"
                    "11Enabled=True\n11FName=\n");
    Load();
    EXPECT_EQ(PlayAll(), (std::vector<std::string>{"/usr/share/sounds/start.wav", "-", "-", "-",
                                                   "-", "Connect.wav", "Connect.wav", "-",
                                                   "broken.wav", "beep", "beep"}));
}

TEST_F(SoundsTest, UnusedAndInvalidEventNumbersPlayNothing) {
    Load();
    FakeSoundPlayer player;
    for (int n : {-1, 0, 12, 20, 32, 33, 1000}) {
        PlaySoundEvent(settings_.sounds, n, player);
    }
    EXPECT_EQ(player.beeps, 0);
    EXPECT_TRUE(player.played.empty());
}

TEST_F(SoundsTest, TheChoicesAreSavedAndReadBack) {
    Load();
    settings_.sounds.events[3] = {"Start dialing", "dial.wav", true};
    settings_.sounds.events[6].Enabled = false;
    settings_.sounds.events[11].FName = "";
    SaveSettings(settings_);
    settings_ = AppSettings{};
    Load();
    EXPECT_EQ(PlayAll(), (std::vector<std::string>{"-", "-", "dial.wav", "-", "beep", "-",
                                                   "Connect.wav", "-", "beep", "beep", "beep"}));
}

}  // namespace
}  // namespace kestrelon
