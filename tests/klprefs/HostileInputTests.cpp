#include <chrono>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "KlprefsProgram.h"
#include "LoopbackNetwork.h"
#include "PageHost.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kDomain = "/var/mobile/Library/Preferences/com.example.test.plist";

Value::Dictionary switchRow() {
    return {{"cell", "PSSwitchCell"},
            {"label", "Enabled"},
            {"key", "enabled"},
            {"defaults", "com.example.test"}};
}

// Every entry under the folder with its mode and its bytes (a link's target).
std::map<std::string, std::string> snapshot(const std::string& folder) {
    std::map<std::string, std::string> entries;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
        struct stat info {};
        lstat(entry.path().c_str(), &info);
        std::string what = std::to_string(info.st_mode) + ":";
        if (S_ISLNK(info.st_mode)) {
            what += fs::read_symlink(entry.path()).string();
        } else if (S_ISREG(info.st_mode)) {
            what += readWhole(entry.path().string());
        }
        entries[fs::relative(entry.path(), folder).string()] = what;
    }
    return entries;
}

// A file of `length` bytes that takes no room on the disk.
void sparseFile(const std::string& path, off_t length) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path).close();
    ASSERT_EQ(truncate(path.c_str(), length), 0);
}

size_t occurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

} // namespace

TEST(KlprefsHostileInput, CommandsThatOnlyLookLeaveAReadOnlyDeviceRootAsItWas) {
    // The picker row stores its choice on every refresh, as on the device.
    const Value::Array choices(2, Value(Value::Dictionary{{"image", "none.png"}}));
    DeviceWithBundle device({Value::Dictionary{{"cell", "PSTableCell"},
                                               {"cellClass", "KLPickerCell"},
                                               {"key", "layout"},
                                               {"defaults", "com.example.test"},
                                               {"choices", choices}}},
                            {{"enabled", true}});
    const std::string png =
        fs::temp_directory_path() / ("kl-readonly-" + std::to_string(getpid()) + ".png");
    const auto before = snapshot(device.root.path());
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(device.root.path())) {
        fs::permissions(entry.path(),
                        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove | fs::perm_options::nofollow);
    }
    const auto readOnly = snapshot(device.root.path());
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"dump"}, {"render", "-o", png}}) {
        SCOPED_TRACE(command[0]);
        KlprefsRun run = runKlprefs(with(device.options(), command));
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(snapshot(device.root.path()), readOnly);
        if (command[0] == "dump") {
            // What the page stored shows, from the scratch copy.
            const nlohmann::json stored = run.json()["domains"]["com.example.test"];
            EXPECT_EQ(stored["enabled"], true);
            EXPECT_TRUE(stored.contains("layout")) << stored;
        }
    }
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(device.root.path())) {
        fs::permissions(entry.path(), fs::perms::owner_write,
                        fs::perm_options::add | fs::perm_options::nofollow);
    }
    EXPECT_EQ(snapshot(device.root.path()), before);
    fs::remove(png);
}

TEST(KlprefsHostileInput, NumericOptionsMustBeFiniteBeforeAnythingIsRead) {
    for (const auto& [option, value] :
         std::vector<std::pair<std::string, std::string>>{{"--width", "nan"},
                                                          {"--width", "-nan"},
                                                          {"--width", "inf"},
                                                          {"--scale", "nan"},
                                                          {"--scale", "NaN"},
                                                          {"--scale", "1e999"}}) {
        SCOPED_TRACE(option + " " + value);
        // The device root does not exist: usage is refused before it is looked at.
        KlprefsRun run =
            runKlprefs({"--device-root", "/nonexistent", option, value, "render", "-o", "x.png"});
        EXPECT_EQ(run.status, 2) << run.err;
        EXPECT_NE(run.err.find(option), std::string::npos) << run.err;
    }
}

TEST(KlprefsHostileInput, BundleFilesThatAreNotTheBundlesOwnOrTooLargeAreRefusedByName) {
    const std::string bundle = DeviceWithBundle::kBundle;
    const struct {
        const char* name;
        std::function<void(DeviceWithBundle&)> prepare;
        const char* script;
        int status;
        const char* message;
    } cases[] = {
        {"executable FIFO",
         [&](DeviceWithBundle& device) {
             device.root.write(bundle + "/Info.plist",
                               "{CFBundleExecutable = Test; NSPrincipalClass = PSListController;}");
             ASSERT_EQ(mkfifo(device.root.host(bundle + "/Test").c_str(), 0644), 0);
         },
         "", 0, "could not load the executable Test: it is not a regular file"},
        {"executable outside the bundle",
         [&](DeviceWithBundle& device) {
             device.root.write(bundle + "/Info.plist",
                               "{CFBundleExecutable = \"../../../../evil.so\";"
                               " NSPrincipalClass = PSListController;}");
             device.root.write("/evil.so", "not a library");
         },
         "", 0, "../../../../evil.so: it names no file inside the bundle"},
        {"pane outside the bundle",
         [&](DeviceWithBundle& device) {
             device.writeRoot(Value(Value::Dictionary{
                 {"title", "Test"},
                 {"items",
                  Value::Array{Value::Dictionary{
                      {"cell", "PSLinkCell"}, {"label", "Away"}, {"id", "../../../../x"}}}}}));
             // Four folders up from the bundle.
             device.root.write("/var/x.plist", "{title = Away; items = ({cell = PSSwitchCell; "
                                               "label = Outside; key = k; defaults = d;});}");
         },
         "tap Away\n", 0, "../../../../x.plist not found"},
        {"Root.plist too large",
         [&](DeviceWithBundle& device) {
             sparseFile(device.root.host(bundle + "/Root.plist"), 1 << 30);
         },
         "", 3, "it is 1073741824 bytes, more than the 16777216"},
        {"string table too large",
         [&](DeviceWithBundle& device) {
             sparseFile(device.root.host(bundle + "/en.lproj/Root.strings"), 20 << 20);
         },
         "", 0, "it is 20971520 bytes, more than the 16777216"},
        {"domain too large",
         [&](DeviceWithBundle& device) { sparseFile(device.root.host(kDomain), 2LL << 30); },
         "toggle Enabled\n", 5, "it is 2147483648 bytes, more than the 16777216"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DeviceWithBundle device({switchRow()}, {});
        c.prepare(device);
        KlprefsRun run = runKlprefs(with(device.options(), {"run", "-"}), c.script);
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find("Outside"), std::string::npos) << run.err;
    }
}

