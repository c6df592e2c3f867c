#!/usr/bin/env bash
# The main job on the built-in example: installs the packages, builds klprefs
# and the libraries it loads (not the test suites or benchmarks), draws the
# example preference page to example-page.png, runs the demo script on it and
# prints the page, what it stored and what it did, as JSON. The example itself
# is used from a scratch copy and never changes. Only the JSON goes to
# standard output; the build's progress goes to standard error.
#
# It builds in build-demo/ (or $KL_BUILD_DIR); a folder made here leaves the
# tests and benchmarks out, one that exists keeps its own settings. The
# build is unoptimised (Debug) and without debug information: it draws one
# page and runs one script in well under a second either way, draws the same
# picture and prints the same JSON as an optimised build, and compiles in
# half the time. It does not go through ccache: a first build only fills the
# cache, which costs a tenth more, and a second run rebuilds nothing here.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh >&2
build_dir="${KL_BUILD_DIR:-build-demo}"
options=()
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    options=(-DKL_BUILD_TESTS=OFF -DKL_BUILD_BENCHMARKS=OFF -DKL_DEBUG_INFO=none -DKL_CCACHE=OFF)
fi
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug "${options[@]}" "$@" >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)" --target klprefs >&2
klprefs="$build_dir/klprefs/klprefs"
"$klprefs" render -o example-page.png
echo "Drew the example page to example-page.png" >&2
"$klprefs" run examples/demo.script --json
