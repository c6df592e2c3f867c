#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include <Foundation/Value.h>

// Writes a property-list value as indented JSON: dictionaries as objects
// (keys in order), arrays, texts, numbers (a real keeps a decimal point so it
// reads back as one; infinities and NaN, which JSON lacks, become null),
// booleans and null for nil. Data is written in base64 and dates as ISO 8601
// texts in UTC. Text that is not valid UTF-8 has each bad byte replaced by
// U+FFFD, so the output is always valid JSON.
class JSONWriter {
public:
    static std::string write(const Value& value);
    // The value as it stands `depth` levels deep in such a document: every
    // line after its first is indented to that depth. No line ends it.
    static std::string writeNested(const Value& value, size_t depth);
    static nlohmann::json toJSON(const Value& value);
};
