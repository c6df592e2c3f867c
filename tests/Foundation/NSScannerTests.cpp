#include <climits>
#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include <Foundation/NSScanner.h>

TEST(NSScanner, ScanHexInt) {
    constexpr uint32_t kUntouched = 0xDEADBEEF;
    const struct {
        std::string text;
        bool found;
        uint32_t value;
        size_t location;
    } cases[] = {
        {"FF8000FF", true, 0xFF8000FF, 8},
        {"F007F", true, 0xF007F, 5},
        {"FFF", true, 0xFFF, 3},
        {"ff8000ff", true, 0xFF8000FF, 8},
        {" \n\t\r0XFF", true, 0xFF, 8},
        {"0xff", true, 0xFF, 4},
        {"\u3000FF", true, 0xFF, 3}, // ideographic space: one UTF-16 unit
        {"12 34", true, 0x12, 2},
        {"FFFFFFFF", true, 0xFFFFFFFF, 8},
        {"FFFFFFFFFF", true, 0xFFFFFFFF, 10},
        {"100000000", true, 0xFFFFFFFF, 9},
        {"0000000000FF", true, 0xFF, 12},
        {"0x", true, 0, 1},
        {"0xG", true, 0, 1},
        {"G1", false, kUntouched, 0},
        {"  G1", false, kUntouched, 0},
        {"-1", false, kUntouched, 0},
        {"  ", false, kUntouched, 0},
        {"", false, kUntouched, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        auto scanner = NSScanner::scannerWithString(c.text);
        uint32_t value = kUntouched;
        EXPECT_EQ(scanner->scanHexInt(&value), c.found);
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(scanner->scanLocation(), c.location);
    }
}

TEST(NSScanner, ScansOneNumberAfterAnother) {
    auto scanner = NSScanner::scannerWithString(" FF 1.5e3 -12x ");
    EXPECT_EQ(scanner->string(), " FF 1.5e3 -12x ");
    uint32_t hex = 0;
    double real = 0;
    int32_t integer = 0;
    EXPECT_TRUE(scanner->scanHexInt(&hex));
    EXPECT_EQ(hex, 0xFFu);
    EXPECT_TRUE(scanner->scanDouble(&real));
    EXPECT_EQ(real, 1500.0);
    EXPECT_TRUE(scanner->scanInt(&integer));
    EXPECT_EQ(integer, -12);
    EXPECT_EQ(scanner->scanLocation(), 13u);
    EXPECT_FALSE(scanner->isAtEnd());
    EXPECT_FALSE(scanner->scanInt(&integer));
    EXPECT_FALSE(scanner->scanDouble(nullptr));
    EXPECT_EQ(scanner->scanLocation(), 13u);

    auto trailing = NSScanner::scannerWithString("7 \n");
    EXPECT_FALSE(trailing->isAtEnd());
    EXPECT_TRUE(trailing->scanHexInt(nullptr));
    EXPECT_TRUE(trailing->isAtEnd());
    EXPECT_EQ(trailing->scanLocation(), 1u);
}

TEST(NSScanner, ScanIntSaturatesAndConsumesAllDigits) {
    const struct {
        const char* text;
        int32_t value;
        size_t location;
    } cases[] = {
        {"2147483648", INT32_MAX, 10},
        {"-99999999999", INT32_MIN, 12},
        {" +5.5", 5, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        auto scanner = NSScanner::scannerWithString(c.text);
        int32_t value = 0;
        EXPECT_TRUE(scanner->scanInt(&value));
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(scanner->scanLocation(), c.location);
    }
}
