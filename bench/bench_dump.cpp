// Describing long pages as klprefs' dump does: loading the page, laying it
// out, describing every row and view and writing the JSON, for pages of
// 1,000 and 10,000 colour, slider and stepper rows.
#include <string>

#include <benchmark/benchmark.h>

#include <Foundation/SDKEventLog.h>

#include "BenchPage.h"
#include "JSONWriter.h"
#include "PageDescription.h"
#include "PageHost.h"

namespace {

void BM_DumpLongPage(benchmark::State& state) {
    BenchRoot root;
    writeLongPage(root.path, state.range(0), true);
    size_t bytes = 0;
    for (auto _ : state) {
        SDKEventLog::clear();
        PageHost::Settings settings;
        settings.deviceRoot = root.path;
        PageHost host(settings);
        const std::string json = JSONWriter::write(PageDescription::describe(host, "16.0"));
        bytes = json.size();
        benchmark::DoNotOptimize(json.data());
    }
    state.counters["jsonBytes"] = static_cast<double>(bytes);
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_DumpLongPage)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Complexity(benchmark::oN);

} // namespace

BENCHMARK_MAIN();
