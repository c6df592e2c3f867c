#!/usr/bin/env bash
# Builds everything and runs every test suite (with each fuzz target's seed
# corpus), then runs them again built with AddressSanitizer and
# UndefinedBehaviorSanitizer (in <build>-asan), and the threaded parts built
# with ThreadSanitizer (in <build>-tsan). Any failed test or sanitizer report
# fails the run. KL_SANITIZERS=off skips the two sanitizer builds. At the end
# (also after a failure) it prints how long each phase took.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${KL_BUILD_DIR:-build}"
jobs="$(nproc)"
# Many tests spend their time waiting (on a silent server, on the browser),
# so twice as many run at once as there are cores: a third less time.
test_jobs=$((jobs * 2))

# Microseconds since the epoch.
now() { echo "${EPOCHREALTIME/./}"; }
seconds_since() { local us=$(($(now) - $1)); printf '%d.%d' $((us / 1000000)) $((us / 100000 % 10)); }
phases=()
started=$(now)
print_phases() {
    echo
    echo "Time taken:"
    printf '  %s\n' "${phases[@]}"
    printf '  %-32s %8s s\n' "total" "$(seconds_since "$started")"
}
trap print_phases EXIT
# phase NAME COMMAND...: runs the command and records how long it took.
phase() {
    local name="$1" begin
    shift
    begin=$(now)
    "$@"
    phases+=("$(printf '%-32s %8s s' "$name" "$(seconds_since "$begin")")")
}
configure() {
    cmake -S . -B "$1" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${@:2}" >/dev/null
}
build() {
    cmake --build "$1" --parallel "$jobs" "${@:2}"
}
run_tests() {
    ctest --test-dir "$1" --output-on-failure --parallel "$test_jobs" --timeout 300 "${@:2}"
}

phase "install packages" bash scripts/install-deps.sh
phase "configure $build_dir" configure "$build_dir" "$@"
phase "build $build_dir" build "$build_dir"
phase "test $build_dir" run_tests "$build_dir"
[ "${KL_SANITIZERS:-on}" = off ] && exit 0

# Reports end the program with a failure. LeakSanitizer and ThreadSanitizer
# ignore only what happens inside the system libraries listed in their
# suppressions files, nothing of ours.
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:detect_stack_use_after_return=0"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan-suppressions.txt:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/scripts/tsan-suppressions.txt"

phase "configure $build_dir-asan" configure "$build_dir-asan" -DKL_SANITIZE=ON -DKL_BUILD_BENCHMARKS=OFF "$@"
phase "build $build_dir-asan" build "$build_dir-asan"
phase "test $build_dir-asan" run_tests "$build_dir-asan"

# The parts that run on more than one thread: their test programs and the
# tests that exercise the threads (dispatch queues, network reads on their
# own thread, and the header's avatar read). Built one file a unit without
# precompiled headers, so that a file that compiles only beside another in a
# batch, or only with a header it does not include, fails here.
tsan_targets=(test_Foundation test_FoundationNetwork test_klcommon)
tsan_tests='^(Dispatch|NSDataLoaderTest)\.|Avatar'
phase "configure $build_dir-tsan" configure "$build_dir-tsan" -DKL_TSAN=ON -DKL_UNITY_BUILD=OFF \
    -DKL_BUILD_BENCHMARKS=OFF "$@"
phase "build $build_dir-tsan" build "$build_dir-tsan" --target "${tsan_targets[@]}"
phase "test $build_dir-tsan" run_tests "$build_dir-tsan" --tests-regex "$tsan_tests"
