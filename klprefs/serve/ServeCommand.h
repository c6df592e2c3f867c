#pragma once

#include "CommandLine.h"
#include "PageHost.h"
#include "ScratchDeviceRoot.h"

// klprefs serve: the page previewed and used in a browser. Serves on
// loopback (or the address asked for, with a warning) until Ctrl-C or a
// termination signal, then ends cleanly: the server stopped, the watcher's
// thread joined, the scratch copy of the device root (when one is used)
// removed by its owner.
//
// Asked for other libraries, serve starts its program anew in the same
// process with them, on the same port, carrying the recorded script, the
// variant and the pages shown; the browser reconnects by itself. A scratch
// copy of the device root passes to the new program, which removes it.
class ServeCommand {
public:
    ServeCommand() = delete;
    static int run(const CommandLine& line, const PageHost::Settings& settings,
                   const ScratchDeviceRoot* scratch);
};
