// A full check of the example bundle, as `klprefs check` runs it: the page
// and the standard-cells page its link opens, in every default variant
// (light and dark, text sizes l and ax3, iPhone 15 and iPad Pro 12.9, the
// bundle's five languages: 40 variants). The goal is 3 seconds.
#include <dlfcn.h>

#include <benchmark/benchmark.h>

#include <Foundation/SDKEventLog.h>

#include "PageChecker.h"
#include "ScratchDeviceRoot.h"

namespace {

void BM_CheckExample(benchmark::State& state) {
    // As klprefs does, libklutils is loaded before the page.
    dlopen(KL_KLUTILS_LIBRARY, RTLD_NOW | RTLD_GLOBAL);
    ScratchDeviceRoot scratch(ScratchDeviceRoot::builtInExample());
    for (auto _ : state) {
        SDKEventLog::clear();
        PageHost::Settings settings;
        settings.deviceRoot = scratch.path();
        PageChecker checker(settings, std::nullopt);
        const CheckFindings& findings = checker.run();
        if (!findings.all().empty()) {
            state.SkipWithError(
                ("the example has a finding: " + findings.all().front().message).c_str());
        }
        state.counters["variants"] = static_cast<double>(checker.variantNames().size());
    }
}
BENCHMARK(BM_CheckExample)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

} // namespace

BENCHMARK_MAIN();
