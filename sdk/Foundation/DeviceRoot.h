#pragma once

#include <string>

// The folder on this machine that stands for the device's file system, as a
// simulator maps its runtime root. Every device path the SDK touches is
// resolved under it; paths handed back to callers stay device paths.
class DeviceRoot {
public:
    DeviceRoot() = delete;

    // The host's folder; "/" until a host sets one (or KL_DEVICE_ROOT is set).
    static std::string path();
    static void setPath(const std::string& hostFolder);

    // The host path for a device path. Symbolic links met on the way whose
    // targets are absolute resolve inside the root, as they do on the device;
    // `followFinalLink` decides whether a link at the very end is followed.
    static std::string hostPathFor(const std::string& devicePath, bool followFinalLink = true);

    // Puts a host folder in place of a device folder, as a mount does: what
    // lies under the device path is then looked for, and made, in the host
    // folder. The device path is resolved (its links followed) as it is
    // mounted, under the root set at that time; mount after setPath. One
    // folder at a time; unmount() puts the device's own back.
    static void mount(const std::string& devicePath, const std::string& hostFolder);
    static void unmount();
};
