#include "RatioReporter.h"

#include <cstdio>

namespace {

std::string RegisteredName(const benchmark::BenchmarkReporter::Run& run) {
    return run.run_name.args.empty() ? run.run_name.function_name
                                     : run.run_name.function_name + "/" + run.run_name.args;
}

std::string Duration(double seconds) {
    char text[32];
    if (seconds >= 1.0)
        std::snprintf(text, sizeof text, "%.3f s", seconds);
    else if (seconds >= 1e-3)
        std::snprintf(text, sizeof text, "%.3f ms", seconds * 1e3);
    else if (seconds >= 1e-6)
        std::snprintf(text, sizeof text, "%.3f us", seconds * 1e6);
    else
        std::snprintf(text, sizeof text, "%.1f ns", seconds * 1e9);
    return text;
}

}  // namespace

RatioReporter::RatioReporter(std::vector<Figure> list, bool colour)
    : ConsoleReporter(colour ? OO_ColorTabular : OO_Tabular), figures(std::move(list)) {}

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.error_occurred) continue;
        // A benchmark without repetitions reports its one run; with repetitions, the median aggregate.
        const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        if (!single && !median) continue;
        Median& entry = medians[RegisteredName(run)];
        entry.seconds = run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        entry.wallSeconds = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        for (const auto& [name, counter] : run.counters) entry.counters[name] = counter.value;
    }
}

bool RatioReporter::PrintTable() const {
    bool allMet = true;
    std::printf("\n%-36s %12s %12s %7s %8s %6s  %s\n", "figure (median CPU time)", "measured", "baseline",
                "ratio", "target", "wall", "notes");
    for (const Figure& figure : figures) {
        const auto measured = medians.find(figure.measured);
        if (measured == medians.end()) {
            std::printf("%-36s %12s\n", figure.title.c_str(), "not run");
            allMet = allMet && figure.target == 0;
            continue;
        }
        std::string notes;
        const auto cells = measured->second.counters.find("cells");
        if (cells != measured->second.counters.end() && cells->second > 0) {
            char text[64];
            std::snprintf(text, sizeof text, "ns/cell=%.3g ", measured->second.seconds * 1e9 / cells->second);
            notes += text;
        }
        for (const std::string& name : figure.counters) {
            const auto counter = measured->second.counters.find(name);
            if (counter == measured->second.counters.end()) continue;
            char text[64];
            std::snprintf(text, sizeof text, "%s=%.3g ", name.c_str(), counter->second);
            notes += text;
        }
        const auto baseline = figure.baseline.empty() ? medians.end() : medians.find(figure.baseline);
        if (baseline == medians.end() || baseline->second.seconds <= 0) {
            std::printf("%-36s %12s %12s %7s %8s %6s  %s\n", figure.title.c_str(),
                        Duration(measured->second.seconds).c_str(), "-", "-", "-", "-", notes.c_str());
            continue;
        }
        const double ratio = measured->second.seconds / baseline->second.seconds;
        char target[16] = "-";
        if (figure.target > 0) {
            std::snprintf(target, sizeof target, "<=%.1f%s", figure.target,
                          ratio <= figure.target ? "" : "!");
            allMet = allMet && ratio <= figure.target;
        }
        const double wallRatio = baseline->second.wallSeconds > 0
                                     ? measured->second.wallSeconds / baseline->second.wallSeconds
                                     : 0;
        std::printf("%-36s %12s %12s %7.2f %8s %6.2f  %s\n", figure.title.c_str(),
                    Duration(measured->second.seconds).c_str(), Duration(baseline->second.seconds).c_str(),
                    ratio, target, wallRatio, notes.c_str());
    }
    std::printf("(a '!' after the target marks a missed one)\n");
    return allMet;
}
