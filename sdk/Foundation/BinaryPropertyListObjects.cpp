#include <Foundation/BinaryPropertyListObjects.h>

#include <cmath>
#include <cstring>
#include <limits>

bool BinaryPropertyListObjects::readTrailer() {
    if (_data.size() < 8 + 32) {
        return false;
    }
    const size_t trailer = _data.size() - 32;
    _offsetSize = _data[trailer + 6];
    _referenceSize = _data[trailer + 7];
    std::optional<uint64_t> count = integer(trailer + 8, 8);
    std::optional<uint64_t> top = integer(trailer + 16, 8);
    std::optional<uint64_t> table = integer(trailer + 24, 8);
    if (_offsetSize < 1 || _offsetSize > 8 || _referenceSize < 1 || _referenceSize > 8 || !count ||
        !top || !table || *top >= *count || *table >= trailer ||
        *count > (trailer - *table) / _offsetSize) {
        return false;
    }
    _count = *count;
    _top = *top;
    _table = *table;
    return true;
}

std::optional<size_t> BinaryPropertyListObjects::offsetOf(uint64_t object) const {
    std::optional<uint64_t> offset = integer(_table + object * _offsetSize, _offsetSize);
    if (!offset || *offset >= _table) {
        return std::nullopt;
    }
    return static_cast<size_t>(*offset);
}

std::optional<std::vector<uint64_t>> BinaryPropertyListObjects::references(uint64_t object) const {
    std::optional<size_t> offset = offsetOf(object);
    if (!offset) {
        return std::nullopt;
    }
    const uint8_t kind = _data[*offset] >> 4;
    // Arrays (0xA), sets (0xC, 0xB) and dictionaries (0xD, keys then values).
    if (kind != 0xA && kind != 0xB && kind != 0xC && kind != 0xD) {
        return std::vector<uint64_t>{};
    }
    std::optional<Counted> counted = countAt(*offset);
    if (!counted) {
        return std::nullopt;
    }
    uint64_t entries = counted->count;
    size_t position = counted->contents;
    if (kind == 0xD) {
        entries *= 2;
    }
    if (entries > (_table - position) / _referenceSize) {
        return std::nullopt;
    }
    std::vector<uint64_t> found;
    found.reserve(static_cast<size_t>(entries));
    for (uint64_t i = 0; i < entries; ++i) {
        std::optional<uint64_t> reference = integer(position, _referenceSize);
        if (!reference || *reference >= _count) {
            return std::nullopt;
        }
        found.push_back(*reference);
        position += _referenceSize;
    }
    return found;
}

bool BinaryPropertyListObjects::integerFitsIn64Bits(uint64_t object) const {
    std::optional<size_t> offset = offsetOf(object);
    // An integer of 1 to 8 bytes always fits; only 16 bytes can hold more.
    if (!offset || _data[*offset] != 0x14) {
        return true;
    }
    std::optional<uint64_t> high = integer(*offset + 1, 8);
    std::optional<uint64_t> low = integer(*offset + 9, 8);
    if (!high || !low) {
        return true; // Truncated: libplist refuses it.
    }
    const bool lowIsNegative = *low > static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
    return lowIsNegative ? *high == std::numeric_limits<uint64_t>::max() : *high == 0;
}

bool BinaryPropertyListObjects::keysHoldNoNul(uint64_t object) const {
    std::optional<size_t> offset = offsetOf(object);
    if (!offset || (_data[*offset] >> 4) != 0xD) {
        return true;
    }
    std::optional<std::vector<uint64_t>> entries = references(object);
    if (!entries) {
        return true; // Unreadable: the depth check refuses it.
    }
    const size_t keys = entries->size() / 2;
    for (size_t i = 0; i < keys; ++i) {
        std::optional<size_t> key = offsetOf((*entries)[i]);
        std::optional<Counted> text = key ? countAt(*key) : std::nullopt;
        if (!text) {
            continue;
        }
        // ASCII (0x5) and UTF-8 (0x7) texts count bytes, UTF-16 ones (0x6) units.
        const uint8_t kind = _data[*key] >> 4;
        const size_t unit = kind == 0x6 ? 2 : 1;
        if ((kind != 0x5 && kind != 0x6 && kind != 0x7) || text->contents > _table ||
            text->count > (_table - text->contents) / unit) {
            continue;
        }
        for (size_t at = text->contents; at < text->contents + text->count * unit; at += unit) {
            if (_data[at] == 0 && (unit == 1 || _data[at + 1] == 0)) {
                return false;
            }
        }
    }
    return true;
}

bool BinaryPropertyListObjects::dateWithin32BitSeconds(uint64_t object) const {
    std::optional<size_t> offset = offsetOf(object);
    std::optional<uint64_t> bits =
        offset && _data[*offset] == 0x33 ? integer(*offset + 1, 8) : std::nullopt;
    if (!bits) {
        return true;
    }
    double seconds = 0;
    std::memcpy(&seconds, &*bits, sizeof seconds);
    seconds = std::floor(seconds);
    return std::isfinite(seconds) && seconds > std::numeric_limits<int32_t>::min() &&
           seconds <= std::numeric_limits<int32_t>::max();
}

std::optional<BinaryPropertyListObjects::Counted>
BinaryPropertyListObjects::countAt(size_t position) const {
    uint64_t count = _data[position++] & 0x0F;
    if (count == 0x0F) {
        if (position >= _table || (_data[position] >> 4) != 0x1) {
            return std::nullopt;
        }
        const size_t width = size_t{1} << (_data[position] & 0x0F);
        std::optional<uint64_t> counted = integer(position + 1, width);
        if (width > 8 || !counted) {
            return std::nullopt;
        }
        count = *counted;
        position += 1 + width;
    }
    return Counted{count, position};
}

std::optional<uint64_t> BinaryPropertyListObjects::integer(uint64_t position, size_t width) const {
    if (position > _data.size() || width > _data.size() - position) {
        return std::nullopt;
    }
    uint64_t value = 0;
    for (size_t i = 0; i < width; ++i) {
        value = (value << 8) | _data[static_cast<size_t>(position) + i];
    }
    return value;
}
