#pragma once

#include <cstddef>

#include <Foundation/Value.h>

// How deeply arrays and dictionaries nest in property-list bytes, measured
// without recursion before libplist sees them: libplist reads and frees
// nested containers recursively, so a hostile file nested a few hundred
// thousand levels deep would exhaust the stack.
class PropertyListDepth {
public:
    PropertyListDepth() = delete;

    // Binary form: false when the containers nest deeper than `maximum`, refer
    // to themselves, or the object table cannot be walked.
    static bool binaryWithin(const NSData& data, int maximum);
    // XML form from `start`: false when <array> and <dict> nest deeper than `maximum`.
    static bool xmlWithin(const NSData& data, size_t start, int maximum);
};
