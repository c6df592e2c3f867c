#pragma once

#include <optional>
#include <string>
#include <vector>

#include <Foundation/NSProcessInfo.h>
#include <Foundation/SDKEvent.h>
#include <QuartzCore/CGGeometry.h>

#include "DeviceLook.h"

// The device a page runs on, as the host sets it up: the folder that stands
// for its file system, the iOS version it reports, its screen and languages,
// its network, its mail account and the libraries it has loaded; and what
// the host reads back from it: which libraries the process has loaded and
// the requests the page made of the system, which are recorded and never
// carried out here.
class HostDevice {
public:
    // Where host names connect (HOST:PORT:ADDRESS:PORT routes) and the
    // certificate authorities trusted besides the system's (a file on this
    // machine).
    struct Network {
        std::vector<std::string> connectTo;
        std::optional<std::string> certificateAuthorityFile;
    };
    // The device's mail account, which the mail composer needs.
    struct MailAccount {
        bool configured = true;
        bool sendingFails = false;
    };
    // A shared library the device has loaded (the process loads it for
    // good): its name and what is missing without it, for a message, and
    // its path on this machine.
    struct Library {
        std::string name;
        std::string path;
        std::string without;
    };

    struct Settings {
        std::string deviceRoot;
        NSOperatingSystemVersion iosVersion{16, 0, 0};
        // nil: the standard screen's width; the height is the standard screen's.
        std::optional<CGFloat> screenWidth;
        // The screen's traits and languages. The width given above wins over
        // the device's.
        DeviceLook look;
        // nil leaves the process's network and mail account as they are.
        std::optional<Network> network;
        std::optional<MailAccount> mailAccount;
        std::vector<Library> libraries;
    };

    // Sets the device up for this process, the calling thread being its
    // main thread. Throws a load HostError when the device root is not a
    // folder or a route is malformed. Answers a message for each library
    // that could not be loaded.
    static std::vector<std::string> configure(const Settings& settings);
    // Loads each library for good; answers a message for each that could not be.
    static std::vector<std::string> loadLibraries(const std::vector<Library>& libraries);

    // The file names of the shared libraries loaded now, sorted.
    static std::vector<std::string> loadedLibraries();
    static bool isLibraryLoaded(const std::string& fileName);

    // Whether a request restarts the device's user interface (a respring): a
    // relaunch request, or a killall of backboardd or SpringBoard that was
    // started. Settings comes back from it with its pages built anew.
    static bool restartsUserInterface(const SDKEvent& request);
};
