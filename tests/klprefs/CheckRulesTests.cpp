#include <set>

#include <gtest/gtest.h>

#include <Preferences/Preferences.h>
#include <UIKit/NSLayoutConstraint.h>
#include <UIKit/UIColor.h>
#include <UIKit/UILabel.h>
#include <UIKit/UITableView.h>
#include <objc/ObjCExport.h>

#include "CheckReport.h"
#include "HostError.h"
#include "KlprefsProgram.h"
#include "LocalizationRule.h"
#include "PageChecker.h"
#include "PlistLines.h"
#include "TestPictures.h"

// Rows a tweak's own code could make, each with one fault the check finds.
// Text fixed in black, which dark mode shows on a dark row.
class CheckBlackTextCell : public PSTableCell {
public:
    void refreshCellContentsWithSpecifier(const Ref<PSSpecifier>& specifier) override {
        PSTableCell::refreshCellContentsWithSpecifier(specifier);
        textLabel()->setTextColor(UIColor::blackColor());
    }
};
// A view that hangs far below its row.
class CheckSpillingCell : public PSTableCell {
public:
    void refreshCellContentsWithSpecifier(const Ref<PSSpecifier>& specifier) override {
        PSTableCell::refreshCellContentsWithSpecifier(specifier);
        Ref<UIView> spill = alloc<UIView>()->initWithFrame(CGRectMake(200, 0, 40, 160));
        spill->setBackgroundColor(UIColor::systemRedColor());
        addSubview(spill);
    }
};
// A view asked to be 10 and 20 points wide at once.
class CheckConflictingCell : public PSTableCell {
public:
    void refreshCellContentsWithSpecifier(const Ref<PSSpecifier>& specifier) override {
        PSTableCell::refreshCellContentsWithSpecifier(specifier);
        Ref<UIView> box = alloc<UIView>()->initWithFrame(CGRectZero);
        box->setTranslatesAutoresizingMaskIntoConstraints(false);
        contentView()->addSubview(box);
        NSLayoutConstraint::activateConstraints(
            {box->widthAnchor()->constraintEqualToConstant(10),
             box->widthAnchor()->constraintEqualToConstant(20)});
    }
};
// A row that takes 150 ms of the processor to show.
class CheckSlowCell : public PSTableCell {
public:
    void refreshCellContentsWithSpecifier(const Ref<PSSpecifier>& specifier) override {
        PSTableCell::refreshCellContentsWithSpecifier(specifier);
        // Busy, as real work is: the check counts the processor's time.
        const double start = DrawnPageRules::processorMilliseconds();
        while (DrawnPageRules::processorMilliseconds() - start < 150) {
        }
    }
};
// A page in a dark theme of its own: its table is black in light mode too.
class CheckBlackTableController : public PSListController {
public:
    void loadView() override {
        PSListController::loadView();
        table()->setBackgroundColor(UIColor::blackColor());
    }
};

constexpr objc_method kCheckControllerClassMethods[] = {
    ObjCExport::allocMethod<CheckBlackTableController>()};
constexpr objc_method kCheckControllerMethods[] = {
    ObjCExport::method<&PSListController::init>("init")};
extern "C" __attribute__((
    visibility("default"))) constinit const objc_class OBJC_CLASS_$_CheckBlackTableController{
    "CheckBlackTableController", nullptr, kCheckControllerClassMethods, kCheckControllerMethods};

extern "C" __attribute__((
    visibility("default"))) constinit const objc_class OBJC_CLASS_$_CheckBlackTextCell{
    "CheckBlackTextCell", &OBJC_CLASS_$_PSTableCell,
    PSTableCellClassMethods<CheckBlackTextCell>::classMethods,
    PSTableCellClassMethods<CheckBlackTextCell>::instanceMethods};
