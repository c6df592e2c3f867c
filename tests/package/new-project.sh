#!/usr/bin/env bash
# Uses an installation of the build as a tweak developer would: installs it
# into a temporary prefix and moves it (nothing in it may name where it was
# installed), makes a project with `klprefs new`, builds its bundle against
# the installed package alone, previews the page and runs its tests.
# Usage: new-project.sh BUILD-FOLDER SOURCE-FOLDER VERSION LIBDIR
set -euo pipefail
build=$1 source=$2 version=$3 libdir=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$work/installed" > "$work/install.log"
mv "$work/installed" "$work/prefix"
prefix=$work/prefix
klprefs=$prefix/bin/klprefs

[ "$("$klprefs" --version)" = "klprefs $version" ] || fail "--version: $("$klprefs" --version)"
soname=$(readelf -d "$prefix/$libdir/libklcommon.so" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
[ "$soname" = "libklcommon.so.${version%.*}" ] || fail "libklcommon's soname is $soname"
[ "$(PKG_CONFIG_PATH=$prefix/$libdir/pkgconfig pkg-config --modversion klcommon)" = "$version" ] ||
    fail "pkg-config does not find klcommon"
[ -f "$(PKG_CONFIG_PATH=$prefix/$libdir/pkgconfig pkg-config --variable=includedir klcommon)/UIKit/UIKit.h" ] ||
    fail "pkg-config's includedir has no UIKit/UIKit.h"

# The installed example, with its bundle's executable and both loaded libraries.
"$klprefs" dump > "$work/example.json" 2> "$work/example.err" || fail "dump of the example: $(cat "$work/example.err")"
grep -q '"controller": "DemoListController"' "$work/example.json" || fail "the example's controller was not loaded"
! grep -q 'could not load' "$work/example.err" || fail "$(cat "$work/example.err")"

# A new project, rootless by default; rootful on request.
(cd "$work" && "$klprefs" new Tweak > new.log) || fail "klprefs new: $(cat "$work/new.log")"
project=$work/Tweak
bundle=$project/device-root/var/jb/Library/PreferenceBundles/Tweak.bundle
for file in Info.plist Root.plist en.lproj/Root.strings icon@3x.png; do
    [ -f "$bundle/$file" ] || fail "the bundle has no $file"
done
"$klprefs" new Other --rootful -o "$work/Other" > /dev/null
[ -f "$work/Other/device-root/Library/PreferenceBundles/Other.bundle/Info.plist" ] || fail "--rootful"

# A folder that is not empty is refused, and nothing in it changes.
before=$(cd "$project" && find . -type f -exec md5sum {} + | sort)
status=0
"$klprefs" new Tweak -o "$project" 2> "$work/refused.err" || status=$?
[ "$status" -eq 4 ] && grep -q 'not empty' "$work/refused.err" || fail "a non-empty folder was not refused ($status)"
[ "$(cd "$project" && find . -type f -exec md5sum {} + | sort)" = "$before" ] || fail "the project changed"
status=0
"$klprefs" new "../Escape" -o "$work/escape" 2> /dev/null || status=$?
[ "$status" -eq 2 ] && [ ! -e "$work/escape" ] || fail "a name with a path was not refused ($status)"

# Built against the installed package alone (through ccache when there is
# one, with paths taken relative to the temporary folder, so reruns hit),
# previewed and tested: the rootless project and the rootful one.
launcher=()
if command -v ccache > /dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER="env;CCACHE_BASEDIR=$work;CCACHE_NOHASHDIR=1;ccache")
fi
for name in Tweak Other; do
    project=$work/$name
    cmake -S "$project" -B "$project/build" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" \
        -DCMAKE_EXPORT_COMPILE_COMMANDS=ON "${launcher[@]}" \
        > "$work/configure.log" || fail "configure: $(cat "$work/configure.log")"
    ! grep -qE "$source|$build" "$project/build/compile_commands.json" ||
        fail "the build reaches into the source tree"
    cmake --build "$project/build" > "$work/build.log" || fail "build: $(cat "$work/build.log")"

    root=$project/build/device-root
    "$klprefs" --device-root "$root" dump > "$work/page.json" || fail "dump of $project"
    grep -q "\"controller\": \"${name}ListController\"" "$work/page.json" ||
        fail "the controller of $project was not loaded"
    grep -q '"class": "KLColorPickerCell"' "$work/page.json" || fail "the library's rows are missing"
    "$klprefs" --device-root "$root" render -o "$work/page.png"
    (cd "$project" && "$klprefs" --device-root build/device-root test tests) > "$work/test.log" ||
        fail "the tests of $project: $(cat "$work/test.log")"
    grep -q '^1 passed, 0 failed' "$work/test.log" || fail "$(cat "$work/test.log")"
done
echo "installed, made, built, previewed and tested a new project"
