#include <gtest/gtest.h>

#include <filesystem>

#include <Foundation/NSFileManager.h>

#include "TemporaryDeviceRoot.h"

namespace {

class FileManager : public testing::Test {
protected:
    TemporaryDeviceRoot root;
    Ref<NSFileManager> files = NSFileManager::defaultManager();
};

TEST_F(FileManager, ExistenceFollowsAFinalLinkInsideTheRoot) {
    root.makeFolder("/private/jb");
    root.write("/private/file", std::string("x"));
    root.link("/var/jb", "/private/jb");
    root.link("/var/file", "/private/file");
    root.link("/var/broken", "/private/none");
    root.link("/var/loop", "/var/loop");
    struct Case {
        const char* path;
        bool exists;
        bool isDirectory;
    };
    const Case cases[] = {
        {"/var/jb", true, true},      {"/var/jb/", true, true},      {"/var/file", true, false},
        {"/var/file/", false, false}, {"/var/broken", false, false}, {"/var/loop", false, false},
        {"/private", true, true},     {"/nothing", false, false},    {"", false, false},
    };
    for (const Case& c : cases) {
        bool isDirectory = !c.isDirectory;
        EXPECT_EQ(files->fileExistsAtPath(c.path, &isDirectory), c.exists) << c.path;
        EXPECT_EQ(files->fileExistsAtPath(c.path), c.exists) << c.path;
        if (c.exists) {
            EXPECT_EQ(isDirectory, c.isDirectory) << c.path;
        }
    }
}

TEST_F(FileManager, ReadsContents) {
    root.write("/a/file.bin", std::string("\0\1\2", 3));
    EXPECT_EQ(files->contentsAtPath("/a/file.bin"), (NSData{0, 1, 2}));
    std::string error;
    EXPECT_FALSE(files->contentsAtPath("/a/none", &error));
    EXPECT_NE(error.find("/a/none"), std::string::npos);
    EXPECT_FALSE(files->contentsAtPath("/a", &error));
}

TEST_F(FileManager, CreatesFoldersWithAndWithoutIntermediates) {
    std::string error;
    EXPECT_FALSE(files->createDirectoryAtPath("/x/y/z", false, &error));
    EXPECT_FALSE(std::filesystem::exists(root.host("/x")));
    EXPECT_TRUE(files->createDirectoryAtPath("/x/y/z", true, &error)) << error;
    EXPECT_TRUE(std::filesystem::is_directory(root.host("/x/y/z")));
    EXPECT_TRUE(files->createDirectoryAtPath("/x/y/z", true));
    EXPECT_FALSE(files->createDirectoryAtPath("/x/y/z", false));

    // Made through a link, the folder lands where the link points inside the root.
    root.link("/var/jb", "/x");
    EXPECT_TRUE(files->createDirectoryAtPath("/var/jb/Library/Prefs", true, &error)) << error;
    EXPECT_TRUE(std::filesystem::is_directory(root.host("/x/Library/Prefs")));

    root.write("/file", std::string("x"));
    EXPECT_FALSE(files->createDirectoryAtPath("/file/sub", true, &error));
}

TEST_F(FileManager, RemovesALinkNotWhatItPointsTo) {
    root.write("/data/keep/file", std::string("x"));
    root.link("/alias", "/data/keep");
    EXPECT_TRUE(files->removeItemAtPath("/alias"));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(root.host("/alias"))));
    EXPECT_TRUE(std::filesystem::exists(root.host("/data/keep/file")));
    EXPECT_TRUE(files->removeItemAtPath("/data"));
    EXPECT_FALSE(std::filesystem::exists(root.host("/data")));
    EXPECT_FALSE(files->removeItemAtPath("/data"));
    // The root itself stays, however it is named.
    root.write("/kept", std::string("x"));
    for (const char* path : {"/", "/..", "/data/../", "//"}) {
        EXPECT_FALSE(files->removeItemAtPath(path)) << path;
    }
    EXPECT_TRUE(std::filesystem::exists(root.host("/kept")));
}

} // namespace
