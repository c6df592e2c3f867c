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

// A null-terminated list of texts; nil for a null list.
Value listOf(const char* const list[]) {
    if (!list) {
        return Value();
    }
    Value::Array texts;
    for (size_t i = 0; list[i]; ++i) {
        texts.emplace_back(list[i]);
    }
    return Value(std::move(texts));
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
    Value::Dictionary details{{"path", path}, {"arguments", listOf(argv)}};
    if (envp) {
        details["environment"] = listOf(envp);
    }
    const int failure = checkProgram(path);
    if (failure != 0) {
        details["error"] = strerrorname_np(failure);
    } else {
        const pid_t identifier = nextProcessIdentifier++;
        details["pid"] = static_cast<long>(identifier);
        if (pid) {
            *pid = identifier;
        }
    }
    SDKEventLog::record("spawn", std::move(details));
    return failure;
}

} // namespace System
