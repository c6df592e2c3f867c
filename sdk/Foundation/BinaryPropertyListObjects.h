#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include <Foundation/Value.h>

// The object table of a binary property list ("bplist00"), read just far
// enough to check it before libplist parses it: each container's references
// and each integer's width.
class BinaryPropertyListObjects {
public:
    explicit BinaryPropertyListObjects(const NSData& data) : _data(data) {}

    // Reads the trailer; false when it or the offset table does not fit the data.
    bool readTrailer();

    uint64_t count() const { return _count; }
    uint64_t top() const { return _top; }

    // The objects a container refers to; empty for other objects, nil when
    // the object cannot be read.
    std::optional<std::vector<uint64_t>> references(uint64_t object) const;

    // Whether the object, when it is an integer, holds a number that fits in
    // 64 signed bits. Integers of 16 bytes (which the format allows) are read
    // as two's complement; other objects answer true.
    bool integerFitsIn64Bits(uint64_t object) const;

    // Whether the object, when it is a dictionary, has keys without a NUL
    // character (which libplist cannot hand out); other objects answer true.
    bool keysHoldNoNul(uint64_t object) const;

    // Whether the object, when it is a date, lies within the whole seconds
    // libplist can hold (32 bits from 2001, the earliest excepted: the years
    // 1933 to 2069); other objects answer true.
    bool dateWithin32BitSeconds(uint64_t object) const;

private:
    const NSData& _data;
    size_t _offsetSize = 0;
    size_t _referenceSize = 0;
    uint64_t _count = 0;
    uint64_t _top = 0;
    uint64_t _table = 0;

    // The offset where the object starts; nil when it lies outside the objects.
    std::optional<size_t> offsetOf(uint64_t object) const;
    // The count in the marker at `position` (or in the integer after it) and
    // where the object's contents start.
    struct Counted {
        uint64_t count;
        size_t contents;
    };
    std::optional<Counted> countAt(size_t position) const;
    // A big-endian unsigned integer of `width` bytes.
    std::optional<uint64_t> integer(uint64_t position, size_t width) const;
};
