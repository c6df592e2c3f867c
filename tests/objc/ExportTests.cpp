#include <gtest/gtest.h>

#include <objc/ObjCExport.h>
#include <objc/objc.h>

enum TestCounterMode : long { TestCounterModeUp = 1, TestCounterModeDown = -1 };

// A class exported by name through typed members only.
class TestCounter : public NSObject {
public:
    static Ref<TestCounter> counterStartingAt(long start) {
        Ref<TestCounter> counter = alloc<TestCounter>();
        counter->_count = start;
        return counter;
    }
    Ref<TestCounter> init() { return self<TestCounter>(); }
    void addTimes(double amount, int times) { _count += static_cast<long>(amount) * times; }
    long count() const { return _count; }
    void setMode(TestCounterMode mode) { _mode = mode; }
    TestCounterMode mode() const { return _mode; }
    bool isAbove(long limit) const { return _count > limit; }
    std::string describe(const std::string& prefix) const {
        return prefix + std::to_string(_count);
    }
    std::optional<std::string> nameOr(const std::optional<std::string>& name) const { return name; }
    Ref<TestCounter> twin(const Ref<TestCounter>& other) const { return other; }

private:
    long _count = 0;
    TestCounterMode _mode = TestCounterModeUp;
};

namespace {

constexpr objc_method kClassMethods[] = {
    ObjCExport::allocMethod<TestCounter>(),
    ObjCExport::classMethod<&TestCounter::counterStartingAt>("counterStartingAt:"),
};
constexpr objc_method kInstanceMethods[] = {
    ObjCExport::method<&TestCounter::init>("init"),
    ObjCExport::method<&TestCounter::addTimes>("add:times:"),
    ObjCExport::method<&TestCounter::count>("count"),
    ObjCExport::method<&TestCounter::setMode>("setMode:"),
    ObjCExport::method<&TestCounter::mode>("mode"),
    ObjCExport::method<&TestCounter::isAbove>("isAbove:"),
    ObjCExport::method<&TestCounter::describe>("describe:"),
    ObjCExport::method<&TestCounter::nameOr>("nameOr:"),
    ObjCExport::method<&TestCounter::twin>("twin:"),
};

} // namespace

extern "C"
    __attribute__((visibility("default"))) constinit const objc_class OBJC_CLASS_$_TestCounter{
        "TestCounter", nullptr, kClassMethods, kInstanceMethods};

namespace {

TEST(Export, AnObjectAnswersUnderItsClassRecordFoundByName) {
    Ref<TestCounter> counter = alloc<TestCounter>()->init();
    EXPECT_EQ(counter->objcClass(), &OBJC_CLASS_$_TestCounter);
    // A class no image exports has no record.
    EXPECT_EQ(alloc<NSObject>()->objcClass(), nullptr);
}

TEST(Export, TypedMembersTakeAndGiveWhatMessagesCarry) {
    Class cls = objc_getClass("TestCounter");
    ASSERT_EQ(cls, &OBJC_CLASS_$_TestCounter);
    const Id counter = objc_msgSend(objc_msgSend(cls, "alloc"), "init");
    ASSERT_TRUE(counter.object<TestCounter>());
    const Id other = objc_msgSend(cls, "counterStartingAt:", Id(7L));
    ASSERT_EQ(other.object<TestCounter>()->count(), 7);

    struct Case {
        const char* selector;
        std::vector<Id> arguments;
        long countAfter;
        Id reply;
    };
    const Case cases[] = {
        {"add:times:", {Id(2.9), Id(3L)}, 6, Id()},
        // A missing argument reads as 0.
        {"add:times:", {Id(5L)}, 6, Id()},
        {"count", {}, 6, Id(6L)},
        {"isAbove:", {Id(5L)}, 6, Id(true)},
        {"isAbove:", {Id("text")}, 6, Id(true)},
        {"describe:", {Id("n=")}, 6, Id("n=6")},
        // A text parameter given no text: nil, and the member is not called.
        {"describe:", {Id(4L)}, 6, Id()},
        {"nameOr:", {Id()}, 6, Id()},
        {"nameOr:", {Id("x")}, 6, Id("x")},
        {"setMode:", {Id(-1L)}, 6, Id()},
        {"mode", {}, 6, Id(-1L)},
        {"noSuchSelector:", {Id(1L)}, 6, Id()},
    };
    for (const Case& c : cases) {
        const Id reply = objc_msgSend(counter, c.selector, c.arguments);
        EXPECT_EQ(counter.object<TestCounter>()->count(), c.countAfter) << c.selector;
        EXPECT_EQ(reply.isNil(), c.reply.isNil()) << c.selector;
        if (c.reply.string()) {
            ASSERT_NE(reply.string(), nullptr) << c.selector;
            EXPECT_EQ(*reply.string(), *c.reply.string()) << c.selector;
        } else if (!c.reply.isNil()) {
            EXPECT_EQ(reply.longValue(), c.reply.longValue()) << c.selector;
        }
    }
    // Objects go through as themselves; one of another class reads as nil.
    EXPECT_EQ(objc_msgSend(counter, "twin:", other).object(), other.object());
    EXPECT_TRUE(objc_msgSend(counter, "twin:", Id(alloc<NSObject>())).isNil());
    // Nil in, nil out.
    EXPECT_TRUE(objc_msgSend(Id(), "count").isNil());
}

} // namespace
