#include "ServeCommand.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <pthread.h>
#include <thread>
#include <unistd.h>

#include "EventStream.h"
#include "FolderWatcher.h"
#include "HostError.h"
#include "MainThreadJobs.h"
#include "PreviewServer.h"
#include "PreviewSession.h"
#include "ProgramWarning.h"

namespace {

// The most a relaunch's state may hold: the script and up to a hundred pictures.
constexpr std::uintmax_t kMaximumResumeBytes = 256u << 20;

// Writes the state a relaunch carries where only this user can read it;
// answers the file's path.
std::string writeResumeFile(const nlohmann::json& state) {
    std::string path = (std::filesystem::temp_directory_path() / "klprefs-resume-XXXXXX").string();
    const int descriptor = mkstemp(path.data());
    if (descriptor < 0) {
        throw HostError(HostError::Kind::Output,
                        std::string("cannot keep serve's state to start anew: ") +
                            std::strerror(errno));
    }
    close(descriptor);
    const std::vector<std::uint8_t> bytes = nlohmann::json::to_cbor(state);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
        std::filesystem::remove(path);
        throw HostError(HostError::Kind::Output, "cannot write serve's state to " + path);
    }
    return path;
}

// Reads the state an earlier program of this process left, and removes it.
std::optional<nlohmann::json> readResumeFile(const std::string& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    std::string bytes;
    if (!error && size <= kMaximumResumeBytes) {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::filesystem::remove(path, error);
    nlohmann::json state = nlohmann::json::from_cbor(bytes, true, false);
    if (state.is_discarded()) {
        ProgramWarning::print("the state to resume in " + path +
                              " cannot be read; serve starts afresh");
        return std::nullopt;
    }
    return state;
}

// The words serve starts anew with: those it was given, with the libraries
// asked for, the device root it used, the port it listens on and the file
// of the state it carries.
std::vector<std::string> relaunchWords(const CommandLine& line, const nlohmann::json& libraries,
                                       const std::string& deviceRoot, int port,
                                       const std::string& resumeFile) {
    std::vector<std::string> words = {"klprefs"};
    if (!libraries.value("klutils", true)) {
        words.push_back("--without-klutils");
    }
    if (!libraries.value("privateFrameworks", true)) {
        words.push_back("--without-private-frameworks");
    }
    if (!line.deviceRoot) {
        words.insert(words.end(), {"--device-root", deviceRoot});
    }
    for (size_t i = 0; i < line.arguments.size(); ++i) {
        const std::string& word = line.arguments[i];
        if (word == "--port" || word == "--resume") {
            ++i;
        } else if (word != "--without-klutils" && word != "--without-private-frameworks" &&
                   !word.starts_with("--port=") && !word.starts_with("--resume=")) {
            words.push_back(word);
        }
    }
    words.insert(words.end(), {"--port", std::to_string(port), "--resume", resumeFile});
    return words;
}

// Replaces this program with klprefs started with `words`; answers why
// only when that fails.
std::string startAnew(std::vector<std::string> words) {
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    execv("/proc/self/exe", argv.data());
    return std::strerror(errno);
}

} // namespace

int ServeCommand::run(const CommandLine& line, const PageHost::Settings& settings,
                      const ScratchDeviceRoot* scratch) {
    // Ctrl-C and a termination request are taken by one thread, which ends the
    // main loop; every thread started from here on inherits the blocked mask.
    sigset_t endings;
    sigemptyset(&endings);
    sigaddset(&endings, SIGINT);
    sigaddset(&endings, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &endings, nullptr);

    // The state an earlier program of this process carried over, and the
    // scratch copy of the device root it passed on.
    std::optional<nlohmann::json> resumed;
    std::unique_ptr<ScratchDeviceRoot> adopted;
    if (line.resumeFile) {
        resumed = readResumeFile(*line.resumeFile);
        if (resumed && resumed->value("scratchDeviceRoot", "") == settings.deviceRoot) {
            adopted = ScratchDeviceRoot::adopt(settings.deviceRoot);
            scratch = adopted.get();
        }
    }

    EventStream events;
    MainThreadJobs jobs;
    bool relaunching = false;
    PreviewSession::Options options;
    options.settings = settings;
    options.iosVersionText = line.iosVersionText;
    options.scale = line.scale;
    options.scriptPath = line.savedScript;
    options.utilitiesLoaded = line.loadUtilities;
    options.privateFrameworksLoaded = line.loadPrivateFrameworks;
    options.relaunch = [&] {
        relaunching = true;
        jobs.stop();
    };
    PreviewSession session(options, events);
    if (resumed) {
        try {
            session.resume(*resumed);
        } catch (const HostError& error) {
            ProgramWarning::print(std::string(error.what()) + "; serve starts afresh");
        }
    }

    PreviewServer server({line.listenAddress.value_or("127.0.0.1"), line.port}, session, jobs,
                         events);
    const int port = server.bind();
    if (line.listenAddress) {
        ProgramWarning::print("listening on " + *line.listenAddress +
                              ", not only on this machine's loopback: whoever reaches that "
                              "address can use the page and change its stored values");
    }
    // The domains' folder is watched from the start, before anything is stored.
    std::error_code ignored;
    const std::vector<std::string> folders = session.watchedFolders();
    std::filesystem::create_directories(folders.back(), ignored);
    std::atomic<bool> checkPosted{false};
    FolderWatcher watcher(folders, [&] {
        if (!checkPosted.exchange(true)) {
            jobs.post([&] {
                checkPosted = false;
                session.filesChanged();
            });
        }
    });
    server.start();
    const std::string host =
        line.listenAddress && line.listenAddress->find(':') != std::string::npos
            ? "[" + *line.listenAddress + "]"
            : line.listenAddress.value_or("127.0.0.1");
    std::cout << "klprefs: serving the page at http://" << host << ":" << port << "/ (Ctrl-C ends)"
              << std::endl;

    std::thread signals([&] {
        int signal = 0;
        sigwait(&endings, &signal);
        jobs.stop();
    });
    // Background work that arrives (an image read) is shown when the page is idle.
    jobs.runUntilStopped(std::chrono::milliseconds(250), [&] { session.idle(); });
    // The answer to the request that asked for a relaunch goes out first.
    server.stop();
    if (relaunching) {
        nlohmann::json state = session.resumeState();
        if (scratch) {
            state["scratchDeviceRoot"] = scratch->path();
        }
        std::string problem;
        try {
            const std::string file = writeResumeFile(state);
            std::cout << "klprefs: starting anew with the libraries asked for" << std::endl;
            problem = startAnew(relaunchWords(line, state["variant"]["libraries"],
                                              settings.deviceRoot, port, file));
            std::filesystem::remove(file);
        } catch (const HostError& error) {
            problem = error.what();
        }
        std::fprintf(stderr, "klprefs: cannot start anew: %s\n", problem.c_str());
        pthread_kill(signals.native_handle(), SIGTERM);
        signals.join();
        return 1;
    }
    signals.join();
    std::cout << "klprefs: stopped" << std::endl;
    return 0;
}
