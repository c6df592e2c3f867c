#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include <Foundation/Value.h>

// Integers in property-list bytes, checked the way the platform's reader
// checks them before libplist sees them: libplist would read a number too
// large for 64 bits as -1 (or as the largest one), "010" as octal and
// "12abc" as 12, inventing a value where the platform refuses the list.
//
// An XML <integer> holds optional white space, an optional sign, and decimal
// digits or "0x" and hexadecimal digits (leading zeros stay decimal). A number
// outside the 64-bit signed range makes the list unreadable, as the platform's
// "Integer overflow in <integer>" does; the platform keeps 2^63 to 2^64-1 as
// an unsigned number, which a Value cannot hold, so those are refused too.
class PropertyListIntegers {
public:
    PropertyListIntegers() = delete;

    // The XML text from `start` with every <integer> rewritten in plain
    // decimal, which libplist reads exactly; nil and the reason (with its
    // line) in `error` when one is malformed or out of range.
    static std::optional<std::string> normalisedXML(const NSData& data, size_t start,
                                                    std::string* error);

    // Binary form: false when an integer needs more than 64 signed bits.
    static bool binaryWithin64Bits(const NSData& data);
};
