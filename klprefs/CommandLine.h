#pragma once

#include <optional>
#include <string>
#include <vector>

#include <Foundation/Forward.h>
#include <QuartzCore/CGGeometry.h>

#include "ControllerAdditions.h"
#include "DeviceLook.h"
#include "ProjectTemplate.h"
#include "ReferencePictures.h"
#include "VariantMatrix.h"

// What klprefs was asked to do: a command and the settings of the page it
// works on. Options may come before or after the command.
class CommandLine {
public:
    enum class Command { Help, Render, Run, Dump, Test, Sheet, New, Check, Serve };

    // Throws a usage HostError naming what is wrong. --help, alone or after
    // a command, and --version answer Help with the text to print in helpText.
    static CommandLine parse(const std::vector<std::string>& arguments);
    // A comma-separated list of an option: "de, en" → de and en, blanks
    // around each name dropped.
    static std::vector<std::string> splitList(const std::string& text);

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
    // Whether --scale was given (a device's pictures take its scale otherwise).
    bool scaleGiven = false;
    // The device's look and languages (--appearance, --content-size,
    // --device, --orientation, --no-status-bar, --language).
    DeviceLook look;
    // render and run: the PNG to write; new: the project's folder.
    std::optional<std::string> output;
    // new: the tweak's name, and where its files go on the device.
    std::string projectName;
    ProjectTemplate::Layout projectLayout = ProjectTemplate::Layout::Rootless;
    // new: -o, else a folder named after the tweak.
    std::string projectFolder() const { return output.value_or(projectName); }
    // run: the script's path, "-" for standard input.
    std::string script = "-";
    // test: the folder whose *.script files are run, each on a fresh copy
    // of the device root.
    std::string scriptFolder;
    // test and sheet: every combination of these traits, one run of each
    // script (one picture of the page) in each.
    VariantMatrix variants;
    // test and sheet: how many processes run at once (0: one per core).
    size_t jobs = 0;
    // test: which reference pictures are written, and how far a picture may
    // be from its reference (--update-snapshots, --ci or CI=true,
    // --max-diff-pixels, --threshold).
    ReferencePictures::Policy pictures;
    // test: the JUnit report to write.
    std::optional<std::string> junit;
    // test: run the scripts in a random order (from the seed, when given),
    // and each this many times.
    bool shuffle = false;
    std::optional<unsigned> seed;
    size_t repeat = 1;
    // serve: the port (0: a free one), the address to listen on instead of
    // loopback, and the file "save" writes the recorded script to.
    int port = 8800;
    std::optional<std::string> listenAddress;
    std::optional<std::string> savedScript;
    // serve: the state a relaunch of serve carries into the new process (a
    // file it reads and removes), and the words it was started with, which
    // such a relaunch repeats.
    std::optional<std::string> resumeFile;
    std::vector<std::string> arguments;
    // run: print the page's JSON after the steps.
    bool json = false;
    // check: the variants (nil: the defaults), how findings are printed
    // ("text", "json", "sarif") and the least level that fails the check.
    std::optional<std::string> checkVariants;
    std::string format = "text";
    std::string failLevel = "error";
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
