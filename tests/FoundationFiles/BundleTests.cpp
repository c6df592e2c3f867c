#include <algorithm>

#include <gtest/gtest.h>

#include <Foundation/NSBundle.h>
#include <Foundation/NSLocale.h>
#include <Foundation/NSPropertyListSerialization.h>
#include <Foundation/SDKEventLog.h>

#include "TemporaryDeviceRoot.h"

namespace {

const std::string kBundle = "/Library/PreferenceBundles/Demo.bundle";

// UTF-16 with a byte-order mark, as Xcode writes .strings files, or without.
std::string utf16(std::u16string_view text, bool bigEndian, bool mark = true) {
    std::string bytes = !mark ? "" : bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t unit : text) {
        char high = static_cast<char>(unit >> 8);
        char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

class Bundle : public testing::Test {
protected:
    TemporaryDeviceRoot root;
    Ref<NSBundle> bundle;

    void write(const std::string& relative, const std::string& contents) {
        root.write(kBundle + "/" + relative, contents);
    }
    void write(const std::string& relative, const Value& plist, NSPropertyListFormat format) {
        root.write(kBundle + "/" + relative,
                   NSPropertyListSerialization::dataWithPropertyList(plist, format));
    }

    void TearDown() override { NSLocale::setPreferredLanguages({}); }

    void SetUp() override {
        NSLocale::setPreferredLanguages({"en"});
        write("Info.plist",
              Value::Dictionary{{"CFBundleDevelopmentRegion", "fr"}, {"NSPrincipalClass", "Demo"}},
              NSPropertyListBinaryFormat_v1_0);
        write("en.lproj/Root.strings", std::string("\"title\" = \"English\";"));
        write("fr.lproj/Root.strings", std::string("title = \"Fran\u00e7ais\";"));
        write("Base.lproj/Root.strings", std::string("\"title\" = \"Base\"; \"only\" = \"Base\";"));
        write("Base.lproj/Other.strings", std::string("k = \"base other\";"));
        write("Localizable.strings", std::string("top = Top;"));
        bundle = NSBundle::bundleWithPath(kBundle + "/");
        ASSERT_TRUE(bundle);
    }
};

TEST_F(Bundle, OpensOnlyFolders) {
    EXPECT_EQ(bundle->bundlePath(), kBundle);
    EXPECT_EQ(NSBundle::bundleWithPath("/Library/PreferenceBundles/None.bundle"), nullptr);
    EXPECT_EQ(NSBundle::bundleWithPath(kBundle + "/Info.plist"), nullptr);
    root.link("/var/jb/Demo.bundle", kBundle);
    EXPECT_TRUE(NSBundle::bundleWithPath("/var/jb/Demo.bundle"));
}

TEST_F(Bundle, ReadsItsInfoDictionary) {
    EXPECT_EQ(bundle->objectForInfoDictionaryKey("NSPrincipalClass"), Value("Demo"));
    EXPECT_TRUE(bundle->objectForInfoDictionaryKey("Missing").isNil());
    EXPECT_EQ(bundle->infoDictionary().size(), 2u);
}

TEST_F(Bundle, FindsResourcesTopFolderFirst) {
    write("icon.png", std::string("top"));
    write("en.lproj/icon.png", std::string("en"));
    write("Base.lproj/base.png", std::string("base"));
    EXPECT_EQ(bundle->pathForResource("icon", "png"), kBundle + "/icon.png");
    EXPECT_EQ(bundle->pathForResource("icon.png", std::nullopt), kBundle + "/icon.png");
    EXPECT_EQ(bundle->pathForResource("base", ".png"), kBundle + "/Base.lproj/base.png");
    EXPECT_EQ(bundle->pathForResource("Root", "strings"), kBundle + "/en.lproj/Root.strings");
    EXPECT_EQ(bundle->pathForResource("none", "png"), std::nullopt);
    EXPECT_EQ(bundle->pathForResource("", "png"), std::nullopt);
}

TEST_F(Bundle, ChoosesTheTableAndFallsBack) {
    using Text = std::optional<std::string>;
    struct Case {
        Text key, value, table;
        std::string expected;
    };
    const Case cases[] = {
        {"title", "v", "Root", "English"},
        // The first table found is the whole table: Base's "only" is not consulted.
        {"only", "fallback", "Root", "fallback"},
        {"only", "", "Root", "only"},
        {"only", std::nullopt, "Root", "only"},
        {std::nullopt, "v", "Root", "v"},
        {std::nullopt, std::nullopt, "Root", ""},
        {"k", std::nullopt, "Other", "base other"},
        {"top", std::nullopt, std::nullopt, "Top"},
        {"top", std::nullopt, "", "Top"},
        {"top", "v", "NoSuchTable", "v"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(bundle->localizedStringForKey(c.key, c.value, c.table), c.expected)
            << c.key.value_or("(nil)") << " in " << c.table.value_or("(nil)");
    }
    // Without a folder for the preferred language, the development region's is used.
    NSLocale::setPreferredLanguages({"de"});
    EXPECT_EQ(bundle->localizedStringForKey("title", "v", "Root"), "Fran\u00e7ais");
    NSLocale::setPreferredLanguages({"en"});
}

TEST_F(Bundle, ReadsTablesInEveryForm) {
    write("en.lproj/Text.strings",
          std::string("/* A comment\n   over lines */\n"
                      "\"hello\" = \"Hallo \\\"Welt\\\"\";  // trailing comment\n"
                      "unquoted.key-1/$: = value_2;\n"
                      "'single' = 'quotes';\n"
                      "\"escapes\" = \"a\\\\b\\nc\\td \\U00e9\\U20AC \\UD83D\\UDE00\";\n"
                      "\"same\";\n"));
    write("en.lproj/Utf16LE.strings", utf16(u"\"hello\" = \"caf\u00e9\";", false));
    write("en.lproj/Utf16BE.strings", utf16(u"/* c */ hello = \"\u20ac\";", true));
    write("en.lproj/Bom8.strings", std::string("\xEF\xBB\xBFhello = bom;"));
    write("en.lproj/Utf16LENoMark.strings", utf16(u"\"hello\" = \"\u05e9\";", false, false));
    write("en.lproj/Utf16BENoMark.strings", utf16(u"{ hello = \"\u0645\"; }", true, false));
    write("en.lproj/Braces.strings", std::string("{\n  \"hello\" = \"braces\";\n}\n"));
    write("en.lproj/Xml.strings", Value::Dictionary{{"hello", "xml"}, {"number", 3}},
          NSPropertyListXMLFormat_v1_0);
    write("en.lproj/Binary.strings", Value::Dictionary{{"hello", "binary"}},
          NSPropertyListBinaryFormat_v1_0);
    write("en.lproj/Broken.strings", std::string("\"hello\" = \"x\"\n\"next\" = \"y\";"));
    write("en.lproj/NoFinalSemicolon.strings",
          std::string("\"next\" = \"y\";\n\"hello\" = \"x\"\n"));
    write("en.lproj/Empty.strings", std::string("// nothing yet\n"));
    // Tables that are not UTF-8 cannot be decoded, so they are not used.
    write("en.lproj/Latin1.strings", std::string("hello = \"caf\xE9\"; other = fine;"));
    write("en.lproj/BadXml.strings",
          std::string("<plist><dict><key>hello</key><string>\xC3\x28</string></dict></plist>"));
    NSData badBinary = NSPropertyListSerialization::dataWithPropertyList(
        Value::Dictionary{{"hello", "binary"}}, NSPropertyListBinaryFormat_v1_0);
    std::replace(badBinary.begin(), badBinary.end(), uint8_t{'y'}, uint8_t{0xFF});
    root.write(kBundle + "/en.lproj/BadBinary.strings", badBinary);

    struct Case {
        const char* table;
        const char* key;
        const char* expected;
    };
    const Case cases[] = {
        {"Text", "hello", "Hallo \"Welt\""},
        {"Text", "unquoted.key-1/$:", "value_2"},
        {"Text", "single", "quotes"},
        {"Text", "escapes", "a\\b\nc\td \u00e9\u20ac \U0001F600"},
        {"Text", "same", "same"},
        {"Utf16LE", "hello", "caf\u00e9"},
        {"Utf16BE", "hello", "\u20ac"},
        {"Bom8", "hello", "bom"},
        {"Utf16LENoMark", "hello", "\u05e9"},
        {"Utf16BENoMark", "hello", "\u0645"},
        {"Braces", "hello", "braces"},
        {"Xml", "hello", "xml"},
        {"Binary", "hello", "binary"},
        // A value that is not text, a malformed table, an empty one: the fallback.
        {"Xml", "number", "fallback"},
        {"Broken", "next", "fallback"},
        // The device reads a table without its last ';' as unreadable too.
        {"NoFinalSemicolon", "next", "fallback"},
        {"Empty", "hello", "fallback"},
        {"Latin1", "other", "fallback"},
        {"BadXml", "hello", "fallback"},
        {"BadBinary", "hello", "fallback"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(bundle->localizedStringForKey(c.key, "fallback", c.table), c.expected)
            << c.table << ": " << c.key;
    }
}

TEST_F(Bundle, SaysWhyATableCannotBeRead) {
    write("en.lproj/Good.strings", std::string("\"a\" = \"b\";"));
    write("en.lproj/Bad.strings", std::string("\"a\" = \"b\";\n\"c\" = \"d\""));
    SDKEventLog::clear();
    EXPECT_EQ(bundle->localizedStringForKey("a", std::nullopt, "Good"), "b");
    EXPECT_TRUE(SDKEventLog::records<SDKEvents::Error>().empty());
    EXPECT_EQ(bundle->localizedStringForKey("a", std::nullopt, "Bad"), "a");
    EXPECT_EQ(bundle->localizedStringForKey("c", std::nullopt, "Bad"), "c");
    const std::vector<SDKEvents::Error> errors = SDKEventLog::records<SDKEvents::Error>();
    ASSERT_EQ(errors.size(), 1u);
    const std::string message = errors[0].message;
    EXPECT_NE(message.find("Bad.strings"), std::string::npos) << message;
    EXPECT_NE(message.find("';'"), std::string::npos) << message;
}

TEST_F(Bundle, ParsesATableOnce) {
    EXPECT_EQ(bundle->localizedStringForKey("title", std::nullopt, "Root"), "English");
    write("en.lproj/Root.strings", std::string("\"title\" = \"Changed\";"));
    EXPECT_EQ(bundle->localizedStringForKey("title", std::nullopt, "Root"), "English");
    EXPECT_EQ(
        NSBundle::bundleWithPath(kBundle)->localizedStringForKey("title", std::nullopt, "Root"),
        "Changed");
}

} // namespace

TEST(Localizations, ChooseAsTheDeviceDoes) {
    using List = std::vector<std::string>;
    struct Case {
        List preferred, folders, expected;
    };
    const Case cases[] = {
        // Language and region, then the language.
        {{"de-AT"}, {"de", "de_AT", "en"}, {"de_AT", "de"}},
        {{"de-CH"}, {"de", "de_AT", "en"}, {"de"}},
        // A region folder does not serve the bare language.
        {{"es"}, {"es_ES", "es_AR", "en"}, {}},
        // The next preferred language.
        {{"it", "fr", "de"}, {"de", "fr"}, {"fr"}},
        // Legacy names and underscores match as on the device.
        {{"en"}, {"English", "German"}, {"English"}},
        {{"ja-JP"}, {"Japanese", "English"}, {"Japanese"}},
        {{"zh-Hans"}, {"zh_CN", "zh_TW"}, {"zh_CN"}},
        {{"zh-Hant-HK", "en"}, {"zh_CN", "zh_TW", "en"}, {"zh_TW"}},
        {{"zh-Hans-CN"}, {"zh-Hans", "en"}, {"zh-Hans"}},
        {{"zh-TW"}, {"zh_TW", "zh-Hant"}, {"zh_TW", "zh-Hant"}},
        {{"pt-BR"}, {"pt", "pt-BR"}, {"pt-BR", "pt"}},
        {{"iw"}, {"he", "en"}, {"he"}},
        {{"ar"}, {"Base", "en"}, {}},
        // Text that names no language is passed over.
        {{"", "../x", "ar"}, {"ar"}, {"ar"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NSBundle::preferredLocalizationsFromArray(c.folders, c.preferred), c.expected)
            << testing::PrintToString(c.preferred) << " in " << testing::PrintToString(c.folders);
    }
}

TEST(Localizations, FallBackToTheDevelopmentRegion) {
    struct Case {
        std::vector<std::string> preferred;
        const char* region;
        std::vector<std::string> folders;
        const char* localization;
        const char* title;
    };
    const Case cases[] = {
        {{"ar", "he"}, "he", {"de", "he"}, "he", "he"},
        {{"ru"}, "de", {"de", "fr"}, "de", "de"},
        {{"ru"}, "English", {"Base", "English", "fr"}, "English", "English"},
        {{"ru"}, "en", {"Base", "English", "fr"}, "English", "English"},
        // No folder for the region: the first localisation; Base serves the tables.
        {{"ru"}, "en", {"Base", "fr"}, "fr", "fr"},
        {{"ru"}, "en", {"Base"}, "en", "Base"},
        // The chosen folder lacks the table: the region's, then Base.
        {{"ja"}, "fr", {"Base", "fr", "ja"}, "ja", "fr"},
    };
    for (const Case& c : cases) {
        TemporaryDeviceRoot root;
        const std::string path = "/Library/PreferenceBundles/L.bundle";
        root.write(path + "/Info.plist",
                   NSPropertyListSerialization::dataWithPropertyList(
                       Value::Dictionary{{"CFBundleDevelopmentRegion", c.region}},
                       NSPropertyListXMLFormat_v1_0));
        for (const std::string& folder : c.folders) {
            // The chosen folder of the last case holds another table only.
            const bool other = folder == "ja";
            root.write(path + "/" + folder + ".lproj/" + (other ? "Other" : "Root") + ".strings",
                       "title = \"" + folder + "\";");
        }
        NSLocale::setPreferredLanguages(c.preferred);
        Ref<NSBundle> bundle = NSBundle::bundleWithPath(path);
        ASSERT_TRUE(bundle);
        EXPECT_EQ(bundle->preferredLocalizations().front(), c.localization) << c.region;
        EXPECT_EQ(bundle->localizedStringForKey("title", "none", "Root"), c.title) << c.region;
    }
    NSLocale::setPreferredLanguages({});
}

TEST_F(Bundle, NamesItselfFromItsInfoPlistTable) {
    write("Info.plist",
          Value::Dictionary{{"CFBundleDevelopmentRegion", "en"}, {"CFBundleDisplayName", "Demo"}},
          NSPropertyListXMLFormat_v1_0);
    write("de.lproj/InfoPlist.strings",
          utf16(u"CFBundleDisplayName = \"Vorf\u00fchrung\";", false));
    NSLocale::setPreferredLanguages({"de-DE", "en"});
    bundle = NSBundle::bundleWithPath(kBundle);
    EXPECT_EQ(bundle->objectForInfoDictionaryKey("CFBundleDisplayName"), Value("Vorf\u00fchrung"));
    EXPECT_EQ(bundle->infoDictionary().at("CFBundleDisplayName"), Value("Demo"));
    NSLocale::setPreferredLanguages({"fr"});
    EXPECT_EQ(bundle->objectForInfoDictionaryKey("CFBundleDisplayName"), Value("Demo"));
}
