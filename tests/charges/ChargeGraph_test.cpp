#include "charges/ChargeGraph.h"

#include <gtest/gtest.h>

#include "ChargeTestSupport.h"
#include "charges/ChargeProfileStore.h"
#include "core/INIio.h"
#include "platform/TempProgramDirectory.h"

namespace kestrelon {
namespace {

using test::At;
using test::Cents;

class ChargeGraphTest : public ::testing::Test {
  protected:
    ChargeGraphTest() {
        SetIniRegionalFormat(RegionalFormat{});
        ChargeProfile p = test::Profile(Cents(10), Cents(600));
        p.Name = "Base";
        SaveChargeProfile(p);
    }

    void Add(const std::string& con, const std::string& charge, double start, double end) {
        StatisticsRecord r;
        r.ConName = con;
        r.ChargeName = charge;
        r.Start = start;
        r.End = end;
        records_.push_back(r);
    }

    GraphData Compute(int row, double reference, const std::string& filter = "") {
        return ComputeGraph(PrepareGraphRecords(records_),
                            GraphPeriods()[static_cast<std::size_t>(row)], filter, reference,
                            cache_, ClockFaceZone());
    }

    TempProgramDirectory dir_;
    std::vector<StatisticsRecord> records_;
    ChargeProfileCache cache_;
};

TEST_F(ChargeGraphTest, PeriodRows) {
    const auto& rows = GraphPeriods();
    EXPECT_EQ(rows[0].name, "Day");
    EXPECT_EQ(rows[0].bars, 24);
    EXPECT_EQ(rows[1].barCode, "ymd");
    EXPECT_EQ(rows[1].bars, 30);
    EXPECT_EQ(rows[2].periodStep, "yyyy");
    EXPECT_EQ(rows[2].barUnit, "Month");
}

TEST_F(ChargeGraphTest, ConnectionOverMidnightIsSplitWithItsStartRateInTheFirstBar) {
    Add("Office", "Base", At(2026, 12, 7, 23, 30), At(2026, 12, 8, 0, 30));
    const GraphData g = Compute(0, At(2026, 12, 8, 5, 10));
    ASSERT_EQ(g.bars.size(), 24u);
    // The 24 hours before the current hour: 05:00 yesterday .. 04:00 today.
    EXPECT_EQ(g.bars.front().start, At(2026, 12, 7, 5));
    EXPECT_EQ(g.bars.back().end, At(2026, 12, 8, 5));
    const GraphBar& late = g.bars[18];
    const GraphBar& midnight = g.bars[19];
    EXPECT_EQ(late.label, "23");
    EXPECT_EQ(midnight.label, "0");
    EXPECT_EQ(late.seconds, 1800);
    EXPECT_EQ(midnight.seconds, 1800);
    EXPECT_EQ(late.charges, Cents(10) + Cents(300));
    EXPECT_EQ(midnight.charges, Cents(300));
    Currency sum;
    for (const GraphBar& bar : g.bars) {
        sum += bar.charges;
    }
    EXPECT_EQ(sum, Cents(610));
    // Yesterday holds its start rate and half an hour, today the other half.
    EXPECT_EQ(g.rows[0].charges, Cents(310));
    EXPECT_EQ(g.rows[1].charges, Cents(300));
    EXPECT_EQ(g.rows[1].seconds, 1800);
}

TEST_F(ChargeGraphTest, EstimateOnTheTenthAtNoonOfAThirtyDayMonth) {
    Add("Office", "Base", At(2026, 11, 2, 10), At(2026, 11, 2, 11));
    Add("Office", "Base", At(2026, 10, 20, 10), At(2026, 10, 20, 10, 30));
    const GraphData g = Compute(1, At(2026, 11, 10, 12));
    EXPECT_EQ(g.thisStart, At(2026, 11, 1));
    EXPECT_EQ(g.previousStart, At(2026, 10, 1));
    EXPECT_EQ(g.rows[0].seconds, 1800);
    EXPECT_EQ(g.rows[0].charges, Cents(10 + 300));
    EXPECT_EQ(g.rows[1].seconds, 3600);
    EXPECT_EQ(g.rows[1].charges, Cents(610));
    // so far × 30 ÷ 9.5
    EXPECT_EQ(g.rows[2].seconds, 11368);
    EXPECT_EQ(g.rows[2].charges, test::Tt(192632));  // 6.10 × 30 / 9.5 = 19.26315..
    // Day bars: the 30 days before today, labelled with the day of month.
    ASSERT_EQ(g.bars.size(), 30u);
    EXPECT_EQ(g.bars.front().start, At(2026, 10, 11));
    EXPECT_EQ(g.bars.back().label, "9");
    EXPECT_EQ(g.bars[22].label, "2");
    EXPECT_EQ(g.bars[22].seconds, 3600);
}

TEST_F(ChargeGraphTest, EstimateInTheFirstSecondIsWhatIsKnown) {
    Add("Office", "Base", At(2026, 11, 30, 23), At(2026, 12, 1));
    const GraphData g = Compute(1, At(2026, 12, 1));
    EXPECT_EQ(g.rows[2].seconds, g.rows[1].seconds);
    EXPECT_EQ(g.rows[2].charges, g.rows[1].charges);
}

TEST_F(ChargeGraphTest, YearBarsAreTheTwelveMonthsBeforeThisOne) {
    Add("Office", "Base", At(2026, 2, 10, 10), At(2026, 2, 10, 12));
    Add("Office", "Base", At(2024, 2, 10, 10), At(2024, 2, 10, 12));  // too old for anything
    const GraphData g = Compute(2, At(2026, 12, 8, 9));
    ASSERT_EQ(g.bars.size(), 12u);
    EXPECT_EQ(g.bars.front().label, "Dec");
    EXPECT_EQ(g.bars.front().start, At(2025, 12, 1));
    EXPECT_EQ(g.bars[2].label, "Feb");
    EXPECT_EQ(g.bars[2].seconds, 7200);
    EXPECT_EQ(g.rows[0].seconds, 0);
    EXPECT_EQ(g.rows[1].seconds, 7200);
    EXPECT_EQ(g.rows[1].charges, Cents(10 + 1200));
}

TEST_F(ChargeGraphTest, FilterLeavesOutOtherProfilesEverywhere) {
    Add("Office", "Base", At(2026, 12, 8, 1), At(2026, 12, 8, 2));
    Add("Home", "Base", At(2026, 12, 8, 2), At(2026, 12, 8, 4));
    const GraphData all = Compute(0, At(2026, 12, 8, 12));
    const GraphData home = Compute(0, At(2026, 12, 8, 12), "Home");
    EXPECT_EQ(all.rows[1].seconds, 3 * 3600);
    EXPECT_EQ(home.rows[1].seconds, 2 * 3600);
    EXPECT_EQ(home.rows[1].charges, Cents(10 + 1200));
    EXPECT_EQ(home.bars[13].seconds, 0);  // 01:00, Office only
    EXPECT_EQ(home.bars[14].seconds, 3600);
    EXPECT_EQ(all.bars[13].seconds, 3600);
}

TEST_F(ChargeGraphTest, UnknownChargeProfileChargesNothingAndProfilesAreReadOncePerName) {
    Add("Office", "Gone", At(2026, 12, 8, 1), At(2026, 12, 8, 2));
    for (int i = 0; i < 20; ++i) {
        Add("Office", "Base", At(2026, 12, 7, 3, i), At(2026, 12, 7, 3, i, 30));
    }
    Add("Office", "Old", At(2020, 1, 1), At(2020, 1, 1, 1));  // before every period: not read
    const GraphData g = Compute(0, At(2026, 12, 8, 12));
    EXPECT_EQ(g.rows[1].charges, Cents(0));
    EXPECT_EQ(g.rows[1].seconds, 3600);
    EXPECT_EQ(g.rows[0].charges, Cents(20 * 10) + Cents(20 * 5));
    EXPECT_EQ(cache_.FileReads(), 2);
}

TEST_F(ChargeGraphTest, ProfileNamesInOrderOfFirstAppearance) {
    Add("  Office  ", "", 1, 2);
    Add("", "", 1, 2);
    Add("Home", "", 1, 2);
    Add("Office", "", 1, 2);
    Add(std::string(64, 'x'), "", 1, 2);
    EXPECT_EQ(GraphProfileNames(PrepareGraphRecords(records_)),
              (std::vector<std::string>{"Office", "Home", std::string(64, 'x')}));
}

TEST(ChargeGraphAxis, GridStepAndTop) {
    GraphAxis a = ComputeGraphAxis(3.40);
    EXPECT_DOUBLE_EQ(a.step, 0.5);
    EXPECT_DOUBLE_EQ(a.top, 3.5);
    a = ComputeGraphAxis(10.0);
    EXPECT_DOUBLE_EQ(a.step, 1.0);
    EXPECT_DOUBLE_EQ(a.top, 10.0);
    EXPECT_EQ(a.lines, 10);
    // The charges axis of an empty graph spans one money unit.
    a = ComputeGraphAxis(1.0);
    EXPECT_DOUBLE_EQ(a.top, 1.0);
    // Ten minutes of online time, in hours.
    a = ComputeGraphAxis(600.0 / 3600);
    EXPECT_NEAR(a.step, 0.02, 1e-12);
    EXPECT_GE(a.top * 3600, 600);
    a = ComputeGraphAxis(0.34);
    EXPECT_NEAR(a.step, 0.05, 1e-12);
    EXPECT_NEAR(a.top, 0.35, 1e-12);
}

TEST(ChargeGraphAxis, LayoutAndMouseReadout) {
    const GraphLayout l = ComputeGraphLayout(500, 200, 60, 10, 20, 24);
    EXPECT_DOUBLE_EQ(l.topMargin, 20);
    EXPECT_DOUBLE_EQ(l.plotHeight, 175);
    EXPECT_DOUBLE_EQ(l.plotWidth, 420);
    EXPECT_DOUBLE_EQ(l.slot, 17.5);
    EXPECT_DOUBLE_EQ(l.barWidth, 12.25);
    EXPECT_EQ(GraphBarAt(59, l, 24), 0);
    EXPECT_EQ(GraphBarAt(60, l, 24), 1);
    EXPECT_EQ(GraphBarAt(60 + 17.6, l, 24), 2);
    EXPECT_EQ(GraphBarAt(480, l, 24), 24);
    EXPECT_EQ(GraphBarAt(481, l, 24), 0);
    EXPECT_EQ(FormatHoursMinutes(0), "0:00");
    EXPECT_EQ(FormatHoursMinutes(3 * 3600 + 5 * 60 + 59), "3:05");
    EXPECT_EQ(FormatHoursMinutes(30 * 3600), "30:00");
}

}  // namespace
}  // namespace kestrelon
