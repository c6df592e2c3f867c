#include <gtest/gtest.h>

#include <Foundation/NSException.h>
#include <Foundation/NSMutableDictionary.h>
#include <Foundation/NSPropertyListSerialization.h>

#include "TemporaryDeviceRoot.h"

namespace {

TEST(MutableDictionary, LoadsOnlyDictionaryFiles) {
    TemporaryDeviceRoot root;
    const Value contents = Value::Dictionary{{"isEnabled", false}, {"height", 12.5}};
    ASSERT_TRUE(NSPropertyListSerialization::writePropertyList(contents, "/p/xml.plist",
                                                               NSPropertyListXMLFormat_v1_0));
    ASSERT_TRUE(NSPropertyListSerialization::writePropertyList(contents, "/p/binary.plist",
                                                               NSPropertyListBinaryFormat_v1_0));
    ASSERT_TRUE(NSPropertyListSerialization::writePropertyList(Value::Array{1, 2}, "/p/array.plist",
                                                               NSPropertyListXMLFormat_v1_0));
    root.write("/p/malformed.plist", std::string("<plist><dict><key>a"));
    root.write("/p/empty.plist", std::string());

    for (const char* path : {"/p/xml.plist", "/p/binary.plist"}) {
        Ref<NSMutableDictionary> dictionary =
            alloc<NSMutableDictionary>()->initWithContentsOfFile(path);
        ASSERT_TRUE(dictionary) << path;
        EXPECT_EQ(Value(dictionary->dictionary()), contents) << path;
        EXPECT_EQ(dictionary->objectForKey("isEnabled"), Value(false));
        EXPECT_TRUE(dictionary->objectForKey("absent").isNil());
    }
    for (const char* path :
         {"/p/array.plist", "/p/malformed.plist", "/p/empty.plist", "/p/missing.plist", "/p"}) {
        EXPECT_EQ(alloc<NSMutableDictionary>()->initWithContentsOfFile(path), nullptr) << path;
    }
}

TEST(MutableDictionary, SetsAndRefusesNil) {
    Ref<NSMutableDictionary> dictionary = alloc<NSMutableDictionary>()->init();
    dictionary->setObject(3, "a");
    dictionary->setObject("text", "a");
    EXPECT_EQ(dictionary->count(), 1u);
    EXPECT_EQ(dictionary->objectForKey("a"), Value("text"));
    EXPECT_THROW(dictionary->setObject(Value(), "b"), NSException);
    dictionary->removeObjectForKey("a");
    EXPECT_EQ(dictionary->count(), 0u);
}

} // namespace
