#pragma once

#include "CommandLine.h"
#include "PageHost.h"

// `klprefs test DIR`: every *.script under the folder in every variant, each
// run on a fresh copy of the device root in a process of its own, as each
// launch of Settings is, several at once. Prints a line for each run and the
// summary, writes the JUnit report, and under GITHUB_ACTIONS=true prints each
// failure as an annotation on its line.
class ScriptTests {
public:
    // The exit status: 1 when any script failed or could not be run. Throws
    // a usage HostError when the folder holds no script or cannot be read.
    // The caller has started no thread, so that children may be forked.
    static int run(const CommandLine& line, const PageHost::Settings& settings);
};
