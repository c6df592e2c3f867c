#include <gtest/gtest.h>

#include "KLColorPickerCell.h"

namespace {

struct ReadCase {
    const char* hex;
    bool useAlpha;
    int red, green, blue, alpha; // bytes of the expected colour
};

class ColorFromHex : public testing::TestWithParam<ReadCase> {};

TEST_P(ColorFromHex, ReadsBytes) {
    const ReadCase& c = GetParam();
    Ref<UIColor> color = KLColorPickerCell::colorFromHex(std::string(c.hex), c.useAlpha);
    ASSERT_NE(color, nullptr);
    EXPECT_DOUBLE_EQ(color->red(), c.red / 255.0) << c.hex;
    EXPECT_DOUBLE_EQ(color->green(), c.green / 255.0) << c.hex;
    EXPECT_DOUBLE_EQ(color->blue(), c.blue / 255.0) << c.hex;
    EXPECT_DOUBLE_EQ(color->alpha(), c.alpha / 255.0) << c.hex;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ColorFromHex,
    testing::Values(
        ReadCase{"#ff8000", false, 255, 128, 0, 255}, ReadCase{"FF8000:50", true, 255, 128, 0, 127},
        ReadCase{"#FF80007F", false, 255, 128, 0, 255},
        ReadCase{"#FF80007F", true, 255, 128, 0, 127}, ReadCase{"FFF", true, 0, 0, 15, 255},
        ReadCase{"F00:50", true, 0, 15, 0, 127}, ReadCase{"FF8000:", true, 255, 128, 0, 0},
        // Three pieces: the first, fully opaque.
        ReadCase{"FF8000:50:20", true, 255, 128, 0, 255},
        // "#" anywhere is dropped and letters may be of either case.
        ReadCase{"f#f#8#0#0#0#", true, 255, 128, 0, 255},
        // The shown form of an 8-digit string reads back as 0.5 percent.
        ReadCase{"#FF8000:0.50", true, 255, 128, 0, 1},
        // Leading white space is skipped by the percentage and the scan.
        ReadCase{"  FF8000", true, 0, 255, 128, 0}, ReadCase{"FF8000: 50", true, 255, 128, 0, 127},
        // No hexadecimal digit: black, transparent with alpha.
        ReadCase{"zz", true, 0, 0, 0, 0}, ReadCase{"", true, 0, 0, 0, 0},
        ReadCase{"zz", false, 0, 0, 0, 255},
        // Overflow saturates to all bits set.
        ReadCase{"FFFFFFFFFF", true, 255, 255, 255, 255},
        // A huge percentage saturates the byte, and the scan saturates too.
        ReadCase{"000000:1e30", true, 127, 255, 255, 255}));

TEST(ColorCodec, PercentagesGiveTheirAlphaBytes) {
    const std::pair<const char*, const char*> cases[] = {
        {"000000:1", "#00000002"}, {"000000:33", "#00000054"}, {"000000:100", "#000000FF"}};
    for (const auto& [hex, written] : cases) {
        Ref<UIColor> color = KLColorPickerCell::colorFromHex(std::string(hex), true);
        EXPECT_EQ(KLColorPickerCell::hexFromColor(color, true), written) << hex;
    }
}

TEST(ColorCodec, EveryByteSurvivesReadingAndWritingBack) {
    for (int b = 0; b <= 255; ++b) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "#%02X%02X%02X%02X", b, 255 - b, b, 255 - b);
        Ref<UIColor> color = KLColorPickerCell::colorFromHex(std::string(hex), true);
        EXPECT_EQ(KLColorPickerCell::hexFromColor(color, true), hex);
    }
}

TEST(ColorCodec, WritesTruncatedUppercaseBytes) {
    Ref<UIColor> color = UIColor::colorWithRed(1.0, 0.5, 0.0, 0.5);
    EXPECT_EQ(KLColorPickerCell::hexFromColor(color, true), "#FF7F007F");
    EXPECT_EQ(KLColorPickerCell::hexFromColor(color, false), "#FF7F00");
    EXPECT_EQ(KLColorPickerCell::hexFromColor(UIColor::colorWithRed(0.1, 0.2, 0.3, 1.0), true),
              "#19334CFF");
}

TEST(ColorCodec, ClampsExtendedRangeComponents) {
    Ref<UIColor> extended = UIColor::colorWithRed(1.2, -0.1, 0.5, 2.0);
    EXPECT_EQ(KLColorPickerCell::hexFromColor(extended, true), "#FF007FFF");
    EXPECT_EQ(KLColorPickerCell::hexFromColor(nullptr, false), "#000000");
}

TEST(ColorCodec, ShowsLegibleText) {
    const std::pair<std::optional<std::string>, const char*> cases[] = {
        {"#FF80007F", "#FF8000:0.50"},
        {"ff8000", "#FF8000"},
        {"#ff8000:50", "#FF8000:50"},
        {"FF8000:50:20", "#FF8000:50"},
        {"FF8000:", "#FF8000:"},
        {"#FF8000FF", "#FF8000:1.00"},
        {"FFF", "#F:1.00"},
        {"#12345680", "#123456:0.50"},
        // Too short for an alpha byte, and nothing at all.
        {"", "#"},
        {"F", "#F"},
        {std::nullopt, ""},
    };
    for (const auto& [hex, shown] : cases) {
        EXPECT_EQ(KLColorPickerCell::legibleStringFromHex(hex), shown) << hex.value_or("nil");
    }
}

} // namespace
