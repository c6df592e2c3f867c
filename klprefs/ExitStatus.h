#pragma once

#include "HostError.h"

// How klprefs ends: 0 when everything ran, else by why it stopped.
class ExitStatus {
public:
    ExitStatus() = delete;

    // 1 for a failed step, 2 for bad usage, 3 for a page that cannot be
    // loaded, 4 for output that cannot be written, 5 for a value that could
    // not be stored.
    static int of(const HostError& error);
};
