#include <UIKit/SDKMainThreadChecker.h>

#include <atomic>
#include <cstdio>
#include <mutex>
#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <Foundation/dispatch.h>

namespace {

// Each state below is never destroyed: a worker may still use it while the
// process exits.
std::mutex& reporterLock() {
    static std::mutex& lock = *new std::mutex;
    return lock;
}

SDKMainThreadChecker::Reporter& currentReporter() {
    static auto& reporter = *new SDKMainThreadChecker::Reporter(
        [](const std::string& report) { std::fprintf(stderr, "%s\n", report.c_str()); });
    return reporter;
}

std::atomic<size_t> reports{0};

// How many entry points the calling thread is inside.
thread_local size_t entryDepth = 0;

} // namespace

SDKMainThreadChecker::Entry::Entry(const char* method) {
    if (entryDepth++ == 0) {
        check(method);
    }
}

SDKMainThreadChecker::Entry::~Entry() {
    --entryDepth;
}

std::string SDKMainThreadChecker::reportFor(const char* method) {
    char name[64] = "";
    pthread_getname_np(pthread_self(), name, sizeof name);
    return std::string("Main Thread Checker: UI API called on a background thread: ") + method +
           "\nPID: " + std::to_string(getpid()) +
           ", TID: " + std::to_string(static_cast<long>(syscall(SYS_gettid))) +
           ", Thread name: " + (name[0] ? name : "(none)");
}

void SDKMainThreadChecker::check(const char* method) {
    dispatch_get_main_queue();
    if (DispatchMainQueue::isMainThread()) {
        return;
    }
    ++reports;
    Reporter reporter;
    {
        std::lock_guard guard(reporterLock());
        reporter = currentReporter();
    }
    if (reporter) {
        reporter(reportFor(method));
    }
}

SDKMainThreadChecker::Reporter SDKMainThreadChecker::setReporter(Reporter reporter) {
    std::lock_guard guard(reporterLock());
    std::swap(currentReporter(), reporter);
    return reporter;
}

size_t SDKMainThreadChecker::reportCount() {
    return reports.load();
}
