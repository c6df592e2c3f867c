#pragma once

#include <optional>
#include <string>
#include <vector>

#include <Foundation/Value.h>
#include <objc/NSObject.h>
#include <objc/Ref.h>

// Files and folders at device paths, resolved under the device root. Failures
// answer NO (or nil) and, where an `error` is given, say why in it.
class NSFileManager : public NSObject {
public:
    static Ref<NSFileManager> defaultManager();

    // Whether something exists at the path, following a symbolic link at its
    // end (so a broken link does not exist); `isDirectory`, when given,
    // receives whether it is a folder.
    bool fileExistsAtPath(const std::string& path) { return fileExistsAtPath(path, nullptr); }
    virtual bool fileExistsAtPath(const std::string& path, bool* isDirectory);

    // The whole file, or nil when it is missing or cannot be read. Only a
    // regular file is read: a folder, a FIFO or a device is refused at once,
    // never waited on. A file longer than `maximumLength` bytes is refused
    // before any of it is read.
    std::optional<NSData> contentsAtPath(const std::string& path, std::string* error = nullptr,
                                         std::optional<size_t> maximumLength = std::nullopt);

    // The names of what a folder holds, in no set order; empty when it is not
    // a folder or cannot be read.
    std::vector<std::string> contentsOfDirectoryAtPath(const std::string& path,
                                                       std::string* error = nullptr);

    // Writes the file atomically: the bytes go to a temporary file in the same
    // folder, reach the disk, and then replace the old file in one step, so a
    // reader sees the old contents or the new ones and a failure leaves the
    // old file as it was. A symbolic link at the path is followed, so the
    // file it points to is replaced. The folder must exist.
    bool createFileAtPath(const std::string& path, const NSData& contents,
                          std::string* error = nullptr);

    // Without intermediate folders, the parent must exist and the folder must
    // not; with them, missing parents are made and an existing folder is fine.
    bool createDirectoryAtPath(const std::string& path, bool withIntermediateDirectories,
                               std::string* error = nullptr);

    // Removes a file, a link (not what it points to) or a folder with all it holds.
    bool removeItemAtPath(const std::string& path, std::string* error = nullptr);
};
