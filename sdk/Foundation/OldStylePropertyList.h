#pragma once

#include <optional>
#include <string>

#include <Foundation/Value.h>

// The old-style (OpenStep) text form of a property list, which is also the
// form of .strings tables: quoted or bare texts, `<hex>` data, `( a, b )`
// arrays and `{ key = value; }` dictionaries, with /* */ and // comments.
// Only reading is supported, as on the platform.
class OldStylePropertyList {
public:
    OldStylePropertyList() = delete;

    // Parses UTF-8 text (with or without a byte-order mark), or UTF-16 text
    // with a mark or, without one, when one of its first two bytes is 0; text that is not valid
    // UTF-8 is refused. A run of `key = value;` pairs without braces (a .strings table) reads as a
    // dictionary, and an empty one as an empty dictionary. nil and a message naming the line in
    // `error` when the text is malformed.
    static std::optional<Value> parse(const NSData& bytes, std::string* error = nullptr);
};
