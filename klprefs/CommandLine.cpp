#include "CommandLine.h"

#include <cmath>
#include <cstdlib>

#include <Foundation/SDKNetworkSettings.h>

#include "HostError.h"

namespace {

[[noreturn]] void usage(const std::string& message) {
    throw HostError(HostError::Kind::Usage, message);
}

double number(const std::string& option, const std::string& text) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !std::isfinite(value)) {
        usage(option + " wants a number, not \"" + text + "\"");
    }
    return value;
}

} // namespace

CommandLine CommandLine::parse(const std::vector<std::string>& arguments) {
    CommandLine line;
    std::optional<Command> command;
    std::vector<std::string> operands;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        auto next = [&]() -> const std::string& {
            if (i + 1 >= arguments.size()) {
                usage(argument + " wants a value");
            }
            return arguments[++i];
        };
        if (argument == "--help" || argument == "-h") {
            line.command = Command::Help;
            return line;
        } else if (argument == "--device-root") {
            line.deviceRoot = next();
        } else if (argument == "--bundle") {
            line.bundlePath = next();
        } else if (argument == "--ios") {
            line.iosVersionText = next();
            std::optional<NSOperatingSystemVersion> version =
                NSProcessInfo::operatingSystemVersionFromString(line.iosVersionText);
            if (!version) {
                usage("--ios wants a version such as 16.0 or 14.4.2, not \"" + line.iosVersionText +
                      "\"");
            }
            line.iosVersion = *version;
        } else if (argument == "--width") {
            line.width = number(argument, next());
            if (*line.width < kMinimumWidth || *line.width > kMaximumWidth) {
                usage("--width must be from 200 to 2000 points");
            }
        } else if (argument == "--scale") {
            line.scale = number(argument, next());
            if (line.scale < 1 || line.scale > 3) {
                usage("--scale must be from 1 to 3");
            }
        } else if (argument == "-o" || argument == "--output") {
            line.output = next();
        } else if (argument == "--json") {
            line.json = true;
        } else if (argument == "--without-klutils") {
            line.loadUtilities = false;
        } else if (argument == "--without-private-frameworks") {
            line.loadPrivateFrameworks = false;
        } else if (argument == "--connect-to") {
            const std::string& route = next();
            if (!SDKNetworkSettings::isValidRoute(route)) {
                usage("--connect-to wants HOST:PORT:CONNECT-HOST:CONNECT-PORT, not \"" + route +
                      "\"");
            }
            line.connectTo.push_back(route);
        } else if (argument == "--cacert") {
            line.certificateAuthorityFile = next();
        } else if (argument == "--no-mail-account") {
            line.mailAccount = false;
        } else if (argument == "--mail-send-fails") {
            line.mailSendingFails = true;
        } else if (argument.size() > 1 && argument[0] == '-') {
            usage("unknown option " + argument);
        } else if (!command) {
            if (argument == "render") {
                command = Command::Render;
            } else if (argument == "run") {
                command = Command::Run;
            } else if (argument == "dump") {
                command = Command::Dump;
            } else if (argument == "test") {
                command = Command::Test;
            } else {
                usage("unknown command \"" + argument + "\" (render, run, dump or test)");
            }
        } else {
            operands.push_back(argument);
        }
    }
    if (!command) {
        usage("no command given (render, run, dump or test)");
    }
    line.command = *command;
    switch (line.command) {
    case Command::Render:
        if (!line.output) {
            usage("render wants -o FILE.png");
        }
        break;
    case Command::Run:
        if (operands.size() == 1) {
            line.script = operands[0];
            operands.clear();
        }
        break;
    case Command::Test:
        if (operands.size() != 1) {
            usage("test wants the folder of its scripts: test DIR");
        }
        line.scriptFolder = operands[0];
        operands.clear();
        break;
    default:
        break;
    }
    if (line.output && line.command == Command::Test) {
        usage("-o goes with render and run");
    }
    if (line.json && line.command != Command::Run) {
        usage("--json goes with run (dump always prints JSON)");
    }
    if (line.output && line.command == Command::Dump) {
        usage("-o goes with render and run");
    }
    if (!operands.empty()) {
        usage("unexpected argument \"" + operands[0] + "\"");
    }
    return line;
}

