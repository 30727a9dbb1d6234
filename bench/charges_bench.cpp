// Timings of the charge calculation and of the charges graph's computation.
//
//   charges_bench [records]
//
// Works in a fresh temporary program directory; prints microseconds per ConnectionCost call and
// milliseconds per graph computation, next to the straightforward per-bar-per-record loop.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include "charges/ChargeCalc.h"
#include "charges/ChargeGraph.h"
#include "charges/ChargeProfileStore.h"
#include "charges/DateValue.h"
#include "charges/LocalZone.h"
#include "charges/Statistics.h"
#include "core/ProgramDirectory.h"
#include "platform/MessageService.h"

namespace {

using namespace kestrelon;
using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

class SilentMessages : public MessageService {
  public:
    void Information(const std::string& text, const std::string&) override {
        std::fprintf(stderr, "message: %s\n", text.c_str());
    }
    bool Question(const std::string&, const std::string&) override { return false; }
};

// A profile of n windows spread over the day and the week.
ChargeProfile ManyWindows(const std::string& name, int n) {
    ChargeProfile p;
    p.Name = name;
    p.StartRate = Currency{1200};
    p.BaseRate = Currency{30000};
    for (int i = 1; i <= n; ++i) {
        RateWindow& w = p.Window(++p.nItems);
        const int from = i * 23 % (24 * 60);
        w.WeekDays = (i * 37) % 127 + 1;
        w.StartTime = FromClockSeconds(from * 60LL);
        w.EndTime = FromClockSeconds((from + 15 + i % 90) * 60LL);
        w.Rate = Currency{10000 + 1700LL * i};
    }
    return p;
}

void BenchConnectionCost() {
    const ChargeProfile p = ManyWindows("Bench", ChargeProfile::kMaxWindows);
    const SystemZone zone;
    const double start = MakeDateValue(2026, 3, 1, 9, 17, 5);
    struct Case {
        const char* name;
        double end;
        int repeat;
    };
    const Case cases[] = {{"1-second connection", start + 1.0 / 86400, 200000},
                          {"30-day connection", start + 30, 200},
                          {"365-day connection", start + 365, 10}};
    for (const Case& c : cases) {
        Currency sink;
        const auto t = Clock::now();
        for (int i = 0; i < c.repeat; ++i) {
            sink += ConnectionCost(start, c.end + i * 1e-9, p, zone);
        }
        const double us = Since(t) * 1000.0 / c.repeat;
        std::printf("ConnectionCost, %-20s 63 windows: %10.2f us per call (%lld)\n", c.name, us,
                    static_cast<long long>(sink.tenThousandths / c.repeat));
    }
}

// The loop as the graph describes it: every record against both summary rows and every bar,
// each through GetChargeProfile and the date-time operations.
GraphData Straightforward(const std::vector<StatisticsRecord>& records, const GraphPeriod& period,
                          double reference, ChargeProfileCache& cache, const LocalZone& zone) {
    GraphData data = GraphFrame(period, reference);
    const double earliest = std::min(data.previousStart, data.bars.front().start);
    for (const StatisticsRecord& r : records) {
        if (r.End < earliest) {
            continue;
        }
        const ChargeProfile p = cache.GetChargeProfile(TrimStatisticsName(r.ChargeName), {}, false);
        if (data.previousStart <= r.End) {
            AddSecondsInPeriod(data.rows[0].seconds, data.previousStart, data.thisStart, r.Start,
                               r.End, zone);
            AddChargesInPeriod(data.rows[0].charges, data.previousStart, data.thisStart, r.Start,
                               r.End, p, zone);
            AddSecondsInPeriod(data.rows[1].seconds, data.thisStart, reference, r.Start, r.End,
                               zone);
            AddChargesInPeriod(data.rows[1].charges, data.thisStart, reference, r.Start, r.End, p,
                               zone);
        }
        if (data.bars.front().start <= r.End) {
            for (GraphBar& bar : data.bars) {
                AddSecondsInPeriod(bar.seconds, bar.start, bar.end, r.Start, r.End, zone);
                AddChargesInPeriod(bar.charges, bar.start, bar.end, r.Start, r.End, p, zone);
            }
        }
    }
    EstimateThisPeriod(data, period, reference, zone);
    return data;
}

void BenchGraph(std::size_t count) {
    const std::string dir =
        (std::filesystem::temp_directory_path() / ("kestrelon-bench-" + std::to_string(getpid())))
            .string();
    std::filesystem::create_directories(dir);
    SetProgramDirectory(dir);
    const int windows[] = {0, 2, 6, 12, ChargeProfile::kMaxWindows};
    for (int i = 0; i < 5; ++i) {
        SaveChargeProfile(ManyWindows("Tariff " + std::to_string(i + 1), windows[i]));
        AddChargeName("Tariff " + std::to_string(i + 1));
    }

    // Records over the 3 years before the reference, one after the other, 30 s to 14 min long.
    const double reference = MakeDateValue(2026, 12, 6, 18, 42, 10);
    const double first = reference - 3 * 365.25;
    const double spacing = (reference - first) / static_cast<double>(count);
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> pick(0, 4);
    std::uniform_int_distribution<int> length(30, 14 * 60);
    SilentMessages messages;
    {
        // Written in one go: the program appends one record per connection the same way.
        std::ofstream out(StatisticsFilePath(), std::ios::binary | std::ios::trunc);
        for (std::size_t i = 0; i < count; ++i) {
            const double start = first + spacing * static_cast<double>(i);
            const auto bytes = EncodeStatisticsRecord("Connection " + std::to_string(pick(rng) + 1),
                                                      "Tariff " + std::to_string(pick(rng) + 1),
                                                      start, start + length(rng) / 86400.0);
            out.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        }
    }
    // One record the program's way, to time a single write.
    auto t = Clock::now();
    WriteStatisticsRecord("Connection 1", "Tariff 1", reference, reference + 1e-3, messages);
    std::printf("WriteStatisticsRecord (append to %zu records): %.3f ms\n", count, Since(t));

    t = Clock::now();
    StatisticsReader reader;
    const auto raw = reader.ReadAll();
    const double readMs = Since(t);
    t = Clock::now();
    const auto records = PrepareGraphRecords(raw);
    const auto names = GraphProfileNames(records);
    std::printf(
        "Reading %zu records: %.1f ms, preparing them and the name list (%zu names): "
        "%.1f ms\n",
        records.size(), readMs, names.size(), Since(t));

    const SystemZone zone;
    ChargeProfileCache cache;
    for (const GraphPeriod& period : GraphPeriods()) {
        t = Clock::now();
        const GraphData fast = ComputeGraph(records, period, "", reference, cache, zone);
        const double fastMs = Since(t);
        t = Clock::now();
        const GraphData filtered =
            ComputeGraph(records, period, "Connection 3", reference, cache, zone);
        const double filteredMs = Since(t);
        t = Clock::now();
        const GraphData slow = Straightforward(raw, period, reference, cache, zone);
        const double slowMs = Since(t);
        bool same = slow.rows[0].charges == fast.rows[0].charges &&
                    slow.rows[1].charges == fast.rows[1].charges &&
                    slow.rows[1].seconds == fast.rows[1].seconds;
        for (std::size_t b = 0; b < fast.bars.size(); ++b) {
            same = same && fast.bars[b].charges == slow.bars[b].charges &&
                   fast.bars[b].seconds == slow.bars[b].seconds;
        }
        std::printf(
            "Graph %-5s: %7.1f ms (one profile: %6.1f ms); straightforward loop: %8.1f ms "
            "(x%.1f)%s; this period %s, %d s\n",
            period.name.c_str(), fastMs, filteredMs, slowMs, slowMs / fastMs,
            same ? "" : " RESULTS DIFFER", CurrencyToPlainText(fast.rows[1].charges, {}).c_str(),
            fast.rows[1].seconds);
        (void)filtered;
    }
    std::printf("Charge profiles read from the INI file: %d\n", cache.FileReads());
    std::filesystem::remove_all(dir);
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t count = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100000;
    BenchConnectionCost();
    BenchGraph(count);
    return 0;
}
