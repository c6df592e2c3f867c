// klprefs test with reference pictures, end to end: small regressions made
// on purpose are caught, nothing fails without a change, the update modes
// write what they say, and the JUnit report reads as CI systems read it.
#include <cairo.h>
#include <cstdlib>
#include <functional>

#include <gtest/gtest.h>

#include "KlprefsProgram.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kIcon = "/var/jb/Library/PreferenceBundles/Test.bundle/icon.png";

// A 29-point icon with a dark square whose left edge is at x, its blue
// channel at `blue` of 255.
std::string iconWithSquareAt(int x, int blue = 77) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 29, 29);
    cairo_t* cairo = cairo_create(surface);
    cairo_set_source_rgb(cairo, 26 / 255.0, 51 / 255.0, blue / 255.0);
    cairo_rectangle(cairo, x, 10, 6, 6);
    cairo_fill(cairo);
    cairo_destroy(cairo);
    std::string bytes;
    cairo_surface_write_to_png_stream(
        surface,
        [](void* closure, const unsigned char* data, unsigned int length) {
            static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
            return CAIRO_STATUS_SUCCESS;
        },
        &bytes);
    cairo_surface_destroy(surface);
    return bytes;
}

// A colour row, a switch row of a given height and label, and a row with an icon.
Value::Array page(const std::string& label = "Enabled", long height = 44) {
    return {Value::Dictionary{{"cell", "PSTableCell"},
                              {"cellClass", "KLColorPickerCell"},
                              {"label", "Tint"},
                              {"key", "tint"},
                              {"defaults", "com.example.test"}},
            Value::Dictionary{{"cell", "PSSwitchCell"},
                              {"label", label},
                              {"height", height},
                              {"key", "enabled"},
                              {"defaults", "com.example.test"}},
            Value::Dictionary{{"cell", "PSStaticTextCell"}, {"label", "Status"}, {"icon", "icon"}}};
}

// A folder of scripts beside the device root, removed at the end.
struct ScriptFolder {
    fs::path path = fs::temp_directory_path() / ("kl-pictures-" + std::to_string(getpid()));
    ScriptFolder() { fs::create_directories(path); }
    ~ScriptFolder() { fs::remove_all(path); }
    void write(const std::string& name, const std::string& text) const {
        std::ofstream(path / name) << text;
    }
};

KlprefsRun test(const DeviceWithBundle& device, const ScriptFolder& scripts,
                const std::vector<std::string>& more = {}) {
    return runKlprefs(
        with(with(device.options(), {"test", scripts.path.string(), "--scale", "1"}), more));
}

// How many pixels of a PNG are pure red, as the diff marks changed ones.
size_t redPixels(const fs::path& png) {
    cairo_surface_t* image = cairo_image_surface_create_from_png(png.c_str());
    size_t red = 0;
    if (cairo_surface_status(image) == CAIRO_STATUS_SUCCESS) {
        const int stride = cairo_image_surface_get_stride(image);
        for (int y = 0; y < cairo_image_surface_get_height(image); ++y) {
            const auto* row =
                reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(image) + y * stride);
            for (int x = 0; x < cairo_image_surface_get_width(image); ++x) {
                red += (row[x] & 0xFFFFFF) == 0xFF0000 ? 1 : 0;
            }
        }
    }
    cairo_surface_destroy(image);
    return red;
}

// The CI system running these tests sets CI and GITHUB_ACTIONS, which change
// what klprefs does with a missing picture and how it reports; every test
// starts without them and sets them itself where it means to.
class KlprefsPictures : public testing::Test {
protected:
    void SetUp() override {
        unsetenv("CI");
        unsetenv("GITHUB_ACTIONS");
    }
};

} // namespace

