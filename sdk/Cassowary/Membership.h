#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace cassowary {

// The solver tables that hold a variable or a constraint, with its index in
// each, kept beside the object itself so that a table finds its entry for it
// without hashing. Nearly always one table: that one is kept inline.
class Membership {
public:
    static constexpr uint32_t kAbsent = UINT32_MAX;

    uint32_t indexIn(const void* table) const {
        if (_table == table) {
            return _index;
        }
        if (_more) {
            for (const auto& [other, index] : *_more) {
                if (other == table) {
                    return index;
                }
            }
        }
        return kAbsent;
    }

    void set(const void* table, uint32_t index) {
        if (!_table || _table == table) {
            _table = table;
            _index = index;
            return;
        }
        if (!_more) {
            _more = std::make_unique<std::vector<std::pair<const void*, uint32_t>>>();
        }
        for (auto& [other, existing] : *_more) {
            if (other == table) {
                existing = index;
                return;
            }
        }
        _more->emplace_back(table, index);
    }

    void erase(const void* table) {
        if (_table == table) {
            _table = nullptr;
            if (_more && !_more->empty()) {
                std::tie(_table, _index) = _more->back();
                _more->pop_back();
            }
        } else if (_more) {
            std::erase_if(*_more, [table](const auto& entry) { return entry.first == table; });
        }
    }

private:
    const void* _table = nullptr;
    uint32_t _index = 0;
    std::unique_ptr<std::vector<std::pair<const void*, uint32_t>>> _more;
};

} // namespace cassowary
