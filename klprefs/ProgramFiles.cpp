#include "ProgramFiles.h"

namespace fs = std::filesystem;

std::optional<fs::path> ProgramFiles::find(std::initializer_list<fs::path> relativePaths) {
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (error) {
        return std::nullopt;
    }
    for (const fs::path& relative : relativePaths) {
        const fs::path candidate = (program.parent_path() / relative).lexically_normal();
        if (fs::exists(candidate, error)) {
            return candidate;
        }
    }
    return std::nullopt;
}

fs::path ProgramFiles::dataFolder() {
    return KL_PROGRAM_TO_DATA;
}
