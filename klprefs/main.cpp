#include <cstdio>
#include <dlfcn.h>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>

#include <Foundation/SDKNetworkSettings.h>
#include <MessageUI/SDKMailAccount.h>
#include <render/SDKPageRenderer.h>

#include "CommandLine.h"
#include "HostError.h"
#include "JSONWriter.h"
#include "PageDescription.h"
#include "PageHost.h"
#include "ScratchDeviceRoot.h"
#include "Script.h"
#include "ScriptRunner.h"

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
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw HostError(HostError::Kind::Usage, "cannot read the script " + path);
    }
    text << file.rdbuf();
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

void render(PageHost& host, const std::string& output, double scale) {
    settleForOutput(host);
    SDKPageRenderer renderer(host.window(), scale);
    std::string error;
    if (!renderer.writePNG(output, &error)) {
        throw HostError(HostError::Kind::Output, error);
    }
}

int run(const CommandLine& line) {
    std::unique_ptr<ScratchDeviceRoot> scratch;
    PageHost::Settings settings;
    if (line.deviceRoot) {
        settings.deviceRoot = *line.deviceRoot;
    } else {
        scratch = std::make_unique<ScratchDeviceRoot>(ScratchDeviceRoot::builtInExample());
        settings.deviceRoot = scratch->path();
    }
    settings.bundlePath = line.bundlePath;
    settings.iosVersion = line.iosVersion;
    settings.width = line.width;
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
    PageHost host(settings);
    for (const std::string& message : host.takeLoggedErrors()) {
        warn(message);
    }
    switch (line.command) {
    case CommandLine::Command::Render:
        render(host, *line.output, line.scale);
        break;
    case CommandLine::Command::Dump:
        settleForOutput(host);
        std::cout << JSONWriter::write(PageDescription::describe(host, line.iosVersionText));
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
        if (line.output) {
            render(host, *line.output, line.scale);
        }
        if (line.json) {
            settleForOutput(host);
            std::cout << JSONWriter::write(PageDescription::describe(host, line.iosVersionText));
        }
        break;
    }
    case CommandLine::Command::Help:
        break;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        const CommandLine line =
            CommandLine::parse(std::vector<std::string>(argv + 1, argv + argc));
        if (line.command == CommandLine::Command::Help) {
            std::cout << CommandLine::helpText();
            return 0;
        }
        return run(line);
    } catch (const HostError& error) {
        std::fprintf(stderr, "klprefs: %s\n", error.what());
        if (error.kind() == HostError::Kind::Usage) {
            std::fprintf(stderr, "Try 'klprefs --help'.\n");
        }
        return error.exitStatus();
    }
}