std::string CommandLine::helpText() {
    return R"(klprefs: show, use and draw a tweak's preference page, as the Settings app does.

Usage:
  klprefs [options] render -o FILE.png
  klprefs [options] run [SCRIPT|-] [--json] [-o FILE.png]
  klprefs [options] dump
  klprefs [options] test DIR
  klprefs --help

Commands:
  render     draw the whole page to a PNG
  run        apply the steps of SCRIPT (standard input when it is - or
             missing), one per line, then write the PNG (-o) and print the
             page as JSON (--json)
  dump       print the page as JSON: rows and their views, the stored values
             of every preference domain, and what the page did
  test       run every *.script under DIR, each on a fresh copy of the
             device root, and print "N passed, N failed" with the failing
             lines; exit status 1 when any failed

Options:
  --device-root DIR  the folder that stands for the device's file system
                     (default: the built-in example, used from a scratch copy
                     so that it never changes)
  --bundle PATH      the preference bundle's path on the device (default: the
                     one bundle in /Library/PreferenceBundles or
                     /var/jb/Library/PreferenceBundles)
  --ios VERSION      the iOS version the device reports (default 16.0)
  --width POINTS     the screen's width, 200 to 2000 (default: the
                     standard phone screen's width)
  --scale N          pixels per point of the PNG, 1 to 3 (default 3)
  -o, --output FILE  the PNG to write
  --json             after run, print the page as JSON
  --without-klutils  do not load libklutils (by default it is loaded, as in a
                     tweak process on a device; without it the rows cannot
                     correct :root: paths and the picker shows no pictures)
  --without-private-frameworks
                     do not load FrontBoardServices and SpringBoardServices
                     (by default they are, as on a device; without them the
                     respring button's relaunch request does nothing)
  --connect-to HOST:PORT:CONNECT-HOST:CONNECT-PORT
                     send the page's connections to HOST:PORT elsewhere, as
                     curl's option does (repeatable; such as the avatar
                     service to a server on 127.0.0.1)
  --cacert FILE      trust the certificate authorities in this PEM file
                     instead of the system's
  --no-mail-account  the device has no mail account (canSendMail answers NO)
  --mail-send-fails  sending from the mail account fails

Script steps (# starts a comment; quote texts with spaces):
  tap ROW                   tap a row, as a finger on its title
  tap ROW VIEW              touch the middle of a view inside the row
  pick #RRGGBB[AA]          pick a colour in the presented colour picker
  pick rgba(R, G, B, A)     pick exact components, outside 0 to 1 too
  drag ROW to VALUE         drag the row's slider to a value
  press ROW minus|plus [hold N]
                            press the row's stepper button once, or hold it
                            while its step repeats N times
  type TEXT                 replace the text of the presented alert's field
  tap header VIEW           touch the middle of a view inside the page's
                            header (its banner), as VIEW below
  choose TITLE              choose an item of the open menu, or an entry of
                            an open list of choices
  button TITLE              press a button of the presented alert or screen
                            (the mail composer's Send, Cancel, Save Draft,
                            Delete Draft)
  dismiss                   close what is presented
  toggle ROW                flip the row's switch
  segment ROW TITLE         choose a segment of the row's segmented control
  enter ROW TEXT            replace the row's text and press return
  back                      go back from a page a link opened
  expect ROW stored|shown VALUE
                            fail unless the row stores or shows VALUE
ROW is a row's index (0 is the first row), key:KEY, or the label or title
it shows (label:TEXT when that is a number). VIEW is path:I.J.K (subview
indices from the row), class:NAME or class:NAME:N (the Nth such view, from
0), or text:TEXT (the view showing that text).

Exit status: 0 done, 1 a step (or a test script) failed, 2 bad usage, 3 the page could not be
loaded, 4 the output could not be written.
)";
}
