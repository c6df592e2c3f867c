// The parts behind reference pictures, variants and reports, each alone:
// pixel comparison, PNG reading with limits, the variant matrix, the JUnit
// writer, the command line's picture and variant options, the process pool.
#include <csignal>
#include <cstdlib>
#include <set>

#include <gtest/gtest.h>

#include "CommandLine.h"
#include "HostError.h"
#include "JUnitReport.h"
#include "PNGCodec.h"
#include "PictureComparison.h"
#include "ProcessPool.h"
#include "TraitNames.h"
#include "VariantMatrix.h"

namespace {

// A picture of one colour, with one pixel of another where asked.
PNGCodec::Image picture(int width, int height, uint32_t color, int x = -1, uint32_t other = 0) {
    PNGCodec::Image image(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height),
                          &cairo_surface_destroy);
    cairo_surface_flush(image.get());
    for (int row = 0; row < height; ++row) {
        auto* pixels =
            reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(image.get()) +
                                        row * cairo_image_surface_get_stride(image.get()));
        for (int column = 0; column < width; ++column) {
            pixels[column] = column == x && row == 0 ? other : color;
        }
    }
    cairo_surface_mark_dirty(image.get());
    return image;
}

uint32_t pixelAt(cairo_surface_t* image, int x, int y) {
    return reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(image) +
                                             y * cairo_image_surface_get_stride(image))[x];
}

CommandLine parse(std::vector<std::string> words) {
    return CommandLine::parse(words);
}

} // namespace

TEST(PictureComparison, CountsChangedPixelsByThresholdAndSize) {
    struct Case {
        const char* name;
        int width, height;
        int x;
        uint32_t other;
        double threshold;
        size_t changed;
    };
    const Case cases[] = {
        {"the same", 4, 3, -1, 0, 0, 0},
        {"one unit off", 4, 3, 1, 0xFF336699, 0, 1},
        {"one unit off, threshold 1%", 4, 3, 1, 0xFF336699, 0.01, 0},
        {"three units off, threshold 1%", 4, 3, 1, 0xFF33669B, 0.01, 1},
        {"opacity off", 4, 3, 2, 0xFE336698, 0, 1},
        {"any difference under threshold 1", 4, 3, 0, 0x00000000, 1, 0},
        {"one column more", 5, 3, -1, 0, 0, 3},
        {"one row less", 4, 2, -1, 0, 0, 4},
    };
    const PNGCodec::Image reference = picture(4, 3, 0xFF336698);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PNGCodec::Image actual = picture(c.width, c.height, 0xFF336698, c.x, c.other);
        PictureComparison comparison(reference.get(), actual.get(), c.threshold);
        EXPECT_EQ(comparison.changedPixels(), c.changed);
        EXPECT_EQ(comparison.sameSize(), c.width == 4 && c.height == 3);
        // The diff covers both pictures, red where they differ.
        const PNGCodec::Image diff = comparison.diffImage();
        EXPECT_EQ(cairo_image_surface_get_width(diff.get()), std::max(4, c.width));
        EXPECT_EQ(cairo_image_surface_get_height(diff.get()), 3);
        size_t red = 0;
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < cairo_image_surface_get_width(diff.get()); ++x) {
                red += pixelAt(diff.get(), x, y) == 0xFFFF0000 ? 1 : 0;
            }
        }
        EXPECT_EQ(red, c.changed);
    }
    // Unchanged pixels are the reference faded toward white.
    const PNGCodec::Image same = picture(4, 3, 0xFF336698);
    const PNGCodec::Image diff = PictureComparison(reference.get(), same.get(), 0).diffImage();
    EXPECT_EQ(pixelAt(diff.get(), 0, 0), 0xFFC2D1E0u);
}

