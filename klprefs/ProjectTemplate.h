#pragma once

#include <filesystem>
#include <string>
#include <vector>

// A new tweak's preference project, made from the template klprefs comes
// with: a device root holding the bundle (Info.plist, Root.plist, its English
// texts, a picture), the list controller's source and a CMakeLists.txt that
// builds it against the installed libklcommon, a tests/ folder with a script,
// a README and a CI job. Files of the template named "bundle/…" go into the
// bundle; "@NAME@" and the like in texts, and "__NAME__" in file names, are
// replaced; a name's ".in" is dropped.
class ProjectTemplate {
public:
    // Where the jailbreak puts its files: under /var/jb/ or at the root.
    enum class Layout { Rootless, Rootful };

    // A name is a letter followed by letters and digits (at most 64): it
    // names the bundle, its executable and its controller class.
    static bool isValidName(const std::string& name);

    ProjectTemplate(std::string name, Layout layout);

    // Writes the project into `folder`, which must be missing or empty, and
    // prints what was made and the commands to go on with. Never replaces a
    // file. Throws an output HostError naming what could not be written.
    void write(const std::filesystem::path& folder) const;

    // The files written, relative to the project's folder, from the
    // template in `templateFolder`; returns them in order.
    std::vector<std::filesystem::path> write(const std::filesystem::path& templateFolder,
                                             const std::filesystem::path& folder) const;

    // The bundle's path on the device.
    std::string bundlePath() const;

private:
    std::string substitute(std::string text) const;
    std::filesystem::path destination(const std::filesystem::path& templatePath) const;

    std::string _name;
    Layout _layout;
};
