#include "charges/ChargesHooks.h"

#include <cmath>
#include <cstdlib>
#include <ctime>

#include <gtest/gtest.h>

#include "../dialer/DialHarness.h"
#include "ChargeTestSupport.h"
#include "charges/ChargeCalc.h"
#include "charges/ChargeGraph.h"
#include "charges/Statistics.h"
#include "core/INIio.h"

namespace kestrelon {
namespace {

using test::At;
using test::Cents;

class ChargesHooksTest : public test::DialHarness {
  protected:
    ChargesHooksTest() {
        SetIniRegionalFormat(RegionalFormat{});
        ChargeProfile p = test::Profile(Cents(10), Cents(3600));  // 0.01 a second
        p.Name = "Base";
        SaveChargeProfile(p);
        AddChargeName("Base");
        fake_.clock.SetNow(LocalTime{2026, 12, 7, 10, 0, 0, 0, 1});
    }

    void StartWithCharges() {
        Start();
        AttachCharges(app_, *dialer_, charges_);
    }

    ChargeState charges_;
};

TEST_F(ChargesHooksTest, ADialledConnectionShowsLogsAndRecordsItsCharges) {
    PhoneBook("[Office Line]\nDeviceMs=100\nAuthMs=100\n");
    const int office = AddProfile("Office", "Office Line");
    Profile(office).ChargeProfile = "Base";
    StartWithCharges();
    Dial(office);
    ASSERT_TRUE(RunUntil([&] { return Session().StatusState == kStatusConnected; }));
    EXPECT_EQ(charges_.CurrentChargeProfile.Name, "Base");
    EXPECT_EQ(charges_.CurrentChargeProfile.BaseRate, Cents(3600));

    Run(60000);
    // The start rate and 0.01 for each second online at the last refresh (about a minute).
    const auto expected = [&] {
        return "$0." + std::to_string(10 + std::lround(Session().OnlineSeconds));
    };
    EXPECT_NEAR(Session().OnlineSeconds, 60, 1.5);
    EXPECT_EQ(Session().ChargesText, expected());

    // The graph opens twice while online; then the connection ends.
    RecordCurrentConnection(app_, Session(), charges_);
    Run(5000);
    RecordCurrentConnection(app_, Session(), charges_);
    Run(5000);
    dialer_->Disconnect();
    Run(2000);
    EXPECT_NEAR(Session().OnlineSeconds, 70, 1.5);
    EXPECT_NE(Log("Dial.log").find("Connection Charges: " + expected()), std::string::npos);

    ASSERT_EQ(test::ReadFile(StatisticsFilePath()).size(), 144u);
    StatisticsReader reader;
    const auto records = reader.ReadAll();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(TrimStatisticsName(records[0].ConName), "Office");
    EXPECT_EQ(TrimStatisticsName(records[0].ChargeName), "Base");
    const std::int64_t seconds = ToClockSeconds(records[0].End) - ToClockSeconds(records[0].Start);
    EXPECT_NEAR(static_cast<double>(seconds), 70, 1);
    EXPECT_NEAR(records[0].Start, At(2026, 12, 7, 10), 2.0 / 86400);

    // The graph shows it.
    const GraphData g =
        ComputeGraph(PrepareGraphRecords(records), GraphPeriods()[0], "",
                     DateValueFromLocalTime(fake_.clock.Now()), charges_.cache, ClockFaceZone());
    EXPECT_EQ(g.rows[1].seconds, seconds);
    EXPECT_EQ(g.rows[1].charges, Cents(10) + Cents(seconds));
    EXPECT_TRUE(fake_.messages.informations.empty());
}

TEST_F(ChargesHooksTest, NothingIsRecordedWhileOffline) {
    StartWithCharges();
    RecordCurrentConnection(app_, Session(), charges_);
    EXPECT_FALSE(test::FileExists(StatisticsFilePath()));
}

TEST_F(ChargesHooksTest, StartUpImportsAndListsTheProfiles) {
    test::WriteFile(dir_.File("cpNew.ini"),
                    "[Charges]\nnCharges=1\n1ChargeName=New\n[CPNew]\nStartRate=1\n");
    EXPECT_EQ(ImportAndListChargeProfiles(charges_), (std::vector<std::string>{"Base", "New"}));
    LoadCurrentChargeProfile(charges_, "New");
    EXPECT_EQ(charges_.CurrentChargeProfile.StartRate, Cents(100));
}

TEST(ChargesMoments, TheStartOfARunningConnectionCountsRealSeconds) {
    const test::ForwardChangeZone zone(At(2026, 3, 29, 2));
    const LocalTime now{2026, 3, 29, 3, 30, 0, 0, 0};
    EXPECT_NEAR(MomentBefore(now, 3600, zone), At(2026, 3, 29, 1, 30), 1e-9);
    EXPECT_NEAR(MomentBefore(now, 3600, ClockFaceZone()), At(2026, 3, 29, 2, 30), 1e-9);
    const LocalTime later{2026, 3, 29, 3, 30, 0, 500, 0};
    EXPECT_NEAR(MomentBefore(later, 0.25, zone), At(2026, 3, 29, 3, 30) + 0.25 / 86400, 1e-9);
}

TEST(ChargesMoments, SystemZoneFollowsTheTimeZoneRules) {
    const char* old = std::getenv("TZ");
    const std::string saved = old != nullptr ? old : "";
    ::setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    ::tzset();
    {
        const SystemZone zone;
        // Spring: 02:00 becomes 03:00 on 29 March 2026.
        const auto real = [&](double m) { return zone.ToReal(ToClockSeconds(m)); };
        EXPECT_EQ(real(At(2026, 3, 29, 3, 30)) - real(At(2026, 3, 29, 1, 30)), 3600);
        EXPECT_EQ(real(At(2026, 3, 28, 3, 30)) - real(At(2026, 3, 28, 1, 30)), 7200);
        // Autumn: 03:00 becomes 02:00 on 25 October 2026.
        EXPECT_EQ(real(At(2026, 10, 25, 4)) - real(At(2026, 10, 25, 1)), 4 * 3600);
        // Back and forth.
        const std::int64_t r = real(At(2026, 7, 1, 12));
        EXPECT_EQ(zone.ToClock(r), ToClockSeconds(At(2026, 7, 1, 12)));
        const ChargeProfile p = test::Profile(Cents(0), Cents(600));
        EXPECT_EQ(ConnectionCost(At(2026, 3, 29, 1, 30), At(2026, 3, 29, 3, 30), p, zone),
                  Cents(600));
    }
    if (old != nullptr) {
        ::setenv("TZ", saved.c_str(), 1);
    } else {
        ::unsetenv("TZ");
    }
    ::tzset();
}

}  // namespace
}  // namespace kestrelon
