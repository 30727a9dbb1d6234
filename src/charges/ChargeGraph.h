#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "charges/ChargeProfileStore.h"
#include "charges/LocalZone.h"
#include "charges/Statistics.h"
#include "core/Currency.h"

namespace kestrelon {

// One row of the graph's period selector.
struct GraphPeriod {
    std::string name;  // also the LangText key
    std::string periodStep;
    std::string barStep;
    std::string periodCode;
    std::string barCode;
    int bars = 0;
    std::string barUnit;  // LangText key and English default of the axis label
};

// Day (24 hour bars), Month (30 day bars), Year (12 month bars).
const std::array<GraphPeriod, 3>& GraphPeriods();

// A statistics record made ready for the computation: names trimmed, moments in clock seconds.
struct GraphRecord {
    std::string conName;
    std::string chargeName;
    std::int64_t start = 0;
    std::int64_t end = 0;
};
std::vector<GraphRecord> PrepareGraphRecords(const std::vector<StatisticsRecord>& records);

// The connection profile names of the records, trimmed, non-empty, in order of first
// appearance, at most 256.
std::vector<std::string> GraphProfileNames(const std::vector<GraphRecord>& records);

struct GraphBar {
    double start = 0;
    double end = 0;
    std::string label;  // hour "h", day of month "d" or month "mmm"
    std::int32_t seconds = 0;
    Currency charges;
};

struct GraphTotals {
    std::int32_t seconds = 0;
    Currency charges;
};

struct GraphData {
    std::vector<GraphBar> bars;
    // 0 previous period, 1 this period so far, 2 estimate for the whole of this period.
    std::array<GraphTotals, 3> rows{};
    double previousStart = 0;
    double thisStart = 0;
};

// The bars and totals of one period row around the reference moment. filter "" takes every
// connection profile, otherwise only records of that (trimmed) name. Each charge profile is
// fetched once per computation through the cache. progress (optional) is called now and then
// with the number of records done, so that a progress window stays alive.
GraphData ComputeGraph(const std::vector<GraphRecord>& records, const GraphPeriod& period,
                       const std::string& filter, double reference, ChargeProfileCache& cache,
                       const LocalZone& zone,
                       const std::function<void(std::size_t done)>& progress = {});

// Bars and periods without their sums (also the straightforward loop of the benchmark).
GraphData GraphFrame(const GraphPeriod& period, double reference);
// row 2 = row 1 scaled from the part of this period that passed to the whole of it; when no
// time passed yet the estimate is what is known.
void EstimateThisPeriod(GraphData& data, const GraphPeriod& period, double reference,
                        const LocalZone& zone);

// The value axis: grid step, number of grid intervals and the top value (max > 0).
struct GraphAxis {
    double step = 1;
    int lines = 1;
    double top = 1;
};
GraphAxis ComputeGraphAxis(double max);

// Where the plot sits in the drawing area; all in the area's units.
struct GraphLayout {
    double left = 0;        // width of the top label followed by "--"
    double topMargin = 0;   // 0.1 of the height
    double plotHeight = 0;  // height less half a "0" and the top margin
    double plotWidth = 0;   // width less left edge and the width of "00"
    double slot = 0;        // plot width per bar
    double barWidth = 0;    // 0.7 of a slot
    double Base() const { return topMargin + plotHeight; }
};
GraphLayout ComputeGraphLayout(double width, double height, double topLabelWidth, double zeroHeight,
                               double doubleZeroWidth, int bars);
// The bar (1 .. bars) under x, 0 outside the plot.
int GraphBarAt(double x, const GraphLayout& layout, int bars);

// "h:mm" with the hours always shown.
std::string FormatHoursMinutes(std::int64_t seconds);

}  // namespace kestrelon