TEST(KlprefsHostileInput, TestNamesWhatItCouldNotRunAndWhy) {
    DeviceWithBundle device({switchRow()}, {});
    const fs::path folder = fs::temp_directory_path() / ("kl-scripts-" + std::to_string(getpid()));
    fs::create_directories(folder / "d.script");
    std::ofstream(folder / "ok.script") << "toggle Enabled\n";
    ASSERT_EQ(mkfifo((folder / "x.script").c_str(), 0644), 0);
    fs::create_symlink("/dev/zero", folder / "zero.script");
    fs::create_symlink("missing", folder / "gone.script");
    KlprefsRun run = runKlprefs(with(device.options(), {"test", folder.string()}));
    EXPECT_EQ(run.status, 1) << run.out << run.err;
    for (const std::string& line :
         {"passed " + (folder / "ok.script").string(),
          "NOT RUN " + (folder / "d.script").string() + ": it is a folder",
          "NOT RUN " + (folder / "x.script").string() + ": it is a FIFO",
          "NOT RUN " + (folder / "zero.script").string() + ": it is a device",
          "NOT RUN " + (folder / "gone.script").string() + ": it is a link to nothing",
          std::string("1 passed, 0 failed, 4 not run")}) {
        EXPECT_NE(run.out.find(line), std::string::npos) << line << "\n" << run.out;
    }
    fs::remove_all(folder);
}

TEST(KlprefsHostileInput, MessagesShowHostileTextReadably) {
    const std::string longLine = "tap " + std::string(10 << 20, 'A') + "\n";
    const struct {
        const char* name;
        std::string script;
        std::string stored;
        int status;
        std::string message;
        size_t longestMessage;
    } cases[] = {
        {"long line", longLine, "", 1, "... (cut; 10485760 bytes in all)", 1000},
        {"not UTF-8", "tap \xFF\xFE\xC3\n", "", 1, "\"\\xFF\\xFE\\xC3\"", 1000},
        {"byte order mark", "\xEF\xBB\xBFtoggle Enabled\nexpect Enabled stored true\n", "", 0, "",
         1000},
        {"NUL in a domain", "", std::string("{a = 1;}\0junk", 13), 5,
         "Unexpected character U+0000 after the value on line 1", 1000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DeviceWithBundle device({switchRow()}, {});
        if (!c.stored.empty()) {
            device.root.write(kDomain, c.stored);
        }
        KlprefsRun run = runKlprefs(with(device.options(), {"run", "-", "--json"}),
                                    c.script + "toggle Enabled\n");
        EXPECT_EQ(run.status, c.status) << run.err.substr(0, 2000);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err.substr(0, 2000);
        EXPECT_LT(run.err.size(), c.longestMessage) << run.err.substr(0, 2000);
    }
}

TEST(KlprefsHostileInput, AStalledAvatarIsWaitedForOnceForThePictureAndTheJSON) {
    LoopbackNetwork network(KL_AVATAR_HOST);
    network.server->setAnswer("/twitter/example", LoopbackHTTPSServer::Answer::Silent);
    const std::string png =
        fs::temp_directory_path() / ("kl-stalled-" + std::to_string(getpid()) + ".png");
    const auto start = std::chrono::steady_clock::now();
    KlprefsRun run =
        runKlprefs({"--connect-to", network.server->routeFor(KL_AVATAR_HOST), "--cacert",
                    network.authorityFile(), "run", "-", "--json", "-o", png});
    const auto waited = std::chrono::steady_clock::now() - start;
    network.server->releaseSilence();
    // One wait of the limit, not one for the picture and another for the JSON.
    EXPECT_LT(waited, std::chrono::duration<double>(1.5 * PageHost::kBackgroundWorkLimit));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(occurrences(run.err, "background work was still under way"), 1u) << run.err;
    fs::remove(png);
}
