#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <functional>
#include <sys/stat.h>
#include <thread>

#include "KlprefsProgram.h"
#include "ScratchDeviceRoot.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// A temporary folder that this test's klprefs runs use as TMPDIR.
class TemporaryFolder {
public:
    TemporaryFolder() {
        std::string pattern = (fs::temp_directory_path() / "kl-tmp-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            throw std::runtime_error("mkdtemp failed");
        }
        _path = pattern;
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        fs::remove_all(_path, ignored);
    }
    const std::string& path() const { return _path; }
    std::vector<std::string> names() const {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(_path)) {
            found.push_back(entry.path().filename().string());
        }
        std::sort(found.begin(), found.end());
        return found;
    }

private:
    std::string _path;
};

// Starts klprefs with TMPDIR set to `tmp` and its standard input from
// `input`; the caller waits for it.
pid_t startKlprefs(const std::vector<std::string>& arguments, const std::string& tmp, int input) {
    std::vector<std::string> words{KL_KLPREFS};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    std::vector<std::string> settings{"TMPDIR=" + tmp};
    for (char** variable = environ; *variable; ++variable) {
        if (std::string_view(*variable).rfind("TMPDIR=", 0) != 0) {
            settings.emplace_back(*variable);
        }
    }
    std::vector<char*> envp;
    for (std::string& setting : settings) {
        envp.push_back(setting.data());
    }
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int failed = posix_spawn(&child, KL_KLPREFS, &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return failed ? -1 : child;
}

int waitFor(pid_t child) {
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// The pid of a process of ours that has ended.
pid_t endedProcess() {
    const pid_t child = fork();
    if (child == 0) {
        _exit(0);
    }
    waitFor(child);
    return child;
}

TEST(ScratchDeviceRoot, RemovesOnlyTheCopiesOfRunsThatHaveEnded) {
    TemporaryFolder tmp;
    const std::string ended = std::to_string(endedProcess());
    const std::string running = std::to_string(getppid());
    struct Case {
        std::string name;
        bool folder;
        bool removed;
    };
    const Case cases[] = {
        {"klprefs-" + ended + "-a1B2c3", true, true},
        {"klprefs-" + running + "-a1B2c3", true, false},
        {"klprefs-" + std::to_string(getpid()) + "-a1B2c3", true, false},
        {"klprefs-" + ended + "-toolong", true, false},
        {"klprefs-a1B2c3", true, false},
        {"klprefs-test-" + ended + ".out", false, false},
        {"klprefs-" + ended + "-zzzzzz", false, false},
        {"other-" + ended + "-a1B2c3", true, false},
    };
    for (const Case& c : cases) {
        const fs::path path = fs::path(tmp.path()) / c.name;
        if (c.folder) {
            fs::create_directories(path / "var/mobile");
        } else {
            std::ofstream(path) << "x";
        }
    }
    EXPECT_EQ(ScratchDeviceRoot::removeCopiesOfEndedRuns(tmp.path()), 1u);
    for (const Case& c : cases) {
        EXPECT_EQ(fs::exists(fs::path(tmp.path()) / c.name), !c.removed) << c.name;
    }
}

TEST(ScratchDeviceRoot, TheNextRunRemovesTheCopyOfAKilledRun) {
    TemporaryFolder tmp;
    int script[2];
    ASSERT_EQ(pipe(script), 0);
    // Waits for its script on the pipe, with its scratch copy made.
    const pid_t killed = startKlprefs({"run", "-"}, tmp.path(), script[0]);
    close(script[0]);
    ASSERT_GT(killed, 0);
    const std::string copy = "klprefs-" + std::to_string(killed) + "-";
    auto copies = [&] {
        size_t count = 0;
        for (const std::string& name : tmp.names()) {
            count += name.rfind(copy, 0) == 0;
        }
        return count;
    };
    for (int wait = 0; wait < 500 && copies() == 0; ++wait) {
        std::this_thread::sleep_for(10ms);
    }
    ASSERT_EQ(copies(), 1u);
    kill(killed, SIGKILL);
    EXPECT_EQ(waitFor(killed), 128 + SIGKILL);
    close(script[1]);
    ASSERT_EQ(copies(), 1u);

    const int nothing = open("/dev/null", O_RDONLY);
    const pid_t next = startKlprefs({"dump"}, tmp.path(), nothing);
    close(nothing);
    ASSERT_GT(next, 0);
    EXPECT_EQ(waitFor(next), 0);
    EXPECT_EQ(copies(), 0u);
    EXPECT_EQ(tmp.names(), std::vector<std::string>{});
}

TEST(Klprefs, DomainFilesThatAreNotRegularFilesAreListedAmongTheErrorsWithoutWaiting) {
    const struct {
        const char* what;
        std::function<int(const std::string&)> make;
        const char* reason;
    } cases[] = {
        {"FIFO", [](const std::string& path) { return mkfifo(path.c_str(), 0644); },
         "not a regular file"},
        {"link",
         [](const std::string& path) {
             return symlink("/var/mobile/Library/Preferences/com.example.test.plist", path.c_str());
         },
         "symbolic link"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DeviceWithBundle device({Value::Dictionary{{"cell", "PSTableCell"},
                                                   {"label", "Plain"},
                                                   {"key", "plain"},
                                                   {"defaults", "com.example.odd"}}},
                                {{"count", 1.0}});
        ASSERT_EQ(c.make(device.root.host("/var/mobile/Library/Preferences/com.example.odd.plist")),
                  0);
        KlprefsRun run = runKlprefs(with({"dump"}, device.options()));
        ASSERT_EQ(run.status, 0) << run.err;
        const nlohmann::json page = run.json();
        const std::string reason = page["domainErrors"]["com.example.odd"];
        EXPECT_NE(reason.find(c.reason), std::string::npos) << reason;
        EXPECT_EQ(page["domains"]["com.example.test"]["count"], 1.0);
    }
}

TEST(Klprefs, ARowWhoseDomainIsAPathWorksAndWritesNothing) {
    const std::string intoTheBundle =
        "../../../../var/jb/Library/PreferenceBundles/Test.bundle/Root";
    DeviceWithBundle device({Value::Dictionary{{"cell", "PSTableCell"},
                                               {"cellClass", "KLSliderCell"},
                                               {"title", "Level"},
                                               {"key", "items"},
                                               {"min", 0},
                                               {"max", 1},
                                               {"defaults", intoTheBundle}}},
                            {});
    const std::string rootPlist =
        device.root.read(std::string(DeviceWithBundle::kBundle) + "/Root.plist");
    KlprefsRun run =
        runKlprefs(with(device.options(), {"run", "-", "--json"}), "drag key:items to 0.5\n");
    ASSERT_FALSE(run.out.empty()) << run.err;
    EXPECT_NE(run.err.find("is not a preference domain"), std::string::npos) << run.err;
    const nlohmann::json page = run.json();
    for (const nlohmann::json& view : page["rows"][0]["views"]) {
        if (view["class"] == "UISlider") {
            EXPECT_EQ(view["value"], 0.5);
        }
    }
    EXPECT_EQ(page["domains"].size(), 0u);
    EXPECT_EQ(device.root.read(std::string(DeviceWithBundle::kBundle) + "/Root.plist"), rootPlist);
    EXPECT_EQ(runKlprefs(with(device.options(), {"dump"})).status, 0);
}

} // namespace
