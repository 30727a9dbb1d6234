#include "charges/ChargeGraph.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "charges/ChargeCalc.h"
#include "charges/DateValue.h"

namespace kestrelon {

namespace {

constexpr std::size_t kMaxGraphNames = 256;
constexpr std::size_t kProgressEvery = 512;

std::string BarLabel(const std::string& barStep, double start) {
    const DateParts p = SplitDateValue(start);
    if (barStep == "h") {
        return std::to_string(p.hour);
    }
    if (barStep == "d") {
        return std::to_string(p.day);
    }
    return MonthAbbreviation(p.month);
}

}  // namespace

const std::array<GraphPeriod, 3>& GraphPeriods() {
    static const std::array<GraphPeriod, 3> kPeriods{{
        {"Day", "d", "h", "ymd", "ymdh", 24, "Hour"},
        {"Month", "m", "d", "ym", "ymd", 30, "Day"},
        {"Year", "yyyy", "m", "y", "ym", 12, "Month"},
    }};
    return kPeriods;
}

std::vector<GraphRecord> PrepareGraphRecords(const std::vector<StatisticsRecord>& records) {
    std::vector<GraphRecord> out;
    out.reserve(records.size());
    for (const StatisticsRecord& r : records) {
        out.push_back({TrimStatisticsName(r.ConName), TrimStatisticsName(r.ChargeName),
                       ToClockSeconds(r.Start), ToClockSeconds(r.End)});
    }
    return out;
}

std::vector<std::string> GraphProfileNames(const std::vector<GraphRecord>& records) {
    std::vector<std::string> names;
    for (const GraphRecord& r : records) {
        if (names.size() >= kMaxGraphNames) {
            break;
        }
        if (!r.conName.empty() && std::find(names.begin(), names.end(), r.conName) == names.end()) {
            names.push_back(r.conName);
        }
    }
    return names;
}

GraphData GraphFrame(const GraphPeriod& period, double reference) {
    GraphData data;
    data.thisStart = PeriodStart(period.periodCode, reference);
    data.previousStart = DateAdd(period.periodStep, -1, data.thisStart);
    const double anchor = PeriodStart(period.barCode, reference);
    for (int b = 1; b <= period.bars; ++b) {
        GraphBar bar;
        bar.start = DateAdd(period.barStep, -(period.bars - b + 1), anchor);
        bar.end = DateAdd(period.barStep, 1, bar.start);
        bar.label = BarLabel(period.barStep, bar.start);
        data.bars.push_back(bar);
    }
    return data;
}

void EstimateThisPeriod(GraphData& data, const GraphPeriod& period, double reference,
                        const LocalZone& zone) {
    const std::int64_t thisStart = zone.ToReal(ToClockSeconds(data.thisStart));
    const std::int64_t full =
        zone.ToReal(ToClockSeconds(DateAdd(period.periodStep, 1, data.thisStart))) - thisStart;
    const std::int64_t elapsed = zone.ToReal(ToClockSeconds(reference)) - thisStart;
    if (elapsed <= 0) {
        data.rows[2] = data.rows[1];
        return;
    }
    const double ratio = static_cast<double>(full) / static_cast<double>(elapsed);
    data.rows[2].seconds = static_cast<std::int32_t>(std::nearbyint(data.rows[1].seconds * ratio));
    data.rows[2].charges = {static_cast<std::int64_t>(
        std::nearbyint(static_cast<double>(data.rows[1].charges.tenThousandths) * ratio))};
}

GraphData ComputeGraph(const std::vector<GraphRecord>& records, const GraphPeriod& period,
                       const std::string& filter, double reference, ChargeProfileCache& cache,
                       const LocalZone& zone,
                       const std::function<void(std::size_t done)>& progress) {
    GraphData data = GraphFrame(period, reference);
    const std::int64_t previousStart = ToClockSeconds(data.previousStart);
    const std::int64_t thisStart = ToClockSeconds(data.thisStart);
    const std::int64_t now = ToClockSeconds(reference);
    std::vector<std::int64_t> barStarts;
    std::vector<std::int64_t> barEnds;
    for (const GraphBar& bar : data.bars) {
        barStarts.push_back(ToClockSeconds(bar.start));
        barEnds.push_back(ToClockSeconds(bar.end));
    }
    const std::int64_t firstBar = barStarts.empty() ? now : barStarts.front();
    const std::int64_t earliest = std::min(previousStart, firstBar);

    std::map<std::string, Tariff, std::less<>> tariffs;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (progress && i % kProgressEvery == 0) {
            progress(i);
        }
        const GraphRecord& r = records[i];
        if (!filter.empty() && r.conName != filter) {
            continue;
        }
        if (r.end < earliest) {
            continue;
        }
        auto tariff = tariffs.find(r.chargeName);
        if (tariff == tariffs.end()) {
            tariff =
                tariffs
                    .emplace(r.chargeName, Tariff(cache.GetChargeProfile(r.chargeName, {}, false)))
                    .first;
        }
        if (previousStart <= r.end) {
            AddSecondsInPeriod(data.rows[0].seconds, previousStart, thisStart, r.start, r.end,
                               zone);
            AddChargesInPeriod(data.rows[0].charges, previousStart, thisStart, r.start, r.end,
                               tariff->second, zone);
            AddSecondsInPeriod(data.rows[1].seconds, thisStart, now, r.start, r.end, zone);
            AddChargesInPeriod(data.rows[1].charges, thisStart, now, r.start, r.end, tariff->second,
                               zone);
        }
        if (firstBar <= r.end) {
            // The bars follow each other, so only those from the first one ending at or after
            // the record's start can meet it; the others would add nothing.
            auto b = static_cast<std::size_t>(
                std::lower_bound(barEnds.begin(), barEnds.end(), r.start) - barEnds.begin());
            for (; b < data.bars.size() && barStarts[b] <= r.end; ++b) {
                AddSecondsInPeriod(data.bars[b].seconds, barStarts[b], barEnds[b], r.start, r.end,
                                   zone);
                AddChargesInPeriod(data.bars[b].charges, barStarts[b], barEnds[b], r.start, r.end,
                                   tariff->second, zone);
            }
        }
    }
    if (progress) {
        progress(records.size());
    }
    EstimateThisPeriod(data, period, reference, zone);
    return data;
}

