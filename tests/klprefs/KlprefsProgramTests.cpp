#include <algorithm>
#include <cairo.h>
#include <gtest/gtest.h>

#include "KlprefsProgram.h"

namespace {

Value::Dictionary row(const char* cellClass, const char* key, Value::Dictionary extra = {}) {
    Value::Dictionary entry{{"cell", "PSTableCell"},
                            {"cellClass", cellClass},
                            {"key", key},
                            {"defaults", "com.example.test"},
                            {"PostNotification", "com.example.test/changed"}};
    for (auto& [name, value] : extra) {
        entry[name] = value;
    }
    return entry;
}

Value::Array numberPage() {
    return {
        Value::Dictionary{{"cell", "PSGroupCell"}, {"label", "Colours"}},
        row("KLColorPickerCell", "tint", {{"label", "Tint"}, {"fallbackHex", "#007AFF"}}),
        Value::Dictionary{{"cell", "PSGroupCell"}, {"label", "Numbers"}},
        row("KLSliderCell", "level", {{"title", "Level"}, {"min", 0}, {"max", 1}}),
        row("KLStepperCell", "count", {{"title", "Count"}, {"min", 0}, {"max", 10}}),
    };
}

// The first view of a row in the JSON whose class is `cls`, counting from 0.
const nlohmann::json& viewOf(const nlohmann::json& page, size_t row, const std::string& cls,
                             size_t nth = 0) {
    for (const nlohmann::json& view : page["rows"][row]["views"]) {
        if (view["class"] == cls && nth-- == 0) {
            return view;
        }
    }
    static const nlohmann::json none;
    return none;
}

TEST(Klprefs, ScriptStoresExactlyWhatItSetsAndReportsIt) {
    DeviceWithBundle device(numberPage(), {{"count", 10.0}});
    const std::string script = R"(# a colour without opacity keeps six digits
tap Tint
pick #3366CC
pick "#FF000080"
dismiss
drag key:level to 0.5
tap Level text:0.5   # the value label opens the entry alert
type 0.1
button OK
press key:count plus            # 10 wraps to 0
press key:count minus hold 2    # 10, 9, 8
)";
    KlprefsRun run = runKlprefs(with(device.options(), {"run", "-", "--json"}), script);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const Value stored = device.stored();
    EXPECT_EQ(stored["tint"], Value("#FF0000"));
    EXPECT_EQ(stored["level"], Value(static_cast<double>(0.1f)));
    EXPECT_EQ(stored["count"], Value(8.0));

    const nlohmann::json page = run.json();
    EXPECT_EQ(page["domains"]["com.example.test"]["level"], 0.10000000149011612);
    EXPECT_EQ(page["domains"]["com.example.test"]["count"], 8.0);
    EXPECT_EQ(viewOf(page, 0, "UILabel", 1)["text"], "#FF0000");
    EXPECT_EQ(viewOf(page, 1, "UILabel", 2)["text"], "0.1");
    EXPECT_EQ(viewOf(page, 1, "UISlider")["value"], 0.10000000149011612);
    EXPECT_EQ(viewOf(page, 2, "UILabel", 2)["text"], "8.0");
    EXPECT_EQ(viewOf(page, 2, "UIStepper")["value"], 8.0);
    EXPECT_EQ(page["presented"].size(), 0u);

    size_t notifications = 0;
    bool pickerShown = false, alertShown = false;
    for (const nlohmann::json& event : page["events"]) {
        notifications += event["kind"] == "notification";
        pickerShown = pickerShown ||
                      (event["kind"] == "present" &&
                       event["class"] == "UIColorPickerViewController" && event["title"] == "Tint");
        alertShown = alertShown || (event["kind"] == "present" && event["title"] == "Custom value");
    }
    EXPECT_TRUE(pickerShown);
    EXPECT_TRUE(alertShown);
    // Two picks, the drag's movements, the typed value and four steps each stored once or more.
    EXPECT_GE(notifications, 8u);
}

