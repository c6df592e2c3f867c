#include <Foundation/PropertyListDepth.h>

#include <cstring>
#include <vector>

#include <Foundation/BinaryPropertyListObjects.h>

bool PropertyListDepth::binaryWithin(const NSData& data, int maximum) {
    BinaryPropertyListObjects objects(data);
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
