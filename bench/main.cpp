// The benchmarks' program: Google Benchmark's usual command line and output, but a benchmark
// that could not run (no game data found, say) makes the whole run end with status 1, so a
// script or a person timing the game never takes a run with holes in it for a good one.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

namespace {

class TFailureCountingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) Failures += run.error_occurred;
        ConsoleReporter::ReportRuns(runs);
    }
    int Failures = 0;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    TFailureCountingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    if (reporter.Failures > 0) {
        std::fprintf(stderr, "quillon_bench: %d benchmark(s) could not run\n", reporter.Failures);
        return 1;
    }
    return 0;
}
