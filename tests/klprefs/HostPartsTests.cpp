#include <cmath>
#include <functional>
#include <sstream>
#include <stdexcept>

#include <gtest/gtest.h>

#include "CommandLine.h"
#include "HostError.h"
#include "JSONWriter.h"
#include "Script.h"

namespace {

TEST(Script, SplitsLinesIntoStepsWithQuotesAndComments) {
    const auto steps = Script::parse("# a comment\n"
                                     "\n"
                                     "  tap \"Accent colour\"   # the row\n"
                                     "pick #FF0000\n"
                                     "type \"say \\\"hi\\\" \\\\ there\"\n"
                                     "\t  # indented comment\n"
                                     "button OK#not-a-comment\n");
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ(steps[0].line, 3u);
    EXPECT_EQ(steps[0].command, "tap");
    EXPECT_EQ(steps[0].arguments, std::vector<std::string>{"Accent colour"});
    EXPECT_EQ(steps[1].arguments, std::vector<std::string>{"#FF0000"});
    EXPECT_EQ(steps[2].arguments, std::vector<std::string>{"say \"hi\" \\ there"});
    EXPECT_EQ(steps[3].line, 7u);
    EXPECT_EQ(steps[3].arguments, std::vector<std::string>{"OK#not-a-comment"});
}

TEST(Script, AnUnclosedQuoteNamesItsLine) {
    try {
        Script::parse("tap 0\n\ntap \"Accent\n");
        FAIL() << "no error";
    } catch (const HostError& error) {
        EXPECT_EQ(error.kind(), HostError::Kind::Step);
        EXPECT_EQ(error.line(), 3u);
    }
}

TEST(JSONWriter, WritesPropertyListValues) {
    struct Case {
        Value value;
        const char* json;
    };
    const Case cases[] = {
        {Value(), "null\n"},
        {Value(true), "true\n"},
        {Value(42), "42\n"},
        {Value(3.0), "3.0\n"},
        {Value(static_cast<double>(0.1f)), "0.10000000149011612\n"},
        {Value(1e300), "1e+300\n"},
        {Value(std::nan("")), "null\n"},
        {Value("a \"quoted\" \\ line\n\ttab \x01"),
         "\"a \\\"quoted\\\" \\\\ line\\n\\ttab \\u0001\"\n"},
        {Value("caf\xC3\xA9"), "\"caf\xC3\xA9\"\n"},
        // Bytes that are no UTF-8 become U+FFFD, one for each.
        {Value("a\xFF\xC3"), "\"a\xEF\xBF\xBD\xEF\xBF\xBD\"\n"},
        {Value(Value::Dictionary{{"k\x80", 1}}), "{\n  \"k\xEF\xBF\xBD\": 1\n}\n"},
        {Value(NSData{'M', 'a', 'n', 'y'}), "\"TWFueQ==\"\n"},
        {Value(Value::Date{0}), "\"2001-01-01T00:00:00Z\"\n"},
        {Value(Value::Array{}), "[]\n"},
        {Value(Value::Dictionary{}), "{}\n"},
        {Value(Value::Dictionary{{"b", Value::Array{1, "x"}},
                                 {"a", Value::Dictionary{{"c", false}}}}),
         "{\n  \"a\": {\n    \"c\": false\n  },\n  \"b\": [\n    1,\n    \"x\"\n  ]\n}\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(JSONWriter::write(c.value), c.json);
    }
}

// A document streamed piece by piece, or partly written by another writer,
// reads exactly as the whole one, and keys out of order or a misplaced call
// are refused.
TEST(JSONWriter, StreamsADocumentAsTheWholeOneReads) {
    const Value values[] = {
        Value(7),
        Value("line\nbreak"),
        Value(Value::Array{}),
        Value(Value::Dictionary{{"b", Value::Array{1, Value::Dictionary{{"c", "x"}}}}, {"a", 2}}),
    };
    for (const Value& value : values) {
        std::ostringstream streamed;
        JSONWriter json(streamed);
        json.beginObject();
        json.key("k");
        json.beginArray();
        json.value(value);
        json.value(value);
        json.endArray();
        json.key("m");
        json.beginArray();
        json.endArray();
        json.key("n");
        json.document(JSONWriter::write(Value::Array{value}));
        json.member("z", Value::Dictionary{});
        json.endObject();
        EXPECT_EQ(streamed.str(),
                  JSONWriter::write(Value(Value::Dictionary{{"k", Value::Array{value, value}},
                                                            {"m", Value::Array{}},
                                                            {"n", Value::Array{value}},
                                                            {"z", Value::Dictionary{}}})));
    }
    const std::function<void(JSONWriter&)> misuses[] = {
        [](JSONWriter& json) { json.member("b", 1), json.member("a", 2); },
        [](JSONWriter& json) { json.member("a", 1), json.member("a", 2); },
        [](JSONWriter& json) { json.value(1); },
        [](JSONWriter& json) { json.endArray(); },
        [](JSONWriter& json) { json.key("a"), json.endObject(); },
    };
    for (const auto& misuse : misuses) {
        std::ostringstream out;
        JSONWriter json(out);
        json.beginObject();
        EXPECT_THROW(misuse(json), std::logic_error);
    }
}

TEST(CommandLine, ReadsOptionsOnEitherSideOfTheCommand) {
    const CommandLine line = CommandLine::parse(
        {"--width", "375", "run", "steps.txt", "--ios", "14.4", "--json", "-o", "p.png", "--scale",
         "2", "--bundle", "/Library/PreferenceBundles/X.bundle"});
    EXPECT_EQ(line.command, CommandLine::Command::Run);
    EXPECT_EQ(line.width, 375);
    EXPECT_EQ(line.script, "steps.txt");
    EXPECT_EQ(line.iosVersion, (NSOperatingSystemVersion{14, 4, 0}));
    EXPECT_TRUE(line.json);
    EXPECT_EQ(line.output, "p.png");
    EXPECT_EQ(line.scale, 2);
    EXPECT_EQ(line.bundlePath, "/Library/PreferenceBundles/X.bundle");
    EXPECT_FALSE(line.deviceRoot);

    const CommandLine defaults = CommandLine::parse({"dump"});
    EXPECT_EQ(defaults.scale, 3);
    EXPECT_FALSE(defaults.width);
    EXPECT_EQ(defaults.iosVersion, (NSOperatingSystemVersion{16, 0, 0}));
    EXPECT_EQ(CommandLine::parse({"run"}).script, "-");
}

} // namespace
