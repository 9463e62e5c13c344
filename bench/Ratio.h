// Runs the registered benchmarks and prints, for each pair (ours, baseline),
// the ratio of their real times: the number a reader of a run wants.
#pragma once
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace kvbench {

class ReporterRatio : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration && !r.error_occurred)
                m_temps[r.benchmark_name()] = r.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    double Temps(const std::string& s) const {
        auto it = m_temps.find(s);
        return it == m_temps.end() ? 0 : it->second;
    }

private:
    std::map<std::string, double> m_temps;
};

// Pairs are (our benchmark's name, the baseline's name) as registered.
inline int Main(int argc, char** argv, const std::vector<std::pair<std::string, std::string>>& paires) {
    benchmark::Initialize(&argc, argv);
    ReporterRatio rep;
    benchmark::RunSpecifiedBenchmarks(&rep);
    std::printf("\n");
    for (const auto& [nous, base] : paires) {
        double a = rep.Temps(nous), b = rep.Temps(base);
        if (a > 0 && b > 0) std::printf("ratio %s / %s = %.2f\n", nous.c_str(), base.c_str(), a / b);
    }
    benchmark::Shutdown();
    return 0;
}

} // namespace kvbench
