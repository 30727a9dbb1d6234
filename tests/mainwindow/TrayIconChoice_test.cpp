#include "mainwindow/TrayIconChoice.h"

#include <gtest/gtest.h>

#include "dialer/DialSession.h"
#include "mainwindow/TrayCounter.h"
#include "mainwindow/TrayIcon.h"
#include "platform/FakePlatform.h"
#include "profiles/ConnectionProfile.h"

namespace kestrelon {
namespace {

constexpr int kId = 1;

class TrayIconChoiceTest : public ::testing::Test {
  protected:
    TrayIconChoiceTest() {
        tray_.TrayAdd(kId, offline_, "Kestrelon 2000");
        profile_.TrayColor = 10;
        session_.StatusState = kStatusConnected;
    }

    void At(double seconds) {
        session_.OnlineSeconds = static_cast<float>(seconds);
        choice_.Update(session_, &profile_, 1);
    }
    const IconImage& Shown() { return fake_.tray.icons[kId].icon; }
    IconImage Counter(const std::string& digits, int mode = 0) {
        return PlotTimeImage(digits, PaletteColour(10), mode);
    }

    FakePlatform fake_;
    TrayIcon tray_{fake_.tray};
    IconImage offline_{16, 16, 0xFF101010};
    IconImage online_{16, 16, 0xFF00A000};
    int warnings_ = 0;
    TrayIconChoice choice_{{tray_, kId, offline_, online_, [this] { ++warnings_; },
                            [](const std::string& text) {
                                return ParseCurrency(text, RegionalFormat{}).value_or(Currency{});
                            },
                            2}};
    ConnectionProfile profile_;
    DialSession session_;
};

TEST_F(TrayIconChoiceTest, ACountDownWarnsOnceFiveMinutesBeforeItsEndAndThenCountsUp) {
    profile_.TrayTimer = 2;
    profile_.CountDown = 3600;
    profile_.Warning = 5;
    At(0);
    EXPECT_EQ(Shown(), Counter("100"));
    At(54 * 60);
    EXPECT_EQ(Shown(), Counter("006"));
    At(55 * 60);
    EXPECT_EQ(warnings_, 0);
    At(55 * 60 + 1);
    EXPECT_EQ(warnings_, 1);
    EXPECT_EQ(Shown(), Counter("004"));
    for (int s = 55 * 60 + 2; s < 3600; s += 17) {
        At(s);
    }
    EXPECT_EQ(warnings_, 1);
    At(3600);
    EXPECT_EQ(Shown(), Counter("000"));
    At(3601);
    EXPECT_EQ(Shown(), Counter("100"));
    At(3660);
    EXPECT_EQ(Shown(), Counter("101"));
    EXPECT_EQ(warnings_, 1);
    EXPECT_EQ(choice_.State().ShownIcon, TrayState::kCounter);
}

TEST_F(TrayIconChoiceTest, NoWarningWithoutWarningMinutesAndTheCounterIsDrawnOncePerMinute) {
    profile_.TrayTimer = 2;
    profile_.CountDown = 600;
    profile_.Warning = 0;
    const int before = fake_.tray.modifies;
    for (int s = 0; s <= 700; ++s) {
        At(s);
    }
    EXPECT_EQ(warnings_, 0);
    // 0:10 down to 0:00, then 0:10 and 0:11 counting up again: 13 different texts.
    EXPECT_EQ(fake_.tray.modifies - before, 13);
    EXPECT_EQ(Shown(), Counter("011"));
}

TEST_F(TrayIconChoiceTest, TenHoursAndFiveMinutesShowOnlyTheLastHourDigit) {
    profile_.TrayTimer = 2;
    At(10 * 3600 + 5 * 60);
    EXPECT_EQ(Shown(), Counter("005"));
}

TEST_F(TrayIconChoiceTest, TheChargesCounterFollowsTheChargesText) {
    profile_.TrayTimer = 1;
    session_.ChargesText = "$0.05";
    At(10);
    EXPECT_EQ(Shown(), Counter("005", 2));
    session_.ChargesText = "$12.34";
    const int before = fake_.tray.modifies;
    At(11);
    At(12);
    EXPECT_EQ(Shown(), Counter("123", 3));
    EXPECT_EQ(fake_.tray.modifies - before, 1);
}

TEST_F(TrayIconChoiceTest, LeavingTheConnectionShowsAStaticPictureAndAReturnRedraws) {
    profile_.TrayTimer = 2;
    At(62);
    EXPECT_EQ(Shown(), Counter("001"));
    session_.StatusState = kStatusDisconnected;
    choice_.Update(session_, &profile_, 0);
    EXPECT_EQ(Shown(), offline_);
    EXPECT_TRUE(choice_.State().LastTimeText.empty());
    session_.StatusState = kStatusConnected;
    At(62);
    EXPECT_EQ(Shown(), Counter("001"));
    EXPECT_EQ(fake_.tray.icons[kId].tip, "Kestrelon 2000");
}

TEST_F(TrayIconChoiceTest, WhileDialingThePictureBlinksWithTheIconIndex) {
    session_.StatusState = kStatusDialing;
    profile_.TrayTimer = 2;
    choice_.Update(session_, &profile_, 1);
    EXPECT_EQ(Shown(), online_);
    choice_.Update(session_, &profile_, 0);
    EXPECT_EQ(Shown(), offline_);
    const int before = fake_.tray.modifies;
    choice_.Update(session_, &profile_, 0);
    EXPECT_EQ(fake_.tray.modifies, before);
}

TEST(TrayIconTest, AModifyKeepsThePictureWithoutOneAndTheTipWhenEmpty) {
    FakePlatform fake;
    TrayIcon tray(fake.tray);
    const IconImage a(16, 16, 0xFF0000FF);
    const IconImage b(16, 16, 0xFFFF0000);
    EXPECT_FALSE(tray.TrayModify(1, &a, "x"));  // not added yet
    EXPECT_TRUE(tray.TrayAdd(1, a, "Kestrelon 2000"));
    EXPECT_TRUE(tray.TrayModify(1, nullptr, "Kestrelon 2000 - DIALING"));
    EXPECT_EQ(fake.tray.icons[1].icon, a);
    EXPECT_TRUE(tray.TrayModify(1, &b, ""));
    EXPECT_EQ(fake.tray.icons[1].icon, b);
    EXPECT_EQ(fake.tray.icons[1].tip, "Kestrelon 2000 - DIALING");
    EXPECT_TRUE(tray.TrayDelete(1));
    EXPECT_FALSE(tray.TrayDelete(1));
    EXPECT_TRUE(fake.tray.icons.empty());

    fake.tray.available = false;
    EXPECT_FALSE(tray.TrayAdd(2, a, "tip"));
    EXPECT_EQ(fake.tray.adds, 1);
}

}  // namespace
}  // namespace kestrelon