GraphAxis ComputeGraphAxis(double max) {
    GraphAxis axis;
    if (!(max > 0)) {
        return axis;
    }
    const double e = std::floor(std::log10(max));
    const double f = max / std::pow(10.0, e);
    double factor = 10;
    if (f <= 1) {
        factor = 1;
    } else if (f <= 2) {
        factor = 2;
    } else if (f <= 5) {
        factor = 5;
    }
    axis.step = factor * std::pow(10.0, e - 1);
    axis.lines = static_cast<int>(std::nearbyint(max / axis.step + 0.5));
    axis.top = axis.step * axis.lines;
    return axis;
}

GraphLayout ComputeGraphLayout(double width, double height, double topLabelWidth, double zeroHeight,
                               double doubleZeroWidth, int bars) {
    GraphLayout layout;
    layout.left = topLabelWidth;
    layout.topMargin = 0.1 * height;
    layout.plotHeight = height - zeroHeight / 2 - layout.topMargin;
    layout.plotWidth = width - layout.left - doubleZeroWidth;
    layout.slot = bars > 0 ? layout.plotWidth / bars : layout.plotWidth;
    layout.barWidth = 0.7 * layout.slot;
    return layout;
}

int GraphBarAt(double x, const GraphLayout& layout, int bars) {
    if (x < layout.left || x > layout.left + layout.plotWidth || layout.plotWidth <= 0) {
        return 0;
    }
    const int bar = static_cast<int>((x - layout.left) / layout.plotWidth * bars) + 1;
    return std::min(bar, bars);
}

std::string FormatHoursMinutes(std::int64_t seconds) {
    const bool negative = seconds < 0;
    const std::int64_t s = negative ? -seconds : seconds;
    const std::int64_t minutes = s / 60 % 60;
    return (negative ? "-" : "") + std::to_string(s / 3600) + ":" + (minutes < 10 ? "0" : "") +
           std::to_string(minutes);
}

}  // namespace kestrelon
