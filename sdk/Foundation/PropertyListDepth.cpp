#include <Foundation/PropertyListDepth.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

namespace {

// The object table of a binary property list ("bplist00"), read just far
// enough to find each container's references.
class BinaryObjects {
public:
    explicit BinaryObjects(const NSData& data) : _data(data) {}

    bool readTrailer() {
        if (_data.size() < 8 + 32) {
            return false;
        }
        const size_t trailer = _data.size() - 32;
        _offsetSize = _data[trailer + 6];
        _referenceSize = _data[trailer + 7];
        std::optional<uint64_t> count = integer(trailer + 8, 8);
        std::optional<uint64_t> top = integer(trailer + 16, 8);
        std::optional<uint64_t> table = integer(trailer + 24, 8);
        if (_offsetSize < 1 || _offsetSize > 8 || _referenceSize < 1 || _referenceSize > 8 ||
            !count || !top || !table || *top >= *count || *table >= trailer ||
            *count > (trailer - *table) / _offsetSize) {
            return false;
        }
        _count = *count;
        _top = *top;
        _table = *table;
        return true;
    }

    uint64_t count() const { return _count; }
    uint64_t top() const { return _top; }

    // The objects a container refers to; empty for other objects, nil when
    // the object cannot be read.
    std::optional<std::vector<uint64_t>> references(uint64_t object) const {
        std::optional<uint64_t> offset = integer(_table + object * _offsetSize, _offsetSize);
        if (!offset || *offset >= _table) {
            return std::nullopt;
        }
        size_t position = static_cast<size_t>(*offset);
        const uint8_t marker = _data[position++];
        const uint8_t kind = marker >> 4;
        // Arrays (0xA), sets (0xC, 0xB) and dictionaries (0xD, keys then values).
        if (kind != 0xA && kind != 0xB && kind != 0xC && kind != 0xD) {
            return std::vector<uint64_t>{};
        }
        uint64_t entries = marker & 0x0F;
        if (entries == 0x0F) {
            if (position >= _table || (_data[position] >> 4) != 0x1) {
                return std::nullopt;
            }
            const size_t width = size_t{1} << (_data[position] & 0x0F);
            std::optional<uint64_t> counted = integer(position + 1, width);
            if (width > 8 || !counted) {
                return std::nullopt;
            }
            entries = *counted;
            position += 1 + width;
        }
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

private:
    const NSData& _data;
    size_t _offsetSize = 0;
    size_t _referenceSize = 0;
    uint64_t _count = 0;
    uint64_t _top = 0;
    uint64_t _table = 0;

    // A big-endian unsigned integer of `width` bytes.
    std::optional<uint64_t> integer(uint64_t position, size_t width) const {
        if (position > _data.size() || width > _data.size() - position) {
            return std::nullopt;
        }
        uint64_t value = 0;
        for (size_t i = 0; i < width; ++i) {
            value = (value << 8) | _data[static_cast<size_t>(position) + i];
        }
        return value;
    }
};

} // namespace

bool PropertyListDepth::binaryWithin(const NSData& data, int maximum) {
    BinaryObjects objects(data);
    if (!objects.readTrailer()) {
        return false;
    }
    // Heights are remembered per object, so shared objects are walked once;
    // the path being walked is the stack, and never grows past `maximum`.
    enum : uint8_t { Unvisited, OnPath, Done };
    std::vector<uint8_t> state(static_cast<size_t>(objects.count()), Unvisited);
    std::vector<int> height(static_cast<size_t>(objects.count()), 0);
    struct Frame {
        uint64_t object;
        std::vector<uint64_t> children;
        size_t next = 0;
    };
    std::vector<Frame> path;
    auto enter = [&](uint64_t object) {
        std::optional<std::vector<uint64_t>> children = objects.references(object);
        if (!children) {
            return false;
        }
        // Leaves and empty containers add no level.
        if (children->empty()) {
            state[object] = Done;
            return true;
        }
        if (static_cast<int>(path.size()) >= maximum) {
            return false;
        }
        state[object] = OnPath;
        path.push_back(Frame{object, std::move(*children)});
        return true;
    };
    if (!enter(objects.top())) {
        return false;
    }
    while (!path.empty()) {
        Frame& frame = path.back();
        if (frame.next == frame.children.size()) {
            int own = 1;
            for (uint64_t child : frame.children) {
                own = std::max(own, height[child] + 1);
            }
            if (own > maximum) {
                return false;
            }
            height[frame.object] = own;
            state[frame.object] = Done;
            path.pop_back();
            continue;
        }
        uint64_t child = frame.children[frame.next++];
        if (state[child] == OnPath) {
            return false;
        }
        if (state[child] == Unvisited && !enter(child)) {
            return false;
        }
    }
    return true;
}

bool PropertyListDepth::xmlWithin(const NSData& data, size_t start, int maximum) {
    auto startsWith = [&](size_t position, const char* text) {
        size_t length = std::strlen(text);
        return position + length <= data.size() &&
               std::memcmp(data.data() + position, text, length) == 0;
    };
    auto skipPast = [&](size_t position, const char* end) {
        size_t length = std::strlen(end);
        for (; position + length <= data.size(); ++position) {
            if (std::memcmp(data.data() + position, end, length) == 0) {
                return position + length;
            }
        }
        return data.size();
    };
    auto isNameEnd = [&](size_t position) {
        return position >= data.size() || data[position] == '>' || data[position] == '/' ||
               data[position] == ' ' || data[position] == '\t' || data[position] == '\r' ||
               data[position] == '\n';
    };

    int depth = 0;
    size_t position = start;
    while (position < data.size()) {
        if (data[position] != '<') {
            ++position;
            continue;
        }
        if (startsWith(position, "<!--")) {
            position = skipPast(position + 4, "-->");
            continue;
        }
        if (startsWith(position, "<![CDATA[")) {
            position = skipPast(position + 9, "]]>");
            continue;
        }
        const bool closing = startsWith(position, "</");
        const size_t name = position + (closing ? 2 : 1);
        const bool container = (startsWith(name, "array") && isNameEnd(name + 5)) ||
                               (startsWith(name, "dict") && isNameEnd(name + 4));
        // The end of the tag, stepping over quoted attribute values.
        size_t end = name;
        char quote = 0;
        for (; end < data.size(); ++end) {
            char c = static_cast<char>(data[end]);
            if (quote) {
                quote = c == quote ? 0 : quote;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '>') {
                break;
            }
        }
        const bool selfClosing = end > name && end < data.size() && data[end - 1] == '/';
        if (container && closing) {
            --depth;
        } else if (container && !selfClosing && ++depth > maximum) {
            return false;
        }
        position = end + 1;
    }
    return true;
}