TEST(Klprefs, RendersTheStoredColourInItsSwatchAndTheSliderAtItsValue) {
    DeviceWithBundle device(numberPage(), {{"tint", "#AF52DE"}, {"level", 0.75}});
    const std::string png = device.root.path() + "/page.png";
    KlprefsRun run = runKlprefs(with(device.options(), {"render", "-o", png, "--scale", "2"}));
    ASSERT_EQ(run.status, 0) << run.err;
    KlprefsRun dump = runKlprefs(with(device.options(), {"dump"}));
    ASSERT_EQ(dump.status, 0) << dump.err;
    const nlohmann::json page = dump.json();
    nlohmann::json swatch;
    for (const nlohmann::json& view : page["rows"][0]["views"]) {
        if (view["path"] == "1") {
            swatch = view;
        }
    }
    ASSERT_EQ(swatch["class"], "UIView");
    EXPECT_EQ(swatch["layers"][0]["fillColor"], "#AF52DEFF");

    cairo_surface_t* image = cairo_image_surface_create_from_png(png.c_str());
    ASSERT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(image), 780);
    EXPECT_EQ(cairo_image_surface_get_height(image), 2 * page["page"]["height"].get<int>());
    const double x = swatch["frame"]["x"].get<double>() + 14.5;
    const double y = swatch["frame"]["y"].get<double>() + 14.5;
    const unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    auto rgb = [&](double px, double py) {
        return *reinterpret_cast<const uint32_t*>(data + static_cast<int>(py * 2) * stride +
                                                  static_cast<int>(px * 2) * 4) &
               0xFFFFFF;
    };
    EXPECT_EQ(rgb(x, y), 0xAF52DEu);
    // The margin shows the grouped background.
    EXPECT_EQ(rgb(2, y), 0xF2F2F7u);

    // The thumb three quarters along the slider's track: white, the track
    // before it in the tint, after it grey.
    const nlohmann::json& slider = viewOf(page, 1, "UISlider");
    const nlohmann::json& frame = slider["frame"];
    const double travel = frame["width"].get<double>() - 28;
    const double thumbX = frame["x"].get<double>() + 14 + 0.75 * travel;
    const double thumbY = frame["y"].get<double>() + frame["height"].get<double>() / 2;
    EXPECT_NEAR(slider["thumb"]["x"].get<double>() + 14, thumbX, 1e-9);
    EXPECT_EQ(rgb(thumbX, thumbY), 0xFFFFFFu);
    EXPECT_EQ(rgb(thumbX - 20, thumbY), 0x007AFFu);
    EXPECT_NE(rgb(thumbX + 20, thumbY), 0x007AFFu);
    EXPECT_NE(rgb(thumbX + 20, thumbY), 0xFFFFFFu);
    cairo_surface_destroy(image);
}

