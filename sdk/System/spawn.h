#pragma once

#include <spawn.h>
#include <sys/types.h>

// The device's C library, where it starts programs of the device.
namespace System {

// posix_spawn as the device offers it. Nothing is ever started on this
// machine: the program's device path is resolved under the device root, and
// the request is recorded instead (SDKEventLog, kind "spawn": "path",
// "arguments", "environment" when one is given, and "pid", or "error" with the errno name).
// Answers 0 and a process identifier of its own for an executable file, ENOENT
// when there is none at the path, EACCES when it is not executable and EINVAL
// for a nil path; file actions and attributes are accepted and not used.
// It has a namespace of its own so that it never stands in for the C
// library's posix_spawn, which this process uses to start its own programs.
int posix_spawn(pid_t* pid, const char* path, const posix_spawn_file_actions_t* fileActions,
                const posix_spawnattr_t* attributes, const char* const argv[],
                const char* const envp[]);

} // namespace System
