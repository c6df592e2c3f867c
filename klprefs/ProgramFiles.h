#pragma once

#include <filesystem>
#include <initializer_list>
#include <optional>

// The files klprefs comes with (its example, the template of a new project,
// the libraries it loads), found from the program's own folder: in the build
// folder, or in an installation under any prefix, moved or not.
class ProgramFiles {
public:
    // The first of the paths (relative to the program's folder) that exists,
    // or nil when none does or the program's own path cannot be read.
    static std::optional<std::filesystem::path>
    find(std::initializer_list<std::filesystem::path> relativePaths);

    // klprefs' installed data folder (share/klprefs beside bin/), relative
    // to the program's folder.
    static std::filesystem::path dataFolder();
};
