#include "PlistLines.h"

#include <algorithm>

namespace {

// One tag of the text: its name ("dict", "/dict", "key"), whether it closes
// itself (<true/>), and the line it starts on.
struct Tag {
    std::string name;
    bool selfClosing = false;
    size_t line = 0;
};

class TagReader {
public:
    explicit TagReader(const std::string& text) : _text(text) {}

    // The next element tag; comments, declarations and processing
    // instructions are skipped. nil at the end or on a tag left open.
    std::optional<Tag> next() {
        while (true) {
            const size_t open = _text.find('<', _position);
            if (open == std::string::npos) {
                return std::nullopt;
            }
            advanceTo(open);
            if (_text.compare(open, 4, "<!--") == 0) {
                if (!skipPast(open, "-->")) {
                    return std::nullopt;
                }
                continue;
            }
            if (_text.compare(open, 9, "<![CDATA[") == 0) {
                if (!skipPast(open, "]]>")) {
                    return std::nullopt;
                }
                continue;
            }
            const size_t close = _text.find('>', open);
            if (close == std::string::npos) {
                return std::nullopt;
            }
            Tag tag;
            tag.line = _line;
            std::string inside = _text.substr(open + 1, close - open - 1);
            advanceTo(close + 1);
            if (inside.empty() || inside[0] == '?' || inside[0] == '!') {
                continue;
            }
            tag.selfClosing = inside.back() == '/';
            const size_t nameEnd = inside.find_first_of(" \t\r\n/", inside[0] == '/' ? 1 : 0);
            tag.name = inside.substr(0, nameEnd);
            return tag;
        }
    }

    // The text up to the next tag, for a <key>'s name.
    std::string textUntilNextTag() const {
        const size_t open = _text.find('<', _position);
        return _text.substr(_position,
                            (open == std::string::npos ? _text.size() : open) - _position);
    }

private:
    void advanceTo(size_t position) {
        _line += static_cast<size_t>(std::count(_text.begin() + static_cast<long>(_position),
                                                _text.begin() + static_cast<long>(position), '\n'));
        _position = position;
    }
    bool skipPast(size_t from, const char* marker) {
        const size_t found = _text.find(marker, from);
        if (found == std::string::npos) {
            return false;
        }
        advanceTo(found + std::char_traits<char>::length(marker));
        return true;
    }

    const std::string& _text;
    size_t _position = 0;
    size_t _line = 1;
};

bool isContainer(const std::string& name) {
    return name == "dict" || name == "array";
}

} // namespace

PlistLines::PlistLines(const std::string& text) {
    const size_t start = text.find_first_not_of(" \t\r\n\xEF\xBB\xBF");
    if (start == std::string::npos || text[start] != '<') {
        return;
    }
    TagReader reader(text);
    // Depth counts open dict and array elements: the top dictionary's
    // values are at depth 1, the entries of its "items" array at depth 2.
    int depth = 0;
    bool itemsKeyRead = false;
    bool inItems = false;
    while (std::optional<Tag> tag = reader.next()) {
        if (tag->name.front() == '/') {
            if (isContainer(tag->name.substr(1)) && --depth == 1) {
                inItems = false;
            }
            continue;
        }
        if (inItems && depth == 2) {
            // An entry of "items", of whatever kind.
            _items.push_back({tag->line, {}});
        }
        if (tag->name == "key") {
            const std::string key = reader.textUntilNextTag();
            if (depth == 1) {
                itemsKeyRead = key == "items";
            } else if (inItems && depth == 3) {
                _items.back().keys.try_emplace(key, tag->line);
            }
            continue;
        }
        const bool opensItems = depth == 1 && itemsKeyRead && tag->name == "array";
        if (depth == 1) {
            itemsKeyRead = false;
        }
        if (isContainer(tag->name) && !tag->selfClosing) {
            ++depth;
            inItems = inItems || opensItems;
        }
    }
}

std::optional<size_t> PlistLines::itemLine(size_t item) const {
    return item < _items.size() ? std::optional<size_t>(_items[item].line) : std::nullopt;
}

std::optional<size_t> PlistLines::keyLine(size_t item, const std::string& key) const {
    if (item >= _items.size()) {
        return std::nullopt;
    }
    auto found = _items[item].keys.find(key);
    return found == _items[item].keys.end() ? itemLine(item) : std::optional(found->second);
}
