#!/usr/bin/env bash
# The main job on the built-in example: installs the packages, builds, draws
# the example preference page to example-page.png, runs the demo script on
# it and prints the page, what it stored and what it did, as JSON. The
# example itself is used from a scratch copy and never changes.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh "$@"
klprefs="${KL_BUILD_DIR:-build}/klprefs/klprefs"
"$klprefs" render -o example-page.png
echo "Drew the example page to example-page.png" >&2
"$klprefs" run examples/demo.script --json
