#include "ProjectTemplate.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iostream>
#include <sstream>
#include <unistd.h>
#include <utility>

#include "HostError.h"
#include "ProgramFiles.h"

namespace fs = std::filesystem;

namespace {

constexpr size_t kMaximumNameLength = 64;

[[noreturn]] void cannotWrite(const std::string& message) {
    throw HostError(HostError::Kind::Output, message);
}

std::string readWhole(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    if (!file) {
        cannotWrite("cannot read the template's " + path.string());
    }
    return text.str();
}

void replaceAll(std::string& text, std::string_view from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

// Creates the file only when nothing is at its path, so that nothing is
// ever replaced, not even by a file made meanwhile.
void writeNew(const fs::path& path, const std::string& contents) {
    const int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (descriptor < 0) {
        cannotWrite("cannot write " + path.string() + ": " + std::strerror(errno));
    }
    size_t written = 0;
    while (written < contents.size()) {
        const ssize_t count =
            ::write(descriptor, contents.data() + written, contents.size() - written);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            const int cause = errno;
            close(descriptor);
            cannotWrite("cannot write " + path.string() + ": " + std::strerror(cause));
        }
        written += static_cast<size_t>(count);
    }
    if (close(descriptor) != 0) {
        cannotWrite("cannot write " + path.string() + ": " + std::strerror(errno));
    }
}

// The template klprefs comes with: installed beside the program, else in
// the source tree it was built from.
fs::path shippedTemplate() {
    if (const std::optional<fs::path> found =
            ProgramFiles::find({ProgramFiles::dataFolder() / "template"})) {
        return *found;
    }
    return fs::path(KL_SOURCE_DIR) / "klprefs/template";
}

} // namespace

bool ProjectTemplate::isValidName(const std::string& name) {
    auto isAsciiLetter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    return !name.empty() && name.size() <= kMaximumNameLength && isAsciiLetter(name.front()) &&
           std::all_of(name.begin(), name.end(),
                       [&](char c) { return isAsciiLetter(c) || (c >= '0' && c <= '9'); });
}

ProjectTemplate::ProjectTemplate(std::string name, Layout layout)
    : _name(std::move(name)), _layout(layout) {}

std::string ProjectTemplate::bundlePath() const {
    return std::string(_layout == Layout::Rootless ? "/var/jb" : "") +
           "/Library/PreferenceBundles/" + _name + ".bundle";
}

std::string ProjectTemplate::substitute(std::string text) const {
    std::string lower = _name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    replaceAll(text, "@NAME@", _name);
    replaceAll(text, "@IDENTIFIER@", "com.example." + lower);
    replaceAll(text, "@BUNDLE@", bundlePath());
    replaceAll(text, "@LAYOUT@", _layout == Layout::Rootless ? "rootless" : "rootful");
    replaceAll(text, "@VERSION@", KL_VERSION);
    return text;
}

fs::path ProjectTemplate::destination(const fs::path& templatePath) const {
    fs::path result;
    auto part = templatePath.begin();
    if (*part == "bundle") {
        result = fs::path("device-root") / bundlePath().substr(1);
        ++part;
    }
    for (; part != templatePath.end(); ++part) {
        std::string name = part->string();
        replaceAll(name, "__NAME__", _name);
        result /= name;
    }
    // Sources are kept as X.in in the template, so that no tool takes them
    // for the project's own.
    return result.extension() == ".in" ? result.replace_extension() : result;
}

std::vector<fs::path> ProjectTemplate::write(const fs::path& templateFolder,
                                             const fs::path& folder) const {
    std::error_code error;
    if (fs::exists(fs::symlink_status(folder, error))) {
        if (!fs::is_directory(folder, error)) {
            cannotWrite(folder.string() + " exists and is not a folder");
        }
        if (!fs::is_empty(folder, error) || error) {
            cannotWrite(folder.string() +
                        " is not empty; a new project goes into a new or empty folder");
        }
    }
    std::vector<fs::path> sources;
    for (fs::recursive_directory_iterator entry(templateFolder, error), end; !error && entry != end;
         entry.increment(error)) {
        if (entry->is_regular_file()) {
            sources.push_back(fs::relative(entry->path(), templateFolder));
        }
    }
    if (error || sources.empty()) {
        cannotWrite("cannot read the project template in " + templateFolder.string() +
                    (error ? ": " + error.message() : std::string()));
    }
    std::sort(sources.begin(), sources.end());
    std::vector<fs::path> written;
    for (const fs::path& source : sources) {
        std::string contents = readWhole(templateFolder / source);
        if (source.extension() != ".png") {
            contents = substitute(std::move(contents));
        }
        const fs::path target = destination(source);
        fs::create_directories((folder / target).parent_path(), error);
        if (error) {
            cannotWrite("cannot make " + (folder / target).parent_path().string() + ": " +
                        error.message());
        }
        writeNew(folder / target, contents);
        written.push_back(target);
    }
    return written;
}

void ProjectTemplate::write(const fs::path& folder) const {
    const std::vector<fs::path> files = write(shippedTemplate(), folder);
    std::cout << "Made " << _name << "'s preference project in " << folder.string() << ":\n";
    for (const fs::path& file : files) {
        std::cout << "  " << file.string() << "\n";
    }
    std::cout << "Build, preview and test it:\n"
              << "  cd " << folder.string() << "\n"
              << "  cmake -S . -B build && cmake --build build\n"
              << "  klprefs --device-root build/device-root render -o page.png\n"
              << "  klprefs --device-root build/device-root test tests\n";
}
