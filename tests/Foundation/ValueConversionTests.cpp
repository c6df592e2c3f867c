#include <climits>
#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include <Foundation/Value.h>

TEST(ValueConversion, NumbersAndTextsConvertAsFoundationDoes) {
    const struct {
        const char* name;
        Value value;
        double doubleValue;
        float floatValue;
        int32_t intValue;
        bool boolValue;
    } cases[] = {
        {"nil", Value(), 0, 0, 0, false},
        {"NO text", Value("NO"), 0, 0, 0, false},
        {"YES text", Value("YES"), 0, 0, 0, true},
        {"text 2", Value("2"), 2, 2, 2, true},
        {"text 0.1", Value(" 0.1"), 0.1, 0.1f, 0, false},
        {"text 12.7", Value("12.7 apples"), 12.7, 12.7f, 12, true},
        {"empty text", Value(""), 0, 0, 0, false},
        {"true", Value(true), 1, 1, 1, true},
        {"false", Value(false), 0, 0, 0, false},
        {"integer 0", Value(0), 0, 0, 0, false},
        {"integer -3", Value(-3), -3, -3, -3, true},
        {"real 2.0", Value(2.0), 2, 2, 2, true},
        {"real -2.9", Value(-2.9), -2.9, -2.9f, -2, true},
        {"real 0.1", Value(0.1), 0.1, 0.1f, 0, true},
        {"real 0.0", Value(0.0), 0, 0, 0, false},
        {"data", Value(NSData{1, 2}), 0, 0, 0, false},
        {"array", Value(Value::Array{Value(1)}), 0, 0, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.value.doubleValue(), c.doubleValue);
        EXPECT_EQ(c.value.floatValue(), c.floatValue);
        EXPECT_EQ(c.value.intValue(), c.intValue);
        EXPECT_EQ(c.value.boolValue(), c.boolValue);
    }
}

TEST(ValueConversion, WideNumbersNarrowLikeNSNumber) {
    // An integer keeps its low 32 bits; a real saturates.
    EXPECT_EQ(Value((1LL << 32) + 5).intValue(), 5);
    EXPECT_EQ(Value(1e20).intValue(), INT32_MAX);
    EXPECT_EQ(Value(-1e20).integerValue(), LONG_MIN);
    EXPECT_EQ(Value("99999999999").intValue(), INT32_MAX);
    EXPECT_EQ(Value("99999999999").integerValue(), 99999999999L);
}

TEST(ValueConversion, NullTextPointerIsNil) {
    const char* text = nullptr;
    Value value(text);
    EXPECT_TRUE(value.isNil());
    EXPECT_EQ(value.intValue(), 0);
}