extern "C" __attribute__((
    visibility("default"))) constinit const objc_class OBJC_CLASS_$_CheckSpillingCell{
    "CheckSpillingCell", &OBJC_CLASS_$_PSTableCell,
    PSTableCellClassMethods<CheckSpillingCell>::classMethods,
    PSTableCellClassMethods<CheckSpillingCell>::instanceMethods};
extern "C" __attribute__((
    visibility("default"))) constinit const objc_class OBJC_CLASS_$_CheckConflictingCell{
    "CheckConflictingCell", &OBJC_CLASS_$_PSTableCell,
    PSTableCellClassMethods<CheckConflictingCell>::classMethods,
    PSTableCellClassMethods<CheckConflictingCell>::instanceMethods};
extern "C"
    __attribute__((visibility("default"))) constinit const objc_class OBJC_CLASS_$_CheckSlowCell{
        "CheckSlowCell", &OBJC_CLASS_$_PSTableCell,
        PSTableCellClassMethods<CheckSlowCell>::classMethods,
        PSTableCellClassMethods<CheckSlowCell>::instanceMethods};

// Named, so that its helpers keep apart from those of the files compiled with it.
namespace check_rules {

constexpr const char* kDomain = "com.example.test";
constexpr const char* kBundle = DeviceWithBundle::kBundle;
constexpr const char* kOne = "light,l,iphone-15,en";

Value::Dictionary row(const char* cell, const char* label, Value::Dictionary extra = {}) {
    Value::Dictionary properties{{"cell", cell}, {"label", label}};
    for (auto& [name, value] : extra) {
        properties[name] = value;
    }
    return properties;
}

// A sound page: a group and a switch. Each case adds one broken row after it.
Value::Array pageWith(const Value::Dictionary& broken, const char* group = "Options") {
    return {Value(row("PSGroupCell", group)),
            Value(row("PSSwitchCell", "Enabled", {{"key", "enabled"}, {"defaults", kDomain}})),
            Value(broken)};
}

TEST(CheckRules, EachBrokenBundleIsFoundAtItsItemInItsVariantsAndNothingElse) {
    struct Case {
        const char* rule;
        Value::Dictionary broken;
        std::vector<std::pair<std::string, std::string>> files;
        const char* variants;
        const char* key;
        std::set<std::string> foundIn;
        // Part of the message, where the rule has several reasons.
        std::string says = "";
        // The sound page's group text, where it would break as the row does.
        const char* group = "Options";
    };
    const std::string picture = std::string(kBundle) + "/a.png";
    const std::string longText(40, 'W');
    const Case cases[] = {
        {"missing-localization",
         row("PSStaticTextCell", "GREETING"),
         {{"/en.lproj/Root.strings", "\"GREETING\" = \"Hello\";"},
          {"/de.lproj/Root.strings", "\"OTHER\" = \"Anderes\";"}},
         "light,l,iphone-15,en,de",
         "label",
         {"light/l/iphone-15/de"}},
        {"missing-localization",
         row("PSStaticTextCell", "GREETING"),
         {{"/en.lproj/Root.strings", "\"GREETING\" = \"Hello\""}},
         kOne,
         "label",
         {"light/l/iphone-15/en"},
         "en.lproj/Root.strings cannot be read"},
        {"missing-localization",
         row("PSStaticTextCell", "GREETING"),
         {{"/en.lproj/Other.strings", "\"GREETING\" = \"Hello\";"}},
         kOne,
         "label",
         {"light/l/iphone-15/en"},
         "the bundle has no Root.strings"},
        {"low-contrast",
         row("PSTableCell", "Fixed black", {{"cellClass", "CheckBlackTextCell"}}),
         {},
         "light,dark,l,iphone-15,en",
         "label",
         {"dark/l/iphone-15/en"}},
        {"truncated-text",
         row("PSStaticTextCell", longText.c_str()),
         {},
         "light,l,ax3,iphone-15,ipad-pro-12.9,en",
         "label",
         {"light/l/iphone-15/en", "light/l/ipad-pro-12.9/en"}},
        // The texts the table draws itself, and the list of choices a link opens.
        {"missing-localization",
         row("PSGroupCell", "More", {{"footerText", "MORE_NOTE"}}),
         {{"/en.lproj/Root.strings", "\"OTHER\" = \"Other\";"}},
         kOne,
         "footerText",
         {"light/l/iphone-15/en"}},
        {"low-contrast",
         {{"cell", "PSGroupCell"}, {"footerText", "On black"}},
         {{"/Info.plist", "<plist><dict><key>NSPrincipalClass</key>"
                          "<string>CheckBlackTableController</string></dict></plist>"}},
         "light,dark,l,iphone-15,en",
         "footerText",
         {"light/l/iphone-15/en"},
         "On black",
         ""},
        {"truncated-text",
         row("PSGroupCell", longText.c_str()),
         {},
         "light,dark,l,iphone-15,en",
         "label",
         {"light/l/iphone-15/en", "dark/l/iphone-15/en"}},
        {"truncated-text",
         row("PSLinkListCell", "Mode",
             {{"key", "mode"},
              {"defaults", kDomain},
              {"validValues", Value::Array{Value(0), Value(1)}},
              {"validTitles", Value::Array{Value("Short"), Value(longText)}}}),
         {},
         kOne,
         "validTitles",
         {"light/l/iphone-15/en"}},
        {"missing-localization",
         row("PSLinkListCell", "Mode",
             {{"key", "mode"},
              {"defaults", kDomain},
              {"validValues", Value::Array{Value("plain"), Value("MODE_FANCY")}}}),
         {},
         kOne,
         "validValues",
         {"light/l/iphone-15/en"},
         "\"validTitles\""},
        {"overlap",
         row("PSTableCell", "Spilling", {{"cellClass", "CheckSpillingCell"}}),
         {},
         kOne,
         nullptr,
         {"light/l/iphone-15/en"}},
        {"constraint-conflict",
         row("PSTableCell", "Conflicting", {{"cellClass", "CheckConflictingCell"}}),
         {},
         kOne,
         nullptr,
         {"light/l/iphone-15/en"}},
        {"missing-image",
         row("PSTableCell", "Pictured", {{"icon", "nothere"}}),
         {},
         kOne,
         "icon",
         {"light/l/iphone-15/en"}},
        {"root-path",
         row("PSTableCell", "Layout",
             {{"cellClass", "KLPickerCell"},
              {"key", "layout"},
              {"defaults", kDomain},
              {"choices",
               Value::Array(3, Value(Value::Dictionary{{"title", "A"}, {"image", picture}}))}}),
         {{"/a.png", pngPicture()}},
         kOne,
         "choices",
         {"light/l/iphone-15/en"}},
        {"root-path",
         row("PSTableCell", "Layout",
             {{"cellClass", "KLPickerCell"},
              {"key", "layout"},
              {"defaults", kDomain},
              {"choices",
               Value::Array(3, Value(Value::Dictionary{
                                   {"title", "A"},
                                   {"image", "/Library/PreferenceBundles/Test.bundle/a.png"}}))}}),
         {{"/a.png", pngPicture()}},
         kOne,
         "choices",
         {"light/l/iphone-15/en"},
         "found on a rootful device but not on a rootless one"},
        {"no-storage",
         row("PSSwitchCell", "Loose", {{"key", "loose"}}),
         {},
         kOne,
         "defaults",
         {"light/l/iphone-15/en"}},
        {"type-conflict",
         row("PSSliderCell", "Level", {{"key", "enabled"}, {"defaults", kDomain}}),
         {},
         kOne,
         "key",
         {"light/l/iphone-15/en"}},
        {"default-type",
         row("PSSwitchCell", "Other",
             {{"key", "other"}, {"defaults", kDomain}, {"default", "yes"}}),
         {},
         kOne,
         "default",
         {"light/l/iphone-15/en"}},
        {"bad-domain",
         row("PSSwitchCell", "Bad", {{"key", "bad"}, {"defaults", "../evil"}}),
         {},
         kOne,
         "defaults",
         {"light/l/iphone-15/en"}},
        {"missing-pane",
         row("PSLinkCell", "More", {{"id", "Nowhere"}}),
         {},
         kOne,
         "id",
         {"light/l/iphone-15/en"}},
        {"missing-selector",
         row("PSButtonCell", "Do it", {{"action", "doIt"}}),
         {{"/Info.plist",
           "<plist><dict><key>CFBundleExecutable</key><string>Gone</string>"
           "<key>NSPrincipalClass</key><string>GoneListController</string></dict></plist>"}},
         kOne,
         "action",
         {"light/l/iphone-15/en"},
         "could not be loaded"},
        {"missing-class",
         row("PSTableCell", "Mystery", {{"cellClass", "NoSuchCell"}}),
         {},
         kOne,
         "cellClass",
         {"light/l/iphone-15/en"}},
        {"missing-selector",
         row("PSButtonCell", "Do it", {{"action", "doIt"}}),
         {},
         kOne,
         "action",
         {"light/l/iphone-15/en"}},
        {"slow-page",
         row("PSTableCell", "Slow", {{"cellClass", "CheckSlowCell"}}),
         {},
         kOne,
         nullptr,
         {"light/l/iphone-15/en"}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.rule);
        DeviceWithBundle device(pageWith(test.broken, test.group), {});
        for (const auto& [path, contents] : test.files) {
            device.root.write(kBundle + path, contents);
        }
        PageHost::Settings settings;
        settings.deviceRoot = device.root.path();
        settings.bundlePath = kBundle;
        PageChecker checker(settings, std::string(test.variants));
        const std::vector<CheckFinding>& findings = checker.run().all();
        std::string all;
        for (const CheckFinding& finding : findings) {
            all += finding.rule + ": " + finding.message + "\n";
        }
        EXPECT_EQ(findings.size(), 1u) << all;
        if (findings.empty()) {
            continue;
        }
        const CheckFinding& finding = findings.front();
        EXPECT_EQ(finding.rule, test.rule) << finding.message;
        EXPECT_NE(finding.message.find(test.says), std::string::npos) << finding.message;
        const std::set<std::string> warnings{"overlap",       "constraint-conflict", "missing-pane",
                                             "missing-class", "missing-selector",    "slow-page"};
        EXPECT_EQ(finding.level, test.says == "could not be loaded" ? CheckLevel::Info
                                 : warnings.count(test.rule)        ? CheckLevel::Warning
                                                                    : CheckLevel::Error);
        EXPECT_EQ(finding.file, "Root.plist");
        EXPECT_EQ(finding.item, std::optional<size_t>(2));
        EXPECT_EQ(finding.key, test.key ? std::optional<std::string>(test.key) : std::nullopt);
        EXPECT_EQ(std::set<std::string>(finding.variants.begin(), finding.variants.end()),
                  test.foundIn);
        // The line is the key's (or the item's) in the XML file.
        EXPECT_TRUE(finding.line.has_value());
        std::istringstream text(device.root.read(std::string(kBundle) + "/Root.plist"));
        std::string line;
        for (size_t number = 0; number < finding.line.value_or(0); ++number) {
            std::getline(text, line);
        }
        const bool keyed = test.key && test.broken.count(test.key);
        EXPECT_NE(line.find(keyed ? "<key>" + std::string(test.key) + "</key>" : "<dict>"),
                  std::string::npos)
            << line;
    }
}

TEST(CheckRules, TheProgramReportsInSARIFFailsAtItsLevelAndLeavesTheDeviceRootAsItWas) {
    DeviceWithBundle device(
        pageWith(row(
            "PSTableCell", "Layout",
            {{"cellClass", "KLPickerCell"},
             {"key", "layout"},
             {"defaults", kDomain},
             {"choices", Value::Array(3, Value(Value::Dictionary{
                                             {"title", "A"}, {"image", ":root:nothere.png"}}))}})),
        {{"enabled", true}});
    const std::string before = device.storedBytes();
    const auto check = [&](std::vector<std::string> more) {
        return runKlprefs(with(device.options(), with({"check", "--variants", kOne}, more)));
    };
    const KlprefsRun sarif = check({"--format", "sarif"});
    EXPECT_EQ(sarif.status, 1) << sarif.err;
    const nlohmann::json report = nlohmann::json::parse(sarif.out);
    EXPECT_EQ(report["version"], "2.1.0");
    const nlohmann::json& result = report["runs"][0]["results"][0];
    EXPECT_EQ(result["ruleId"], "missing-image");
    EXPECT_EQ(result["level"], "error");
    EXPECT_EQ(result["locations"][0]["physicalLocation"]["artifactLocation"]["uri"], "Root.plist");
    EXPECT_EQ(report["runs"][0]["results"].size(), 1u);
    // The picker writes its choice back as it shows; none of it reaches the device.
    EXPECT_EQ(device.storedBytes(), before);
    EXPECT_FALSE(std::filesystem::exists(device.root.host("/var/mobile/Library/Preferences/" +
                                                          std::string(kDomain) + ".plist.lock")));

    const KlprefsRun json = check({"--format", "json", "--level", "warning"});
    EXPECT_EQ(json.status, 1);
    const nlohmann::json finding = nlohmann::json::parse(json.out)["findings"][0];
    EXPECT_EQ(finding["item"], 2);
    EXPECT_EQ(finding["key"], "choices");
    EXPECT_EQ(finding["variants"], nlohmann::json::array({"light/l/iphone-15/en"}));
    EXPECT_TRUE(finding["line"].is_number());

    EXPECT_EQ(check({"--variants", "purple"}).status, 2);
}

TEST(CheckRules, VariantListsNameEveryCombinationOfTheKindsGiven) {
    const auto variants = CheckVariant::fromList(std::string("dark, ax3,de"), {"en", "ja"});
    ASSERT_TRUE(variants.has_value());
    std::vector<std::string> names;
    for (const CheckVariant& variant : *variants) {
        names.push_back(variant.name());
    }
    EXPECT_EQ(names,
              (std::vector<std::string>{"dark/ax3/iphone-15/de", "dark/ax3/ipad-pro-12.9/de"}));
    EXPECT_EQ(CheckVariant::fromList(std::nullopt, {"en", "ja"})->size(), 16u);
    std::string error;
    EXPECT_FALSE(CheckVariant::fromList(std::string("dark,huge"), {}, &error));
    EXPECT_NE(error.find("\"huge\""), std::string::npos);

    CheckFindings findings;
    const CheckReport report(findings,
                             {"light/l/a/en", "dark/l/a/en", "light/l/a/de", "dark/l/a/de"});
    EXPECT_EQ(report.describeVariants({"dark/l/a/en", "dark/l/a/de"}), "dark");
    EXPECT_EQ(report.describeVariants({"dark/l/a/en", "light/l/a/de"}),
              "dark/l/a/en, light/l/a/de");
}

TEST(CheckRules, LinesOfItemsAndKeysAreFoundInXMLAndNotGuessedElsewhere) {
    const std::string xml = "<?xml version=\"1.0\"?>\n"                // 1
                            "<plist version=\"1.0\"><dict>\n"          // 2
                            "<key>title</key><array><dict/></array>\n" // 3
                            "<!-- <key>items</key> in a comment -->\n" // 4
                            "<key>items</key>\n"                       // 5
                            "<array>\n"                                // 6
                            "  <dict/>\n"                              // 7
                            "  <string>not a row</string>\n"           // 8
                            "  <dict>\n"                               // 9
                            "    <key>choices</key><array><dict>\n"    // 10
                            "      <key>key</key><string>x</string>\n" // 11
                            "    </dict></array>\n"                    // 12
                            "    <key>key</key><![CDATA[<dict>]]>\n"   // 13
                            "  </dict>\n"                              // 14
                            "</array></dict></plist>\n";
    const PlistLines lines(xml);
    struct Case {
        size_t item;
        const char* key;
        std::optional<size_t> line;
    };
    const Case cases[] = {
        {0, nullptr, 7},
        {1, nullptr, 8},
        {2, nullptr, 9},
        {2, "choices", 10},
        {2, "key", 13},
        {2, "absent", 9},
        {3, nullptr, std::nullopt},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(test.key ? lines.keyLine(test.item, test.key) : lines.itemLine(test.item),
                  test.line)
            << test.item << " " << (test.key ? test.key : "");
    }
    const PlistLines binary(std::string("bplist00\xD1\x01\x02", 11));
    EXPECT_EQ(binary.itemLine(0), std::nullopt);
    EXPECT_FALSE(PlistLines("<plist><dict><key>items</key><array><dict>").itemLine(1));
}

TEST(CheckRules, TextsReadAsKeysOnlyWhenShapedLikeOne) {
    const std::pair<const char*, bool> cases[] = {
        {"ENABLED_LABEL", true}, {"ACCENT", true},  {"prefs.title", true}, {"Enabled", false},
        {"Opacity", false},      {"OK", false},     {"Two words", false},  {"RGB", true},
        {"Über", false},         {"item-3", false},
    };
    for (const auto& [text, key] : cases) {
        EXPECT_EQ(LocalizationRule::looksLikeKey(text), key) << text;
    }
}

TEST(CheckRules, TheTextReportNamesPlaceRuleAndVariantsAndCounts) {
    CheckFindings findings;
    CheckFinding finding{"no-storage",
                         CheckLevel::Error,
                         "Root.plist",
                         7,
                         "key",
                         42,
                         "",
                         "the row stores its value nowhere",
                         {}};
    findings.add(finding, {"light/l/a/en"});
    findings.add(finding, {"dark/l/a/en"});
    finding.rule = "slow-page";
    finding.level = CheckLevel::Warning;
    finding.line.reset();
    findings.add(finding, {"dark/l/a/en"});
    const CheckReport report(findings, {"light/l/a/en", "dark/l/a/en"});
    std::ostringstream text;
    report.write(CheckReport::Format::Text, text);
    EXPECT_EQ(text.str(), "Root.plist:42: error: the row stores its value nowhere [no-storage]\n"
                          "    item 7, key \"key\"; in every variant\n"
                          "Root.plist: warning: the row stores its value nowhere [slow-page]\n"
                          "    item 7, key \"key\"; in dark\n"
                          "1 error, 1 warning, 0 infos in 2 variants\n");
    EXPECT_EQ(report.exitStatus(CheckLevel::Error), 1);
    EXPECT_EQ(CheckReport(CheckFindings(), {"light/l/a/en"}).exitStatus(CheckLevel::Info), 0);
}

TEST(CheckRules, TheExampleAndItsStandardCellsPageHaveNoFindingInAnyDefaultVariant) {
    const KlprefsRun run = runKlprefs({"check", "--format", "json", "--level", "info"});
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    const nlohmann::json report = nlohmann::json::parse(run.out);
    EXPECT_EQ(report["findings"], nlohmann::json::array());
    // Two appearances, two text sizes, two devices, five languages.
    EXPECT_EQ(report["variants"].size(), 40u);
    EXPECT_EQ(report["variants"][0], "light/l/iphone-15/ar");
}

TEST(CheckRules, ContrastIsTheRatioOfRelativeLuminances) {
    struct Case {
        CGColor first;
        CGColor second;
        double ratio;
    };
    const double gray76 = 0x76 / 255.0;
    const double gray77 = 0x77 / 255.0;
    const Case cases[] = {
        {{0, 0, 0, 1}, {1, 1, 1, 1}, 21},
        {{1, 1, 1, 1}, {0, 0, 0, 1}, 21},
        {{1, 1, 1, 1}, {1, 1, 1, 1}, 1},
        {{gray76, gray76, gray76, 1}, {1, 1, 1, 1}, 4.54},
        {{gray77, gray77, gray77, 1}, {1, 1, 1, 1}, 4.48},
        {{1, 0, 0, 1}, {1, 1, 1, 1}, 4.0},
    };
    for (const Case& test : cases) {
        EXPECT_NEAR(DrawnPageRules::contrast(test.first, test.second), test.ratio, 0.01);
    }
}

TEST(CheckRules, OnARootfulDeviceAPathFixedToTheRootlessFolderIsFound) {
    TemporaryDeviceRoot root;
    const std::string bundle = "/Library/PreferenceBundles/Rootful.bundle";
    auto write = [&](const std::string& path, const Value& plist) {
        root.write(bundle + path, NSPropertyListSerialization::dataWithPropertyList(
                                      plist, NSPropertyListXMLFormat_v1_0));
    };
    write("/Info.plist", Value(Value::Dictionary{{"NSPrincipalClass", "PSListController"}}));
    const Value choice(Value::Dictionary{{"title", "A"}, {"image", "/var/jb" + bundle + "/a.png"}});
    write("/Root.plist", Value(Value::Dictionary{
                             {"items", pageWith(row("PSTableCell", "Layout",
                                                    {{"cellClass", "KLPickerCell"},
                                                     {"key", "layout"},
                                                     {"defaults", kDomain},
                                                     {"choices", Value::Array(3, choice)}}))}}));
    root.write(bundle + "/a.png", pngPicture());
    PageHost::Settings settings;
    settings.deviceRoot = root.path();
    PageChecker checker(settings, std::string(kOne));
    const std::vector<CheckFinding>& findings = checker.run().all();
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].rule, "root-path");
    EXPECT_NE(findings[0].message.find("found on a rootless device but not on a rootful one; "
                                       "begin it with :root:"),
              std::string::npos)
        << findings[0].message;
}

