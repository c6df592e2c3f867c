#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

// Where the entries of a page's "items" start in an XML property list, and
// the lines of their keys: the property-list reader gives no lines, so the
// text is scanned for the top dictionary's "items" array and its elements.
// A binary or old-style list, or XML the scan cannot follow, has no lines.
class PlistLines {
public:
    explicit PlistLines(const std::string& text);

    // 1-based lines; nil when unknown.
    std::optional<size_t> itemLine(size_t item) const;
    std::optional<size_t> keyLine(size_t item, const std::string& key) const;

private:
    struct Item {
        size_t line = 0;
        std::map<std::string, size_t> keys;
    };
    std::vector<Item> _items;
};
