#include "charges/ChargeCalc.h"

#include <algorithm>

#include "charges/DateValue.h"

namespace kestrelon {

namespace {

constexpr std::int64_t kDay = kSecondsPerDay;

std::int64_t DayStart(std::int64_t moment) {
    const std::int64_t q = moment / kDay;
    return (moment % kDay != 0 && moment < 0 ? q - 1 : q) * kDay;
}

// 1 = Sunday .. 7 = Saturday; day 0 (30 December 1899) was a Saturday.
int WeekdayOfSeconds(std::int64_t moment) {
    const std::int64_t day = DayStart(moment) / kDay;
    return static_cast<int>((day % 7 + 7 + 6) % 7) + 1;
}

std::int64_t RoundDivHalfEven(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    const std::int64_t r = a % b;
    const std::int64_t twice = 2 * (r < 0 ? -r : r);
    if (twice > b || (twice == b && q % 2 != 0)) {
        q += a < 0 ? -1 : 1;
    }
    return q;
}

}  // namespace

Currency RateTimesSeconds(Currency ratePerHour, std::int64_t seconds) {
    const std::int64_t hours = seconds / 3600;
    const std::int64_t rest = seconds % 3600;
    return {ratePerHour.tenThousandths * hours +
            RoundDivHalfEven(ratePerHour.tenThousandths * rest, 3600)};
}

bool IsWeekdayInSet(std::int32_t set, int weekday) {
    return weekday >= 1 && weekday <= 7 && (set >> (weekday - 1) & 1) != 0;
}

Tariff::Tariff(const ChargeProfile& profile)
    : startRate_(profile.StartRate),
      baseRate_(profile.BaseRate),
      count_(std::clamp(profile.nItems, 0, ChargeProfile::kMaxWindows)) {
    for (int i = 1; i <= count_; ++i) {
        const RateWindow& w = profile.Window(i);
        Window& out = windows_[static_cast<std::size_t>(i)];
        out.weekDays = w.WeekDays;
        out.start = TimeOfDaySeconds(w.StartTime);
        out.end = TimeOfDaySeconds(w.EndTime);
        out.rate = w.Rate;
    }
}

std::optional<std::pair<std::int64_t, std::int64_t>> Tariff::WindowOccurrence(
    int k, std::int64_t moment) const {
    const Window& w = At(k);
    const std::int64_t day = DayStart(moment);
    std::int64_t s = w.start <= moment - day ? day + w.start : day - kDay + w.start;
    std::int64_t e = DayStart(s) + w.end + (w.end <= w.start ? kDay : 0);
    // The weekday that counts is the one on which the occurrence begins.
    for (int i = 0; i < 7 && !IsWeekdayInSet(w.weekDays, WeekdayOfSeconds(s)); ++i) {
        s += kDay;
        e += kDay;
    }
    if (!IsWeekdayInSet(w.weekDays, WeekdayOfSeconds(s))) {
        return std::nullopt;
    }
    return std::pair{s, e};
}

int Tariff::FindRateWindow(std::int64_t moment) const {
    for (int i = 1; i <= count_; ++i) {
        const auto occurrence = WindowOccurrence(i, moment);
        if (occurrence && occurrence->first <= moment && moment < occurrence->second) {
            return i;
        }
    }
    return 0;
}

std::optional<std::int64_t> Tariff::NextWindowStart(std::int64_t moment, int k) const {
    const Window& w = At(k);
    const std::int64_t day = DayStart(moment);
    for (int j = 0; j <= 7; ++j) {
        if (!IsWeekdayInSet(w.weekDays, WeekdayOfSeconds(day + j * kDay))) {
            continue;
        }
        const std::int64_t start = day + j * kDay + w.start;
        // Today's start already passed: the next day of the set (a week later at the latest).
        if (start >= moment) {
            return start;
        }
    }
    return std::nullopt;
}

Currency Tariff::WindowCost(std::int64_t start, std::int64_t end, int k,
                            const LocalZone& zone) const {
    // The pieces are walked in a loop rather than by recursion: a long connection under many
    // windows has one piece per window boundary it crosses.
    Currency total;
    std::int64_t at = start;
    for (;;) {
        Window window;
        int higher = k;  // windows 1 .. higher-1 may cut this one
        if (k == 0) {
            // The base rate from here to the end's time of day.
            window.weekDays = ChargeProfile::kEveryDay;
            window.start = at - DayStart(at);
            window.end = end - DayStart(end);
            window.rate = baseRate_;
            higher = count_ + 1;
        } else {
            window = At(k);
        }

        std::optional<std::int64_t> cut;
        int cutWindow = 0;
        for (int i = 1; i < higher; ++i) {
            const auto c = NextWindowStart(at, i);
            if (c && (!cut || *c < *cut)) {
                cut = c;
                cutWindow = i;
            }
        }
        const std::int64_t timeOfDay = at - DayStart(at);
        const std::int64_t windowEnd =
            DayStart(at) + window.end + (window.end <= timeOfDay ? kDay : 0);

        std::int64_t pieceEnd = 0;
        if ((!cut || end < *cut) && end <= windowEnd) {
            total += RateTimesSeconds(window.rate, zone.ToReal(end) - zone.ToReal(at));
            return total;
        }
        if (!cut || *cut >= windowEnd) {
            pieceEnd = windowEnd;
            k = FindRateWindow(windowEnd);
        } else {
            pieceEnd = *cut;
            k = cutWindow;
        }
        total += RateTimesSeconds(window.rate, zone.ToReal(pieceEnd) - zone.ToReal(at));
        at = pieceEnd;
    }
}

Currency Tariff::ConnectionCost(std::int64_t start, std::int64_t end, const LocalZone& zone) const {
    if (baseRate_.tenThousandths == 0 && count_ == 0) {
        return startRate_;
    }
    return startRate_ + WindowCost(start, end, FindRateWindow(start), zone);
}

Currency ConnectionCost(double start, double end, const ChargeProfile& profile,
                        const LocalZone& zone) {
    return Tariff(profile).ConnectionCost(ToClockSeconds(start), ToClockSeconds(end), zone);
}

int FindRateWindow(double moment, const ChargeProfile& profile) {
    return Tariff(profile).FindRateWindow(ToClockSeconds(moment));
}

std::pair<double, double> WindowOccurrence(const RateWindow& window, double moment) {
    ChargeProfile one;
    one.nItems = 1;
    one.Window(1) = window;
    const auto occurrence = Tariff(one).WindowOccurrence(1, ToClockSeconds(moment));
    if (!occurrence) {
        return {0, 0};
    }
    return {FromClockSeconds(occurrence->first), FromClockSeconds(occurrence->second)};
}

double NextWindowStart(double moment, const ChargeProfile& profile, int k) {
    const auto start = Tariff(profile).NextWindowStart(ToClockSeconds(moment), k);
    return start ? FromClockSeconds(*start) : 0;
}

Currency WindowCost(double start, double end, const ChargeProfile& profile, int k,
                    const LocalZone& zone) {
    return Tariff(profile).WindowCost(ToClockSeconds(start), ToClockSeconds(end), k, zone);
}

double PeriodStart(std::string_view code, double moment) {
    const DateParts p = SplitDateValue(moment);
    if (code == "ymdh") {
        return MakeDateValue(p.year, p.month, p.day, p.hour);
    }
    if (code == "ymd") {
        return MakeDateValue(p.year, p.month, p.day);
    }
    if (code == "yw") {
        // Week 1 is the week (Sunday to Saturday) of 1 January; the period then starts that
        // many weeks after 1 January, on 1 January's weekday.
        const double newYear = MakeDateValue(p.year, 1, 1);
        const auto dayOfYear = static_cast<int>(DatePart(moment) - newYear);
        const int week = (dayOfYear + WeekdayOf(newYear) - 1) / 7 + 1;
        return newYear + 7.0 * (week - 1);
    }
    if (code == "ym") {
        return MakeDateValue(p.year, p.month, 1);
    }
    if (code == "y") {
        return MakeDateValue(p.year, 1, 1);
    }
    return 0;
}

void AddSecondsInPeriod(std::int32_t& total, std::int64_t a, std::int64_t b, std::int64_t c,
                        std::int64_t d, const LocalZone& zone) {
    if (c <= b && d >= a) {
        total +=
            static_cast<std::int32_t>(zone.ToReal(std::min(d, b)) - zone.ToReal(std::max(c, a)));
    }
}

void AddChargesInPeriod(Currency& total, std::int64_t a, std::int64_t b, std::int64_t c,
                        std::int64_t d, const Tariff& tariff, const LocalZone& zone) {
    if (!(c < b && d >= a)) {
        return;
    }
    if (c < a) {
        total = total - tariff.StartRate();
        c = a;
    }
    d = std::min(d, b);
    total += tariff.ConnectionCost(c, d, zone);
}

void AddSecondsInPeriod(std::int32_t& total, double a, double b, double c, double d,
                        const LocalZone& zone) {
    AddSecondsInPeriod(total, ToClockSeconds(a), ToClockSeconds(b), ToClockSeconds(c),
                       ToClockSeconds(d), zone);
}

void AddChargesInPeriod(Currency& total, double a, double b, double c, double d,
                        const ChargeProfile& profile, const LocalZone& zone) {
    AddChargesInPeriod(total, ToClockSeconds(a), ToClockSeconds(b), ToClockSeconds(c),
                       ToClockSeconds(d), Tariff(profile), zone);
}

}  // namespace kestrelon