TEST_F(KlprefsPictures, SmallRegressionsAreCaughtAndNothingFailsWithoutAChange) {
    struct Case {
        const char* name;
        std::function<void(DeviceWithBundle&)> regress;
        // Slack that lets this regression pass.
        std::vector<std::string> slack;
    };
    const Case cases[] = {
        {"a swatch one unit off",
         [](DeviceWithBundle& d) {
             NSPropertyListSerialization::writePropertyList(
                 Value(Value::Dictionary{{"tint", "#3366CD"}}), d.kDomainFile,
                 NSPropertyListXMLFormat_v1_0);
         },
         {}},
        {"a picture's colour one unit off",
         [](DeviceWithBundle& d) { d.root.write(kIcon, iconWithSquareAt(10, 78)); },
         {"--threshold", "0.01"}},
        {"a row one point taller",
         [](DeviceWithBundle& d) {
             d.writeRoot(
                 Value(Value::Dictionary{{"title", "Test"}, {"items", page("Enabled", 45)}}));
         },
         {}},
        {"a changed word",
         [](DeviceWithBundle& d) {
             d.writeRoot(Value(Value::Dictionary{{"title", "Test"}, {"items", page("Enable")}}));
         },
         {"--max-diff-pixels", "1000"}},
        {"a picture moved one pixel",
         [](DeviceWithBundle& d) { d.root.write(kIcon, iconWithSquareAt(11)); },
         {"--max-diff-pixels", "100"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeviceWithBundle device(page(), {{"tint", "#3366CC"}});
        device.root.write(kIcon, iconWithSquareAt(10));
        ScriptFolder scripts;
        scripts.write("look.script",
                      "toggle key:enabled\nexpect image page\nexpect image row row 0\n");
        const fs::path reference = scripts.path / "__snapshots__/look/page.png";

        const KlprefsRun recorded = test(device, scripts);
        ASSERT_EQ(recorded.status, 0) << recorded.out << recorded.err;
        EXPECT_NE(recorded.out.find("recorded " + reference.string()), std::string::npos)
            << recorded.out;
        // Unchanged, in parallel and shuffled: no difference at exact comparison.
        const KlprefsRun again =
            test(device, scripts, {"--ci", "-j", "2", "--repeat", "4", "--shuffle"});
        EXPECT_EQ(again.status, 0) << again.out << again.err;
        EXPECT_NE(again.out.find("4 passed, 0 failed\n"), std::string::npos) << again.out;

        c.regress(device);
        const KlprefsRun caught = test(device, scripts, {"--ci"});
        EXPECT_EQ(caught.status, 1) << caught.out << caught.err;
        EXPECT_NE(caught.out.find("look.script:2: the picture \"page\" differs from " +
                                  reference.string()),
                  std::string::npos)
            << caught.out;
        const fs::path diff = scripts.path / "__snapshots__/look/page.diff.png";
        EXPECT_TRUE(fs::exists(scripts.path / "__snapshots__/look/page.actual.png"));
        EXPECT_GT(redPixels(diff), 0u);

        if (!c.slack.empty()) {
            const KlprefsRun allowed = test(device, scripts, with({"--ci"}, c.slack));
            EXPECT_EQ(allowed.status, 0) << allowed.out;
            // A match removes what the failure left beside the reference.
            EXPECT_FALSE(fs::exists(diff));
        }
        const KlprefsRun updated = test(device, scripts, {"--update-snapshots", "changed"});
        EXPECT_EQ(updated.status, 0) << updated.out;
        EXPECT_NE(updated.out.find("updated " + reference.string()), std::string::npos);
        EXPECT_EQ(test(device, scripts, {"--ci"}).status, 0);
    }
}

TEST_F(KlprefsPictures, UpdateModesWriteWhatTheySay) {
    struct Case {
        std::vector<std::string> options;
        const char* ci;
        bool recordedBefore;
        int status;
        const char* says;
    };
    const Case cases[] = {
        {{}, nullptr, false, 0, "recorded "},
        {{}, "true", false, 1, "there is no reference picture"},
        {{"--ci"}, nullptr, false, 1, "there is no reference picture"},
        {{"--update-snapshots", "none"}, nullptr, false, 1, "there is no reference picture"},
        {{"--update-snapshots", "missing"}, "true", false, 0, "recorded "},
        {{"--update-snapshots", "changed"}, "true", false, 0, "recorded "},
        {{"--update-snapshots", "all"}, nullptr, true, 0, "1 passed, 0 failed\n"},
        {{}, nullptr, true, 0, "1 passed, 0 failed\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.options) + (c.ci ? " CI" : ""));
        DeviceWithBundle device(page(), {});
        device.root.write(kIcon, iconWithSquareAt(10));
        ScriptFolder scripts;
        scripts.write("s.script", "expect image whole\n");
        if (c.recordedBefore) {
            ASSERT_EQ(test(device, scripts).status, 0);
        }
        if (c.ci) {
            setenv("CI", c.ci, 1);
        }
        const KlprefsRun run = test(device, scripts, c.options);
        unsetenv("CI");
        EXPECT_EQ(run.status, c.status) << run.out << run.err;
        EXPECT_NE(run.out.find(c.says), std::string::npos) << run.out;
        EXPECT_EQ(fs::exists(scripts.path / "__snapshots__/s/whole.png"),
                  c.recordedBefore || c.status == 0);
    }
}

TEST_F(KlprefsPictures, JUnitReportAndAnnotationsReadAsCIReadsThem) {
    DeviceWithBundle device(page(), {});
    device.root.write(kIcon, iconWithSquareAt(10));
    ScriptFolder scripts;
    scripts.write("good.script", "toggle Enabled\nexpect Enabled stored true\n");
    scripts.write("bad.script", "toggle Enabled\n\nexpect Enabled stored false\n");
    fs::create_directories(scripts.path / "folder.script");
    const std::string report = (scripts.path / "report.xml").string();
    setenv("GITHUB_ACTIONS", "true", 1);
    const KlprefsRun run = test(device, scripts, {"--variants", "light,dark", "--junit", report});
    unsetenv("GITHUB_ACTIONS");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("::error file=" + (scripts.path / "bad.script").string() +
                           ",line=3::expected "),
              std::string::npos)
        << run.out;
    // A real consumer of the file: Python's ElementTree, checking the
    // structure the JUnit schema asks for and counting.
    const std::string check = R"(
import sys, xml.etree.ElementTree as ET
root = ET.parse(sys.argv[1]).getroot()
assert root.tag == 'testsuites'
suite, = root.findall('testsuite')
cases = suite.findall('testcase')
for c in cases:
    assert c.get('classname') and c.get('name') and float(c.get('time')) >= 0
failed = [c for c in cases if c.find('failure') is not None]
print(suite.get('tests'), suite.get('failures'), suite.get('errors'), len(cases), len(failed),
      sorted(c.get('name') for c in failed), failed[0].get('line'),
      'found "true"' in failed[0].find('failure').get('message'))
)";
    scripts.write("check.py", check);
    const std::string command =
        "/usr/bin/python3 " + (scripts.path / "check.py").string() + " " + report;
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char buffer[512] = {};
    const size_t got = fread(buffer, 1, sizeof buffer - 1, pipe);
    EXPECT_EQ(pclose(pipe), 0);
    EXPECT_EQ(std::string(buffer, got), "5 2 1 5 2 ['bad[dark]', 'bad[light]'] 3 True\n");
}

TEST_F(KlprefsPictures, SheetPutsEveryVariantSideBySide) {
    DeviceWithBundle device(page(), {});
    device.root.write(kIcon, iconWithSquareAt(10));
    const std::string sheet = device.root.host("/sheet.png");
    const std::string single = device.root.host("/single.png");
    const KlprefsRun run =
        runKlprefs(with(device.options(), {"sheet", "-o", sheet, "--variants", "light,dark",
                                           "--devices", "iphone-se,ipad-10", "-j", "2"}));
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(runKlprefs(with(device.options(),
                              {"render", "--device", "ipad-10", "--scale", "1", "-o", single}))
                  .status,
              0);
    cairo_surface_t* grid = cairo_image_surface_create_from_png(sheet.c_str());
    cairo_surface_t* page = cairo_image_surface_create_from_png(single.c_str());
    // Two columns (light, dark) of the widest page, two rows (the phone, the iPad).
    EXPECT_EQ(cairo_image_surface_get_width(grid),
              3 * 24 + 2 * cairo_image_surface_get_width(page));
    EXPECT_GT(cairo_image_surface_get_height(grid), cairo_image_surface_get_height(page) + 667);
    cairo_surface_destroy(grid);
    cairo_surface_destroy(page);
    // The device root is left as it was: a sheet only looks.
    EXPECT_FALSE(
        fs::exists(device.root.host("/var/mobile/Library/Preferences/com.example.test.plist")));
}
