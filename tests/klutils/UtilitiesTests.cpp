#include <gtest/gtest.h>

#include <latch>
#include <set>
#include <thread>
#include <vector>

#include <Foundation/NSFileManager.h>
#include <Foundation/NSProcessInfo.h>
#include <Foundation/NSPropertyListSerialization.h>
#include <objc/objc.h>

#include "TemporaryDeviceRoot.h"
#include "libklutils.h"

namespace {

constexpr NSOperatingSystemVersion kIOS14{14, 4, 0};
constexpr NSOperatingSystemVersion kIOS15{15, 0, 0};

class Utilities : public testing::Test {
protected:
    TemporaryDeviceRoot root;
    Ref<KLUtilities> utilities = KLUtilities::sharedInstance();
    NSOperatingSystemVersion previousVersion =
        NSProcessInfo::processInfo()->operatingSystemVersion();

    void TearDown() override { NSProcessInfo::setOperatingSystemVersion(previousVersion); }

    void rootless() {
        NSProcessInfo::setOperatingSystemVersion(kIOS15);
        root.makeFolder("/var/jb");
    }
};

TEST_F(Utilities, RootPrefixNeedsIOS15AndAFolderAtVarJb) {
    struct Case {
        const char* name;
        NSOperatingSystemVersion version;
        void (*prepare)(const TemporaryDeviceRoot&);
        const char* expected;
    };
    const Case cases[] = {
        {"iOS 14 with the folder", kIOS14, [](auto& r) { r.makeFolder("/var/jb"); }, "/"},
        {"iOS 15 with the folder", kIOS15, [](auto& r) { r.makeFolder("/var/jb"); }, "/var/jb/"},
        {"iOS 16.2 with the folder",
         {16, 2, 0},
         [](auto& r) { r.makeFolder("/var/jb"); },
         "/var/jb/"},
        {"iOS 15 with a plain file", kIOS15, [](auto& r) { r.write("/var/jb", std::string("x")); },
         "/"},
        {"iOS 15 without it", kIOS15, [](auto& r) { r.makeFolder("/var"); }, "/"},
        {"iOS 15 with a link to a folder inside the root", kIOS15,
         [](auto& r) {
             r.makeFolder("/private/preboot/ABCD/jb");
             r.link("/var/jb", "/private/preboot/ABCD/jb");
         },
         "/var/jb/"},
        {"iOS 15 with a broken link", kIOS15,
         [](auto& r) { r.link("/var/jb", "/private/preboot/none"); }, "/"},
        {"iOS 15 with a link to a file", kIOS15,
         [](auto& r) {
             r.write("/private/file", std::string("x"));
             r.link("/var/jb", "/private/file");
         },
         "/"},
        {"iOS 14.8 with a link to a folder",
         {14, 8, 1},
         [](auto& r) {
             r.makeFolder("/private/jb");
             r.link("/var/jb", "/private/jb");
         },
         "/"},
    };
    for (const Case& c : cases) {
        TemporaryDeviceRoot device;
        NSProcessInfo::setOperatingSystemVersion(c.version);
        c.prepare(device);
        EXPECT_EQ(utilities->rootPrefix(), c.expected) << c.name;
    }
}

TEST_F(Utilities, RootPrefixIsAskedAfreshEachTime) {
    NSProcessInfo::setOperatingSystemVersion(kIOS15);
    EXPECT_EQ(utilities->rootPrefix(), "/");
    root.makeFolder("/var/jb");
    EXPECT_EQ(utilities->rootPrefix(), "/var/jb/");
    NSProcessInfo::setOperatingSystemVersion(kIOS14);
    EXPECT_EQ(utilities->rootPrefix(), "/");
}

TEST_F(Utilities, CorrectsEveryPlaceholderAndNothingElse) {
    struct Case {
        std::optional<std::string> path;
        std::optional<std::string> rootful;
        std::optional<std::string> rootless;
    };
    const Case cases[] = {
        {":root:Library/x.png", "/Library/x.png", "/var/jb/Library/x.png"},
        {"/:root:/x", "///x", "//var/jb//x"},
        {":root:a/:root:b", "/a//b", "/var/jb/a//var/jb/b"},
        {"/Library/x.png", "/Library/x.png", "/Library/x.png"},
        {":root", ":root", ":root"},
        {":ROOT:x", ":ROOT:x", ":ROOT:x"},
        {"", "", ""},
        {std::nullopt, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(utilities->correctedFilePathFromPathWithRootPrefix(c.path), c.rootful)
            << c.path.value_or("(nil)");
    }
    rootless();
    for (const Case& c : cases) {
        EXPECT_EQ(utilities->correctedFilePathFromPathWithRootPrefix(c.path), c.rootless)
            << c.path.value_or("(nil)");
    }
}

struct Companion {
    const char* name;
    bool (KLUtilities::*check)();
    const char* preferences;
    const char* library;
};

void PrintTo(const Companion& companion, std::ostream* out) {
    *out << companion.name;
}

class Companions : public Utilities, public testing::WithParamInterface<Companion> {};

TEST_P(Companions, InstalledUnlessSwitchedOff) {
    const Companion& companion = GetParam();
    struct Case {
        const char* name;
        bool library;
        std::optional<Value> preferences; // nil: no file
        const char* rawPreferences;       // written as is when given
        bool expected;
    };
    const Case cases[] = {
        {"library, no preferences", true, std::nullopt, nullptr, true},
        {"library, malformed preferences", true, std::nullopt, "<plist><dict><key>", true},
        {"library, preferences not a dictionary", true, Value::Array{false}, nullptr, true},
        {"library, no isEnabled", true, Value::Dictionary{{"other", false}}, nullptr, true},
        {"library, isEnabled YES", true, Value::Dictionary{{"isEnabled", true}}, nullptr, true},
        {"library, isEnabled NO", true, Value::Dictionary{{"isEnabled", false}}, nullptr, false},
        {"library, isEnabled text NO", true, Value::Dictionary{{"isEnabled", "NO"}}, nullptr,
         false},
        {"library, isEnabled text YES", true, Value::Dictionary{{"isEnabled", "YES"}}, nullptr,
         true},
        {"library, isEnabled 0", true, Value::Dictionary{{"isEnabled", 0}}, nullptr, false},
        {"library, isEnabled 0.0", true, Value::Dictionary{{"isEnabled", 0.0}}, nullptr, false},
        {"library, isEnabled 1", true, Value::Dictionary{{"isEnabled", 1}}, nullptr, true},
        {"library, isEnabled data", true, Value::Dictionary{{"isEnabled", NSData{1}}}, nullptr,
         false},
        {"no library, isEnabled YES", false, Value::Dictionary{{"isEnabled", true}}, nullptr,
         false},
        {"no library, no preferences", false, std::nullopt, nullptr, false},
    };
    for (const Case& c : cases) {
        TemporaryDeviceRoot device;
        if (c.library) {
            device.write(companion.library, std::string("\x7f"
                                                        "ELF"));
        }
        if (c.rawPreferences) {
            device.write(companion.preferences, std::string(c.rawPreferences));
        } else if (c.preferences) {
            ASSERT_TRUE(NSPropertyListSerialization::writePropertyList(
                *c.preferences, companion.preferences, NSPropertyListBinaryFormat_v1_0));
        }
        EXPECT_EQ((utilities.get()->*companion.check)(), c.expected) << c.name;
    }
}

TEST_P(Companions, OnlyTheRootfulLibraryPathCounts) {
    const Companion& companion = GetParam();
    rootless();
    root.write(std::string("/var/jb") + companion.library, std::string("x"));
    EXPECT_FALSE((utilities.get()->*companion.check)());
    // A library reached through a link inside the root does count.
    root.write("/private/store/companion.dylib", std::string("x"));
    root.link(companion.library, "/private/store/companion.dylib");
    EXPECT_TRUE((utilities.get()->*companion.check)());
}

// A file manager that switches the companion off the moment its library is
// looked for, and records what it was asked.
class SwitchingFileManager : public NSFileManager {
public:
    using NSFileManager::fileExistsAtPath;
    std::string preferences;
    std::vector<std::string> asked;

    bool fileExistsAtPath(const std::string& path, bool* isDirectory) override {
        asked.push_back(path);
        NSPropertyListSerialization::writePropertyList(Value::Dictionary{{"isEnabled", false}},
                                                       preferences, NSPropertyListXMLFormat_v1_0);
        return NSFileManager::fileExistsAtPath(path, isDirectory);
    }
};

TEST_P(Companions, PreferencesAreReadBeforeTheLibraryIsLookedFor) {
    const Companion& companion = GetParam();
    root.write(companion.library, std::string("x"));
    auto spy = alloc<SwitchingFileManager>();
    spy->preferences = companion.preferences;
    Ref<KLUtilities> own = std::static_pointer_cast<KLUtilities>(alloc<KLUtilities>()->init());
    own->setFileManager(spy);
    // Read first, the file did not exist yet: enabled.
    EXPECT_TRUE((own.get()->*companion.check)());
    EXPECT_EQ(spy->asked, std::vector<std::string>{companion.library});
    // Now the switch is on disk.
    EXPECT_FALSE((own.get()->*companion.check)());
}

INSTANTIATE_TEST_SUITE_P(
    PennantAndLumbra, Companions,
    testing::Values(Companion{"Pennant", &KLUtilities::isPennantInstalled,
                              "/var/mobile/Library/Preferences/com.tevka.pennant.plist",
                              "/Library/MobileSubstrate/DynamicLibraries/Pennant.dylib"},
                    Companion{"Lumbra", &KLUtilities::isLumbraInstalled,
                              "/var/mobile/Library/Preferences/com.tevka.lumbra.plist",
                              "/Library/MobileSubstrate/DynamicLibraries/Lumbra.dylib"}),
    [](const testing::TestParamInfo<Companion>& param) { return std::string(param.param.name); });

// Not a fixture test: run on its own (as ctest runs each test), the threads'
// calls are the first in the process and race to make the instance.
TEST(SharedInstance, IsMadeOnceAcrossThreads) {
    std::vector<KLUtilities*> seen(16);
    std::latch start(static_cast<std::ptrdiff_t>(seen.size()));
    std::vector<std::thread> threads;
    for (size_t i = 0; i < seen.size(); ++i) {
        threads.emplace_back([&seen, &start, i] {
            start.arrive_and_wait();
            seen[i] = KLUtilities::sharedInstance().get();
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(std::set<KLUtilities*>(seen.begin(), seen.end()).size(), 1u);
    EXPECT_EQ(seen.front(), KLUtilities::sharedInstance().get());
    EXPECT_EQ(KLUtilities::sharedInstance()->fileManager(), NSFileManager::defaultManager());
}

TEST_F(Utilities, KeepsLumbraHeight) {
    auto own = std::static_pointer_cast<KLUtilities>(alloc<KLUtilities>()->init());
    EXPECT_EQ(own->LumbraHeight(), 0.0);
    own->setLumbraHeight(42.5);
    EXPECT_EQ(own->LumbraHeight(), 42.5);
    // Without a file manager nothing is found.
    rootless();
    root.write("/Library/MobileSubstrate/DynamicLibraries/Pennant.dylib", std::string("x"));
    EXPECT_EQ(own->rootPrefix(), "/");
    EXPECT_FALSE(own->isPennantInstalled());
}

TEST_F(Utilities, AnswersMessagesSentByName) {
    Class cls = objc_getClass("KLUtilities");
    ASSERT_EQ(cls, utilities->objcClass());
    Id shared = objc_msgSend(cls, "sharedInstance");
    EXPECT_EQ(shared.object(), utilities);
    rootless();
    const Id path =
        objc_msgSend(shared, "correctedFilePathFromPathWithRootPrefix:", Id(":root:Library/x.png"));
    ASSERT_TRUE(path.string());
    EXPECT_EQ(*path.string(), "/var/jb/Library/x.png");
    EXPECT_EQ(*objc_msgSend(shared, "rootPrefix").string(), "/var/jb/");
    EXPECT_TRUE(objc_msgSend(shared, "correctedFilePathFromPathWithRootPrefix:", Id()).isNil());
    EXPECT_TRUE(objc_msgSend(shared, "correctedFilePathFromPathWithRootPrefix:", Id(3L)).isNil());

    root.write("/Library/MobileSubstrate/DynamicLibraries/Lumbra.dylib", std::string("x"));
    EXPECT_TRUE(objc_msgSend(shared, "isLumbraInstalled").boolValue());
    EXPECT_FALSE(objc_msgSend(shared, "isPennantInstalled").boolValue());
    EXPECT_FALSE(objc_msgSend(shared, "isPennantInstalled").isNil());

    auto own = std::static_pointer_cast<KLUtilities>(alloc<KLUtilities>()->init());
    objc_msgSend(Id(own), "setLumbraHeight:", Id(7.5));
    EXPECT_EQ(objc_msgSend(Id(own), "LumbraHeight").doubleValue(), 7.5);
}

} // namespace
