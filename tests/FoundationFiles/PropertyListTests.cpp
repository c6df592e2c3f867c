#include <algorithm>
#include <cmath>
#include <cstring>

#include <gtest/gtest.h>

#include <filesystem>

#include <Foundation/NSPropertyListSerialization.h>

#include "TemporaryDeviceRoot.h"

namespace {

NSData bytes(const std::string& text) {
    return NSData(text.begin(), text.end());
}

Value everyKind(bool wholeSecondDates) {
    return Value::Dictionary{
        {"flag", true},
        {"off", false},
        {"integer", 42},
        {"negative", -7},
        {"largest", static_cast<long long>(INT64_MAX)},
        {"smallest", static_cast<long long>(INT64_MIN)},
        {"real", 0.1},
        {"wholeReal", 3.0},
        {"text", "caf\u00e9 \u20ac \U0001F600 <&> \"quoted\""},
        {"empty", ""},
        {"data", NSData{0x00, 0xFF, 0x10, 0x80}},
        {"noData", NSData{}},
        {"date", Value::Date{wholeSecondDates ? 700000000.0 : 700000000.25}},
        {"earlyDate", Value::Date{-86400.0}},
        {"array", Value::Array{1, "two", 3.5, Value::Array{}, Value::Dictionary{}}},
        {"nested", Value::Dictionary{{"inner", Value::Dictionary{{"deep", Value::Array{false}}}}}},
    };
}

class PropertyListFormats : public testing::TestWithParam<NSPropertyListFormat> {};

TEST_P(PropertyListFormats, EveryKindSurvivesARoundTrip) {
    // XML holds whole seconds only, as on the platform; binary keeps fractions.
    const Value original = everyKind(GetParam() == NSPropertyListXMLFormat_v1_0);
    std::string error;
    NSData data = NSPropertyListSerialization::dataWithPropertyList(original, GetParam(), &error);
    ASSERT_FALSE(data.empty()) << error;

    NSPropertyListFormat format{};
    std::optional<Value> back =
        NSPropertyListSerialization::propertyListWithData(data, &format, &error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(format, GetParam());
    EXPECT_EQ(*back, original);
    // Kinds are kept, not just numbers: 3.0 stays a real, 42 an integer, YES a boolean.
    EXPECT_EQ(back->objectForKey("wholeReal").type(), Value::Type::Real);
    EXPECT_EQ(back->objectForKey("integer").type(), Value::Type::Integer);
    EXPECT_EQ(back->objectForKey("flag").type(), Value::Type::Boolean);
}

TEST_P(PropertyListFormats, WritesAndReadsFilesUnderTheDeviceRoot) {
    TemporaryDeviceRoot root;
    const Value original = everyKind(true);
    std::string error;
    ASSERT_TRUE(NSPropertyListSerialization::writePropertyList(
        original, "/var/mobile/Library/Preferences/com.example.plist", GetParam(), &error))
        << error;
    EXPECT_TRUE(std::filesystem::is_regular_file(
        root.host("/var/mobile/Library/Preferences/com.example.plist")));
    std::optional<Value> back = NSPropertyListSerialization::propertyListWithContentsOfFile(
        "/var/mobile/Library/Preferences/com.example.plist", &error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(*back, original);
}

INSTANTIATE_TEST_SUITE_P(XmlAndBinary, PropertyListFormats,
                         testing::Values(NSPropertyListXMLFormat_v1_0,
                                         NSPropertyListBinaryFormat_v1_0));

TEST(PropertyList, XmlDatesAreFlooredToWholeSeconds) {
    NSData data = NSPropertyListSerialization::dataWithPropertyList(Value::Date{-99.5},
                                                                    NSPropertyListXMLFormat_v1_0);
    std::optional<Value> back = NSPropertyListSerialization::propertyListWithData(data);
    ASSERT_TRUE(back && back->date());
    EXPECT_EQ(back->date()->sinceReferenceDate, -100.0);
}

TEST(PropertyList, MalformedDataGivesNilWithAReason) {
    NSData binary = NSPropertyListSerialization::dataWithPropertyList(
        everyKind(true), NSPropertyListBinaryFormat_v1_0);
    // libplist would abort the process on a key holding a NUL character.
    NSData nulKey = NSPropertyListSerialization::dataWithPropertyList(
        Value::Dictionary{{"akey", true}}, NSPropertyListBinaryFormat_v1_0);
    std::replace(nulKey.begin(), nulKey.end(), uint8_t{'k'}, uint8_t{0});
    const std::vector<std::pair<const char*, NSData>> cases = {
        {"empty", {}},
        {"binary key holding NUL", nulKey},
        {"XML holding NUL", NSData{'<', 'p', 'l', 'i', 's', 't', '>', '<', 's', 't', 'r', 'i',
                                   'n', 'g', '>', 'a', 0,   'b', '<', '/', 's', 't', 'r', 'i',
                                   'n', 'g', '>', '<', '/', 'p', 'l', 'i', 's', 't', '>'}},
        {"truncated binary", NSData(binary.begin(), binary.begin() + binary.size() / 2)},
        {"binary magic only", bytes("bplist00garbage")},
        {"unclosed XML", bytes("<plist><dict><key>a</key><string>b</string>")},
        {"mismatched XML", bytes("<plist><dict><key>a</key><string>b</dict></plist>")},
        {"unknown XML element", bytes("<plist><array><integer>1</integer><foo/></array></plist>")},
        {"old-style missing ';'", bytes("{ a = b }")},
        {"old-style open text", bytes("{ a = \"b; }")},
        {"old-style open comment", bytes("a = b; /* never closed")},
        {"stray character", bytes("{ a = b; } }")},
    };
    for (const auto& [name, data] : cases) {
        std::string error;
        EXPECT_FALSE(NSPropertyListSerialization::propertyListWithData(data, nullptr, &error))
            << name;
        EXPECT_FALSE(error.empty()) << name;
    }
}

NSData xmlInteger(const std::string& text) {
    return bytes("<?xml version=\"1.0\"?>\n<plist version=\"1.0\">\n<array><integer>" + text +
                 "</integer></array>\n</plist>\n");
}

TEST(PropertyList, XmlIntegersReadAsThePlatformReadsThem) {
    struct Case {
        const char* text;
        long long expected;
    };
    const Case cases[] = {
        {"42", 42},
        {"-7", -7},
        {"+5", 5},
        {" 12", 12},
        {"- 3", -3},
        {"010", 10},
        {"0x1F", 31},
        {"0X1f", 31},
        {"-0", 0},
        {"9223372036854775807", INT64_MAX},
        {"-9223372036854775808", INT64_MIN},
        {"0x7FFFFFFFFFFFFFFF", INT64_MAX},
    };
    for (const Case& c : cases) {
        std::string error;
        std::optional<Value> read =
            NSPropertyListSerialization::propertyListWithData(xmlInteger(c.text), nullptr, &error);
        ASSERT_TRUE(read) << c.text << ": " << error;
        EXPECT_EQ((*read->array())[0], Value(c.expected)) << c.text;
    }
}

TEST(PropertyList, XmlIntegersBeyondSixtyFourBitsMakeTheListUnreadable) {
    struct Case {
        const char* text;
        const char* reason;
    };
    const Case cases[] = {
        {"9223372036854775808", "Integer overflow in <integer> on line 3"},
        {"18446744073709551615", "Integer overflow"},
        {"18446744073709551616", "Integer overflow"},
        {"99999999999999999999999999", "Integer overflow"},
        {"0x10000000000000000", "Integer overflow"},
        {"-9223372036854775809", "Integer underflow"},
        {"", "empty <integer>"},
        {"-", "empty <integer>"},
        {"12abc", "Unknown character 'a'"},
        {"1.5", "Unknown character '.'"},
        {"7 ", "Unknown character ' '"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(
            NSPropertyListSerialization::propertyListWithData(xmlInteger(c.text), nullptr, &error))
            << c.text;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.text << ": " << error;
    }
    // The same text elsewhere (a string, a comment) is no integer.
    EXPECT_TRUE(NSPropertyListSerialization::propertyListWithData(
        bytes("<plist><!-- <integer>99999999999999999999</integer> -->"
              "<string>99999999999999999999</string></plist>")));
}

// A binary property list holding one object, given by its marker and bytes.
NSData binaryWithOne(uint8_t marker, const std::vector<uint64_t>& words) {
    NSData data = bytes("bplist00");
    data.push_back(marker);
    auto bigEndian = [&data](uint64_t word) {
        for (int shift = 56; shift >= 0; shift -= 8) {
            data.push_back(static_cast<uint8_t>(word >> shift));
        }
    };
    for (uint64_t word : words) {
        bigEndian(word);
    }
    const uint64_t table = data.size();
    data.push_back(8); // the offset table: object 0 at offset 8
    data.insert(data.end(), {0, 0, 0, 0, 0, 0, 1, 1});
    for (uint64_t field : {uint64_t{1}, uint64_t{0}, table}) {
        bigEndian(field);
    }
    return data;
}

NSData binaryWideInteger(uint64_t high, uint64_t low) {
    return binaryWithOne(0x14, {high, low});
}

NSData binaryDate(double sinceReferenceDate) {
    uint64_t bits = 0;
    std::memcpy(&bits, &sinceReferenceDate, sizeof bits);
    return binaryWithOne(0x33, {bits});
}

TEST(PropertyList, DatesBeyondWhatLibplistHoldsAreRefusedNotMadeUp) {
    const std::vector<std::pair<std::string, NSData>> refused = {
        {"XML 2100", bytes("<plist><date>2100-01-01T00:00:00Z</date></plist>")},
        {"XML 1900", bytes("<plist><array><date>1900-01-01T00:00:00Z</date></array></plist>")},
        {"binary 2100", binaryDate(3.1e9)},
        {"binary 1900", binaryDate(-3.2e9)},
        {"binary infinity", binaryDate(INFINITY)},
        {"binary NaN", binaryDate(NAN)},
    };
    for (const auto& [name, data] : refused) {
        std::string error;
        EXPECT_FALSE(NSPropertyListSerialization::propertyListWithData(data, nullptr, &error))
            << name;
        EXPECT_NE(error.find("1933 to 2069"), std::string::npos) << name << ": " << error;
    }
    for (const double date : {-2147483647.0, 0.5, 2147483647.25}) {
        std::optional<Value> read =
            NSPropertyListSerialization::propertyListWithData(binaryDate(date));
        ASSERT_TRUE(read) << date;
        EXPECT_EQ(*read, Value(Value::Date{date}));
    }
    EXPECT_EQ(NSPropertyListSerialization::propertyListWithData(
                  bytes("<plist><date>2069-01-19T03:14:07Z</date></plist>")),
              Value(Value::Date{2147483647.0}));
}

TEST(PropertyList, BinarySixteenByteIntegersMustFitSixtyFourBits) {
    struct Case {
        uint64_t high;
        uint64_t low;
        std::optional<long long> expected;
    };
    const Case cases[] = {
        {0, 5, 5},
        {0, INT64_MAX, INT64_MAX},
        {UINT64_MAX, static_cast<uint64_t>(-3), -3},
        {UINT64_MAX, uint64_t{1} << 63, INT64_MIN},
        {0, UINT64_MAX, std::nullopt},
        {1, 0, std::nullopt},
        {0x1112131415161718, 0x0102030405060708, std::nullopt},
        {UINT64_MAX, 5, std::nullopt},
    };
    for (const Case& c : cases) {
        std::string error;
        std::optional<Value> read = NSPropertyListSerialization::propertyListWithData(
            binaryWideInteger(c.high, c.low), nullptr, &error);
        if (c.expected) {
            ASSERT_TRUE(read) << c.high << " " << c.low << ": " << error;
            EXPECT_EQ(*read, Value(*c.expected));
        } else {
            EXPECT_FALSE(read) << c.high << " " << c.low;
            EXPECT_NE(error.find("beyond 64 bits"), std::string::npos) << error;
        }
    }
}

TEST(PropertyList, TextThatIsNotUtf8IsNeverPassedOn) {
    NSData binary = NSPropertyListSerialization::dataWithPropertyList(
        Value::Dictionary{{"key", "value"}}, NSPropertyListBinaryFormat_v1_0);
    NSData badValue = binary;
    std::replace(badValue.begin(), badValue.end(), uint8_t{'v'}, uint8_t{0xC0});
    NSData badKey = binary;
    std::replace(badKey.begin(), badKey.end(), uint8_t{'k'}, uint8_t{0xFF});
    const std::vector<std::pair<const char*, NSData>> cases = {
        {"XML text", bytes("<plist><string>caf\xE9</string></plist>")},
        {"XML key", bytes("<plist><dict><key>\xFF</key><true/></dict></plist>")},
        {"XML character reference to a surrogate",
         bytes("<plist><string>&#xD800;</string></plist>")},
        {"binary text", badValue},
        {"binary key", badKey},
        {"old-style text", bytes("{ a = \"\xED\xA0\x80\"; }")},
        {"old-style table", bytes("a = \"overlong \xC0\xAF\";")},
    };
    for (const auto& [name, data] : cases) {
        std::string error;
        std::optional<Value> read =
            NSPropertyListSerialization::propertyListWithData(data, nullptr, &error);
        EXPECT_FALSE(read) << name;
        EXPECT_NE(error.find("UTF-8"), std::string::npos) << name << ": " << error;
    }
    for (const Value& unstorable :
         {Value("caf\xE9"), Value(Value::Dictionary{{"\xFF", 1}}), Value(Value::Array{"\xC3"})}) {
        std::string error;
        EXPECT_TRUE(NSPropertyListSerialization::dataWithPropertyList(
                        unstorable, NSPropertyListBinaryFormat_v1_0, &error)
                        .empty());
        EXPECT_NE(error.find("UTF-8"), std::string::npos) << error;
    }
}

// A binary property list of `levels` arrays, each holding the next; `loop`
// makes the innermost one hold the outermost instead.
NSData nestedBinary(uint32_t levels, bool loop) {
    NSData data = bytes("bplist00");
    std::vector<uint32_t> offsets;
    auto bigEndian = [&data](uint64_t value, int width) {
        for (int shift = (width - 1) * 8; shift >= 0; shift -= 8) {
            data.push_back(static_cast<uint8_t>(value >> shift));
        }
    };
    for (uint32_t i = 0; i < levels; ++i) {
        offsets.push_back(static_cast<uint32_t>(data.size()));
        data.push_back(0xA1);
        bigEndian(i + 1 < levels ? i + 1 : (loop ? 0 : levels), 4);
    }
    offsets.push_back(static_cast<uint32_t>(data.size()));
    data.push_back(0xA0);
    const uint64_t table = data.size();
    for (uint32_t offset : offsets) {
        bigEndian(offset, 4);
    }
    data.insert(data.end(), {0, 0, 0, 0, 0, 0, 4, 4});
    bigEndian(offsets.size(), 8);
    bigEndian(0, 8);
    bigEndian(table, 8);
    return data;
}

std::string repeated(const std::string& piece, size_t times) {
    std::string text;
    for (size_t i = 0; i < times; ++i) {
        text += piece;
    }
    return text;
}

TEST(PropertyList, RefusesNestingDeepEnoughToExhaustTheStack) {
    const size_t hostile = 200000;
    const std::vector<std::pair<const char*, NSData>> refused = {
        {"binary", nestedBinary(hostile, false)},
        {"binary loop", nestedBinary(3, true)},
        {"XML", bytes("<plist>" + repeated("<array>", hostile) + repeated("</array>", hostile) +
                      "</plist>")},
        {"old-style", bytes(repeated("(", hostile) + repeated(")", hostile))},
    };
    for (const auto& [name, data] : refused) {
        std::string error;
        EXPECT_FALSE(NSPropertyListSerialization::propertyListWithData(data, nullptr, &error))
            << name;
        EXPECT_FALSE(error.empty()) << name;
    }
    // Five hundred levels are still read.
    const std::vector<std::pair<const char*, NSData>> accepted = {
        {"binary", nestedBinary(500, false)},
        {"XML",
         bytes("<plist>" + repeated("<array>", 500) + repeated("</array>", 500) + "</plist>")},
        {"old-style", bytes(repeated("(", 500) + repeated(")", 500))},
    };
    for (const auto& [name, data] : accepted) {
        EXPECT_TRUE(NSPropertyListSerialization::propertyListWithData(data)) << name;
    }
}

TEST(PropertyList, ReadsOldStyleText) {
    NSPropertyListFormat format{};
    std::optional<Value> value = NSPropertyListSerialization::propertyListWithData(
        bytes("// settings\n{ name = \"K L\"; list = (one, \"two\", ); bytes = <0aff 10>;\n"
              "  inner = { path = /var/jb/x.png; }; }"),
        &format);
    ASSERT_TRUE(value);
    EXPECT_EQ(format, NSPropertyListOpenStepFormat);
    EXPECT_EQ(*value, Value(Value::Dictionary{
                          {"name", "K L"},
                          {"list", Value::Array{"one", "two"}},
                          {"bytes", NSData{0x0A, 0xFF, 0x10}},
                          {"inner", Value::Dictionary{{"path", "/var/jb/x.png"}}},
                      }));
}

TEST(PropertyList, ValuesThatCannotBeStoredAreRefused) {
    const std::vector<std::pair<const char*, Value>> cases = {
        {"nil", Value()},
        {"nil inside", Value::Dictionary{{"a", Value::Array{1, Value()}}}},
        {"date after 2069", Value::Date{3e9}},
        {"text with NUL", std::string("a\0b", 3)},
    };
    for (const auto& [name, value] : cases) {
        std::string error;
        EXPECT_TRUE(NSPropertyListSerialization::dataWithPropertyList(
                        value, NSPropertyListBinaryFormat_v1_0, &error)
                        .empty())
            << name;
        EXPECT_FALSE(error.empty()) << name;
    }
    std::string error;
    EXPECT_TRUE(
        NSPropertyListSerialization::dataWithPropertyList(1, NSPropertyListOpenStepFormat, &error)
            .empty());
    EXPECT_FALSE(error.empty());
}

class PropertyListFiles : public testing::Test {
protected:
    TemporaryDeviceRoot root;
    const std::string path = "/var/mobile/Library/Preferences/com.example.plist";
    const Value original = Value::Dictionary{{"version", 1}};

    void SetUp() override {
        ASSERT_TRUE(NSPropertyListSerialization::writePropertyList(original, path,
                                                                   NSPropertyListXMLFormat_v1_0));
    }
    // Only the plist itself: no temporary file left beside it.
    std::vector<std::string> folderEntries() const {
        std::vector<std::string> names;
        for (const auto& entry :
             std::filesystem::directory_iterator(root.host("/var/mobile/Library/Preferences"))) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }
};

TEST_F(PropertyListFiles, AFailedWriteLeavesTheOldFileAndSaysWhy) {
    const std::string before = root.read(path);
    std::string error;
    EXPECT_FALSE(NSPropertyListSerialization::writePropertyList(
        Value::Dictionary{{"bad", Value()}}, path, NSPropertyListBinaryFormat_v1_0, &error));
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_EQ(root.read(path), before);
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"com.example.plist"});
}

TEST_F(PropertyListFiles, ATargetThatIsAFolderIsNotReplaced) {
    root.makeFolder("/var/mobile/Library/Preferences/folder.plist/inside");
    std::string error;
    EXPECT_FALSE(NSPropertyListSerialization::writePropertyList(
        original, "/var/mobile/Library/Preferences/folder.plist", NSPropertyListXMLFormat_v1_0,
        &error));
    EXPECT_NE(error.find("folder.plist"), std::string::npos) << error;
    EXPECT_TRUE(std::filesystem::is_directory(
        root.host("/var/mobile/Library/Preferences/folder.plist/inside")));
    EXPECT_EQ(folderEntries().size(), 2u);
}

TEST_F(PropertyListFiles, AParentThatIsAFileFailsWithoutTouchingIt) {
    std::string error;
    EXPECT_FALSE(NSPropertyListSerialization::writePropertyList(
        original, path + "/child.plist", NSPropertyListXMLFormat_v1_0, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(NSPropertyListSerialization::propertyListWithContentsOfFile(path), original);
}

TEST_F(PropertyListFiles, ReplacingKeepsALinkAndWritesWhereItPoints) {
    root.link("/var/mobile/Library/Preferences/alias.plist", path);
    const Value updated = Value::Dictionary{{"version", 2}};
    ASSERT_TRUE(NSPropertyListSerialization::writePropertyList(
        updated, "/var/mobile/Library/Preferences/alias.plist", NSPropertyListBinaryFormat_v1_0));
    EXPECT_TRUE(
        std::filesystem::is_symlink(root.host("/var/mobile/Library/Preferences/alias.plist")));
    EXPECT_EQ(NSPropertyListSerialization::propertyListWithContentsOfFile(path), updated);
}

TEST_F(PropertyListFiles, MissingMalformedAndFolderFilesReadAsNil) {
    root.write("/var/mobile/Library/Preferences/broken.plist", std::string("<plist><dict>"));
    root.makeFolder("/var/mobile/Library/Preferences/folder.plist");
    for (const char* name : {"missing.plist", "broken.plist", "folder.plist"}) {
        std::string error;
        EXPECT_FALSE(NSPropertyListSerialization::propertyListWithContentsOfFile(
            std::string("/var/mobile/Library/Preferences/") + name, &error))
            << name;
        EXPECT_NE(error.find(name), std::string::npos) << error;
    }
}

} // namespace
