#pragma once

#include <optional>
#include <string>
#include <vector>

#include <Foundation/NSProcessInfo.h>
#include <Foundation/SDKEventLog.h>
#include <QuartzCore/CGGeometry.h>
#include <UIKit/UITraitCollection.h>

#include "DeviceLook.h"

// The device a page runs on, as the host sets it up: the folder that stands
// for its file system, the iOS version it reports, its screen and languages; and what
// the host reads back from it: which libraries the process has loaded and
// the requests the page made of the system, which are recorded and never
// carried out here.
class HostDevice {
public:
    struct Settings {
        std::string deviceRoot;
        NSOperatingSystemVersion iosVersion{16, 0, 0};
        // nil: the standard screen's width; the height is the standard screen's.
        std::optional<CGFloat> screenWidth;
        // The screen's traits and languages. The width given above wins over
        // the device's.
        DeviceLook look;
    };

    // The kinds of event under which the SDK records a request of the system.
    static const std::vector<std::string>& systemRequestKinds();

    // Sets the device up for this process, the calling thread being its
    // main thread. Throws a load HostError when the device root is not a folder.
    static void configure(const Settings& settings);

    // The file names of the shared libraries loaded now, sorted.
    static std::vector<std::string> loadedLibraries();
    static bool isLibraryLoaded(const std::string& fileName);

    // Addresses opened, programs spawned, relaunches asked for, in order.
    static std::vector<SDKEvent> systemRequests();
    // Whether a request restarts the device's user interface (a respring): a
    // relaunch request, or a killall of backboardd or SpringBoard that was
    // started. Settings comes back from it with its pages built anew.
    static bool restartsUserInterface(const SDKEvent& request);
};
