#!/usr/bin/env bash
# Fuzzes one target of fuzz/ with libFuzzer for a while:
#     bash scripts/fuzz.sh NAME [SECONDS] [libFuzzer options...]
# NAME is ColorCodec, NumberReader, PropertyList, StringTable, Script or URL;
# SECONDS defaults to 600. Builds with clang in <build>-fuzz; inputs found
# go to <build>-fuzz/corpus/NAME (the seeds in fuzz/corpus/NAME stay as they
# are), and a crashing input to <build>-fuzz/crash-*.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -lt 1 ]; then
    echo "usage: bash scripts/fuzz.sh NAME [SECONDS] [libFuzzer options...]" >&2
    exit 2
fi
name="$1"
seconds="${2:-600}"
shift $(( $# >= 2 ? 2 : 1 ))
bash scripts/install-deps.sh
build_dir="${KL_BUILD_DIR:-build}-fuzz"
CC=clang CXX=clang++ cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKL_FUZZ=ON >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)" --target "fuzz_$name"
mkdir -p "$build_dir/corpus/$name"
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan-suppressions.txt:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
"$build_dir/fuzz/fuzz_$name" -max_total_time="$seconds" -artifact_prefix="$build_dir/" \
    "$@" "$build_dir/corpus/$name" "fuzz/corpus/$name"
