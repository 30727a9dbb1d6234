#include "dialer/DialSessionController.h"

#include "dialer/DialHarness.h"

namespace kestrelon {
namespace {

using test::DialHarness;

class DialSessionTest : public DialHarness {
  protected:
    std::vector<int> startedPrograms_;
};

TEST_F(DialSessionTest, BusyLinesAreRedialledAfterTheDelayUntilTheyConnect) {
    PhoneBook(
        "[Office Line]\nAnswer=busy busy connect\nFailMs=1500\nDeviceMs=2000\n"
        "AuthMs=1000\nIpAddress=10.1.2.3\n");
    const int office = AddProfile("Office", "Office Line");
    Profile(office).IgnErr = "676";
    Start();
    Dial(office);
    EXPECT_EQ(Session().StatusState, kStatusDialing);
    EXPECT_TRUE(disconnectEnabled_);
    const std::uint32_t firstStart = Session().Line(1).DialStart;
    ASSERT_NE(Session().Line(1).Handle, 0U);

    ASSERT_TRUE(RunUntil([&] { return Session().DialCount == 1; }));
    const std::uint32_t firstError = Session().Line(1).ErrorTick;
    EXPECT_EQ(firstError - firstStart, 1500U);
    EXPECT_EQ(Session().Line(1).AttemptMs, 1500U);
    ASSERT_TRUE(RunUntil([&] { return Session().Line(1).DialStart != firstStart; }));
    // The redial waits for more than DialDelay after the error.
    const std::uint32_t secondStart = Session().Line(1).DialStart;
    EXPECT_GT(secondStart - firstError, 2000U);
    EXPECT_LT(secondStart - firstError, 2100U);

    ASSERT_TRUE(RunUntil([&] { return Session().ConnLine == 1; }));
    Run(10);
    EXPECT_FALSE(Session().Dialing);
    EXPECT_EQ(Session().StatusState, kStatusConnected);
    EXPECT_EQ(Session().DialCount, 3);
    EXPECT_EQ(Session().IpAddress, "10.1.2.3");
    EXPECT_EQ(Session().ConnEntry, "Office Line");
    EXPECT_EQ(dialer_->Heartbeat().Interval(), DialSessionController::kIdleInterval);

    const std::string program = Log("Program.log");
    EXPECT_NE(program.find("Started dialing: Office"), std::string::npos);
    EXPECT_NE(program.find("Connection established to Office"), std::string::npos);
    const std::string dial = Log("Dial.log");
    EXPECT_NE(dial.find("Connection: Office"), std::string::npos);
    EXPECT_NE(dial.find("Dials: 3"), std::string::npos);
    EXPECT_EQ(Count(Log("Error.log"), "676"), 2);
    EXPECT_TRUE(SoundPlayed("Connect.wav"));
}

TEST_F(DialSessionTest, TheDialSummaryGivesTimeAndDialsPerMinute) {
    PhoneBook("[Office Line]\nAnswer=busy connect\nFailMs=1500\nDeviceMs=2000\nAuthMs=1000\n");
    AddProfile("Office", "Office Line");
    Profile(1).IgnErr = "676";
    Start();
    Dial(1);
    ASSERT_TRUE(RunUntil([&] { return Session().StatusState == kStatusConnected; }));
    // 1.5 s busy, 2 s delay, 3 s to connect: two dials in 6.5 s. The summary uses the dial
    // time of the last refresh while dialing, taken once a second: 6 s, so 20 per minute.
    const std::string dial = Log("Dial.log");
    EXPECT_NE(dial.find("Dialtime: 0:06"), std::string::npos) << dial;
    EXPECT_NE(dial.find("Dials: 2"), std::string::npos);
    EXPECT_NE(dial.find("DpM: 20"), std::string::npos) << dial;
}

TEST_F(DialSessionTest, ADualDialUsesLineOneFirstThenBothStaggeredByHalfACycle) {
    PhoneBook("[Primary]\nAnswer=busy\nFailMs=1500\n[Secondary]\nAnswer=busy\nFailMs=1500\n");
    AddProfile("Office", "Primary", "Secondary");
    Profile(1).IgnFErr = true;
    Start();
    Dial(1);
    EXPECT_NE(Session().Line(1).Handle, 0U);
    EXPECT_EQ(Session().Line(2).Handle, 0U);
    EXPECT_FALSE(Session().DualActive);
    const std::uint32_t lineOneStart = Session().Line(1).DialStart;

    ASSERT_TRUE(RunUntil([&] { return Session().Line(2).Handle != 0; }));
    EXPECT_TRUE(Session().DualActive);
    EXPECT_EQ(Session().Line(2).EntryName, "Secondary");
    // Half of line 1's attempt (1500) plus DialDelay (2000) after line 1 started.
    const std::uint32_t offset = Session().Line(2).DialStart - lineOneStart;
    EXPECT_GT(offset, 1750U);
    EXPECT_LE(offset, 1760U);
    // Line 1 redials on its own schedule.
    ASSERT_TRUE(RunUntil([&] { return Session().Line(1).DialStart != lineOneStart; }));
    EXPECT_GT(Session().Line(1).DialStart - lineOneStart, 3500U);
}

TEST_F(DialSessionTest, DisableDualConnectKeepsTheSecondLineIdle) {
    PhoneBook("[Primary]\nAnswer=busy\nFailMs=500\n[Secondary]\nAnswer=busy\n");
    AddProfile("Office", "Primary", "Secondary");
    Profile(1).IgnFErr = true;
    app_.settings.DisDual = true;
    Start();
    Dial(1);
    Run(15000);
    EXPECT_GE(Session().DialCount, 3);
    EXPECT_FALSE(Session().DualActive);
    EXPECT_TRUE(Session().Line(2).EntryName.empty());
}

TEST_F(DialSessionTest, TheDialLimitStopsWithError900AndOpensTheLastErrorDialog) {
    PhoneBook("[Office Line]\nAnswer=busy\nFailMs=1000\n");
    AddProfile("Office", "Office Line");
    Profile(1).MaxDials = 3;
    Profile(1).IgnErr = "676";
    app_.settings.ShowError = false;
    Start();
    Dial(1);
    ASSERT_TRUE(RunUntil([&] { return Session().StatusState == kStatusConnectionError; }));
    EXPECT_FALSE(Session().Dialing);
    EXPECT_EQ(Session().DialCount, 3);
    EXPECT_EQ(Session().LastErrorCode, kErrorMaxDials);
    EXPECT_NE(Log("Program.log")
                  .find("Encountered error 900, Kestrelon has reached the maximum number of dials"),
              std::string::npos);
    EXPECT_EQ(lastErrorDialogs_, 1);
    EXPECT_FALSE(disconnectEnabled_);
    Run(5000);
    EXPECT_EQ(Session().DialCount, 3);
    EXPECT_EQ(dialer_->Heartbeat().Interval(), DialSessionController::kIdleInterval);
}

TEST_F(DialSessionTest, AnErrorThatNoRuleIgnoresStopsTheDial) {
    PhoneBook("[Office Line]\nAnswer=busy connect\nFailMs=500\n");
    AddProfile("Office", "Office Line");
    Profile(1).IgnErr = "678 680";
    Start();
    Dial(1);
    ASSERT_TRUE(RunUntil([&] { return Session().StatusState == kStatusConnectionError; }));
    EXPECT_FALSE(Session().Dialing);
    EXPECT_EQ(Session().DialCount, 1);
    EXPECT_NE(Log("Program.log").find("Encountered error 676, The line is busy."),
              std::string::npos);
    Run(5000);
    EXPECT_EQ(Session().DialCount, 1);
}

TEST_F(DialSessionTest, ShowErrorKeepsTheDialogClosed) {
    PhoneBook("[Office Line]\nAnswer=nodialtone\nFailMs=100\n");
    AddProfile("Office", "Office Line");
    Start();
    Dial(1);
    ASSERT_TRUE(RunUntil([&] { return Session().StatusState == kStatusConnectionError; }));
    EXPECT_EQ(lastErrorDialogs_, 0);
    EXPECT_NE(Log("Program.log").find("Encountered error 680, "), std::string::npos);
    EXPECT_TRUE(fake_.sound.beeps > 0);  // the dial error's default sound
}

TEST_F(DialSessionTest, ACallThatDoesNotConnectInTimeIsCancelledWith901) {
    PhoneBook("[Office Line]\nAnswer=silent\n");
    AddProfile("Office", "Office Line");
    Profile(1).CancCall = 5;
    Start();
    Dial(1);
    Run(5500);
    EXPECT_TRUE(Session().Dialing);
    ASSERT_TRUE(RunUntil([&] { return Session().StatusState == kStatusConnectionError; }, 2000));
    EXPECT_EQ(Session().LastErrorCode, kErrorConnectTimeout);
    EXPECT_NE(Log("Program.log").find("Encountered error 901, Connecting timed out"),
              std::string::npos);
}

TEST_F(DialSessionTest, ListedErrorsRedialSilentlyButStillReachTheErrorLog) {
    PhoneBook(
        "[Office Line]\nAnswer=busy noanswer busy connect\nFailMs=500\n"
        "DeviceMs=500\nAuthMs=500\n");
    AddProfile("Office", "Office Line");
    Profile(1).IgnErr = "676 678";
    Start();
    Dial(1);
    ASSERT_TRUE(RunUntil([&] { return Session().StatusState == kStatusConnected; }));
    const std::string errors = Log("Error.log");
    EXPECT_EQ(Count(errors, "676"), 2);
    EXPECT_EQ(Count(errors, "678"), 1);
    EXPECT_EQ(Log("Program.log").find("Encountered error"), std::string::npos);
}

TEST_F(DialSessionTest, IgnoreAllErrorsDialsPastTheLimitAndLogs900OnEveryTick) {
    PhoneBook("[Office Line]\nAnswer=busy\nFailMs=500\n");
    AddProfile("Office", "Office Line");
    Profile(1).IgnFErr = true;
    Profile(1).MaxDials = 2;
    Start();
    Dial(1);
    ASSERT_TRUE(RunUntil([&] { return Session().DialCount == 2; }));
    const int before = Count(Log("Error.log"), "900");
    Run(100);
    EXPECT_GE(Count(Log("Error.log"), "900") - before, 99);
    ASSERT_TRUE(RunUntil([&] { return Session().DialCount == 4; }, 20000));
    EXPECT_TRUE(Session().Dialing);
    EXPECT_EQ(Log("Program.log").find("Encountered error"), std::string::npos);
}

TEST_F(DialSessionTest, AFailedDialFallsBackToTheBackupProfile) {
    PhoneBook(
        "[Office Line]\nAnswer=nodialtone\nFailMs=500\n"
        "[Backup Line]\nAnswer=connect\nDeviceMs=500\nAuthMs=500\n");
    AddProfile("Office", "Office Line");
    AddProfile("Spare", "Backup Line");
    Profile(1).BackupCon = 2;
    app_.settings.ShowError = false;
    Start();
    Dial(1);
    ASSERT_TRUE(RunUntil([&] { return Session().StatusState == kStatusConnectionError; }));
    EXPECT_TRUE(dialer_->DialPending());
    ASSERT_TRUE(RunUntil([&] { return Session().StatusState == kStatusConnected; }));
    EXPECT_EQ(Session().CurProfile, 2);
    EXPECT_EQ(lastErrorDialogs_, 0);
    const std::string program = Log("Program.log");
    EXPECT_LT(program.find("Encountered error 680"), program.find("Started dialing: Spare"));
    EXPECT_NE(program.find("Connection established to Spare"), std::string::npos);
}

TEST_F(DialSessionTest, AConnectionMadeElsewhereIsTakenOverWithItsStartBackDated) {
    PhoneBook("[Office Line]\nDeviceMs=100\nAuthMs=100\nIpAddress=10.9.8.7\n");
    AddProfile("Home", "Home Line");
    AddProfile("Office", "Office Line");
    hooks_.startPrograms = [this](int profile) { startedPrograms_.push_back(profile); };
    Start();

    // Another program on the same service dials the entry.
    SimulatedRas elsewhere(RasDir(), fake_.clock, fake_.clock);
    RasHandle handle = 0;
    ASSERT_EQ(elsewhere.Dial(1, "Office Line", "", "", handle), 0U);
    Run(1200);  // the idle program looks once a second
    EXPECT_EQ(Session().ConnLine, 1);
    EXPECT_EQ(Session().CurProfile, 2);
    EXPECT_EQ(Session().StatusState, kStatusConnected);
    EXPECT_EQ(Session().IpAddress, "10.9.8.7");
    EXPECT_EQ(Session().Line(1).Handle, handle);
    EXPECT_TRUE(disconnectEnabled_);
    EXPECT_EQ(startedPrograms_, std::vector<int>{2});
    EXPECT_TRUE(SoundPlayed("Connect.wav"));
    EXPECT_NE(Log("Program.log").find("Connection detected: Office"), std::string::npos);
    EXPECT_NE(Log("Dial.log").find("Connection: Office"), std::string::npos);
}

TEST_F(DialSessionTest, ATakeoverCountsTheTimeTheConnectionWasAlreadyUp) {
    PhoneBook("[Office Line]\nDeviceMs=100\nAuthMs=100\n");
    AddProfile("Office", "Office Line");
    SimulatedRas elsewhere(RasDir(), fake_.clock, fake_.clock);
    RasHandle handle = 0;
    ASSERT_EQ(elsewhere.Dial(1, "Office Line", "", "", handle), 0U);
    Run(200);
    Run(45000);
    Start();  // the program starts while the connection has been up for 45 s
    EXPECT_EQ(Session().ConnLine, 1);
    EXPECT_NEAR(Session().OnlineSeconds, 45, 1);
}

TEST_F(DialSessionTest, ABrokenLineIsReconnectedAfterAPauseWithoutTheDialSound) {
    PhoneBook("[Office Line]\nDeviceMs=100\nAuthMs=100\nDropAfter=10\n");
    AddProfile("Office", "Office Line");
    Profile(1).Reconnect = true;
    app_.settings.sounds.events[kSoundStartDialing] = {"Start dialing", "dial.wav", true};
    app_.settings.sounds.events[kSoundBrokenExternal] = {"Broken", "broken.wav", true};
    int closes = 0;
    hooks_.closePrograms = [&] { ++closes; };
    Start();
    Dial(1);
    ASSERT_TRUE(RunUntil([&] { return Session().StatusState == kStatusConnected; }));
    fake_.sound.played.clear();

    ASSERT_TRUE(RunUntil([&] { return Session().StatusState == kStatusDisconnected; }, 15000));
    EXPECT_EQ(Session().ConnLine, 0);
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(SoundPlayed("broken.wav"));
    EXPECT_NE(Log("Program.log").find("Connection broken"), std::string::npos);
    // The time of the last refresh before the drop was noticed: nine seconds and a bit.
    EXPECT_NE(Log("Dial.log").find("Connection Time: 0:09"), std::string::npos);
    EXPECT_TRUE(dialer_->DialPending());
    Run(900);
    EXPECT_FALSE(Session().Dialing);
    ASSERT_TRUE(RunUntil([&] { return Session().Dialing; }, 200));
    EXPECT_EQ(Count(Log("Program.log"), "Started dialing: Office"), 2);
    EXPECT_FALSE(SoundPlayed("dial.wav"));
}

TEST_F(DialSessionTest, WithoutReconnectABrokenLineStaysDown) {
    PhoneBook("[Office Line]\nDeviceMs=100\nAuthMs=100\nDropAfter=3\n");
    AddProfile("Office", "Office Line");
    Start();
    Dial(1);
    ASSERT_TRUE(RunUntil([&] { return Session().StatusState == kStatusDisconnected; }));
    Run(5000);
    EXPECT_FALSE(Session().Dialing);
    EXPECT_EQ(Count(Log("Program.log"), "Started dialing"), 1);
}

TEST_F(DialSessionTest, DisconnectWhileDialingAbortsWithoutASummary) {
    PhoneBook("[Office Line]\nAnswer=silent\n");
    AddProfile("Office", "Office Line");
    Start();
    Dial(1);
    Run(1000);
    const RasHandle handle = Session().Line(1).Handle;
    dialer_->Disconnect();
    EXPECT_EQ(Session().StatusState, kStatusAborted);
    EXPECT_FALSE(Session().Dialing);
    EXPECT_EQ(Session().Line(1).Handle, 0U);
    EXPECT_EQ(Session().Line(1).HungHandle, handle);
    EXPECT_FALSE(disconnectEnabled_);
    EXPECT_NE(Log("Program.log").find("Dialing aborted by user"), std::string::npos);
    EXPECT_EQ(Log("Dial.log").find("Connection Time"), std::string::npos);
}

TEST_F(DialSessionTest, DisconnectWhileOnlineHangsUpAndSumsTheConnectionUp) {
    PhoneBook("[Office Line]\nDeviceMs=100\nAuthMs=100\n");
    AddProfile("Office", "Office Line");
    hooks_.chargesText = [](double seconds) { return "EUR " + std::to_string(int(seconds)); };
    int records = 0;
    hooks_.recordStatistics = [&] { ++records; };
    Start();
    Dial(1);
    ASSERT_TRUE(RunUntil([&] { return Session().StatusState == kStatusConnected; }));
    Run(75000);
    dialer_->Disconnect();
    EXPECT_EQ(Session().StatusState, kStatusDisconnected);
    EXPECT_EQ(Session().ConnLine, 0);
    EXPECT_EQ(records, 1);
    EXPECT_NE(Log("Program.log").find("Connection broken by user"), std::string::npos);
    const std::string dial = Log("Dial.log");
    EXPECT_NE(dial.find("Connection Time: 1:1"), std::string::npos) << dial;
    EXPECT_NE(dial.find("Connection Charges: EUR 7"), std::string::npos) << dial;
    // The hang-up reached the service: nobody sees the connection any more.
    EXPECT_TRUE(service_->EnumConnections().empty());
    Run(3000);
    EXPECT_EQ(Session().StatusState, kStatusDisconnected);
    EXPECT_EQ(Log("Program.log").find("Connection broken\n"), std::string::npos);
}

TEST_F(DialSessionTest, DialingTheSessionsOwnProfileAgainDoesNothing) {
    PhoneBook("[Office Line]\nAnswer=silent\n");
    AddProfile("Office", "Office Line");
    Start();
    Dial(1);
    const RasHandle handle = Session().Line(1).Handle;
    Dial(1);
    EXPECT_EQ(Session().Line(1).Handle, handle);
    EXPECT_EQ(Count(Log("Program.log"), "Started dialing"), 1);
}

TEST_F(DialSessionTest, DialingAnotherProfileHangsUpAndWaitsBeforeDialing) {
    PhoneBook("[Office Line]\nAnswer=silent\n[Home Line]\nAnswer=silent\n");
    AddProfile("Office", "Office Line");
    AddProfile("Home", "Home Line");
    Start();
    Dial(1);
    Run(500);
    Dial(2);
    EXPECT_FALSE(Session().Dialing);
    EXPECT_TRUE(dialer_->DialPending());
    Run(1400);
    EXPECT_FALSE(Session().Dialing);
    ASSERT_TRUE(RunUntil([&] { return Session().Dialing; }, 300));
    EXPECT_EQ(Session().CurProfile, 2);
    EXPECT_EQ(Session().Line(1).EntryName, "Home Line");
}

TEST_F(DialSessionTest, PortErrorsAreSwallowedForTwoSecondsAndDoNotCount) {
    PhoneBook("[Office Line]\nAnswer=602\nFailMs=200\n");
    AddProfile("Office", "Office Line");
    app_.settings.DialDelay = 100;
    Start();
    Dial(1);
    Run(1500);
    EXPECT_TRUE(Session().Dialing);
    EXPECT_EQ(Session().DialCount, 0);
    ASSERT_TRUE(RunUntil([&] { return Session().StatusState == kStatusConnectionError; }, 3000));
    EXPECT_EQ(Session().LastErrorCode, 602U);
    EXPECT_EQ(Session().DialCount, 0);
}

TEST_F(DialSessionTest, AnEntryMissingFromThePhoneBookFailsOnTheNextTick) {
    PhoneBook("[Office Line]\n");
    AddProfile("Office", "No Such Line");
    Start();
    Dial(1);
    Run(10);
    EXPECT_EQ(Session().StatusState, kStatusConnectionError);
    EXPECT_EQ(Session().LastErrorCode, 623U);
}

TEST(DialSessionFormats, ErrorListsDurationsAndRates) {
    using V = std::vector<std::uint32_t>;
    EXPECT_EQ(DialSessionController::ParseErrorList("676 678"), (V{676, 678}));
    EXPECT_EQ(DialSessionController::ParseErrorList(""), V{});
    EXPECT_EQ(DialSessionController::ParseErrorList("6761 0 678"), (V{676, 678}));
    // Each number is read from exactly three characters, blanks included.
    EXPECT_EQ(DialSessionController::ParseErrorList(" 676"), (V{67, 676}));

    EXPECT_EQ(FormatDuration(0), "0:00");
    EXPECT_EQ(FormatDuration(65), "1:05");
    EXPECT_EQ(FormatDuration(3599), "59:59");
    EXPECT_EQ(FormatDuration(3600), "1:00:00");
    EXPECT_EQ(FormatDuration(36125.7), "10:02:05");
    EXPECT_EQ(FormatDuration(3725, true), "1:02");
    EXPECT_EQ(FormatDuration(125, true), "0:02");

    EXPECT_EQ(FormatDialsPerMinute(3, 72), "2.5");
    EXPECT_EQ(FormatDialsPerMinute(1, 6.1f), "9.8");  // 9.836 is cut, not rounded
    EXPECT_EQ(FormatDialsPerMinute(2, 6.5f), "18");
    EXPECT_EQ(FormatDialsPerMinute(5, 29), "10");
    EXPECT_EQ(FormatDialsPerMinute(4, 0), "0");
}

}  // namespace
}  // namespace kestrelon
