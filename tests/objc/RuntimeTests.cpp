#include <gtest/gtest.h>

#include <objc/objc.h>

// A class exported by name from the test program itself, the way a library
// exports its classes.
class TestGreeter : public NSObject {
public:
    std::string greet(const std::string& name) const { return "hello " + name; }
};

namespace {

Id allocGreeter(const Id&, std::span<const Id>) {
    return alloc<TestGreeter>();
}

Id greetImp(const Id& self, std::span<const Id> arguments) {
    auto greeter = self.object<TestGreeter>();
    const std::string* name = arguments.empty() ? nullptr : arguments[0].string();
    if (!greeter || !name) {
        return nullptr;
    }
    return greeter->greet(*name);
}

constexpr objc_method kGreeterClassMethods[] = {{"new", allocGreeter}};
constexpr objc_method kGreeterMethods[] = {{"greet:", greetImp}};

} // namespace

extern "C"
    __attribute__((visibility("default"))) constinit const objc_class OBJC_CLASS_$_TestGreeter{
        "TestGreeter", nullptr, kGreeterClassMethods, kGreeterMethods};

TEST(Runtime, FindsExportedClassByName) {
    Class cls = objc_getClass("TestGreeter");
    ASSERT_EQ(cls, &OBJC_CLASS_$_TestGreeter);
    EXPECT_STREQ(cls->name, "TestGreeter");
}

TEST(Runtime, UnknownClassIsNil) {
    EXPECT_EQ(objc_getClass("NoSuchClassAnywhere"), nullptr);
    EXPECT_EQ(objc_getClass(""), nullptr);
    EXPECT_EQ(objc_getClass(nullptr), nullptr);
}

TEST(Runtime, MessagesByNameWithNilInNilOut) {
    Class cls = objc_getClass("TestGreeter");
    Id greeter = objc_msgSend(cls, "new");
    ASSERT_TRUE(greeter);
    Id reply = objc_msgSend(greeter, "greet:", Id("world"));
    ASSERT_NE(reply.string(), nullptr);
    EXPECT_EQ(*reply.string(), "hello world");

    // Nil receiver, unknown selector and a nil argument all yield nil.
    EXPECT_TRUE(objc_msgSend(Id(), "greet:", Id("x")).isNil());
    EXPECT_TRUE(objc_msgSend(static_cast<Class>(nullptr), "new").isNil());
    EXPECT_TRUE(objc_msgSend(greeter, "noSuchSelector").isNil());
    EXPECT_TRUE(objc_msgSend(greeter, "greet:", Id()).isNil());
    EXPECT_TRUE(objc_msgSend(cls, "greet:").isNil());
}

TEST(Runtime, WeakReferencesReadNilOnceTheObjectIsGone) {
    Weak<TestGreeter> weak;
    {
        Ref<TestGreeter> strong = alloc<TestGreeter>();
        weak = strong;
        EXPECT_EQ(weak.lock(), strong);
        EXPECT_EQ(strong->self<TestGreeter>(), strong);
    }
    EXPECT_EQ(weak.lock(), nullptr);
}

TEST(Runtime, IdConvertsNumbersAndRejectsOtherKinds) {
    EXPECT_EQ(Id(3.9).longValue(), 3);
    EXPECT_DOUBLE_EQ(Id(4L).doubleValue(), 4.0);
    EXPECT_TRUE(Id(true).boolValue());
    EXPECT_EQ(Id("12").longValue(), 0);
    EXPECT_EQ(Id(5L).string(), nullptr);
    EXPECT_EQ(Id("text").object(), nullptr);
    EXPECT_TRUE(Id(Ref<NSObject>()).isNil());
}
