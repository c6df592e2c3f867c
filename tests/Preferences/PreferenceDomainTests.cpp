#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <future>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <Foundation/NSPropertyListSerialization.h>
#include <Foundation/SDKEventLog.h>
#include <Preferences/Preferences.h>

#include "HostedPage.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

const std::string kDomain = HostedPage::kDomain;
const std::string kFolder = PSPreferenceDomain::kPreferencesFolder;

// Every file and folder under the device root, as paths relative to it.
std::vector<std::string> everythingUnder(const TemporaryDeviceRoot& root) {
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(root.path())) {
        found.push_back(fs::relative(entry.path(), root.path()).string());
    }
    return found;
}

// Temporary copies of the domain file left in the preferences folder.
size_t leftovers(const TemporaryDeviceRoot& root, const std::string& domain = kDomain) {
    size_t count = 0;
    const std::string prefix = "." + domain + ".plist.";
    for (const auto& entry : fs::directory_iterator(root.host(kFolder))) {
        count += entry.path().filename().string().rfind(prefix, 0) == 0 ? 1 : 0;
    }
    return count;
}

// Runs `work` in a child process of this test, which ends with status 0 when
// it returns true.
pid_t inChildProcess(const std::function<bool()>& work) {
    const pid_t child = fork();
    if (child == 0) {
        _exit(work() ? 0 : 1);
    }
    return child;
}

int exitStatus(pid_t child) {
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(PreferenceDomain, NamesThatAreNotOnePlainFileNameStoreNothingAnywhere) {
    const std::string names[] = {
        "",
        ".",
        "..",
        "../x",
        "a/b",
        "/abs",
        "/tmp/abs",
        "com.example/",
        "../../../../Library/PreferenceBundles/T.bundle/Root",
        "line\nbreak",
        "carriage\rreturn",
        std::string("nul\0byte", 8),
        "tab\tname",
        "delete\x7F",
        "\xFF\xFE",
    };
    for (const std::string& name : names) {
        TemporaryDeviceRoot root;
        std::string error;
        EXPECT_FALSE(PSPreferenceDomain::setValueForKey(name, "items", 1, &error));
        EXPECT_NE(error.find("is not a preference domain"), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
        EXPECT_EQ(everythingUnder(root), std::vector<std::string>{}) << error;
        EXPECT_TRUE(PSPreferenceDomain::valueForKey(name, "items").isNil());
        EXPECT_FALSE(PSPreferenceDomain::contents(name));
        EXPECT_FALSE(PSPreferenceDomain::pathForDomain(name));
    }
}

TEST(PreferenceDomain, PlainFileNamesAreDomains) {
    for (const std::string name : {"com.example.a", "a..b", ".hidden", "with space", "caf\u00e9"}) {
        TemporaryDeviceRoot root;
        std::string error;
        ASSERT_TRUE(PSPreferenceDomain::setValueForKey(name, "k", 7, &error)) << name << error;
        EXPECT_EQ(PSPreferenceDomain::valueForKey(name, "k"), Value(7)) << name;
        EXPECT_TRUE(fs::is_regular_file(root.host(kFolder + "/" + name + ".plist"))) << name;
    }
}

TEST(PreferenceDomain, ARowWithABadDomainLogsTheRefusalAndStoresNothing) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {Value::Dictionary{{"cell", "PSTableCell"},
                                             {"label", "Items"},
                                             {"key", "items"},
                                             {"defaults", "../../../../Library/x"},
                                             {"PostNotification", "com.example.test/reload"}}});
    const std::vector<std::string> before = everythingUnder(root);
    page.specifier(0)->performSetterWithValue(Value(3.0));

    EXPECT_EQ(everythingUnder(root), before);
    const auto errors = SDKEventLog::records<SDKEvents::Error>();
    ASSERT_EQ(errors.size(), 1u);
    const std::string message = errors[0].message;
    EXPECT_NE(message.find("could not store items: \"../../../../Library/x\" is not a preference "
                           "domain"),
              std::string::npos)
        << message;
    EXPECT_TRUE(SDKEventLog::records<SDKEvents::Notification>().empty());
    EXPECT_TRUE(page.specifier(0)->performGetter().isNil());
}

