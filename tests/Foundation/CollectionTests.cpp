#include <gtest/gtest.h>

#include <Foundation/NSArray.h>
#include <Foundation/NSException.h>
#include <Foundation/NSSet.h>
#include <objc/ObjCExport.h>
#include <objc/objc.h>

// Takes collections in messages sent by name, as a system service takes the
// set of actions it is asked to run.
class TestCollector : public NSObject {
public:
    long countSet(const Ref<NSSet>& set) { return set ? static_cast<long>(set->count()) : -1; }
    Ref<NSObject> firstOf(const Ref<NSArray>& array) {
        return array ? array->firstObject() : nullptr;
    }
};

namespace {

constexpr objc_method kClassMethods[] = {ObjCExport::allocMethod<TestCollector>()};
constexpr objc_method kInstanceMethods[] = {
    ObjCExport::method<&TestCollector::countSet>("countSet:"),
    ObjCExport::method<&TestCollector::firstOf>("firstOf:"),
};

} // namespace

extern "C"
    __attribute__((visibility("default"))) constinit const objc_class OBJC_CLASS_$_TestCollector{
        "TestCollector", nullptr, kClassMethods, kInstanceMethods};

namespace {

TEST(Collections, ArraysKeepOrderAndSetsKeepEachObjectOnce) {
    Ref<NSObject> a = alloc<NSObject>(), b = alloc<NSObject>();
    Ref<NSArray> array = NSArray::arrayWithObjects({a, b, a});
    EXPECT_EQ(array->count(), 3u);
    EXPECT_EQ(array->objectAtIndex(1), b);
    EXPECT_EQ(array->firstObject(), a);
    EXPECT_EQ(array->lastObject(), a);
    EXPECT_TRUE(array->containsObject(b));
    EXPECT_FALSE(array->containsObject(alloc<NSObject>()));
    EXPECT_EQ(NSArray::array()->firstObject(), nullptr);

    Ref<NSSet> set = NSSet::setWithArray(array);
    EXPECT_EQ(set->count(), 2u);
    EXPECT_TRUE(set->containsObject(a));
    EXPECT_EQ(set->allObjects()->count(), 2u);
    EXPECT_EQ(NSSet::setWithObject(b)->anyObject(), b);
    EXPECT_EQ(NSSet::set()->anyObject(), nullptr);
    EXPECT_EQ(NSSet::setWithArray(nullptr)->count(), 0u);
}

TEST(Collections, RaiseWhereThePlatformDoes) {
    struct Case {
        const char* what;
        void (*make)();
        const char* name;
    };
    const Case cases[] = {
        {"nil in an array",
         [] {
             NSArray::arrayWithObjects({alloc<NSObject>(), nullptr});
         },
         NSInvalidArgumentException},
        {"nil in a set", [] { NSSet::setWithObject(nullptr); }, NSInvalidArgumentException},
        {"past the end", [] { NSArray::arrayWithObjects({alloc<NSObject>()})->objectAtIndex(1); },
         NSRangeException},
    };
    for (const Case& c : cases) {
        try {
            c.make();
            ADD_FAILURE() << c.what << " did not raise";
        } catch (const NSException& exception) {
            EXPECT_EQ(exception.name(), c.name) << c.what;
        }
    }
}

TEST(Collections, TravelInMessagesSentByName) {
    Class cls = objc_getClass("TestCollector");
    ASSERT_NE(cls, nullptr);
    const Id collector = objc_msgSend(cls, "alloc");
    Ref<NSObject> action = alloc<NSObject>();
    EXPECT_EQ(objc_msgSend(collector, "countSet:", Id(NSSet::setWithObjects({action, action})))
                  .longValue(),
              1);
    EXPECT_EQ(objc_msgSend(collector, "firstOf:", Id(NSArray::arrayWithObjects({action}))).object(),
              action);
    // A collection of the other kind reads as nil.
    EXPECT_EQ(
        objc_msgSend(collector, "countSet:", Id(NSArray::arrayWithObjects({action}))).longValue(),
        -1);
}

} // namespace