TEST(Klprefs, AFailedStepStopsTheScriptAndKeepsWhatWasStored) {
    struct Case {
        const char* script;
        const char* message;
    };
    const Case cases[] = {
        {"tap Tint\npick #00FF00\nfrobnicate\n", "<stdin>:3: unknown step \"frobnicate\""},
        {"tap Tint\npick #00FF00\ndismiss\ntap Nothing\n",
         "<stdin>:4: no row with the label \"Nothing\""},
        {"tap Tint\npick #00FF00\npick #12\n", "<stdin>:3: pick wants a colour as #RRGGBB"},
        {"tap Tint\npick #00FF00\ndismiss\ndismiss\n", "<stdin>:4: no screen is presented"},
        {"tap Tint\npick #00FF00\ndismiss\ndrag Tint to 3\n",
         "<stdin>:4: row 0 (\"Tint\") has no slider"},
        {"tap Tint\npick #00FF00\ntap Level\n",
         "<stdin>:3: a UIColorPickerViewController is presented"},
        {"tap Tint\npick #00FF00\ndismiss\npress key:count sideways\n",
         "<stdin>:4: press wants minus or plus"},
        {"tap Tint\npick #00FF00\ndismiss\ntap 7\n", "<stdin>:4: no row 7: the page has 3 rows"},
        {"tap Tint\npick #00FF00\ndismiss\ntap Level path:9\n",
         "<stdin>:4: row 1 (\"Level\") has no view at path \"9\""},
        {"tap Tint\npick #00FF00\ndismiss\ntap Level text:0.5\nbutton Maybe\n",
         "<stdin>:5: the alert has no button \"Maybe\" (its buttons: \"Cancel\", \"OK\")"},
    };
    for (const Case& c : cases) {
        DeviceWithBundle device(numberPage(), {{"level", 0.5}, {"count", 3.0}});
        KlprefsRun run = runKlprefs(with(device.options(), {"run", "--json"}), c.script);
        EXPECT_EQ(run.status, 1) << c.script;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
        // The pick before the failure stays stored, and so does every other value.
        const Value stored = device.stored();
        EXPECT_EQ(stored["tint"], Value("#00FF00")) << c.script;
        EXPECT_EQ(stored["level"], Value(0.5));
        EXPECT_EQ(stored["count"], Value(3.0));
    }
    // A script that cannot be read applies none of its steps.
    DeviceWithBundle device(numberPage(), {{"level", 0.5}});
    KlprefsRun run =
        runKlprefs(with(device.options(), {"run"}), "tap Tint\npick #00FF00\ntap \"Level\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("<stdin>:3: a quoted text is not closed"), std::string::npos) << run.err;
    EXPECT_TRUE(device.stored()["tint"].isNil());
    EXPECT_EQ(device.stored()["level"], Value(0.5));
}

TEST(Klprefs, PagesThatCannotLoadSayWhy) {
    struct Case {
        const char* name;
        std::function<void(DeviceWithBundle&)> spoil;
        std::vector<std::string> extra;
        const char* message;
    };
    const Case cases[] = {
        {"no bundle at all",
         [](DeviceWithBundle& d) {
             std::filesystem::remove_all(d.root.host("/var/jb/Library/PreferenceBundles"));
         },
         {},
         "no preference bundle in /Library/PreferenceBundles or /var/jb/Library/PreferenceBundles"},
        {"a named bundle that is missing",
         [](DeviceWithBundle&) {},
         {"--bundle", "/Library/PreferenceBundles/Nope.bundle"},
         "no preference bundle at /Library/PreferenceBundles/Nope.bundle"},
        {"two bundles",
         [](DeviceWithBundle& d) { d.root.makeFolder("/Library/PreferenceBundles/Other.bundle"); },
         {},
         "several preference bundles; name the one to show:\n"
         "  /Library/PreferenceBundles/Other.bundle\n"
         "  /var/jb/Library/PreferenceBundles/Test.bundle"},
        {"no Info.plist",
         [](DeviceWithBundle& d) {
             std::filesystem::remove(
                 d.root.host(std::string(DeviceWithBundle::kBundle) + "/Info.plist"));
         },
         {},
         "Test.bundle is not a bundle: it has no Info.plist"},
        {"no Root.plist",
         [](DeviceWithBundle& d) {
             std::filesystem::remove(
                 d.root.host(std::string(DeviceWithBundle::kBundle) + "/Root.plist"));
         },
         {},
         "Root.plist not found in /var/jb/Library/PreferenceBundles/Test.bundle"},
        {"a malformed Root.plist",
         [](DeviceWithBundle& d) {
             d.root.write(std::string(DeviceWithBundle::kBundle) + "/Root.plist",
                          "<plist><dict><key>items</key><array>");
         },
         {},
         "Test.bundle/Root.plist is not a property-list dictionary"},
        {"a Root.plist without items",
         [](DeviceWithBundle& d) {
             d.writeRoot(Value(Value::Dictionary{{"title", "T"}}));
         },
         {},
         "Root.plist has no \"items\" array"},
        {"a device root that is not a folder",
         [](DeviceWithBundle&) {},
         {"--device-root", "/nonexistent/klprefs-root"},
         "the device root /nonexistent/klprefs-root is not a folder"},
    };
    for (const Case& c : cases) {
        DeviceWithBundle device(numberPage(), {{"tint", "#123456"}});
        c.spoil(device);
        const std::string before = device.storedBytes();
        KlprefsRun run = runKlprefs(with(with(device.options(), c.extra), {"dump"}));
        EXPECT_EQ(run.status, 3) << c.name << ": " << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.name << ": " << run.err;
        EXPECT_EQ(device.storedBytes(), before) << c.name;
    }
}

TEST(Klprefs, AnUnknownCellClassShowsAPlainCellAndIsReported) {
    DeviceWithBundle device(
        {row("KLNoSuchCell", "mystery", {{"label", "Mystery"}}), row("KLColorPickerCell", "tint")},
        {});
    KlprefsRun run = runKlprefs(with(device.options(), {"dump"}));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("warning: PSListController: cell class \"KLNoSuchCell\" not found"),
              std::string::npos)
        << run.err;
    const nlohmann::json page = run.json();
    EXPECT_EQ(page["rows"][0]["class"], "PSTableCell");
    EXPECT_EQ(page["rows"][0]["cellClass"], "KLNoSuchCell");
    EXPECT_EQ(viewOf(page, 0, "UILabel")["text"], "Mystery");
    EXPECT_EQ(page["rows"][1]["class"], "KLColorPickerCell");
    EXPECT_EQ(page["events"][0]["kind"], "error");
}