TEST(PreferenceDomain, AFifoIsReportedAndNeverWaitedOn) {
    TemporaryDeviceRoot root;
    root.makeFolder(kFolder);
    const std::string fifo = root.host(*PSPreferenceDomain::pathForDomain(kDomain));
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);

    auto attempt = std::async(std::launch::async, [] {
        std::string readError;
        std::string writeError;
        const bool read = PSPreferenceDomain::contents(kDomain, &readError).has_value();
        const bool stored = PSPreferenceDomain::setValueForKey(kDomain, "k", 1, &writeError);
        return std::make_tuple(read, readError, stored, writeError);
    });
    if (attempt.wait_for(10s) != std::future_status::ready) {
        // Let the blocked reader go, so that the failure is reported rather than hung.
        close(open(fifo.c_str(), O_WRONLY | O_NONBLOCK));
        FAIL() << "reading the FIFO waited";
    }
    const auto [read, readError, stored, writeError] = attempt.get();
    EXPECT_FALSE(read);
    EXPECT_NE(readError.find("not a regular file"), std::string::npos) << readError;
    EXPECT_FALSE(stored);
    EXPECT_NE(writeError.find("not a regular file"), std::string::npos) << writeError;
    struct stat info {};
    ASSERT_EQ(stat(fifo.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST(PreferenceDomain, ALinkInPlaceOfTheDomainFileIsNeitherReadNorWrittenThrough) {
    // Targets that the device root resolves inside itself: absolute, and
    // relative out of the preferences folder.
    for (const std::string target : {"/Library/PreferenceBundles/T.bundle/Root.plist",
                                     "../../../../Library/PreferenceBundles/T.bundle/Root.plist"}) {
        SCOPED_TRACE(target);
        TemporaryDeviceRoot root;
        const std::string bundleFile = "/Library/PreferenceBundles/T.bundle/Root.plist";
        const std::string original = "<plist><dict><key>k</key><integer>1</integer></dict></plist>";
        root.write(bundleFile, original);
        root.makeFolder(kFolder);
        const std::string link = root.host(*PSPreferenceDomain::pathForDomain(kDomain));
        ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);

        std::string readError;
        std::string writeError;
        EXPECT_FALSE(PSPreferenceDomain::contents(kDomain, &readError).has_value());
        EXPECT_FALSE(PSPreferenceDomain::setValueForKey(kDomain, "k", 2, &writeError));
        EXPECT_NE(readError.find("symbolic link"), std::string::npos) << readError;
        EXPECT_NE(writeError.find("symbolic link"), std::string::npos) << writeError;
        EXPECT_EQ(root.read(bundleFile), original);
        EXPECT_TRUE(fs::is_symlink(link));
    }
}

TEST(PreferenceDomain, AWriteRemovesTheCopiesKilledWritersLeftAndNothingElse) {
    TemporaryDeviceRoot root;
    const std::string prefix = kFolder + "/." + kDomain + ".plist.";
    const std::string left[] = {prefix + "a1B2c3", prefix + "ZZZZZZ"};
    const std::string kept[] = {prefix + "toolong1", prefix + "short",
                                kFolder + "/.other.plist.a1B2c3",
                                kFolder + "/" + kDomain + ".plist.a1B2c3"};
    for (const std::string& path : left) {
        root.write(path, "half a property list");
    }
    for (const std::string& path : kept) {
        root.write(path, "not ours");
    }
    ASSERT_TRUE(PSPreferenceDomain::setValueForKey(kDomain, "k", 1));
    for (const std::string& path : left) {
        EXPECT_FALSE(fs::exists(root.host(path))) << path;
    }
    for (const std::string& path : kept) {
        EXPECT_EQ(root.read(path), "not ours") << path;
    }
}

TEST(PreferenceDomain, TwoProcessesWritingAtOnceLoseNoUpdate) {
    TemporaryDeviceRoot root;
    constexpr int kKeys = 120;
    ASSERT_TRUE(PSPreferenceDomain::setValueForKey(kDomain, "kept", "yes"));
    auto writer = [](const std::string& prefix) {
        return [prefix] {
            for (int i = 0; i < kKeys; ++i) {
                if (!PSPreferenceDomain::setValueForKey(kDomain, prefix + std::to_string(i), i) ||
                    !PSPreferenceDomain::setValueForKey(kDomain, prefix + "last", i)) {
                    return false;
                }
            }
            return true;
        };
    };
    const pid_t first = inChildProcess(writer("a"));
    const pid_t second = inChildProcess(writer("b"));
    ASSERT_GT(first, 0);
    ASSERT_GT(second, 0);
    EXPECT_EQ(exitStatus(first), 0);
    EXPECT_EQ(exitStatus(second), 0);

    std::optional<Value::Dictionary> stored = PSPreferenceDomain::contents(kDomain);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->size(), 2u * (kKeys + 1) + 1);
    for (const std::string prefix : {"a", "b"}) {
        for (int i = 0; i < kKeys; ++i) {
            EXPECT_EQ(Value(stored->operator[](prefix + std::to_string(i))), Value(i))
                << prefix << i;
        }
        EXPECT_EQ(Value(stored->operator[](prefix + "last")), Value(kKeys - 1)) << prefix;
    }
    EXPECT_EQ(Value(stored->operator[]("kept")), Value("yes"));
    EXPECT_EQ(leftovers(root), 0u);
}

