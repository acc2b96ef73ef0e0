#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

/// The console reporter, plus a closing table: each figure's median next to its baseline's median from
/// the same run, their ratio and the target. Medians come from the repetitions of each benchmark. The ratio
/// is taken of CPU time (of the whole process), which other work on a shared machine does not inflate;
/// the ratio of wall time is shown beside it.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    /// One row of the closing table: benchmark names as registered (function name and arguments).
    struct Figure {
        std::string title;
        std::string measured;
        std::string baseline;               // empty: no baseline, the time alone is reported
        double target = 0;                  // highest ratio allowed; 0 when there is none
        std::vector<std::string> counters;  // counters of `measured` shown beside the ratio
    };

    RatioReporter(std::vector<Figure> figures, bool colour);
    void ReportRuns(const std::vector<Run>& runs) override;
    /// Prints the table; false when a figure with a target missed it or did not run.
    bool PrintTable() const;

private:
    struct Median {
        double seconds = 0;  // CPU
        double wallSeconds = 0;
        std::map<std::string, double> counters;
    };
    std::vector<Figure> figures;
    std::map<std::string, Median> medians;
};
