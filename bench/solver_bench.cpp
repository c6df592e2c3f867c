// Times our constraint solver against kiwisolver on the same systems, in one
// run: kiwi_solver_bench.py times kiwisolver first, and its figures appear as
// counters beside ours (kiwi_ms, ours/kiwi). The systems here must stay the
// same as the script's. Only the solver's work is timed: adding prepared
// constraints and reading the solution, or suggesting values and reading it.
//
// --kiwi_repetitions=N sets how many times the script runs each system (the
// median counts); 0 leaves kiwisolver out.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <benchmark/benchmark.h>

#include <Cassowary/Cassowary.h>

using namespace cassowary;

namespace {

// CPU time of this thread: other work on the machine does not count.
double cpuSeconds() {
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

struct View {
    Variable left, top, width, height;
};

std::vector<Constraint> siblingConstraints(const View& parent, const View& view, int i,
                                           double preferredWidth) {
    return {
        view.left == parent.left + 8,
        view.top == parent.top + 44 * i,
        view.width <= parent.width - 16,
        (view.width == preferredWidth) | strength::medium,
        view.height == 44,
        view.top + view.height <= parent.top + parent.height,
    };
}

// Independent views in one container, six constraints each.
std::vector<Constraint> siblings(int count) {
    View parent;
    std::vector<Constraint> constraints = {parent.left == 0, parent.top == 0, parent.width == 1000,
                                           parent.height == 44 * count};
    for (int i = 0; i < count; ++i) {
        for (Constraint& constraint : siblingConstraints(parent, View(), i, 200 + (i % 7) * 150)) {
            constraints.push_back(std::move(constraint));
        }
    }
    return constraints;
}

// Views in a row, each starting where the one before ends, each with a
// weighted width; the container is too narrow for every preferred width.
std::vector<Constraint> chain(int count) {
    View parent;
    std::vector<Constraint> constraints = {parent.left == 0, parent.width == 58 * count};
    Expression previousRight = parent.left;
    for (int i = 0; i < count; ++i) {
        View view;
        constraints.push_back(view.left == previousRight);
        constraints.push_back(view.width >= 0);
        constraints.push_back((view.width == 40 + (i % 5) * 10) |
                              strength::create(0, 1 + i % 3, 0));
        previousRight = view.left + view.width;
    }
    constraints.push_back(previousRight <= parent.left + parent.width);
    return constraints;
}

// Each system runs this many times; the median counts, as the machine may be shared.
constexpr int kRepetitions = 3;

constexpr int kEditViews = 833;
constexpr int kSuggestions = 1000;

double editWidth(int step) {
    return 300 + std::abs((step * 5) % 1000 - 500);
}

std::map<std::string, double> kiwiSeconds;
// Our mean time per iteration, one entry per repetition.
std::map<std::string, std::vector<double>> ourSeconds;
// The growth of independent views from 1,000 to 3,000, one entry per repetition.
std::vector<double> growth;

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void loadKiwiTimings(int repetitions) {
    std::string command =
        "/usr/bin/python3 " KIWI_SOLVER_BENCH_SCRIPT " " + std::to_string(repetitions);
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        std::fprintf(stderr, "could not run %s\n", command.c_str());
        return;
    }
    char name[64];
    double seconds;
    while (std::fscanf(pipe, "%63s %lf", name, &seconds) == 2) {
        kiwiSeconds[name] = seconds;
    }
    if (pclose(pipe) != 0) {
        std::fprintf(stderr, "kiwisolver timings incomplete (%s)\n", command.c_str());
    }
}

void report(benchmark::State& state, const std::string& name, double totalSeconds) {
    double ours = totalSeconds / static_cast<double>(state.iterations());
    ourSeconds[name].push_back(ours);
    state.counters["ours_ms"] = ours * 1e3;
    if (auto kiwi = kiwiSeconds.find(name); kiwi != kiwiSeconds.end()) {
        state.counters["kiwi_ms"] = kiwi->second * 1e3;
        state.counters["ours/kiwi"] = ours / kiwi->second;
    }
}

// The time to add the constraints to a new solver and read the solution;
// the solver is destroyed after its time is taken.
double solveOnce(const std::vector<Constraint>& constraints) {
    auto solver = std::make_unique<Solver>();
    double start = cpuSeconds();
    for (const Constraint& constraint : constraints) {
        solver->addConstraint(constraint);
    }
    solver->updateVariables();
    return cpuSeconds() - start;
}

void addConstraints(benchmark::State& state, std::vector<Constraint> (*build)(int),
                    const char* family) {
    int count = static_cast<int>(state.range(0));
    std::vector<Constraint> constraints = build(count);
    // One untimed round first, so the allocator has grown to the system's size.
    solveOnce(constraints);
    double total = 0;
    for (auto _ : state) {
        double seconds = solveOnce(constraints);
        state.SetIterationTime(seconds);
        total += seconds;
    }
    report(state, std::string(family) + "/" + std::to_string(count), total);
}

// Growth from 1,000 to 3,000 independent views, timed in alternation so that
// both sizes meet the same load on a shared machine.
void siblingGrowth(benchmark::State& state) {
    std::vector<Constraint> small = siblings(1000);
    std::vector<Constraint> large = siblings(3000);
    solveOnce(small);
    solveOnce(large);
    double smallTotal = 0;
    double largeTotal = 0;
    for (auto _ : state) {
        double smallSeconds = solveOnce(small);
        double largeSeconds = solveOnce(large);
        state.SetIterationTime(smallSeconds + largeSeconds);
        smallTotal += smallSeconds;
        largeTotal += largeSeconds;
    }
    state.counters["growth"] = largeTotal / smallTotal;
    growth.push_back(largeTotal / smallTotal);
}

void suggestValues(benchmark::State& state) {
    View parent;
    Solver solver;
    for (const Constraint& constraint :
         {parent.left == 0, parent.top == 0, parent.height == 44 * kEditViews}) {
        solver.addConstraint(constraint);
    }
    for (int i = 0; i < kEditViews; ++i) {
        for (const Constraint& constraint :
             siblingConstraints(parent, View(), i, 100 + (i % 50) * 10)) {
            solver.addConstraint(constraint);
        }
    }
    solver.addEditVariable(parent.width, strength::strong);
    solver.suggestValue(parent.width, editWidth(0));
    solver.updateVariables();
    double total = 0;
    for (auto _ : state) {
        double start = cpuSeconds();
        for (int step = 0; step < kSuggestions; ++step) {
            solver.suggestValue(parent.width, editWidth(step));
            solver.updateVariables();
        }
        double seconds = cpuSeconds() - start;
        state.SetIterationTime(seconds);
        total += seconds;
    }
    report(state, "suggest/" + std::to_string(kSuggestions), total);
}

BENCHMARK_CAPTURE(addConstraints, siblings, siblings, "siblings")
    ->Arg(1000)
    ->Arg(3000)
    ->UseManualTime()
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(addConstraints, chain, chain, "chain")
    ->Arg(300)
    ->Arg(1000)
    ->UseManualTime()
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(siblingGrowth)
    ->UseManualTime()
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(suggestValues)
    ->UseManualTime()
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

void printGrowth(const char* family, int small, int large) {
    std::string from = std::string(family) + "/" + std::to_string(small);
    std::string to = std::string(family) + "/" + std::to_string(large);
    if (!ourSeconds.contains(from) || !ourSeconds.contains(to)) {
        return;
    }
    std::printf("%s %d -> %d: ours %.2fx", family, small, large,
                median(ourSeconds[to]) / median(ourSeconds[from]));
    if (kiwiSeconds.contains(from) && kiwiSeconds.contains(to)) {
        std::printf(", kiwisolver %.2fx", kiwiSeconds[to] / kiwiSeconds[from]);
    }
    if (std::strcmp(family, "siblings") == 0 && !growth.empty()) {
        std::printf("; timed in alternation: ours %.2fx", median(growth));
    }
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv) {
    int repetitions = 3;
    const char* flag = "--kiwi_repetitions=";
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], flag, std::strlen(flag)) == 0) {
            repetitions = std::atoi(argv[i] + std::strlen(flag));
            std::memmove(&argv[i], &argv[i + 1], sizeof(char*) * static_cast<size_t>(argc - i));
            --argc;
            break;
        }
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    if (repetitions > 0) {
        loadKiwiTimings(repetitions);
    }
    benchmark::RunSpecifiedBenchmarks();
    printGrowth("siblings", 1000, 3000);
    printGrowth("chain", 300, 1000);
    benchmark::Shutdown();
    return 0;
}
