#pragma once

#include "CommandLine.h"
#include "PageHost.h"

// klprefs serve: the page previewed and used in a browser. Serves on
// loopback (or the address asked for, with a warning) until Ctrl-C or a
// termination signal, then ends cleanly: the server stopped, the watcher's
// thread joined, the scratch copy of the device root (when one is used)
// removed by its owner.
class ServeCommand {
public:
    ServeCommand() = delete;
    static int run(const CommandLine& line, const PageHost::Settings& settings);
};
