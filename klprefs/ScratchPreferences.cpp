#include "ScratchPreferences.h"

#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include <Foundation/DeviceRoot.h>
#include <Foundation/NSPropertyListSerialization.h>
#include <Preferences/PSPreferenceDomain.h>

#include "HostError.h"

namespace fs = std::filesystem;

namespace {

// Copies one entry of the preferences folder so that it reads as the
// original does: a file's bytes, a link as a link, a folder as an empty
// folder (pages store only the folder's own files), and anything that is no
// regular file (a FIFO, a socket) as a FIFO, which readers refuse the same
// way. A file longer than any property list read stands in as a sparse file
// of its length: it is refused by its length before a byte is read, and
// copying it would fill the disk. The copy is the owner's to write.
void copyEntry(const fs::path& from, const fs::path& to) {
    struct stat info {};
    if (lstat(from.c_str(), &info) != 0) {
        return;
    }
    const mode_t mode = (info.st_mode & 07777) | S_IWUSR;
    std::error_code error;
    if (S_ISLNK(info.st_mode)) {
        fs::copy_symlink(from, to, error);
    } else if (S_ISDIR(info.st_mode)) {
        fs::create_directory(to, error);
        fs::permissions(to, static_cast<fs::perms>(mode | S_IRWXU), error);
    } else if (!S_ISREG(info.st_mode)) {
        mkfifo(to.c_str(), mode);
    } else if (static_cast<uintmax_t>(info.st_size) >
               NSPropertyListSerialization::kMaximumFileLength) {
        const int fd = open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) {
            (void)ftruncate(fd, info.st_size);
            close(fd);
        }
    } else if (fs::copy_file(from, to, error)) {
        fs::permissions(to, static_cast<fs::perms>(mode), error);
    } else {
        // One this user cannot read stays unreadable, and empty.
        const int fd = open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode & ~0444);
        if (fd >= 0) {
            close(fd);
        }
    }
}

} // namespace

ScratchPreferences::ScratchPreferences() {
    const std::string folder = PSPreferenceDomain::kPreferencesFolder;
    const fs::path original = DeviceRoot::hostPathFor(folder);
    const fs::path copy = fs::path(_scratch.path()) / "Preferences";
    std::error_code error;
    if (!fs::create_directory(copy, error)) {
        throw HostError(HostError::Kind::Load,
                        "cannot make a scratch copy of " + folder + ": " + error.message());
    }
    // A device without the folder gets an empty one.
    if (fs::is_directory(original, error)) {
        for (const fs::directory_entry& entry : fs::directory_iterator(original, error)) {
            copyEntry(entry.path(), copy / entry.path().filename());
        }
        if (error) {
            throw HostError(HostError::Kind::Load,
                            "cannot read " + original.string() + ": " + error.message());
        }
    }
    DeviceRoot::mount(folder, copy.string());
}

ScratchPreferences::~ScratchPreferences() {
    DeviceRoot::unmount();
}
