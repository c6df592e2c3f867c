#include "ServeCommand.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <pthread.h>
#include <thread>

#include "EventStream.h"
#include "FolderWatcher.h"
#include "MainThreadJobs.h"
#include "PreviewServer.h"
#include "PreviewSession.h"

int ServeCommand::run(const CommandLine& line, const PageHost::Settings& settings) {
    // Ctrl-C and a termination request are taken by one thread, which ends the
    // main loop; every thread started from here on inherits the blocked mask.
    sigset_t endings;
    sigemptyset(&endings);
    sigaddset(&endings, SIGINT);
    sigaddset(&endings, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &endings, nullptr);

    EventStream events;
    PreviewSession::Options options;
    options.settings = settings;
    options.iosVersionText = line.iosVersionText;
    options.scale = line.scale;
    options.scriptPath = line.savedScript;
    options.utilitiesLoaded = line.loadUtilities;
    options.privateFrameworksLoaded = line.loadPrivateFrameworks;
    PreviewSession session(options, events);

    MainThreadJobs jobs;
    PreviewServer server({line.listenAddress.value_or("127.0.0.1"), line.port}, session, jobs,
                         events);
    const int port = server.bind();
    if (line.listenAddress) {
        std::fprintf(stderr,
                     "klprefs: warning: listening on %s, not only on this machine's loopback: "
                     "whoever reaches that address can use the page and change its stored "
                     "values\n",
                     line.listenAddress->c_str());
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
    server.stop();
    signals.join();
    std::cout << "klprefs: stopped" << std::endl;
    return 0;
}
