#!/usr/bin/env bash
# Builds everything and runs every test suite (with each fuzz target's seed
# corpus), then runs them again built with AddressSanitizer and
# UndefinedBehaviorSanitizer (in <build>-asan), and the threaded parts built
# with ThreadSanitizer (in <build>-tsan). Any failed test or sanitizer report
# fails the run. KL_SANITIZERS=off skips the two sanitizer builds.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${KL_BUILD_DIR:-build}"
jobs="$(nproc)"
run_tests() {
    ctest --test-dir "$1" --output-on-failure --parallel "$jobs" --timeout 300 "${@:2}"
}

KL_BUILD_DIR="$build_dir" bash scripts/build.sh "$@"
run_tests "$build_dir"
[ "${KL_SANITIZERS:-on}" = off ] && exit 0

# Reports end the program with a failure. LeakSanitizer and ThreadSanitizer
# ignore only what happens inside the system libraries listed in their
# suppressions files, nothing of ours.
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:detect_stack_use_after_return=0"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan-suppressions.txt:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/scripts/tsan-suppressions.txt"

KL_BUILD_DIR="$build_dir-asan" bash scripts/build.sh -DKL_SANITIZE=ON -DKL_BUILD_BENCHMARKS=OFF "$@"
run_tests "$build_dir-asan"

# The parts that run on more than one thread: their test programs and the
# tests that exercise the threads (dispatch queues, network reads on their
# own thread, and the header's avatar read).
tsan_targets=(test_Foundation test_FoundationNetwork test_klcommon)
tsan_tests='^(Dispatch|NSDataLoaderTest)\.|Avatar'
cmake -S . -B "$build_dir-tsan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKL_TSAN=ON \
    -DKL_BUILD_BENCHMARKS=OFF "$@" >/dev/null
cmake --build "$build_dir-tsan" --parallel "$jobs" --target "${tsan_targets[@]}"
run_tests "$build_dir-tsan" --tests-regex "$tsan_tests"
