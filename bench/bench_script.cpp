// A script of 20,000 steps on a one-row page, timed a thousand steps at a
// time: a step must cost the same at the end of a long script as at its
// start, however long the page's event log has grown.
#include <chrono>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include <Foundation/DeviceRoot.h>
#include <Foundation/NSPropertyListSerialization.h>
#include <Foundation/SDKEventLog.h>

#include "BenchPage.h"
#include "PageHost.h"
#include "Script.h"
#include "ScriptRunner.h"

namespace {

constexpr size_t kSteps = 20000;
constexpr size_t kChunk = 1000;

// A page whose one switch row stores its value and posts a notification,
// so that every step adds events to the log.
void writeSwitchPage(const std::string& root) {
    DeviceRoot::setPath(root);
    const std::string bundle = "/var/jb/Library/PreferenceBundles/Switch.bundle";
    NSPropertyListSerialization::writePropertyList(
        Value(Value::Dictionary{{"NSPrincipalClass", "PSListController"}}), bundle + "/Info.plist",
        NSPropertyListXMLFormat_v1_0);
    const Value::Array items{Value::Dictionary{{"cell", "PSSwitchCell"},
                                               {"label", "Enabled"},
                                               {"key", "enabled"},
                                               {"defaults", "com.example.switch"},
                                               {"PostNotification", "com.example.switch/changed"}}};
    NSPropertyListSerialization::writePropertyList(
        Value(Value::Dictionary{{"title", "Switch"}, {"items", items}}), bundle + "/Root.plist",
        NSPropertyListXMLFormat_v1_0);
}

void BM_Script20000Steps(benchmark::State& state) {
    BenchRoot root;
    writeSwitchPage(root.path);
    std::string chunk;
    for (size_t i = 0; i < kChunk; ++i) {
        chunk += "toggle Enabled\n";
    }
    const std::vector<ScriptStep> steps = Script::parse(chunk);
    double first = 0, last = 0;
    for (auto _ : state) {
        SDKEventLog::clear();
        PageHost::Settings settings;
        settings.deviceRoot = root.path;
        PageHost host(settings);
        ScriptRunner runner(host, [](size_t, const std::string&) {});
        for (size_t done = 0; done < kSteps; done += kChunk) {
            const auto start = std::chrono::steady_clock::now();
            runner.run(steps);
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            if (done == 0) {
                first = seconds;
            }
            last = seconds;
        }
    }
    state.counters["firstThousandMs"] = first * 1000;
    state.counters["lastThousandMs"] = last * 1000;
    state.counters["lastOverFirst"] = last / first;
    state.counters["events"] = static_cast<double>(SDKEventLog::count());
}
BENCHMARK(BM_Script20000Steps)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
