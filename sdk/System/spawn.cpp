#include <System/spawn.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <Foundation/DeviceRoot.h>
#include <Foundation/SDKEventLog.h>

namespace {

// Process identifiers handed out for programs that were never started.
std::atomic<pid_t> nextProcessIdentifier{1000};

// A null-terminated list of texts; none for a null list.
std::optional<std::vector<std::string>> listOf(const char* const list[]) {
    if (!list) {
        return std::nullopt;
    }
    std::vector<std::string> texts;
    for (size_t i = 0; list[i]; ++i) {
        texts.emplace_back(list[i]);
    }
    return texts;
}

// 0 when the device path names an executable file, else why it cannot be started.
int checkProgram(const std::string& devicePath) {
    struct stat status {};
    const std::string hostPath = DeviceRoot::hostPathFor(devicePath);
    if (::stat(hostPath.c_str(), &status) != 0) {
        return errno == ENOTDIR ? ENOENT : errno;
    }
    if (!S_ISREG(status.st_mode)) {
        return EACCES;
    }
    return ::access(hostPath.c_str(), X_OK) == 0 ? 0 : EACCES;
}

} // namespace

namespace System {

int posix_spawn(pid_t* pid, const char* path, const posix_spawn_file_actions_t*,
                const posix_spawnattr_t*, const char* const argv[], const char* const envp[]) {
    if (!path) {
        return EINVAL;
    }
    SDKEvents::Spawn request{path, listOf(argv), listOf(envp), std::nullopt, std::nullopt};
    const int failure = checkProgram(path);
    if (failure != 0) {
        request.error = strerrorname_np(failure);
    } else {
        request.pid = nextProcessIdentifier++;
        if (pid) {
            *pid = *request.pid;
        }
    }
    SDKEventLog::record(std::move(request));
    return failure;
}

} // namespace System
