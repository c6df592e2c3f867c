// Describing long pages as klprefs dump does: loading the page, laying it
// out, describing every row and view and writing the JSON to a file, for
// pages of 1,000 and 10,000 colour, slider and stepper rows.
//
// Each pass runs in a child process of its own, as a klprefs run would, so
// that the peak of one pass is not hidden by an earlier, larger one: the
// time is the child's from loading to the last byte written, and peakMB is
// the child's peak resident memory (getrusage's ru_maxrss), which includes
// what the program holds before the page loads.
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include "BenchPage.h"
#include "PageDescription.h"
#include "PageHost.h"

namespace {

struct PassFigures {
    double seconds = 0;
    long peakKilobytes = 0;
    long jsonBytes = 0;
};

// The page is left to the end of the child, as klprefs leaves it.
PassFigures dumpInChild(const std::string& root) {
    int channel[2];
    if (pipe(channel) != 0) {
        std::abort();
    }
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        const auto start = std::chrono::steady_clock::now();
        PageHost::Settings settings;
        settings.deviceRoot = root;
        settings.wholePage = false;
        PageHost host(settings);
        std::ofstream out(root + "/dump.json", std::ios::binary);
        PageDescription::write(host, "16.0", out);
        out.flush();
        PassFigures figures;
        figures.seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        figures.jsonBytes = static_cast<long>(out.tellp());
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        figures.peakKilobytes = usage.ru_maxrss;
        const bool sent = write(channel[1], &figures, sizeof figures) == sizeof figures;
        _exit(sent ? 0 : 1);
    }
    close(channel[1]);
    PassFigures figures;
    const bool received = read(channel[0], &figures, sizeof figures) == sizeof figures;
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!received || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::abort();
    }
    return figures;
}

void BM_DumpLongPage(benchmark::State& state) {
    BenchRoot root;
    writeLongPage(root.path, state.range(0), true);
    PassFigures figures;
    for (auto _ : state) {
        figures = dumpInChild(root.path);
        state.SetIterationTime(figures.seconds);
    }
    state.counters["peakMB"] = static_cast<double>(figures.peakKilobytes) / 1024;
    state.counters["jsonBytes"] = static_cast<double>(figures.jsonBytes);
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_DumpLongPage)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseManualTime()
    ->Complexity(benchmark::oN);

} // namespace

BENCHMARK_MAIN();
