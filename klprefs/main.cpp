#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

#include <Foundation/DeviceRoot.h>
#include <Foundation/SDKNetworkSettings.h>
#include <MessageUI/SDKMailAccount.h>
#include <render/SDKPageRenderer.h>

#include "CommandLine.h"
#include "HostError.h"
#include "PageDescription.h"
#include "PageHost.h"
#include "ScratchDeviceRoot.h"
#include "ScratchPreferences.h"
#include "Script.h"
#include "ScriptRunner.h"
#include "serve/ServeCommand.h"

namespace {

void warn(const std::string& message) {
    std::fprintf(stderr, "klprefs: warning: %s\n", message.c_str());
}

std::string readScript(const std::string& path) {
    std::stringstream text;
    if (path == "-") {
        text << std::cin.rdbuf();
        return text.str();
    }
    auto cannotRead = [&](int cause) {
        return HostError(HostError::Kind::Usage,
                         "cannot read the script " + path + ": " + std::strerror(cause));
    };
    // A folder opens as a stream but reads as nothing; it is no script.
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
        throw cannotRead(EISDIR);
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw cannotRead(errno);
    }
    text << file.rdbuf();
    if (file.bad()) {
        throw cannotRead(errno);
    }
    return text.str();
}

// A library loaded for good, as the device has it: libklcommon does not link
// it and finds its classes by name once it is in the process.
void loadLibrary(const char* name, const char* path, const char* without) {
    if (!dlopen(path, RTLD_NOW | RTLD_GLOBAL)) {
        warn(std::string("could not load ") + name + ", so " + without + ": " + dlerror());
    }
}

