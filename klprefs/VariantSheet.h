#pragma once

#include "CommandLine.h"
#include "PageHost.h"

// `klprefs sheet -o FILE.png`: the page drawn in every variant, each in a
// process of its own and several at once, put side by side in one picture:
// a grid whose rows are the devices and text sizes and whose columns are
// the appearances and languages, each picture under its variant's name.
class VariantSheet {
public:
    // The scale the pages are drawn at unless one is given.
    static constexpr double kDefaultScale = 1;
    // Throws a HostError when a page cannot be loaded or drawn, or the
    // sheet cannot be written. The caller has started no thread.
    static void write(const CommandLine& line, const PageHost::Settings& settings);
};
