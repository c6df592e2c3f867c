#include <climits>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Foundation/NSException.h>
#include <Foundation/NSString.h>

TEST(NSString, LengthCountsUTF16Units) {
    const struct {
        std::string text;
        size_t length;
    } cases[] = {
        {"", 0},
        {"abc", 3},
        {"\u00E9", 1},     // é, precomposed
        {"e\u0301", 2},    // e + combining acute
        {"\U0001F600", 2}, // 😀 needs a surrogate pair
        {"a\U0001F600b", 4},
        {"\xFF", 1},         // an ill-formed byte counts as one U+FFFD
        {"\xE2\x82", 2},     // a cut sequence: two ill-formed bytes
        {"\xED\xA0\x80", 3}, // an encoded surrogate is ill-formed
        {"\xC0\xAF", 2},     // overlong "/"
        {std::string("a\0b", 3), 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(NSString::length(c.text), c.length);
    }
}

TEST(NSString, UppercaseUsesFullCaseMapping) {
    const struct {
        const char* text;
        const char* upper;
    } cases[] = {
        {"ff8000", "FF8000"},
        {"#ff8000:50", "#FF8000:50"},
        {"stra\u00DFe", "STRASSE"},
        {"\u00E9t\u00E9", "\u00C9T\u00C9"},
        {"\uFB01n", "FIN"}, // the fi ligature expands
        {"a\U0001F600b", "A\U0001F600B"},
        {"a\xFF"
         "b",
         "A\uFFFDB"}, // ill-formed bytes become U+FFFD
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(NSString::uppercaseString(c.text), c.upper);
    }
}

TEST(NSString, SearchingAndReplacing) {
    EXPECT_TRUE(NSString::containsString("FF8000:50", ":"));
    EXPECT_FALSE(NSString::containsString("FF8000", ":"));
    EXPECT_FALSE(NSString::containsString("FF8000", ""));
    EXPECT_FALSE(NSString::containsString("", ""));

    const struct {
        const char* text;
        const char* target;
        const char* replacement;
        const char* result;
    } cases[] = {
        {"#ff#80#00", "#", "", "ff8000"}, {"aaa", "aa", "b", "ba"}, {"abc", "", "x", "abc"},
        {"abc", "d", "x", "abc"},         {"", "a", "b", ""},       {"a.b.c", ".", "::", "a::b::c"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(NSString::stringByReplacingOccurrencesOfString(c.text, c.target, c.replacement),
                  c.result);
    }
}

TEST(NSString, ComponentsKeepEmptyPieces) {
    using Pieces = std::vector<std::string>;
    const struct {
        const char* text;
        const char* separator;
        Pieces pieces;
    } cases[] = {
        {"FF8000:50", ":", {"FF8000", "50"}},
        {"FF8000:", ":", {"FF8000", ""}},
        {":", ":", {"", ""}},
        {"a::b", ":", {"a", "", "b"}},
        {"", ":", {""}},
        {"abc", "", {"abc"}},
        {"a--b--", "--", {"a", "b", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(NSString::componentsSeparatedByString(c.text, c.separator), c.pieces);
    }
}

TEST(NSString, SubstringToIndexCountsUTF16Units) {
    const struct {
        const char* text;
        size_t index;
        const char* result;
    } cases[] = {
        {"FF80007F", 6, "FF8000"},
        {"abc", 3, "abc"},
        {"abc", 0, ""},
        {"\u00E9a", 1, "\u00E9"},
        {"\U0001F600x", 2, "\U0001F600"},
        {"\U0001F600x", 3, "\U0001F600x"},
        // Cutting a surrogate pair keeps its first half as U+FFFD.
        {"\U0001F600x", 1, "\uFFFD"},
        {"a\xFF"
         "b",
         2, "a\uFFFD"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(NSString::substringToIndex(c.text, c.index), c.result);
    }
}

TEST(NSString, SubstringPastTheEndRaisesRangeException) {
    for (size_t index : {5u, 6u, 100u}) {
        try {
            NSString::substringToIndex("ab\U0001F600", index);
            ADD_FAILURE() << "no exception for index " << index;
        } catch (const NSException& exception) {
            EXPECT_STREQ(exception.name().c_str(), NSRangeException);
            EXPECT_NE(exception.reason().find("string length 4"), std::string::npos);
        }
    }
    EXPECT_THROW(NSString::substringToIndex("", 1), NSException);
}

TEST(NSString, DoubleValueReadsTheLongestLeadingNumber) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"0.5", 0.5},
        {"0,5", 0},
        {"  7", 7},
        {"\n\t\r 7", 7},
        {"\u00A0\u30007", 7}, // no-break and ideographic spaces are white space
        {"12abc", 12},
        {"1e2", 100},
        {"1E+2", 100},
        {"2.5e-1x", 0.25},
        {"-5", -5},
        {"+5", 5},
        {".5", 0.5},
        {"-.5", -0.5},
        {"5.", 5},
        {"5.e1", 50},
        {".", 0},
        {"-", 0},
        {"- 5", 0},
        {".e5", 0},
        {"1e", 1},
        {"1e+", 1},
        {"1ex", 1},
        {"inf", 0},
        {"-infinity", 0},
        {"nan", 0},
        {"0x1A", 0},
        {"0x1p3", 0},
        {"", 0},
        {"abc", 0},
        {"1e999", inf},
        {"-1e999", -inf},
        {"1e99999999999999999999999", inf},
        {"0e999999", 0},
        {"1e-999", 0},
        {"4.9e-324", 4.9406564584124654e-324},
        {"1.7976931348623157e308", 1.7976931348623157e308},
        {"1.7976931348623159e308", inf},
        {"0.000000000000000000000000000001e330", 1e300},
        // Correct rounding: halfway cases go to even, long inputs are exact.
        {"9007199254740993", 9007199254740992.0},
        {"0.1000000000000000055511151231257827021181583404541015625", 0.1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(NSString::doubleValue(c.text), c.value);
    }
    EXPECT_TRUE(std::signbit(NSString::doubleValue("-0")));
    EXPECT_TRUE(std::signbit(NSString::doubleValue("-1e-999")));
}

TEST(NSString, FloatValueRoundsOnceToSinglePrecision) {
    EXPECT_EQ(NSString::floatValue("0.1"), 0.1f);
    EXPECT_EQ(NSString::floatValue("  0.5 percent"), 0.5f);
    EXPECT_EQ(NSString::floatValue("50") / 100.0f, 0.5f);
    EXPECT_EQ(NSString::floatValue(""), 0.0f);
    EXPECT_EQ(NSString::floatValue("3.5e38"), std::numeric_limits<float>::infinity());
    EXPECT_EQ(NSString::floatValue("-3.5e38"), -std::numeric_limits<float>::infinity());
    EXPECT_EQ(NSString::floatValue("1e-50"), 0.0f);
    // Just above the midpoint between 1 and the next float: reading through a
    // double would land exactly on the midpoint and round down to 1.
    EXPECT_EQ(NSString::floatValue("1.0000000596046447753906251"), 1.0f + 0x1p-23f);
}

TEST(NSString, IntegerValuesSaturate) {
    const struct {
        const char* text;
        int32_t intValue;
        long integerValue;
    } cases[] = {
        {"12.7", 12, 12},
        {"  -42abc", -42, -42},
        {"+7", 7, 7},
        {"1e3", 1, 1},
        {"abc", 0, 0},
        {"", 0, 0},
        {"- 1", 0, 0},
        {"2147483647", INT32_MAX, 2147483647L},
        {"2147483648", INT32_MAX, 2147483648L},
        {"-2147483648", INT32_MIN, -2147483648L},
        {"-2147483649", INT32_MIN, -2147483649L},
        {"9223372036854775807", INT32_MAX, LONG_MAX},
        {"9223372036854775808", INT32_MAX, LONG_MAX},
        {"-9223372036854775808", INT32_MIN, LONG_MIN},
        {"-99999999999999999999999", INT32_MIN, LONG_MIN},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(NSString::intValue(c.text), c.intValue);
        EXPECT_EQ(NSString::integerValue(c.text), c.integerValue);
    }
}

TEST(NSString, BoolValue) {
    const struct {
        const char* text;
        bool value;
    } cases[] = {
        {"YES", true}, {"yes", true},    {"true", true}, {"T", true},     {"1", true},
        {"9", true},   {"0001", true},   {"-1", true},   {" \n+y", true}, {"NO", false},
        {"no", false}, {"false", false}, {"0", false},   {"000", false},  {"0.5", false},
        {"", false},   {"  ", false},    {"x", false},   {"+", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(NSString::boolValue(c.text), c.value);
    }
}
