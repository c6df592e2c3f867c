#pragma once

#include "ScratchDeviceRoot.h"

// Lets a command that only looks leave the device root byte for byte as it
// was, and work on a read-only one: the preferences folder is copied to a
// scratch folder that is mounted in its place, so that what the page stores
// while it runs (a picker row writes its choice back on every refresh) goes
// to the copy and is read back from it. Unmounted and removed when it goes.
class ScratchPreferences {
public:
    // After DeviceRoot::setPath. Throws a load HostError when the copy
    // cannot be made.
    ScratchPreferences();
    ~ScratchPreferences();
    ScratchPreferences(const ScratchPreferences&) = delete;
    ScratchPreferences& operator=(const ScratchPreferences&) = delete;

private:
    ScratchDeviceRoot _scratch;
};
