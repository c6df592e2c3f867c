#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>

#include <Foundation/DeviceRoot.h>
#include <render/SDKPageRenderer.h>

#include "CheckReport.h"
#include "CommandLine.h"
#include "ExitStatus.h"
#include "HostError.h"
#include "PageChecker.h"
#include "PageDescription.h"
#include "PageHost.h"
#include "ProgramFiles.h"
#include "ProgramWarning.h"
#include "ProjectTemplate.h"
#include "ScratchDeviceRoot.h"
#include "ScratchPreferences.h"
#include "Script.h"
#include "ScriptRunner.h"
#include "ScriptTests.h"
#include "VariantSheet.h"
#include "serve/ServeCommand.h"

namespace {

// A library loaded for good, as the device has it, when it is installed
// beside the program or built in the build folder; nothing is loaded from
// anywhere else (a relative path would name the working folder).
void addLibrary(PageHost::Settings& settings, const char* name, const char* installed,
                const char* built, const char* without) {
    if (const std::optional<std::filesystem::path> path = ProgramFiles::find({installed, built})) {
        settings.libraries.push_back({name, path->string(), without});
    } else {
        ProgramWarning::print(std::string("could not load ") + name + ", so " + without +
                              ": it is neither at " + installed + " nor at " + built +
                              " beside the program");
    }
}

// Background work under way (an image read) shows once it has arrived.
void settleForOutput(PageHost& host) {
    if (!host.settleAfterBackgroundWork()) {
        ProgramWarning::print("background work was still under way after " +
                              std::to_string(static_cast<int>(PageHost::kBackgroundWorkLimit)) +
                              " seconds; showing the page as it is");
    }
}

// Draws the page as it is; the caller has settled it for output.
void render(PageHost& host, const std::string& output, double scale) {
    SDKPageRenderer renderer(host.window(), scale);
    std::string error;
    if (!renderer.writePNG(output, &error)) {
        throw HostError(HostError::Kind::Output, error);
    }
}

// Checks the page in each variant and prints the findings; 1 when one is
// at the level asked for or above.
int runCheck(const CommandLine& line, const PageHost::Settings& settings) {
    PageChecker checker(settings, line.checkVariants);
    const CheckFindings& findings = checker.run();
    const CheckReport report(findings, checker.variantNames());
    report.write(*CheckReport::formatNamed(line.format), std::cout);
    return report.exitStatus(*CheckReport::levelNamed(line.failLevel));
}

int run(const CommandLine& line) {
    std::unique_ptr<ScratchDeviceRoot> scratch;
    std::unique_ptr<ScratchPreferences> preferences;
    PageHost::Settings settings;
    if (line.deviceRoot) {
        settings.deviceRoot = *line.deviceRoot;
        // Commands that only look leave the given device root as it was:
        // what the page stores while they run goes to a scratch copy.
        if (line.command == CommandLine::Command::Dump ||
            line.command == CommandLine::Command::Render ||
            line.command == CommandLine::Command::Check) {
            DeviceRoot::setPath(settings.deviceRoot);
            preferences = std::make_unique<ScratchPreferences>();
        }
    } else if (line.command != CommandLine::Command::Test &&
               line.command != CommandLine::Command::Sheet) {
        // A test copies the device root afresh for each of its scripts, and
        // a sheet for each variant.
        scratch = std::make_unique<ScratchDeviceRoot>(ScratchDeviceRoot::builtInExample());
        settings.deviceRoot = scratch->path();
    }
    settings.bundlePath = line.bundlePath;
    settings.iosVersion = line.iosVersion;
    settings.width = line.width;
    settings.look = line.look;
    if (!line.additions.empty()) {
        settings.prepareController = [additions =
                                          line.additions](const Ref<PSListController>& controller) {
            additions.addTo(controller);
        };
    }
    // A dump touches nothing, so it describes the page row by row instead of
    // holding every row's cell at once.
    settings.wholePage = line.command != CommandLine::Command::Dump;
    // Read the script before the page loads, so a missing one changes nothing.
    const std::string scriptName = line.script == "-" ? "<stdin>" : line.script;
    const std::string scriptText =
        line.command == CommandLine::Command::Run ? Script::read(line.script) : "";

    // The libraries a tweak process on a device has loaded: libklcommon does
    // not link them and finds their classes by name once they are in it.
    if (line.loadUtilities) {
        addLibrary(settings, "libklutils", KL_KLUTILS_LIBRARY, KL_BUILT_KLUTILS_LIBRARY,
                   "the picker shows no pictures");
    }
    if (line.loadPrivateFrameworks) {
        addLibrary(settings, "the private frameworks", KL_PRIVATE_LIBRARY, KL_BUILT_PRIVATE_LIBRARY,
                   "the respring button cannot ask for a relaunch");
    }
    settings.network = HostDevice::Network{line.connectTo, line.certificateAuthorityFile};
    settings.mailAccount = HostDevice::MailAccount{line.mailAccount, line.mailSendingFails};
    if (line.command == CommandLine::Command::Test) {
        // Loaded once before the scripts' processes start, and said once.
        for (const std::string& failure : HostDevice::loadLibraries(settings.libraries)) {
            ProgramWarning::print(failure);
        }
        return ScriptTests::run(line, settings);
    }
    if (line.command == CommandLine::Command::Sheet) {
        VariantSheet::write(line, settings);
        return 0;
    }
    if (line.command == CommandLine::Command::Check) {
        return runCheck(line, settings);
    }
    if (line.command == CommandLine::Command::Serve) {
        return ServeCommand::run(line, settings, scratch.get());
    }
    // The page stays until the process ends, which reclaims it at once:
    // taking a long page's views and constraints apart one by one would
    // cost a third of the run. The pointer is volatile so that its store is
    // kept and a leak checker still finds the page reachable.
    static PageHost* volatile page = nullptr;
    page = new PageHost(settings);
    PageHost& host = *page;
    for (const std::string& failure : host.libraryFailures()) {
        ProgramWarning::print(failure);
    }
    for (const std::string& message : host.takeLoggedErrors()) {
        ProgramWarning::print(message);
    }
    switch (line.command) {
    case CommandLine::Command::Render:
        settleForOutput(host);
        render(host, *line.output, line.scale);
        break;
    case CommandLine::Command::Dump:
        settleForOutput(host);
        PageDescription::write(host, line.iosVersionText, std::cout);
        // Rows off screen have their cells made while they are described.
        for (const std::string& message : host.takeLoggedErrors()) {
            ProgramWarning::print(message);
        }
        break;
    case CommandLine::Command::Run: {
        ScriptRunner runner(host, [&](size_t number, const std::string& message) {
            ProgramWarning::print(scriptName + ":" + std::to_string(number) + ": " + message);
        });
        try {
            runner.run(Script::parse(scriptText));
        } catch (const HostError& error) {
            throw HostError(HostError::Kind::Step, scriptName + ":" +
                                                       std::to_string(error.line().value_or(0)) +
                                                       ": " + error.what());
        }
        // The PNG and the JSON show the same page: background work is
        // waited for once.
        if (line.output || line.json) {
            settleForOutput(host);
        }
        if (line.output) {
            render(host, *line.output, line.scale);
        }
        if (line.json) {
            PageDescription::write(host, line.iosVersionText, std::cout);
        }
        break;
    }
    case CommandLine::Command::Help:
    case CommandLine::Command::Test:
    case CommandLine::Command::Sheet:
    case CommandLine::Command::New:
    case CommandLine::Command::Check:
    case CommandLine::Command::Serve:
        break;
    }
    // A value the page could not store fails the run, after everything else
    // has been done and shown.
    if (const size_t failed = host.failedStores()) {
        throw HostError(HostError::Kind::Store,
                        std::to_string(failed) + (failed == 1 ? " value" : " values") +
                            " could not be stored (see the warnings above)");
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        const CommandLine line =
            CommandLine::parse(std::vector<std::string>(argv + 1, argv + argc));
        if (line.command == CommandLine::Command::Help) {
            std::cout << line.helpText;
            return 0;
        }
        if (line.command == CommandLine::Command::New) {
            ProjectTemplate(line.projectName, line.projectLayout).write(line.projectFolder());
            return 0;
        }
        return run(line);
    } catch (const HostError& error) {
        std::fprintf(stderr, "klprefs: %s\n", error.what());
        if (error.kind() == HostError::Kind::Usage) {
            std::fprintf(stderr, "Try 'klprefs --help'.\n");
        }
        return ExitStatus::of(error);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "klprefs: the page needs more memory than this machine gives it\n");
        return ExitStatus::of(HostError(HostError::Kind::Load, ""));
    }
}
