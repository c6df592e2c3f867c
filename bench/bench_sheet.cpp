// klprefs sheet for 12 variants of the example (light and dark, a phone and
// an iPad, English, German and Arabic), as a person runs it: the whole
// program, its pages drawn in parallel processes. The goal is 3 seconds.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

extern char** environ;

namespace {

void SheetOfTwelveVariants(benchmark::State& state) {
    const std::string output = (std::filesystem::temp_directory_path() /
                                ("kl-bench-sheet-" + std::to_string(getpid()) + ".png"))
                                   .string();
    // The avatar service goes to a closed port on loopback: nothing leaves
    // the machine.
    std::vector<std::string> words{KL_KLPREFS,
                                   "--connect-to",
                                   std::string(KL_AVATAR_HOST) + ":443:127.0.0.1:1",
                                   "sheet",
                                   "-o",
                                   output,
                                   "--variants",
                                   "light,dark",
                                   "--devices",
                                   "iphone-15,ipad-pro-12.9",
                                   "--languages",
                                   "en,de,ar"};
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    // The processor time of klprefs and its children, beside the real time:
    // on a shared machine the real time also counts the waits for a core.
    auto childSeconds = [] {
        rusage usage{};
        getrusage(RUSAGE_CHILDREN, &usage);
        return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
               (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    };
    const double before = childSeconds();
    for (auto _ : state) {
        pid_t child = 0;
        int status = -1;
        if (posix_spawn(&child, KL_KLPREFS, nullptr, nullptr, argv.data(), environ) != 0 ||
            waitpid(child, &status, 0) < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("klprefs sheet failed");
            break;
        }
    }
    state.counters["processorSeconds"] =
        (childSeconds() - before) / static_cast<double>(state.iterations());
    state.counters["pngBytes"] = static_cast<double>(std::filesystem::file_size(output));
    std::filesystem::remove(output);
}

} // namespace

BENCHMARK(SheetOfTwelveVariants)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

BENCHMARK_MAIN();
