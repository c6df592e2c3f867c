#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include <Foundation/Forward.h>

// Writes JSON to a stream as it goes, indented by two spaces: objects and
// arrays are opened, filled and closed one member or element at a time, so a
// long document never sits in memory whole, and the writer puts the commas,
// line breaks and indentation where they belong. An object's keys must come
// in ascending order, the order a dictionary's keys are written in, so the
// streamed document reads exactly as the whole one would; a key out of order
// or a misplaced call throws std::logic_error. The document ends with a line
// break when its outermost value is closed.
//
// Property-list values are written whole: dictionaries as objects, arrays,
// texts, numbers (a real keeps a decimal point so it reads back as one;
// infinities and NaN, which JSON lacks, become null), booleans and null for
// nil. Data is written in base64 and dates as ISO 8601 texts in UTC. Text
// that is not valid UTF-8 has each bad byte replaced by U+FFFD, so the
// output is always valid JSON.
class JSONWriter {
public:
    explicit JSONWriter(std::ostream& out) : _out(out) {}

    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    // The key of the object's next member, whose value follows.
    void key(const std::string& name);
    // A whole value: the member's after key(), the array's next element, or
    // the document.
    void value(const Value& value);
    void member(const std::string& name, const Value& memberValue) {
        key(name);
        value(memberValue);
    }

    // A value another writer wrote as a whole document, written here as the
    // member's value or the array's next element, indented to this depth.
    void document(const std::string& json);

    // A whole document holding one value.
    static std::string write(const Value& value);
    static nlohmann::json toJSON(const Value& value);

private:
    struct Level {
        bool object = false;
        size_t count = 0;
        std::string lastKey;
        bool keyWritten = false;
    };
    // Before a value or an opening: the comma and indentation of an array's
    // element, or checks that an object's key came first.
    void beforeValue();
    void close(bool object);
    void endValue();
    // Writes JSON text whose line breaks all end lines, indenting each next
    // line to this depth.
    void writeNested(std::string_view text);
    std::string indent() const;

    std::ostream& _out;
    std::vector<Level> _levels;
};