TEST(CheckRules, TheJSONHoldsEveryFieldOfAFindingAndNullsForWhatIsUnknown) {
    CheckFindings findings;
    findings.add({"slow-page",
                  CheckLevel::Warning,
                  "",
                  std::nullopt,
                  std::nullopt,
                  std::nullopt,
                  "slow",
                  "the page takes 130 ms",
                  {}},
                 {"dark/l/a/en"});
    findings.add({"no-storage", CheckLevel::Error, "Root.plist", 3, "key", 12, "", "nowhere", {}},
                 {"light/l/a/en"});
    std::ostringstream out;
    CheckReport(findings, {"light/l/a/en", "dark/l/a/en"}).write(CheckReport::Format::JSON, out);
    const nlohmann::json report = nlohmann::json::parse(out.str());
    ASSERT_EQ(report["findings"].size(), 2u);
    const nlohmann::json& page = report["findings"][0];
    EXPECT_EQ(page["rule"], "slow-page");
    EXPECT_EQ(page["level"], "warning");
    EXPECT_TRUE(page["file"].is_null());
    EXPECT_TRUE(page["item"].is_null());
    EXPECT_TRUE(page["key"].is_null());
    EXPECT_TRUE(page["line"].is_null());
    EXPECT_EQ(page["variants"], nlohmann::json::array({"dark/l/a/en"}));
    const nlohmann::json& row = report["findings"][1];
    EXPECT_EQ(row["file"], "Root.plist");
    EXPECT_EQ(row["item"], 3);
    EXPECT_EQ(row["key"], "key");
    EXPECT_EQ(row["line"], 12);
    EXPECT_EQ(row["message"], "nowhere");
}

} // namespace check_rules