TEST(PreferenceDomain, WritersKilledAtRandomMomentsLeaveAWholeFileAndNoLeftovers) {
    TemporaryDeviceRoot root;
    const Value::Dictionary others{{"name", "kept"}, {"list", Value::Array{1, 2, 3}}};
    for (const auto& [key, value] : others) {
        ASSERT_TRUE(PSPreferenceDomain::setValueForKey(kDomain, key, value));
    }
    constexpr int kTrials = 200;
    constexpr long kPerTrial = 1000000;
    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<int> delayMicroseconds(0, 6000);
    long lastSeen = 0;
    size_t mostLeftovers = 0;
    for (int trial = 1; trial <= kTrials; ++trial) {
        // Trial t stores t * kPerTrial + 1, + 2, ... until it is killed.
        const pid_t writer = inChildProcess([trial] {
            for (long i = 1;; ++i) {
                PSPreferenceDomain::setValueForKey(kDomain, "counter", trial * kPerTrial + i);
            }
            return true;
        });
        ASSERT_GT(writer, 0);
        std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
        kill(writer, SIGKILL);
        EXPECT_EQ(exitStatus(writer), 128 + SIGKILL);

        std::string error;
        std::optional<Value::Dictionary> stored = PSPreferenceDomain::contents(kDomain, &error);
        ASSERT_TRUE(stored) << "trial " << trial << ": " << error;
        for (const auto& [key, value] : others) {
            EXPECT_EQ(Value(stored->operator[](key)), value) << "trial " << trial;
        }
        // Either what an earlier trial stored last or something this one stored.
        const Value counter = stored->operator[]("counter");
        if (!counter.isNil()) {
            ASSERT_EQ(counter.type(), Value::Type::Integer);
            const long value = counter.integerValue();
            EXPECT_GE(value, lastSeen) << "trial " << trial;
            EXPECT_LE(value / kPerTrial, trial);
            EXPECT_GT(value % kPerTrial, 0);
            lastSeen = value;
        }
        mostLeftovers = std::max(mostLeftovers, leftovers(root));
    }
    // Each writer removed the copy its killed predecessor left, so there was
    // never more than one; the next write removes the last.
    EXPECT_LE(mostLeftovers, 1u);
    ASSERT_TRUE(PSPreferenceDomain::setValueForKey(kDomain, "after", true));
    EXPECT_EQ(leftovers(root), 0u);
}

} // namespace