// Background work under way (an image read) shows once it has arrived.
void settleForOutput(PageHost& host) {
    if (!host.settleAfterBackgroundWork()) {
        warn("background work was still under way after " +
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

// Runs one script on a fresh copy of the device root, in a process of its
// own as each launch of Settings is: nothing one script leaves behind (the
// bundle's code loaded from its copy, what the system frameworks logged or
// counted) reaches the next, and a script that brings the page down fails
// alone. The caller has started no thread yet, so the child may be forked.
// Returns why the script failed, or nothing when it passed.
std::optional<std::string> runScriptInChild(const std::string& path, const std::string& original,
                                            PageHost::Settings settings) {
    int channel[2];
    if (pipe2(channel, O_CLOEXEC) != 0) {
        return path + ": could not start: " + std::strerror(errno);
    }
    std::cout.flush();
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) {
        close(channel[0]);
        close(channel[1]);
        return path + ": could not start: " + std::strerror(errno);
    }
    if (child == 0) {
        close(channel[0]);
        std::string failure;
        try {
            const std::string text = readScript(path);
            ScratchDeviceRoot scratch(original);
            settings.deviceRoot = scratch.path();
            PageHost host(settings);
            host.takeLoggedErrors();
            ScriptRunner runner(host, [&](size_t number, const std::string& message) {
                warn(path + ":" + std::to_string(number) + ": " + message);
            });
            runner.run(Script::parse(text));
            if (const size_t failed = PageHost::failedStores()) {
                failure = path + ": " + std::to_string(failed) +
                          (failed == 1 ? " value" : " values") + " could not be stored";
            }
        } catch (const HostError& error) {
            failure = (error.line() ? path + ":" + std::to_string(*error.line()) : path) + ": " +
                      error.what();
        } catch (const std::exception& error) {
            failure = path + ": " + error.what();
        }
        std::cout.flush();
        std::fflush(nullptr);
        size_t written = 0;
        while (written < failure.size()) {
            const ssize_t count =
                write(channel[1], failure.data() + written, failure.size() - written);
            if (count < 0 && errno == EINTR) {
                continue;
            }
            if (count <= 0) {
                break;
            }
            written += static_cast<size_t>(count);
        }
        _exit(failure.empty() ? 0 : 1);
    }
    close(channel[1]);
    std::string failure;
    char buffer[4096];
    for (;;) {
        const ssize_t count = read(channel[0], buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            break;
        }
        failure.append(buffer, static_cast<size_t>(count));
    }
    close(channel[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        return std::nullopt;
    }
    if (!failure.empty()) {
        return failure;
    }
    if (WIFSIGNALED(status)) {
        return path + ": the page ended on signal " + std::to_string(WTERMSIG(status)) + " (" +
               strsignal(WTERMSIG(status)) + ")";
    }
    return path + ": the page ended with status " + std::to_string(WEXITSTATUS(status));
}

// Why something named like a script is no file a script can be read from,
// or nothing when it is one (a link to a regular file is).
std::optional<std::string> whyNotAScript(const std::filesystem::directory_entry& entry) {
    std::error_code error;
    const std::filesystem::file_status status = entry.status(error);
    switch (status.type()) {
    case std::filesystem::file_type::regular:
        return std::nullopt;
    case std::filesystem::file_type::directory:
        return "it is a folder";
    case std::filesystem::file_type::fifo:
        return "it is a FIFO, which could wait for ever";
    case std::filesystem::file_type::character:
    case std::filesystem::file_type::block:
        return "it is a device, not a regular file";
    case std::filesystem::file_type::socket:
        return "it is a socket, not a regular file";
    case std::filesystem::file_type::not_found:
        return "it is a link to nothing";
    default:
        return "it is not a regular file" + (error ? ": " + error.message() : std::string());
    }
}

// Runs every *.script under the folder, each on a fresh copy of the device
// root, and prints a line for each and the summary; 1 when any failed or
// could not be run.
int runTests(const CommandLine& line, PageHost::Settings settings) {
    std::error_code error;
    std::vector<std::string> scripts;
    std::vector<std::string> notRun;
    for (std::filesystem::recursive_directory_iterator entry(line.scriptFolder, error), end;
         !error && entry != end; entry.increment(error)) {
        if (entry->path().extension() != ".script") {
            continue;
        }
        if (std::optional<std::string> why = whyNotAScript(*entry)) {
            notRun.push_back(entry->path().string() + ": " + *why);
        } else {
            scripts.push_back(entry->path().string());
        }
    }
    if (error) {
        throw HostError(HostError::Kind::Usage,
                        "cannot read the folder " + line.scriptFolder + ": " + error.message());
    }
    if (scripts.empty() && notRun.empty()) {
        throw HostError(HostError::Kind::Usage, "no *.script files under " + line.scriptFolder);
    }
    std::sort(scripts.begin(), scripts.end());
    std::sort(notRun.begin(), notRun.end());
    for (const std::string& reason : notRun) {
        std::cout << "NOT RUN " << reason << "\n";
    }
    const std::string original =
        line.deviceRoot ? *line.deviceRoot : ScratchDeviceRoot::builtInExample();
    size_t passed = 0;
    std::vector<std::string> failures;
    for (const std::string& path : scripts) {
        if (std::optional<std::string> failure = runScriptInChild(path, original, settings)) {
            failures.push_back(*failure);
            std::cout << "FAILED " << failures.back() << "\n";
        } else {
            ++passed;
            std::cout << "passed " << path << "\n";
        }
    }
    std::cout << passed << " passed, " << failures.size() << " failed";
    if (!notRun.empty()) {
        std::cout << ", " << notRun.size() << " not run";
    }
    std::cout << "\n";
    for (const std::string& failure : failures) {
        std::cout << "  " << failure << "\n";
    }
    return failures.empty() && notRun.empty() ? 0 : 1;
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
            line.command == CommandLine::Command::Render) {
            DeviceRoot::setPath(settings.deviceRoot);
            preferences = std::make_unique<ScratchPreferences>();
        }
    } else if (line.command != CommandLine::Command::Test) {
        // A test copies the device root afresh for each of its scripts.
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
        line.command == CommandLine::Command::Run ? readScript(line.script) : "";

    if (line.loadUtilities) {
        loadLibrary("libklutils", KL_KLUTILS_LIBRARY, "the picker shows no pictures");
    }
    if (line.loadPrivateFrameworks) {
        loadLibrary("the private frameworks", KL_PRIVATE_LIBRARY,
                    "the respring button cannot ask for a relaunch");
    }
    SDKNetworkSettings::setConnectTo(line.connectTo);
    SDKNetworkSettings::setCertificateAuthorityFile(line.certificateAuthorityFile);
    SDKMailAccount::setConfigured(line.mailAccount);
    SDKMailAccount::setSendingFails(line.mailSendingFails);
    if (line.command == CommandLine::Command::Test) {
        return runTests(line, settings);
    }
    if (line.command == CommandLine::Command::Serve) {
        return ServeCommand::run(line, settings);
    }
    // The page stays until the process ends, which reclaims it at once:
    // taking a long page's views and constraints apart one by one would
    // cost a third of the run. The pointer is volatile so that its store is
    // kept and a leak checker still finds the page reachable.
    static PageHost* volatile page = nullptr;
    page = new PageHost(settings);
    PageHost& host = *page;
    for (const std::string& message : host.takeLoggedErrors()) {
        warn(message);
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
            warn(message);
        }
        break;
    case CommandLine::Command::Run: {
        ScriptRunner runner(host, [&](size_t number, const std::string& message) {
            warn(scriptName + ":" + std::to_string(number) + ": " + message);
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
    case CommandLine::Command::Serve:
        break;
    }
    // A value the page could not store fails the run, after everything else
    // has been done and shown.
    if (const size_t failed = PageHost::failedStores()) {
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
        return run(line);
    } catch (const HostError& error) {
        std::fprintf(stderr, "klprefs: %s\n", error.what());
        if (error.kind() == HostError::Kind::Usage) {
            std::fprintf(stderr, "Try 'klprefs --help'.\n");
        }
        return error.exitStatus();
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "klprefs: the page needs more memory than this machine gives it\n");
        return HostError(HostError::Kind::Load, "").exitStatus();
    }
}
