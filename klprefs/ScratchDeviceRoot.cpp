#include "ScratchDeviceRoot.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <unistd.h>

#include "HostError.h"
#include "ProgramFiles.h"

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPrefix = "klprefs-";
// mkdtemp's six characters after the process id.
constexpr size_t kUniqueLength = 6;

// The process id in a scratch folder's name, or nil when the name is not one.
std::optional<pid_t> owner(const std::string& name) {
    if (name.compare(0, kPrefix.size(), kPrefix) != 0) {
        return std::nullopt;
    }
    const size_t dash = name.find('-', kPrefix.size());
    if (dash == std::string::npos || dash == kPrefix.size() || dash > kPrefix.size() + 9 ||
        name.size() != dash + 1 + kUniqueLength) {
        return std::nullopt;
    }
    pid_t pid = 0;
    for (size_t i = kPrefix.size(); i < dash; ++i) {
        if (name[i] < '0' || name[i] > '9') {
            return std::nullopt;
        }
        pid = pid * 10 + (name[i] - '0');
    }
    return pid > 0 ? std::optional<pid_t>(pid) : std::nullopt;
}

bool isRunning(pid_t pid) {
    return kill(pid, 0) == 0 || errno == EPERM;
}

} // namespace

ScratchDeviceRoot::ScratchDeviceRoot() {
    const fs::path temporary = fs::temp_directory_path();
    removeCopiesOfEndedRuns(temporary.string());
    std::string pattern =
        (temporary / (std::string(kPrefix) + std::to_string(getpid()) + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data())) {
        throw HostError(HostError::Kind::Load,
                        "cannot make a scratch folder in " + temporary.string());
    }
    _path = pattern;
}

ScratchDeviceRoot::ScratchDeviceRoot(const std::string& original) : ScratchDeviceRoot() {
    std::error_code error;
    fs::copy(original, _path, fs::copy_options::recursive | fs::copy_options::copy_symlinks, error);
    if (error) {
        fs::remove_all(_path, error);
        throw HostError(HostError::Kind::Load,
                        "cannot copy the example " + original + ": " + error.message());
    }
}

std::unique_ptr<ScratchDeviceRoot> ScratchDeviceRoot::adopt(const std::string& path) {
    const fs::path copy(path);
    std::error_code error;
    if (copy.parent_path() != fs::temp_directory_path() ||
        owner(copy.filename().string()) != getpid() || !fs::is_directory(copy, error)) {
        return nullptr;
    }
    return std::unique_ptr<ScratchDeviceRoot>(new ScratchDeviceRoot(Adopted{}, path));
}

ScratchDeviceRoot::~ScratchDeviceRoot() {
    std::error_code ignored;
    fs::remove_all(_path, ignored);
}

size_t ScratchDeviceRoot::removeCopiesOfEndedRuns(const std::string& folder) {
    size_t removed = 0;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        const std::optional<pid_t> pid = owner(entry.path().filename().string());
        std::error_code ignored;
        if (!pid || *pid == getpid() || isRunning(*pid) || !entry.is_directory(ignored) ||
            entry.is_symlink(ignored)) {
            continue;
        }
        if (fs::remove_all(entry.path(), ignored) > 0 && !ignored) {
            ++removed;
        }
    }
    return removed;
}

std::string ScratchDeviceRoot::builtInExample() {
    if (const std::optional<fs::path> found = ProgramFiles::find(
            {"../examples/device-root", ProgramFiles::dataFolder() / "examples/device-root"});
        found && fs::is_directory(*found)) {
        return found->string();
    }
    std::error_code error;
    const fs::path source = fs::path(KL_SOURCE_DIR) / "examples/device-root";
    if (fs::is_directory(source, error)) {
        return source.string();
    }
    throw HostError(HostError::Kind::Load, "the built-in example is missing (looked for " +
                                               source.string() +
                                               "); name a device root with --device-root");
}
