#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include <Foundation/NSPropertyListSerialization.h>

#include "TemporaryDeviceRoot.h"

extern char** environ;

// The built klprefs program, run with arguments and a standard input; what it
// printed and how it ended.
struct KlprefsRun {
    int status = -1;
    std::string out;
    std::string err;

    nlohmann::json json() const { return nlohmann::json::parse(out); }
};

// The arguments followed by more.
inline std::vector<std::string> with(std::vector<std::string> first,
                                     const std::vector<std::string>& more) {
    first.insert(first.end(), more.begin(), more.end());
    return first;
}

// The events of one kind in the page's JSON.
inline std::vector<nlohmann::json> eventsOf(const nlohmann::json& page, const std::string& kind) {
    std::vector<nlohmann::json> found;
    for (const nlohmann::json& event : page["events"]) {
        if (event["kind"] == kind) {
            found.push_back(event);
        }
    }
    return found;
}

inline std::string readWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline KlprefsRun runKlprefs(const std::vector<std::string>& arguments,
                             const std::string& input = "") {
    const std::filesystem::path folder = std::filesystem::temp_directory_path();
    const std::string stem = (folder / ("klprefs-test-" + std::to_string(getpid()))).string();
    const std::string in = stem + ".in", out = stem + ".out", err = stem + ".err";
    std::ofstream(in, std::ios::binary) << input;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<std::string> words{KL_KLPREFS};
    // Nothing leaves this machine: unless a test routes it, the avatar
    // service is sent to a closed port on loopback.
    if (std::find(arguments.begin(), arguments.end(), "--connect-to") == arguments.end()) {
        words.insert(words.end(),
                     {"--connect-to", std::string(KL_AVATAR_HOST) + ":443:127.0.0.1:1"});
    }
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    KlprefsRun run;
    pid_t child = 0;
    if (posix_spawn(&child, KL_KLPREFS, &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        waitpid(child, &status, 0);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    run.out = readWhole(out);
    run.err = readWhole(err);
    for (const std::string& path : {in, out, err}) {
        std::filesystem::remove(path);
    }
    return run;
}

// A device root holding one rootless preference bundle whose Root.plist has
// the given items (or the given text), and the domain's stored values.
class DeviceWithBundle {
public:
    static constexpr const char* kBundle = "/var/jb/Library/PreferenceBundles/Test.bundle";
    static constexpr const char* kDomainFile =
        "/var/mobile/Library/Preferences/com.example.test.plist";

    DeviceWithBundle(const Value::Array& items, const Value::Dictionary& stored) {
        writeInfo();
        writeRoot(Value(Value::Dictionary{{"title", "Test"}, {"items", items}}));
        if (!stored.empty()) {
            NSPropertyListSerialization::writePropertyList(Value(stored), kDomainFile,
                                                           NSPropertyListXMLFormat_v1_0);
        }
    }

    void writeInfo() const {
        root.write(std::string(kBundle) + "/Info.plist",
                   NSPropertyListSerialization::dataWithPropertyList(
                       Value(Value::Dictionary{{"CFBundleIdentifier", "com.example.test.prefs"},
                                               {"NSPrincipalClass", "PSListController"}}),
                       NSPropertyListXMLFormat_v1_0));
    }
    void writeRoot(const Value& plist) const {
        root.write(
            std::string(kBundle) + "/Root.plist",
            NSPropertyListSerialization::dataWithPropertyList(plist, NSPropertyListXMLFormat_v1_0));
    }
    // The domain's file as it is on disk.
    Value stored() const {
        std::optional<Value> plist =
            NSPropertyListSerialization::propertyListWithContentsOfFile(kDomainFile);
        return plist ? *plist : Value();
    }
    std::string storedBytes() const { return root.read(kDomainFile); }
    std::vector<std::string> options() const { return {"--device-root", root.path()}; }

    TemporaryDeviceRoot root;
};
