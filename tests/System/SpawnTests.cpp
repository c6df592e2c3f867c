#include <cerrno>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include <Foundation/SDKEventLog.h>
#include <System/spawn.h>

#include "TemporaryDeviceRoot.h"

namespace {

class Spawn : public testing::Test {
protected:
    void SetUp() override { SDKEventLog::clear(); }

    // A file at the device path with the given permissions.
    void program(const std::string& devicePath, std::filesystem::perms permissions) {
        root.write(devicePath, std::string("#!/bin/sh\nexit 0\n"));
        std::filesystem::permissions(root.host(devicePath), permissions);
    }

    TemporaryDeviceRoot root;
};

constexpr auto kExecutable = std::filesystem::perms::owner_all;
constexpr auto kReadOnly = std::filesystem::perms::owner_read;

TEST_F(Spawn, RecordsAProgramOfTheDeviceAndStartsNothing) {
    program("/usr/bin/killall", kExecutable);
    const char* const arguments[] = {"killall", "-9", "backboardd", nullptr};
    pid_t pid = 0;
    ASSERT_EQ(System::posix_spawn(&pid, "/usr/bin/killall", nullptr, nullptr, arguments, nullptr),
              0);
    EXPECT_GT(pid, 0);
    const auto spawns = SDKEventLog::records<SDKEvents::Spawn>();
    ASSERT_EQ(spawns.size(), 1u);
    EXPECT_EQ(spawns[0].path, "/usr/bin/killall");
    EXPECT_EQ(spawns[0].arguments, (std::vector<std::string>{"killall", "-9", "backboardd"}));
    EXPECT_FALSE(spawns[0].environment);
    EXPECT_EQ(spawns[0].pid, pid);
    // Each spawn is a process of its own.
    pid_t second = 0;
    System::posix_spawn(&second, "/usr/bin/killall", nullptr, nullptr, arguments, nullptr);
    EXPECT_NE(second, pid);
}

TEST_F(Spawn, ResolvesThePathUnderTheDeviceRoot) {
    program("/private/var/jb/usr/bin/tool", kExecutable);
    program("/usr/bin/locked", kReadOnly);
    root.makeFolder("/usr/sbin");
    root.link("/var/jb", "/private/var/jb");
    struct Case {
        const char* path;
        int result;
        const char* error;
    };
    const Case cases[] = {
        {"/var/jb/usr/bin/tool", 0, nullptr},         {"/usr/bin/killall", ENOENT, "ENOENT"},
        {"/usr/bin/locked", EACCES, "EACCES"},        {"/usr/sbin", EACCES, "EACCES"},
        {"/usr/bin/locked/deeper", ENOENT, "ENOENT"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        SDKEventLog::clear();
        const char* const arguments[] = {"tool", nullptr};
        pid_t pid = 0;
        EXPECT_EQ(System::posix_spawn(&pid, c.path, nullptr, nullptr, arguments, nullptr),
                  c.result);
        const auto spawns = SDKEventLog::records<SDKEvents::Spawn>();
        ASSERT_EQ(spawns.size(), 1u);
        EXPECT_EQ(spawns[0].path, c.path);
        if (c.error) {
            EXPECT_EQ(pid, 0);
            EXPECT_EQ(spawns[0].error, c.error);
            EXPECT_FALSE(spawns[0].pid);
        } else {
            EXPECT_GT(pid, 0);
            EXPECT_FALSE(spawns[0].error);
        }
    }
}

TEST_F(Spawn, KeepsTheEnvironmentAndTakesNoPathAsInvalid) {
    program("/bin/tool", kExecutable);
    const char* const environment[] = {"HOME=/var/mobile", "LANG=C", nullptr};
    EXPECT_EQ(System::posix_spawn(nullptr, "/bin/tool", nullptr, nullptr, nullptr, environment), 0);
    const auto spawns = SDKEventLog::records<SDKEvents::Spawn>();
    ASSERT_EQ(spawns.size(), 1u);
    EXPECT_EQ(spawns[0].environment, (std::vector<std::string>{"HOME=/var/mobile", "LANG=C"}));
    EXPECT_FALSE(spawns[0].arguments);

    EXPECT_EQ(System::posix_spawn(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), EINVAL);
    EXPECT_EQ(SDKEventLog::records<SDKEvents::Spawn>().size(), 1u);
}

} // namespace