TEST(Klprefs, CommandLineMistakesAreUsageErrors) {
    struct Case {
        std::vector<std::string> arguments;
        const char* message;
    };
    const Case cases[] = {
        {{}, "no command given"},
        {{"draw"}, "argument was not expected: draw"},
        {{"render"}, "render wants -o FILE.png"},
        {{"run", "-o"}, "--output: 1 required FILE missing"},
        {{"dump", "--scale", "5"}, "--scale: Value 5 not in range"},
        {{"dump", "--width", "wide"}, "--width: Failed parsing wide"},
        {{"dump", "--ios", "sixteen"},
         "--ios: wants a version such as 16.0 or 14.4.2, not \"sixteen\""},
        {{"dump", "--frobnicate"}, "argument was not expected: --frobnicate"},
        {{"dump", "--language", "de,../x"},
         "--language: wants language codes such as de, pt-BR or zh-Hans, not \"../x\""},
        {{"dump", "extra"}, "argument was not expected: extra"},
        {{"dump", "--json"}, "--json goes with run"},
        {{"run", "/nonexistent/steps.script"}, "cannot read the script /nonexistent/steps.script"},
        // The device's look.
        {{"dump", "--appearance", "dim"}, "--appearance: wants one of light, dark, not \"dim\""},
        {{"dump", "--content-size", "huge"}, "wants one of xs, s, m, l, xl, xxl, xxxl, ax1"},
        {{"dump", "--device", "iphone-99"},
         "wants one of iphone-se, iphone-15, iphone-15-pro-max, ipad-10, ipad-pro-12.9, not"},
        {{"dump", "--orientation", "up"}, "wants one of portrait, landscape, not \"up\""},
    };
    for (const Case& c : cases) {
        KlprefsRun run = runKlprefs(c.arguments);
        EXPECT_EQ(run.status, 2) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
    KlprefsRun help = runKlprefs({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage:"), std::string::npos);
    EXPECT_NE(help.out.find("--device-root"), std::string::npos);
    EXPECT_NE(help.out.find("5 everything ran but a value could"), std::string::npos);
}

TEST(Klprefs, ThePageTellsTheLookOfTheDeviceItIsShownOn) {
    struct Case {
        std::vector<std::string> arguments;
        const char *appearance, *contentSize;
        nlohmann::json device;
        const char* orientation;
        double width;
    };
    const Case cases[] = {
        {{}, "light", "l", nullptr, "portrait", 390},
        {{"--appearance", "dark", "--content-size", "ax3", "--device", "iphone-se"},
         "dark",
         "ax3",
         "iphone-se",
         "portrait",
         375},
        {{"--device", "ipad-pro-12.9", "--orientation", "landscape"},
         "light",
         "l",
         "ipad-pro-12.9",
         "landscape",
         1366},
        {{"--device", "iphone-15", "--width", "500"}, "light", "l", "iphone-15", "portrait", 500},
    };
    for (const Case& c : cases) {
        KlprefsRun run = runKlprefs(with(c.arguments, {"dump"}));
        ASSERT_EQ(run.status, 0) << run.err;
        const nlohmann::json page = run.json()["page"];
        EXPECT_EQ(page["appearance"], c.appearance);
        EXPECT_EQ(page["contentSize"], c.contentSize);
        EXPECT_EQ(page["device"], c.device);
        EXPECT_EQ(page["orientation"], c.orientation);
        EXPECT_EQ(page["width"], c.width);
    }
}

TEST(Klprefs, LoadsTheUtilitiesUnlessToldNotTo) {
    // A rootless device whose picker's pictures are named by :root: paths.
    const std::string image = ":root:Library/PreferenceBundles/Test.bundle/p.png";
    Value::Array choices(3, Value(Value::Dictionary{{"image", image}}));
    DeviceWithBundle device({row("KLPickerCell", "layout", {{"choices", choices}})}, {});
    std::filesystem::copy_file(std::string(KL_SOURCE_DIR) + "/examples/device-root/var/jb/Library/"
                                                            "PreferenceBundles/Demo.bundle/"
                                                            "layout-grid.png",
                               device.root.host(std::string(DeviceWithBundle::kBundle) + "/p.png"));
    for (bool loaded : {true, false}) {
        std::vector<std::string> options = device.options();
        if (!loaded) {
            options.push_back("--without-klutils");
        }
        // Each run taps another choice, whose number it stores.
        const int tapped = loaded ? 1 : 2;
        KlprefsRun run =
            runKlprefs(with(options, {"run", "-", "--json"}),
                       "tap key:layout class:KLPickerChoiceView:" + std::to_string(tapped) + "\n");
        ASSERT_EQ(run.status, 0) << run.err;
        const nlohmann::json page = run.json();
        const nlohmann::json picture =
            loaded ? nlohmann::json{{"width", 180.0}, {"height", 360.0}} : nlohmann::json();
        for (size_t i = 0; i < 3; ++i) {
            // Tags say which choice is which; 0 is left out, as on every view.
            EXPECT_EQ(viewOf(page, 0, "KLPickerChoiceView", i).value("tag", nlohmann::json()),
                      i ? nlohmann::json(i) : nlohmann::json());
            EXPECT_EQ(viewOf(page, 0, "UIImageView", 2 * i)["image"], picture);
        }
        EXPECT_EQ(page["domains"]["com.example.test"]["layout"], tapped);
    }
}

TEST(Klprefs, TheDemoScriptRunsOnTheBuiltInExampleWithoutChangingIt) {
    const std::string example = std::string(KL_SOURCE_DIR) + "/examples/device-root";
    const std::string storedFile =
        example + "/var/mobile/Library/Preferences/com.example.demo.plist";
    const std::string before = readWhole(storedFile);
    const std::string script = readWhole(std::string(KL_SOURCE_DIR) + "/examples/demo.script");
    ASSERT_FALSE(script.empty());
    KlprefsRun run =
        runKlprefs({"run", std::string(KL_SOURCE_DIR) + "/examples/demo.script", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    const nlohmann::json page = run.json();
    EXPECT_EQ(page["page"]["title"], "Demo");
    EXPECT_EQ(page["page"]["bundle"], "/var/jb/Library/PreferenceBundles/Demo.bundle");
    const nlohmann::json& stored = page["domains"]["com.example.demo"];
    EXPECT_EQ(stored["accentColor"], "#FF3B30");
    EXPECT_EQ(stored["backgroundColor"], "#5856D6C0");
    EXPECT_EQ(stored["opacity"], static_cast<double>(0.65f));
    EXPECT_EQ(stored["columns"], 1.0);
    // The third picture tapped: its position, as an integer.
    EXPECT_EQ(stored["layout"], 2);
    EXPECT_TRUE(stored["layout"].is_number_integer());
    // The banner: the author's profile opened, the share sheet shown and
    // closed, the mail composer left open.
    std::vector<std::string> opened, shown;
    for (const nlohmann::json& event : page["events"]) {
        if (event["kind"] == "openURL") {
            opened.push_back(event["url"]);
        } else if (event["kind"] == "present") {
            shown.push_back(event["class"]);
        }
    }
    EXPECT_EQ(opened, std::vector<std::string>{"https://twitter.com/example"});
    EXPECT_NE(std::find(shown.begin(), shown.end(), "UIActivityViewController"), shown.end());
    ASSERT_EQ(page["presented"].size(), 1u);
    EXPECT_EQ(page["presented"][0]["kind"], "mailComposer");
    EXPECT_EQ(page["presented"][0]["subject"], "Demo Support");
    EXPECT_EQ(readWhole(storedFile), before);
}

} // namespace

namespace {

TEST(Klprefs, TheBundleExecutableProvidesTheListController) {
    DeviceWithBundle device({row("KLColorPickerCell", "tint", {{"label", "Tint"}})}, {});
    const std::string bundle = DeviceWithBundle::kBundle;
    std::filesystem::copy_file(KL_TEST_CONTROLLER, device.root.host(bundle + "/Test"));
    auto info = [&](const char* principal) {
        device.root.write(bundle + "/Info.plist",
                          NSPropertyListSerialization::dataWithPropertyList(
                              Value(Value::Dictionary{{"CFBundleExecutable", "Test"},
                                                      {"NSPrincipalClass", principal}}),
                              NSPropertyListXMLFormat_v1_0));
    };
    info("TestListController");
    KlprefsRun run = runKlprefs(with(device.options(), {"dump"}));
    ASSERT_EQ(run.status, 0) << run.err;
    nlohmann::json page = run.json();
    EXPECT_EQ(page["page"]["controller"], "TestListController");
    ASSERT_EQ(page["rows"].size(), 2u);
    EXPECT_EQ(page["rows"][1]["label"], "Made in code");

    // A class the executable does not export: the page still shows its Root.plist.
    info("MissingListController");
    run = runKlprefs(with(device.options(), {"dump"}));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("principal class MissingListController not found"), std::string::npos)
        << run.err;
    page = run.json();
    EXPECT_EQ(page["page"]["controller"], "PSListController");
    EXPECT_EQ(page["rows"].size(), 1u);

    // An executable that is no library for this machine, such as one built for the device.
    info("TestListController");
    device.root.write(bundle + "/Test", "not a library");
    run = runKlprefs(with(device.options(), {"dump"}));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("warning: could not load the executable Test"), std::string::npos)
        << run.err;
    EXPECT_EQ(run.json()["page"]["controller"], "PSListController");
}

} // namespace

namespace {

TEST(Klprefs, PickTakesExactComponentsThatTheRowTruncatesAndClamps) {
    struct Case {
        const char* pick;
        const char* stored;
    };
    const Case cases[] = {
        {"pick rgba(0.999, 0.001, 0.5, 1)", "#FE007F"},
        {"pick \"rgba(1.5,-0.25,1,1)\"", "#FF00FF"},
        {"pick #336699", "#336699"},
    };
    for (const Case& c : cases) {
        DeviceWithBundle device(numberPage(), {});
        const std::string script = std::string("tap Tint\n") + c.pick + "\ndismiss\n";
        KlprefsRun run = runKlprefs(with(device.options(), {"run"}), script);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(device.stored()["tint"], Value(c.stored)) << c.pick;
    }
    const Case mistakes[] = {
        {"pick rgba(1, 0, 0)", "rgba() wants four components, not 3"},
        {"pick rgba(1, 0, x, 1)", "a component of rgba() wants a number, not \"x\""},
        {"pick rgba(1, 0, 0, 1", "pick wants a colour as"},
    };
    for (const Case& c : mistakes) {
        DeviceWithBundle device(numberPage(), {});
        KlprefsRun run =
            runKlprefs(with(device.options(), {"run"}), std::string("tap Tint\n") + c.pick + "\n");
        EXPECT_EQ(run.status, 1) << c.pick;
        EXPECT_NE(run.err.find(c.stored), std::string::npos) << run.err;
    }
}

TEST(Klprefs, ThePageSitsUnderANavigationBarWithABackButtonToSettings) {
    DeviceWithBundle device(numberPage(), {});
    KlprefsRun run =
        runKlprefs(with(device.options(), {"run", "--json"}), "tap Tint\npick #FF0000\n");
    ASSERT_EQ(run.status, 0) << run.err;
    const nlohmann::json page = nlohmann::json::parse(run.out);
    // The first row starts below the bar; the picker is a sheet over the page.
    EXPECT_GE(page["rows"][0]["frame"]["y"].get<double>(), 44);
    ASSERT_EQ(page["presented"].size(), 1u);
    EXPECT_EQ(page["presented"][0]["kind"], "colorPicker");
    EXPECT_EQ(page["presented"][0]["selectedColor"], "#FF0000FF");
}

TEST(Klprefs, TestRunsEveryScriptOnAFreshCopyAndSummarises) {
    TemporaryDeviceRoot scripts;
    struct Script {
        const char* name;
        const char* text;
    };
    // Each script starts from the example as shipped: the second one sees
    // the default again, not what the first one stored.
    const Script written[] = {
        {"/a.script", "tap \"Standard cells\"\ntoggle Enabled\nexpect Enabled stored false\n"},
        {"/nested/b.script", "tap \"Standard cells\"\nexpect Enabled shown on\nback\n"},
        {"/nested/c.script", "tap \"Standard cells\"\n\nexpect Enabled shown off\n"},
        {"/ignored.txt", "not a script\n"},
    };
    for (const Script& script : written) {
        scripts.write(script.name, std::string(script.text));
    }
    const KlprefsRun run = runKlprefs({"test", scripts.path()});
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.out.find("2 passed, 1 failed"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("c.script:3: expected"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("ignored"), std::string::npos) << run.out;

    std::filesystem::remove(scripts.host("/nested/c.script"));
    const KlprefsRun passing = runKlprefs({"test", scripts.path()});
    EXPECT_EQ(passing.status, 0) << passing.out << passing.err;
    EXPECT_NE(passing.out.find("2 passed, 0 failed"), std::string::npos) << passing.out;

    scripts.makeFolder("/none");
    const KlprefsRun empty = runKlprefs({"test", scripts.host("/none")});
    EXPECT_EQ(empty.status, 2) << empty.out;
}

} // namespace

TEST(Klprefs, TheExampleShowsInTheLanguagesItShipsAndMirrorsRightToLeft) {
    struct Case {
        const char* languages;
        const char* language;
        const char* header;
        const char* back;
        const char* direction;
    };
    const Case cases[] = {
        {"en", "en", "Colours", "Settings", "leftToRight"},
        {"de-AT, en", "de", "Farben", "Einstellungen", "leftToRight"},
        {"ja-JP", "ja", "\u30AB\u30E9\u30FC", "\u8A2D\u5B9A", "leftToRight"},
        {"ar", "ar", "\u0627\u0644\u0623\u0644\u0648\u0627\u0646",
         "\u0627\u0644\u0625\u0639\u062F\u0627\u062F\u0627\u062A", "rightToLeft"},
        {"he", "he", "\u05E6\u05D1\u05E2\u05D9\u05DD", "\u05D4\u05D2\u05D3\u05E8\u05D5\u05EA",
         "rightToLeft"},
        // Neither ships in the bundle: its development region; Settings speaks French.
        {"it,fr", "en", "Colours", "R\u00E9glages", "leftToRight"},
    };
    for (const Case& c : cases) {
        KlprefsRun run = runKlprefs({"dump", "--language", c.languages});
        ASSERT_EQ(run.status, 0) << run.err;
        const nlohmann::json page = run.json();
        EXPECT_EQ(page["page"]["language"], c.language) << c.languages;
        EXPECT_EQ(page["page"]["layoutDirection"], c.direction) << c.languages;
        EXPECT_EQ(page["sections"][0]["header"], c.header) << c.languages;
        EXPECT_NE(page["navigationBar"].dump().find(c.back), std::string::npos) << c.languages;
    }
}
