#include "charges/ChargeCalc.h"

#include <random>

#include <gtest/gtest.h>

#include "ChargeTestSupport.h"

namespace kestrelon {
namespace {

using test::At;
using test::Cents;
using test::Profile;
using test::TimeOfDay;
using test::Tt;
using test::Window;

constexpr std::int32_t kEveryDay = ChargeProfile::kEveryDay;

// 7 December 2026 is a Monday.
constexpr int kY = 2026;
constexpr int kM = 12;
constexpr int kMonday = 7;

TEST(ChargeCalc, RatesAreChargedPerHourExactlyRoundedHalfToEven) {
    EXPECT_EQ(RateTimesSeconds(Cents(600), 1), Tt(17));  // 0.001666.. -> 0.0017
    EXPECT_EQ(RateTimesSeconds(Cents(600), 1800), Cents(300));
    EXPECT_EQ(RateTimesSeconds(Tt(18), 100), Tt(0));    // 0.5 -> 0 (even)
    EXPECT_EQ(RateTimesSeconds(Tt(54), 100), Tt(2));    // 1.5 -> 2
    EXPECT_EQ(RateTimesSeconds(Tt(90), 100), Tt(2));    // 2.5 -> 2
    EXPECT_EQ(RateTimesSeconds(Tt(-54), 100), Tt(-2));  // -1.5 -> -2
    EXPECT_EQ(RateTimesSeconds(Cents(600), -1800), Cents(-300));
    // A year at a high rate stays exact.
    EXPECT_EQ(RateTimesSeconds(Cents(123456789), 366LL * 86400), Cents(123456789LL * 366 * 24));
}

TEST(ChargeCalc, StartRateAloneWhateverTheLength) {
    const ChargeProfile p = Profile(Cents(10), Cents(0));
    EXPECT_EQ(ConnectionCost(At(kY, kM, kMonday, 10), At(kY, kM, kMonday, 10, 0, 1), p), Cents(10));
    EXPECT_EQ(ConnectionCost(At(kY, kM, kMonday, 10), At(kY, kM, kMonday + 3, 10), p), Cents(10));
}

TEST(ChargeCalc, BaseRateWithoutWindows) {
    const ChargeProfile p = Profile(Cents(10), Cents(600));
    const double start = At(kY, kM, kMonday, 10);
    EXPECT_EQ(ConnectionCost(start, At(kY, kM, kMonday, 10, 30), p), Cents(10) + Cents(300));
    EXPECT_EQ(ConnectionCost(start, At(kY, kM, kMonday, 10, 0, 1), p), Cents(10) + Tt(17));
    // Across midnight and over several days.
    EXPECT_EQ(ConnectionCost(At(kY, kM, kMonday, 23), At(kY, kM, kMonday + 2, 1), p),
              Cents(10) + Cents(600 * 26));
}

TEST(ChargeCalc, WindowEndingInsideTheConnectionHandsOverToTheBaseRate) {
    // Monday to Friday 08:00-18:00 at 12.00, base 3.00.
    const ChargeProfile p =
        Profile(Cents(10), Cents(300), {Window(test::kMondayToFriday, 8, 0, 18, 0, Cents(1200))});
    EXPECT_EQ(ConnectionCost(At(kY, kM, kMonday, 17, 30), At(kY, kM, kMonday, 18, 30), p),
              Cents(10) + Cents(600) + Cents(150));
    // Saturday is not in the set: base rate all day.
    EXPECT_EQ(ConnectionCost(At(kY, kM, 12, 9), At(kY, kM, 12, 10), p), Cents(10) + Cents(300));
    // A connection before the window opens is cut at its start.
    EXPECT_EQ(ConnectionCost(At(kY, kM, kMonday, 7, 30), At(kY, kM, kMonday, 8, 30), p),
              Cents(10) + Cents(150) + Cents(600));
}

TEST(ChargeCalc, NightWindowRunsPastMidnight) {
    const ChargeProfile p =
        Profile(Cents(0), Cents(120), {Window(kEveryDay, 22, 0, 8, 0, Cents(240))});
    EXPECT_EQ(FindRateWindow(At(kY, kM, kMonday, 3), p), 1);
    EXPECT_EQ(FindRateWindow(At(kY, kM, kMonday, 23), p), 1);
    EXPECT_EQ(FindRateWindow(At(kY, kM, kMonday, 12), p), 0);
    // 03:00-08:00 at the window's rate, 08:00-10:00 at the base rate.
    EXPECT_EQ(ConnectionCost(At(kY, kM, kMonday, 3), At(kY, kM, kMonday, 10), p),
              Cents(240 * 5 + 120 * 2));
    // 21:00-23:00: one hour base, one hour night.
    EXPECT_EQ(ConnectionCost(At(kY, kM, kMonday, 21), At(kY, kM, kMonday, 23), p),
              Cents(120 + 240));

    const auto [s, e] = WindowOccurrence(p.Window(1), At(kY, kM, kMonday, 3));
    EXPECT_DOUBLE_EQ(s, At(kY, kM, kMonday - 1, 22));
    EXPECT_DOUBLE_EQ(e, At(kY, kM, kMonday, 8));
}

TEST(ChargeCalc, LowerNumberedWindowWinsAndCutsAHigherOne) {
    const ChargeProfile p = Profile(
        Cents(10), Cents(100),
        {Window(kEveryDay, 12, 0, 13, 0, Cents(600)), Window(kEveryDay, 8, 0, 18, 0, Cents(1200))});
    EXPECT_EQ(FindRateWindow(At(kY, kM, kMonday, 12, 30), p), 1);
    EXPECT_EQ(FindRateWindow(At(kY, kM, kMonday, 11, 30), p), 2);
    EXPECT_EQ(ConnectionCost(At(kY, kM, kMonday, 11, 30), At(kY, kM, kMonday, 12, 30), p),
              Cents(10) + Cents(600) + Cents(300));
    // 11:30-14:00: half an hour at 12, an hour at 6, an hour at 12 again.
    EXPECT_EQ(ConnectionCost(At(kY, kM, kMonday, 11, 30), At(kY, kM, kMonday, 14), p),
              Cents(10) + Cents(600) + Cents(600) + Cents(1200));
}

TEST(ChargeCalc, WindowWithoutWeekdayNeverAppliesNorCuts) {
    const ChargeProfile p =
        Profile(Cents(0), Cents(100),
                {Window(0, 12, 0, 13, 0, Cents(600)), Window(kEveryDay, 8, 0, 18, 0, Cents(1200))});
    EXPECT_EQ(FindRateWindow(At(kY, kM, kMonday, 12, 30), p), 2);
    EXPECT_EQ(NextWindowStart(At(kY, kM, kMonday, 9), p, 1), 0);
    EXPECT_EQ(WindowOccurrence(p.Window(1), At(kY, kM, kMonday, 12, 30)),
              (std::pair<double, double>{0, 0}));
    EXPECT_EQ(ConnectionCost(At(kY, kM, kMonday, 11), At(kY, kM, kMonday, 14), p), Cents(3600));
}

TEST(ChargeCalc, StartBelongsToTheWindowItsEndToTheNext) {
    const ChargeProfile p = Profile(
        Cents(0), Cents(100),
        {Window(kEveryDay, 8, 0, 18, 0, Cents(1200)), Window(kEveryDay, 18, 0, 20, 0, Cents(600))});
    EXPECT_EQ(FindRateWindow(At(kY, kM, kMonday, 8), p), 1);
    EXPECT_EQ(FindRateWindow(At(kY, kM, kMonday, 7, 59, 59), p), 0);
    EXPECT_EQ(FindRateWindow(At(kY, kM, kMonday, 18), p), 2);
    EXPECT_EQ(FindRateWindow(At(kY, kM, kMonday, 20), p), 0);
    // A start exactly at the moment counts as the next start.
    EXPECT_DOUBLE_EQ(NextWindowStart(At(kY, kM, kMonday, 8), p, 1), At(kY, kM, kMonday, 8));
    // Today's start passed: the next day of the set.
    EXPECT_DOUBLE_EQ(NextWindowStart(At(kY, kM, kMonday, 9), p, 1), At(kY, kM, kMonday + 1, 8));
}

TEST(ChargeCalc, NextStartSkipsDaysOutsideTheSet) {
    // Saturday only.
    const ChargeProfile p = Profile(Cents(0), Cents(0), {Window(1 << 6, 10, 0, 11, 0, Cents(1))});
    EXPECT_DOUBLE_EQ(NextWindowStart(At(kY, kM, kMonday, 9), p, 1), At(kY, kM, 12, 10));
    EXPECT_DOUBLE_EQ(NextWindowStart(At(kY, kM, 12, 10, 30), p, 1), At(kY, kM, 19, 10));
    EXPECT_TRUE(IsWeekdayInSet(1 << 6, 7));
    EXPECT_FALSE(IsWeekdayInSet(1 << 6, 1));
}

TEST(ChargeCalc, PeriodStarts) {
    const double m = At(2026, 12, 9, 14, 35, 20);
    EXPECT_DOUBLE_EQ(PeriodStart("ymdh", m), At(2026, 12, 9, 14));
    EXPECT_DOUBLE_EQ(PeriodStart("ymd", m), At(2026, 12, 9));
    EXPECT_DOUBLE_EQ(PeriodStart("ym", m), At(2026, 12, 1));
    EXPECT_DOUBLE_EQ(PeriodStart("y", m), At(2026, 1, 1));
    EXPECT_EQ(PeriodStart("x", m), 0);
}

TEST(ChargeCalc, WeeksBeginOnTheWeekdayOfNewYear) {
    // 1 January 2025 was a Wednesday (weekday 4).
    ASSERT_EQ(WeekdayOf(At(2025, 1, 1)), 4);
    EXPECT_DOUBLE_EQ(PeriodStart("yw", At(2025, 1, 4, 23)), At(2025, 1, 1));
    // The Sunday opens week 2, which is counted from the Wednesday after it.
    EXPECT_DOUBLE_EQ(PeriodStart("yw", At(2025, 1, 5, 8)), At(2025, 1, 8));
    EXPECT_DOUBLE_EQ(PeriodStart("yw", At(2025, 1, 11)), At(2025, 1, 8));
    for (int day = 0; day < 365; ++day) {
        EXPECT_EQ(WeekdayOf(PeriodStart("yw", At(2025, 1, 1) + day)), 4) << day;
    }
}

TEST(ChargeCalc, SplittingOverPeriodsKeepsTheStartRateInTheFirst) {
    const ChargeProfile p = Profile(Cents(10), Cents(600));
    const double c = At(kY, kM, kMonday, 23, 30);
    const double d = At(kY, kM, kMonday + 1, 0, 30);
    Currency first;
    Currency second;
    Currency outside;
    AddChargesInPeriod(first, At(kY, kM, kMonday, 23), At(kY, kM, kMonday + 1), c, d, p);
    AddChargesInPeriod(second, At(kY, kM, kMonday + 1), At(kY, kM, kMonday + 1, 1), c, d, p);
    AddChargesInPeriod(outside, At(kY, kM, kMonday + 1, 1), At(kY, kM, kMonday + 1, 2), c, d, p);
    EXPECT_EQ(first, Cents(10) + Cents(300));
    EXPECT_EQ(second, Cents(300));
    EXPECT_EQ(outside, Cents(0));

    std::int32_t seconds = 0;
    AddSecondsInPeriod(seconds, At(kY, kM, kMonday, 23), At(kY, kM, kMonday + 1), c, d);
    EXPECT_EQ(seconds, 1800);
    // Touching a period adds no seconds.
    seconds = 0;
    AddSecondsInPeriod(seconds, At(kY, kM, kMonday + 1, 0, 30), At(kY, kM, kMonday + 1, 1), c, d);
    EXPECT_EQ(seconds, 0);
    // A connection beginning exactly at a period's end belongs to the next period only.
    Currency before;
    AddChargesInPeriod(before, At(kY, kM, kMonday, 22), c, c, d, p);
    EXPECT_EQ(before, Cents(0));
}

TEST(ChargeCalc, AYearUnderSixtyThreeWindowsNeedsNoRecursion) {
    ChargeProfile p = Profile(Cents(5), Tt(3 * 3600));
    for (int i = 1; i <= ChargeProfile::kMaxWindows; ++i) {
        // Windows of 20 minutes spread over the day, on changing weekdays.
        const int from = i * 22 % (24 * 60);
        p.Window(++p.nItems) = RateWindow{(i * 37) % 127 + 1, TimeOfDay(0, from),
                                          TimeOfDay(0, from + 20), Tt(3600 * (i % 5 + 1))};
    }
    const double start = At(2026, 1, 1, 0, 0, 7);
    const double end = At(2027, 1, 1, 0, 0, 7);
    const Currency whole = ConnectionCost(start, end, p);
    // The same year cut into days gives the same total: the rates are whole ten-thousandths per
    // second here, so no piece rounds.
    Currency days;
    for (double day = At(2026, 1, 1); day < end; day += 1) {
        AddChargesInPeriod(days, day, day + 1, start, end, p);
    }
    EXPECT_EQ(days, whole);
    EXPECT_GT(whole, Tt(3LL * 86400 * 365));
}

// A random profile of up to 6 windows with rates of the given kind.
ChargeProfile RandomProfile(std::mt19937& rng, bool exactRates) {
    auto rate = [&] {
        return exactRates ? Tt(3600 * std::uniform_int_distribution<int>(0, 40)(rng))
                          : Tt(std::uniform_int_distribution<int>(0, 200000)(rng));
    };
    ChargeProfile p = Profile(rate(), rate());
    const int n = std::uniform_int_distribution<int>(0, 6)(rng);
    std::uniform_int_distribution<int> minute(0, 24 * 60 - 1);
    for (int i = 0; i < n; ++i) {
        p.Window(++p.nItems) =
            RateWindow{std::uniform_int_distribution<int>(0, 127)(rng), TimeOfDay(0, minute(rng)),
                       TimeOfDay(0, minute(rng)), rate()};
    }
    return p;
}

void ExpectSplitKeepsTotal(std::uint32_t seed, bool exactRates, int maxSeconds,
                           std::int64_t tolerance, const LocalZone& zone) {
    std::mt19937 rng(seed);
    for (int round = 0; round < 3000; ++round) {
        const ChargeProfile p = RandomProfile(rng, exactRates);
        const std::int64_t c = ToClockSeconds(At(2026, 3, 20)) +
                               std::uniform_int_distribution<int>(0, 20 * 86400)(rng);
        const std::int64_t d = c + std::uniform_int_distribution<int>(0, maxSeconds)(rng);
        const std::int64_t m = std::uniform_int_distribution<std::int64_t>(c, d)(rng);
        const Tariff tariff(p);
        const Currency whole = tariff.ConnectionCost(c, d, zone);
        Currency split;
        AddChargesInPeriod(split, c - 86400, m, c, d, tariff, zone);
        AddChargesInPeriod(split, m, d + 86400, c, d, tariff, zone);
        ASSERT_LE(std::abs((split - whole).tenThousandths), tolerance)
            << "seed " << seed << " round " << round << " c " << c << " d " << d << " m " << m;
    }
}

TEST(ChargeCalc, SplittingAConnectionAnywhereKeepsItsCharges) {
    // Rates in whole ten-thousandths per second never round: the split must be exact, also
    // over long connections and across a clock change.
    ExpectSplitKeepsTotal(1, true, 40 * 86400, 0, ClockFaceZone());
    ExpectSplitKeepsTotal(2, true, 3 * 86400, 0, test::ForwardChangeZone(At(2026, 3, 29, 2)));
    // Any rate: the one extra cut rounds once more, by at most one ten-thousandth.
    ExpectSplitKeepsTotal(3, false, 86399, 1, ClockFaceZone());
}

TEST(ChargeCalc, AcrossAClockChangeTheRealSecondsAreCharged) {
    // The clock jumps from 02:00 to 03:00; 01:30 to 03:30 on the clock is one real hour.
    const test::ForwardChangeZone zone(At(2026, 3, 29, 2));
    const ChargeProfile p = Profile(Cents(0), Cents(600));
    EXPECT_EQ(ConnectionCost(At(2026, 3, 29, 1, 30), At(2026, 3, 29, 3, 30), p, zone), Cents(600));
    EXPECT_EQ(ConnectionCost(At(2026, 3, 29, 1, 30), At(2026, 3, 29, 3, 30), p), Cents(1200));
    std::int32_t seconds = 0;
    AddSecondsInPeriod(seconds, At(2026, 3, 29), At(2026, 3, 30), At(2026, 3, 29, 1, 30),
                       At(2026, 3, 29, 3, 30), zone);
    EXPECT_EQ(seconds, 3600);
}

TEST(ChargeCalc, ClockSetBackGivesNegativePieces) {
    const ChargeProfile p = Profile(Cents(10), Cents(600));
    EXPECT_EQ(ConnectionCost(At(kY, kM, kMonday, 10, 30), At(kY, kM, kMonday, 10), p),
              Cents(10) - Cents(300));
}

}  // namespace
}  // namespace kestrelon
