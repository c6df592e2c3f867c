#include <gtest/gtest.h>

#include <dlfcn.h>

#include <Foundation/NSProcessInfo.h>
#include <objc/objc.h>

#include "TemporaryDeviceRoot.h"

// This program does not link libklutils: the class is only there once the
// library is loaded, the way libklcommon meets it on a device.
TEST(ClassLookup, FoundByNameOnlyOnceTheLibraryIsLoaded) {
    TemporaryDeviceRoot root;
    root.makeFolder("/var/jb");
    const NSOperatingSystemVersion previous =
        NSProcessInfo::processInfo()->operatingSystemVersion();
    NSProcessInfo::setOperatingSystemVersion({15, 0, 0});

    // Not loaded: the lookup and both messages yield nil. A library stays
    // loaded for the life of the process, so only a run that finds it not yet
    // loaded (the first, when the test is repeated) can see this.
    if (void* loaded = dlopen(KL_KLUTILS_LIBRARY, RTLD_NOW | RTLD_NOLOAD)) {
        dlclose(loaded);
    } else {
        Class before = objc_getClass("KLUtilities");
        EXPECT_EQ(before, nullptr);
        Id nothing = objc_msgSend(objc_msgSend(before, "sharedInstance"),
                                  "correctedFilePathFromPathWithRootPrefix:", Id(":root:x.png"));
        EXPECT_TRUE(nothing.isNil());
    }

    void* library = dlopen(KL_KLUTILS_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    Class cls = objc_getClass("KLUtilities");
    ASSERT_NE(cls, nullptr);
    EXPECT_STREQ(cls->name, "KLUtilities");

    Id shared = objc_msgSend(cls, "sharedInstance");
    ASSERT_TRUE(shared);
    EXPECT_EQ(objc_msgSend(cls, "sharedInstance").object(), shared.object());
    // The library shares this program's SDK, so it sees the same device and version.
    Id path = objc_msgSend(shared, "correctedFilePathFromPathWithRootPrefix:",
                           Id(":root:Library/PreferenceBundles/x.png"));
    ASSERT_NE(path.string(), nullptr);
    EXPECT_EQ(*path.string(), "/var/jb/Library/PreferenceBundles/x.png");
    EXPECT_TRUE(objc_msgSend(shared, "correctedFilePathFromPathWithRootPrefix:", Id()).isNil());

    NSProcessInfo::setOperatingSystemVersion(previous);
}
