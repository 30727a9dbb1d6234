#include "mainwindow/StatusPanel.h"

#include <gtest/gtest.h>

#include "core/FileHelpers.h"
#include "core/Language.h"
#include "dialer/DialSession.h"
#include "platform/TempProgramDirectory.h"

namespace kestrelon {
namespace {

class StatusPanelTest : public ::testing::Test {
  protected:
    StatusLayout Layout(const StatusInputs& in) {
        const auto layout = BuildStatusLayout(in, lang_);
        EXPECT_TRUE(layout.has_value());
        return layout.value_or(StatusLayout{});
    }
    StatusInputs Dialing(int state, int dials, std::uint32_t error = 0) {
        StatusInputs in;
        in.statusState = state;
        in.profileName = "Office";
        in.dialCount = dials;
        in.lastError = error;
        in.onlineSeconds = 45;
        in.dialsPerMinute = 2.5f;
        return in;
    }

    TempProgramDirectory dir_;
    TextLookup lang_;
};

TEST_F(StatusPanelTest, AFreshDialShowsFourRowsAndNoRate) {
    const StatusLayout layout = Layout(Dialing(kStatusDialing, 0));
    EXPECT_EQ(layout.title, "DIALING");
    EXPECT_EQ(layout.rows, 4);
    EXPECT_EQ(
        layout.rowTexts,
        (std::vector<StatusRow>{{"Connection ", " Office"}, {"Dials ", " 0"}, {"Time ", " 0:45"}}));
    EXPECT_EQ(layout.tooltip, "Kestrelon 2000 - DIALING - Dials: 0 - Time: 0:45");
}

TEST_F(StatusPanelTest, AfterADialTheRateAndTheLastErrorAreShown) {
    StatusInputs in = Dialing(kStatusAuthorising, 3, 678);
    const StatusLayout layout = Layout(in);
    EXPECT_EQ(layout.title, "AUTHORISING");
    EXPECT_EQ(layout.rows, 6);
    ASSERT_EQ(layout.rowTexts.size(), 5U);
    EXPECT_EQ(layout.rowTexts[3], (StatusRow{"DpM ", " 2.5"}));
    EXPECT_EQ(layout.rowTexts[4], (StatusRow{"Last Error ", " 678"}));
    EXPECT_EQ(layout.tooltip, "Kestrelon 2000 - AUTHORISING - Dials: 3 - Time: 0:45 - DpM: 2.5");

    in.statusState = kStatusDialing;
    in.dialCount = 3;
    in.dualActive = true;
    EXPECT_EQ(Layout(in).rowTexts[3].value, " 2.5 (D)");
}

TEST_F(StatusPanelTest, AnErrorKeepsSixRowsAndAnAbortNamesItself) {
    StatusLayout layout = Layout(Dialing(kStatusConnectionError, 0, 0));
    EXPECT_EQ(layout.title, "CONNECTION ERROR");
    EXPECT_EQ(layout.rows, 6);
    EXPECT_EQ(layout.rowTexts.size(), 3U);
    EXPECT_EQ(layout.tooltip, "Kestrelon 2000 - ERROR - Dials: 0 - Time: 0:45");
    layout = Layout(Dialing(kStatusAborted, 2, 680));
    EXPECT_EQ(layout.title, "ABORTED");
    EXPECT_EQ(layout.rows, 6);
    EXPECT_EQ(layout.tooltip, "Kestrelon 2000 - ABORTED - Dials: 2 - Time: 0:45 - DpM: 2.5");
}

TEST_F(StatusPanelTest, TheRateIsCutBelowTenAndRoundedFromTenOn) {
    EXPECT_EQ(RateText(9.96f, false), " 9.9");
    EXPECT_EQ(RateText(10.4f, false), " 10");
    EXPECT_EQ(RateText(10.5f, false), " 11");
    EXPECT_EQ(RateText(2.3f, false), " 2.3");
    EXPECT_EQ(RateText(3.0f, false), " 3");
    EXPECT_EQ(RateText(0.75f, true), " 0.7 (D)");
    EXPECT_EQ(NumberText(-3), "-3");
}

TEST_F(StatusPanelTest, OnlineRowsDependOnTheCharges) {
    StatusInputs in;
    in.statusState = kStatusConnected;
    in.profileName = "Office";
    in.onlineSeconds = 3599;
    in.ipAddress = "10.0.0.7";
    in.chargesZero = true;
    StatusLayout layout = Layout(in);
    EXPECT_EQ(layout.title, "CONNECTED");
    EXPECT_EQ(layout.rows, 4);
    EXPECT_EQ(layout.rowTexts,
              (std::vector<StatusRow>{
                  {"Connection ", " Office"}, {"Time ", " 59:59"}, {"IP Address ", " 10.0.0.7"}}));
    EXPECT_EQ(layout.tooltip, "Kestrelon 2000 - Connected to Office");

    in.statusState = kStatusDisconnected;
    in.onlineSeconds = 3600;
    in.chargesZero = false;
    in.chargesText = "$1.25";
    layout = Layout(in);
    EXPECT_EQ(layout.title, "DISCONNECTED");
    EXPECT_EQ(layout.rows, 5);
    EXPECT_EQ(layout.rowTexts[1], (StatusRow{"Time ", " 1:00:00"}));
    EXPECT_EQ(layout.rowTexts[2], (StatusRow{"Charges ", " $1.25"}));
    EXPECT_EQ(layout.tooltip, "Kestrelon 2000 - Disconnected from Office");
}

TEST_F(StatusPanelTest, TheWelcomeTakesItsLinesFromTheLanguageAndLeavesTheTipAlone) {
    StatusInputs in;
    StatusLayout layout = Layout(in);
    EXPECT_TRUE(layout.welcome);
    EXPECT_EQ(layout.welcomeLines, (std::vector<std::string>{"", "", "Welcome to Kestrelon 2000",
                                                             "", "", "", kWelcomeFixedLine}));
    EXPECT_TRUE(layout.tooltip.empty());

    test::WriteFile(dir_.File("lngTest.ini"),
                    "[Default]\nwelc1=Hallo\nwelc2=Willkommen\nwelc5=Viel Spass\n"
                    "stdialing=WAHL\ntray1=Wahlen:\n");
    lang_.SetLanguageInUse("Test");
    layout = Layout(in);
    EXPECT_EQ(layout.welcomeLines, (std::vector<std::string>{"Hallo", "", "Willkommen", "", "",
                                                             "Viel Spass", kWelcomeFixedLine}));
    EXPECT_EQ(Layout(Dialing(kStatusDialing, 1)).tooltip,
              "Kestrelon 2000 - WAHL - Wahlen: 1 - Time: 0:45 - DpM: 2.5");
}

TEST_F(StatusPanelTest, AnUnknownStateHasNoLayout) {
    StatusInputs in;
    in.statusState = 7;
    EXPECT_FALSE(BuildStatusLayout(in, lang_).has_value());
    in.statusState = -1;
    EXPECT_FALSE(BuildStatusLayout(in, lang_).has_value());
}

}  // namespace
}  // namespace kestrelon
