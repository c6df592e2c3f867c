#pragma once

#include <string>

#include <Foundation/Value.h>

// Writes a property-list value as indented JSON: dictionaries as objects
// (keys in order), arrays, texts, numbers (a real keeps a decimal point so it
// reads back as one; infinities and NaN, which JSON lacks, become null),
// booleans and null for nil. Data is written in base64 and dates as ISO 8601
// texts in UTC.
class JSONWriter {
public:
    static std::string write(const Value& value);

private:
    void value(const Value& value, int depth);
    void string(const std::string& text);
    void newline(int depth);

    std::string _out;
};
