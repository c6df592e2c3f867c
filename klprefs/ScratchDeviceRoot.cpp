#include "ScratchDeviceRoot.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#include "HostError.h"

namespace fs = std::filesystem;

ScratchDeviceRoot::ScratchDeviceRoot(const std::string& original) {
    std::string pattern = (fs::temp_directory_path() / "klprefs-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        throw HostError(HostError::Kind::Load,
                        "cannot make a scratch folder in " + fs::temp_directory_path().string());
    }
    _path = pattern;
    std::error_code error;
    fs::copy(original, _path, fs::copy_options::recursive | fs::copy_options::copy_symlinks, error);
    if (error) {
        fs::remove_all(_path, error);
        throw HostError(HostError::Kind::Load,
                        "cannot copy the example " + original + ": " + error.message());
    }
}

ScratchDeviceRoot::~ScratchDeviceRoot() {
    std::error_code ignored;
    fs::remove_all(_path, ignored);
}

std::string ScratchDeviceRoot::builtInExample() {
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (!error) {
        for (const fs::path& candidate :
             {program.parent_path().parent_path() / "examples/device-root",
              program.parent_path().parent_path() / "share/klprefs/examples/device-root"}) {
            if (fs::is_directory(candidate, error)) {
                return candidate.string();
            }
        }
    }
    const fs::path source = fs::path(KL_SOURCE_DIR) / "examples/device-root";
    if (fs::is_directory(source, error)) {
        return source.string();
    }
    throw HostError(HostError::Kind::Load, "the built-in example is missing (looked for " +
                                               source.string() +
                                               "); name a device root with --device-root");
}
