#pragma once

#include <optional>
#include <string>
#include <vector>

#include <Foundation/NSProcessInfo.h>
#include <QuartzCore/CGGeometry.h>

#include "ControllerAdditions.h"
#include "DeviceLook.h"

// What klprefs was asked to do: a command and the settings of the page it
// works on. Options may come before or after the command.
class CommandLine {
public:
    enum class Command { Help, Render, Run, Dump, Test, Serve };

    // Throws a usage HostError naming what is wrong. --help, alone or after
    // a command, answers Help with the text to print in helpText.
    static CommandLine parse(const std::vector<std::string>& arguments);

    Command command = Command::Help;
    std::string helpText;
    // nil: the built-in example, used from a scratch copy.
    std::optional<std::string> deviceRoot;
    // nil: the one bundle the device root holds.
    std::optional<std::string> bundlePath;
    NSOperatingSystemVersion iosVersion{16, 0, 0};
    std::string iosVersionText = "16.0";
    // nil: the standard screen's width.
    std::optional<CGFloat> width;
    double scale = 3;
    // The device's look and languages (--appearance, --content-size,
    // --device, --orientation, --no-status-bar, --language).
    DeviceLook look;
    // render and run: the PNG to write.
    std::optional<std::string> output;
    // run: the script's path, "-" for standard input.
    std::string script = "-";
    // test: the folder whose *.script files are run, each on a fresh copy
    // of the device root.
    std::string scriptFolder;
    // serve: the port (0: a free one), the address to listen on instead of
    // loopback, and the file "save" writes the recorded script to.
    int port = 8800;
    std::optional<std::string> listenAddress;
    std::optional<std::string> savedScript;
    // run: print the page's JSON after the steps.
    bool json = false;
    // Load libklutils into the process before the page, as a tweak process
    // on a device has it; without it the picker's choices have no pictures.
    bool loadUtilities = true;
    // Load the private FrontBoardServices and SpringBoardServices, as the
    // device has them; without them a relaunch request does nothing.
    bool loadPrivateFrameworks = true;
    // Where host names connect instead, each HOST:PORT:CONNECT-HOST:CONNECT-PORT
    // as curl's --connect-to, and the certificate authorities trusted (a PEM
    // file; nil for the system's), for the page's network reads.
    std::vector<std::string> connectTo;
    std::optional<std::string> certificateAuthorityFile;
    // The device's mail account: whether there is one, and whether it fails to send.
    bool mailAccount = true;
    bool mailSendingFails = false;
    // The banner and the respring button put on the page's controller, as a
    // tweak's own controller adds them.
    ControllerAdditions additions;

    static constexpr CGFloat kMinimumWidth = 200;
    static constexpr CGFloat kMaximumWidth = 2000;
};
