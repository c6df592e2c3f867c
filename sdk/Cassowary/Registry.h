#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include <Cassowary/BlockVector.h>
#include <Cassowary/Membership.h>

namespace cassowary {

// A solver's table of entries for variables or constraints, kept dense. Each object's Membership
// records its index here, so finding, adding and removing an entry cost no hashing. The value must
// keep the object alive (hold its handle): the entry points at its Membership.
template <class Value> class Registry {
public:
    struct Entry {
        Membership* membership;
        Value value;
    };

    Registry() = default;
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;
    ~Registry() { clear(); }

    // Calls visit(value) for every entry.
    template <class Visit> void forEach(Visit visit) {
        for (size_t index = 0; index < _entries.size(); ++index) {
            visit(_entries[index].value);
        }
    }

    Value* find(const Membership& membership) {
        uint32_t index = membership.indexIn(this);
        return index == Membership::kAbsent ? nullptr : &_entries[index].value;
    }
    bool contains(const Membership& membership) const {
        return membership.indexIn(this) != Membership::kAbsent;
    }

    Value& add(Membership& membership, Value value) {
        membership.set(this, static_cast<uint32_t>(_entries.size()));
        _entries.emplace_back(Entry{&membership, std::move(value)});
        return _entries.back().value;
    }

    // Removes the object's entry; the last entry takes its place.
    void erase(Membership& membership) {
        uint32_t index = membership.indexIn(this);
        membership.erase(this);
        if (index + 1 != _entries.size()) {
            _entries[index] = std::move(_entries.back());
            _entries[index].membership->set(this, index);
        }
        _entries.pop_back();
    }

    void clear() {
        for (size_t index = 0; index < _entries.size(); ++index) {
            _entries[index].membership->erase(this);
        }
        _entries.clear();
    }

private:
    BlockVector<Entry> _entries;
};

} // namespace cassowary