TEST(PNGCodec, ReadsBackWhatItWroteAndRefusesWhatNoPageCanBe) {
    const PNGCodec::Image original = picture(7, 5, 0xFF102030, 3, 0x80402010);
    const std::string bytes = PNGCodec::encode(original.get());
    const PNGCodec::Image back = PNGCodec::decode(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(PictureComparison(original.get(), back.get(), 0).changedPixels(), 0u);

    // A header claiming a side beyond the renderer's limit, or too many pixels.
    auto withSize = [&](uint32_t width, uint32_t height) {
        std::string forged = bytes;
        for (int i = 0; i < 4; ++i) {
            forged[16 + i] = static_cast<char>(width >> (24 - 8 * i));
            forged[20 + i] = static_cast<char>(height >> (24 - 8 * i));
        }
        return forged;
    };
    const struct {
        const char* name;
        std::string bytes;
        const char* message;
    } refused[] = {
        {"empty", "", "no PNG"},
        {"text", "not a picture at all, just words", "no PNG"},
        {"cut short", bytes.substr(0, bytes.size() / 2), "cannot be decoded"},
        {"too wide", withSize(40000, 1), "beyond what a page's picture can be"},
        {"too many pixels", withSize(30000, 30000), "beyond what a page's picture can be"},
        {"no area", withSize(0, 5), "beyond what a page's picture can be"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.name);
        std::string error;
        EXPECT_FALSE(PNGCodec::decode(c.bytes, &error));
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
}

TEST(VariantMatrix, MakesEveryCombinationNamedByTheGivenOptions) {
    VariantMatrix matrix;
    DeviceLook base;
    EXPECT_EQ(matrix.variants(base, 3, false).size(), 1u);
    EXPECT_EQ(matrix.variants(base, 3, false)[0].name, "");

    matrix.appearances = {"light", "dark"};
    matrix.devices = {"iphone-se", "ipad-pro-12.9"};
    matrix.contentSizes = {"ax3"};
    matrix.languages = {"en", "ar"};
    const std::vector<Variant> variants = matrix.variants(base, 3, false);
    ASSERT_EQ(variants.size(), 8u);
    EXPECT_EQ(matrix.columns(), 4u);
    std::set<std::string> names;
    for (const Variant& variant : variants) {
        names.insert(variant.name);
    }
    EXPECT_EQ(names.size(), 8u);
    // Devices are the outer rows, appearances and languages the columns.
    EXPECT_EQ(variants[0].name, "light-iphone-se-ax3-en");
    EXPECT_EQ(variants[3].name, "dark-iphone-se-ax3-ar");
    EXPECT_EQ(variants[3].look.appearance, UIUserInterfaceStyleDark);
    EXPECT_EQ(variants[3].look.languages, std::vector<std::string>{"ar"});
    EXPECT_EQ(variants[3].look.contentSize, *TraitNames::contentSizeNamed("ax3"));
    // A device draws at its own scale unless one was given.
    EXPECT_EQ(variants[0].scale, 2);
    EXPECT_EQ(variants[4].look.device->name, "ipad-pro-12.9");
    EXPECT_EQ(matrix.variants(base, 1, true)[0].scale, 1);
}

TEST(JUnitReport, EscapesWhatXMLCannotHoldAndCounts) {
    JUnitReport report;
    report.add({"a&b.script", "a[dark]", JUnitReport::Case::Outcome::Failed, 4,
                std::string("<\"bad\">\x01\xFF text\n"), "recorded x.png\n", 0.25});
    report.add({"ok.script", "ok", JUnitReport::Case::Outcome::Passed, std::nullopt, "", "", 1});
    report.add({"dir.script", "dir", JUnitReport::Case::Outcome::NotRun, std::nullopt,
                "it is a folder", "", 0});
    const std::string xml = report.xml();
    EXPECT_NE(xml.find("tests=\"3\" failures=\"1\" errors=\"1\" time=\"1.250\""), std::string::npos)
        << xml;
    EXPECT_NE(xml.find("classname=\"a&amp;b.script\" name=\"a[dark]\" file=\"a&amp;b.script\" "
                       "line=\"4\""),
              std::string::npos)
        << xml;
    EXPECT_NE(xml.find("message=\"&lt;&quot;bad&quot;&gt;\xEF\xBF\xBD\xEF\xBF\xBD text&#10;\""),
              std::string::npos)
        << xml;
    EXPECT_NE(xml.find("a&amp;b.script:4: &lt;"), std::string::npos) << xml;
    EXPECT_NE(xml.find("<error message=\"it is a folder\""), std::string::npos) << xml;
    EXPECT_NE(xml.find("<system-out>recorded x.png&#10;</system-out>"), std::string::npos);
    EXPECT_THROW(report.write("/nonexistent-folder/report.xml"), HostError);
}

TEST(CommandLine, ReadsTheVariantAndPictureOptions) {
    unsetenv("CI");
    const CommandLine line = parse({"test",
                                    "dir",
                                    "--variants",
                                    "dark, light,dark",
                                    "--devices",
                                    "iphone-15",
                                    "--content-sizes",
                                    "l,ax3",
                                    "--languages",
                                    "en,ar",
                                    "-j",
                                    "3",
                                    "--threshold",
                                    "0.1",
                                    "--max-diff-pixels",
                                    "5",
                                    "--junit",
                                    "r.xml",
                                    "--seed",
                                    "7",
                                    "--repeat",
                                    "2"});
    EXPECT_EQ(line.variants.appearances, (std::vector<std::string>{"dark", "light"}));
    EXPECT_EQ(line.variants.contentSizes, (std::vector<std::string>{"l", "ax3"}));
    EXPECT_EQ(line.jobs, 3u);
    EXPECT_EQ(line.pictures.threshold, 0.1);
    EXPECT_EQ(line.pictures.maxDiffPixels, 5u);
    EXPECT_EQ(line.pictures.update, ReferencePictures::Update::Missing);
    EXPECT_EQ(line.junit, "r.xml");
    EXPECT_TRUE(line.shuffle);
    EXPECT_EQ(line.seed, 7u);
    EXPECT_EQ(line.repeat, 2u);

    // In CI a missing picture fails, unless a mode is given.
    const struct {
        const char* ci;
        std::vector<std::string> words;
        ReferencePictures::Update update;
    } modes[] = {
        {nullptr, {"test", "d", "--ci"}, ReferencePictures::Update::None},
        {"true", {"test", "d"}, ReferencePictures::Update::None},
        {"false", {"test", "d"}, ReferencePictures::Update::Missing},
        {"true",
         {"test", "d", "--update-snapshots", "changed"},
         ReferencePictures::Update::Changed},
        {nullptr, {"test", "d", "--update-snapshots", "all"}, ReferencePictures::Update::All},
    };
    for (const auto& c : modes) {
        if (c.ci) {
            setenv("CI", c.ci, 1);
        }
        EXPECT_EQ(parse(c.words).pictures.update, c.update) << testing::PrintToString(c.words);
        unsetenv("CI");
    }

    const std::vector<std::string> refused[] = {
        {"test", "d", "--variants", "light,sepia"},
        {"test", "d", "--devices", "iphone-99"},
        {"test", "d", "--content-sizes", "huge"},
        {"test", "d", "--languages", "en,???"},
        {"test", "d", "--threshold", "1.5"},
        {"test", "d", "--threshold", "nan"},
        {"test", "d", "--update-snapshots", "some"},
        {"test", "d", "-j", "0"},
        {"render", "-o", "x.png", "--variants", "dark"},
        {"run", "--junit", "r.xml"},
        {"sheet"},
    };
    for (const auto& words : refused) {
        EXPECT_THROW(parse(words), HostError) << testing::PrintToString(words);
    }
    EXPECT_EQ(parse({"sheet", "-o", "s.png"}).command, CommandLine::Command::Sheet);
}

TEST(ProcessPool, RunsAFewAtOnceAndReportsAChildThatDied) {
    std::vector<std::string> outputs(6);
    std::vector<std::optional<std::string>> ends(6);
    ProcessPool::run(
        6, 2,
        [](size_t index) {
            if (index == 4) {
                std::raise(SIGABRT);
            }
            // Larger than a pipe holds, so that the parent must read while
            // the children write.
            return std::string(200000 + index, static_cast<char>('a' + index));
        },
        [&](size_t index, ProcessPool::Outcome outcome) {
            outputs[index] = outcome.output;
            ends[index] = outcome.abnormalEnd;
        });
    for (size_t i = 0; i < 6; ++i) {
        if (i == 4) {
            ASSERT_TRUE(ends[i]);
            EXPECT_NE(ends[i]->find("signal 6"), std::string::npos) << *ends[i];
            continue;
        }
        EXPECT_FALSE(ends[i]);
        EXPECT_EQ(outputs[i], std::string(200000 + i, static_cast<char>('a' + i)));
    }
    EXPECT_GE(ProcessPool::cores(), 1u);
}
