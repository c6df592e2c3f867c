#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include <Foundation/NSString.h>

TEST(NSStringFormat, FollowsPrintf) {
    const std::optional<std::string> nil;
    const char* nullText = nullptr;
    const struct {
        std::string result;
        std::string expected;
    } cases[] = {
        {NSString::stringWithFormat("%.1f", -0.04), "-0.0"},
        {NSString::stringWithFormat("%.1f", 0.46), "0.5"},
        {NSString::stringWithFormat("%.2f", 0.0), "0.00"},
        {NSString::stringWithFormat("%.2f", 0.125), "0.12"}, // exact tie: to even
        {NSString::stringWithFormat("%.2f", 0.135), "0.14"}, // the double is above the tie
        {NSString::stringWithFormat("%.2f", 127 / 255.0), "0.50"},
        {NSString::stringWithFormat("%@%02X", "FF8000", 127), "FF80007F"},
        {NSString::stringWithFormat("%02X", 0), "00"},
        {NSString::stringWithFormat("%02X", -1), "FFFFFFFF"},
        {NSString::stringWithFormat("%lX", -1L), "FFFFFFFFFFFFFFFF"},
        {NSString::stringWithFormat("%llx", 1ULL << 40), "10000000000"},
        {NSString::stringWithFormat("%hX", -1), "FFFF"},
        {NSString::stringWithFormat("%hhd", 300), "44"},
        {NSString::stringWithFormat("%u", -1), "4294967295"},
        {NSString::stringWithFormat("%d", 4294967295u), "-1"},
        {NSString::stringWithFormat("%ld", 1L << 40), "1099511627776"},
        {NSString::stringWithFormat("%zu|%qd", 7ul, -3LL), "7|-3"},
        {NSString::stringWithFormat("#%02X%02X%02X%02X", 255, 127, 0, 127), "#FF7F007F"},
        {NSString::stringWithFormat("%5d|%-5d|%05d|%+d|% d", 42, 42, 42, 42, 42),
         "   42|42   |00042|+42| 42"},
        {NSString::stringWithFormat("%#x %#o %o", 255, 8, 8), "0xff 010 10"},
        {NSString::stringWithFormat("%e|%E", 12345.678, 0.5), "1.234568e+04|5.000000E-01"},
        {NSString::stringWithFormat("%g|%G|%g", 0.0001, 1e-10, 100000.0), "0.0001|1E-10|100000"},
        {NSString::stringWithFormat("%a|%F", 1.0, 1.5), "0x1p+0|1.500000"},
        {NSString::stringWithFormat("%f", 2), "2.000000"},
        {NSString::stringWithFormat("%d", 2.9), "2"},
        {NSString::stringWithFormat("%*d|%-*d|", 5, 42, 5, 42), "   42|42   |"},
        {NSString::stringWithFormat("%*d|", -4, 7), "7   |"},
        {NSString::stringWithFormat("%.*f|%.*f", 2, 3.14159, -1, 1.5), "3.14|1.500000"},
        {NSString::stringWithFormat("%2$@ %1$@ %2$@", "a", "b"), "b a b"},
        {NSString::stringWithFormat("%c%c%C", 65, 0xE9, 0x20AC), "A\u00E9\u20AC"},
        {NSString::stringWithFormat("%lc", 0x1F600), "\U0001F600"},
        {NSString::stringWithFormat("%s and %@", "x", std::string("y")), "x and y"},
        {NSString::stringWithFormat("%@|%s", nil, nullText), "(null)|(null)"},
        {NSString::stringWithFormat("%@ %@ %@", 5, 2.5, 0.1), "5 2.5 0.1"},
        // Text widths and precisions count UTF-16 units and never cut a character.
        {NSString::stringWithFormat("%5@|%-3s|", "\u00E9", "ab"), "    \u00E9|ab |"},
        {NSString::stringWithFormat("%.2@|%.1@|", "abc", "\U0001F600"), "ab||"},
        {NSString::stringWithFormat("100%% sure"), "100% sure"},
        {NSString::stringWithFormat("50%"), "50%"},
        {NSString::stringWithFormat("%5"), "%5"},
        {NSString::stringWithFormat("%k%n", 1), "%k%n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.result, c.expected);
    }
}

TEST(NSStringFormat, MissingOrMismatchedArgumentsPrintNothing) {
    EXPECT_EQ(NSString::stringWithFormat("%d and %d", 1), "1 and ");
    EXPECT_EQ(NSString::stringWithFormat("[%@]"), "[]");
    EXPECT_EQ(NSString::stringWithFormat("[%3$@]", "a", "b"), "[]");
    EXPECT_EQ(NSString::stringWithFormat("[%0$@]", "a"), "[]");
    EXPECT_EQ(NSString::stringWithFormat("[%*d]", 5), "[]");
    EXPECT_EQ(NSString::stringWithFormat("[%d]", "text"), "[]");
    EXPECT_EQ(NSString::stringWithFormat("[%f]", "text"), "[]");
}

// Formats and readings must not follow the process locale. A German locale
// (decimal comma) or a Turkish one (dotted capital I) is compiled into a
// temporary folder and made the process locale for the test.
class NSStringLocaleTest : public testing::Test {
protected:
    void TearDown() override {
        std::setlocale(LC_ALL, "C");
        unsetenv("LOCPATH");
        if (!_folder.empty()) {
            std::filesystem::remove_all(_folder);
        }
    }

    // Makes `name` (as "de_DE") the process locale; false when its sources
    // are not installed here.
    bool useLocale(const std::string& name) {
        char pattern[] = "/tmp/kl-locale-XXXXXX";
        if (!mkdtemp(pattern)) {
            return false;
        }
        _folder = pattern;
        std::string command =
            "localedef -i " + name + " -f UTF-8 " + _folder + "/" + name + ".UTF-8 >/dev/null 2>&1";
        std::system(command.c_str());
        setenv("LOCPATH", _folder.c_str(), 1);
        return std::setlocale(LC_ALL, (name + ".UTF-8").c_str()) != nullptr;
    }

private:
    std::string _folder;
};

TEST_F(NSStringLocaleTest, DecimalCommaLocaleChangesNothing) {
    if (!useLocale("de_DE")) {
        GTEST_SKIP() << "the de_DE locale sources are not installed";
    }
    char native[16];
    std::snprintf(native, sizeof native, "%.1f", 0.5);
    ASSERT_STREQ(native, "0,5"); // the locale really is in force

    EXPECT_EQ(NSString::stringWithFormat("%.1f|%.2f|%g", 0.5, -1.25, 2.5), "0.5|-1.25|2.5");
    EXPECT_EQ(NSString::doubleValue("0.5"), 0.5);
    EXPECT_EQ(NSString::doubleValue("0,5"), 0.0);
    EXPECT_EQ(NSString::floatValue("1.5"), 1.5f);
    EXPECT_EQ(NSString::floatValue("1,5"), 1.0f);
}

TEST_F(NSStringLocaleTest, TurkishLocaleKeepsDotlessCapitalI) {
    if (!useLocale("tr_TR")) {
        GTEST_SKIP() << "the tr_TR locale sources are not installed";
    }
    EXPECT_EQ(NSString::uppercaseString("fi\u00E9"), "FI\u00C9");
    EXPECT_EQ(NSString::uppercaseString("i\u0307\u00DF"), "I\u0307SS");
}
