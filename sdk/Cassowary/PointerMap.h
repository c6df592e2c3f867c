#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace cassowary {

// A map keyed by identity (the address of a variable's or constraint's
// storage): its entries sit in one dense vector, for iteration, and an
// open-addressing table of keys and entry indices finds them with one probe
// run, without a node per entry.
template <class Value> class PointerMap {
public:
    struct Entry {
        const void* key;
        Value value;
    };

    size_t size() const { return _entries.size(); }
    std::vector<Entry>& entries() { return _entries; }

    Value* find(const void* key) {
        const Slot& slot = _slots.empty() ? kVacant : _slots[probe(key)];
        return slot.key == key ? &_entries[slot.entry].value : nullptr;
    }
    bool contains(const void* key) const {
        return !_slots.empty() && _slots[probe(key)].key == key;
    }

    // The value under the key, added from make() if there was none; and whether it was added.
    template <class Make> std::pair<Value*, bool> findOrAdd(const void* key, Make make) {
        if ((_entries.size() + 1) * 2 > _slots.size()) {
            grow();
        }
        Slot& slot = _slots[probe(key)];
        if (slot.key == key) {
            return {&_entries[slot.entry].value, false};
        }
        slot = {key, static_cast<uint32_t>(_entries.size())};
        _entries.push_back({key, make()});
        return {&_entries.back().value, true};
    }

    // Removes the key's entry; the last entry takes its place in entries().
    void erase(const void* key) {
        size_t hole = probe(key);
        uint32_t removed = _slots[hole].entry;
        // Backward-shift deletion: pull later keys of the run into the hole
        // unless their home lies cyclically after it.
        size_t mask = _slots.size() - 1;
        for (size_t next = (hole + 1) & mask; _slots[next].key; next = (next + 1) & mask) {
            size_t home = homeOf(_slots[next].key);
            bool stays =
                hole < next ? (home > hole && home <= next) : (home > hole || home <= next);
            if (!stays) {
                _slots[hole] = _slots[next];
                hole = next;
            }
        }
        _slots[hole] = kVacant;
        if (removed + 1 != _entries.size()) {
            _entries[removed] = std::move(_entries.back());
            _slots[probe(_entries[removed].key)].entry = removed;
        }
        _entries.pop_back();
    }

    void clear() {
        _entries.clear();
        _slots.clear();
    }

private:
    struct Slot {
        const void* key;
        uint32_t entry;
    };
    static constexpr Slot kVacant{nullptr, 0};

    size_t homeOf(const void* key) const {
        // Addresses come in strides that plain multiplicative hashing can
        // cluster; the finaliser of MurmurHash3 mixes every bit into the top ones.
        auto bits = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(key));
        bits ^= bits >> 33;
        bits *= 0xff51afd7ed558ccdull;
        bits ^= bits >> 33;
        bits *= 0xc4ceb9fe1a85ec53ull;
        return static_cast<size_t>(bits >> _shift);
    }
    // The key's slot, or the vacant slot that ends its probe run.
    size_t probe(const void* key) const {
        size_t mask = _slots.size() - 1;
        size_t index = homeOf(key);
        while (_slots[index].key && _slots[index].key != key) {
            index = (index + 1) & mask;
        }
        return index;
    }
    void grow() {
        size_t capacity = _slots.empty() ? 16 : _slots.size() * 2;
        _shift = 64;
        for (size_t size = capacity; size > 1; size /= 2) {
            --_shift;
        }
        _slots.assign(capacity, kVacant);
        for (uint32_t index = 0; index < _entries.size(); ++index) {
            _slots[probe(_entries[index].key)] = {_entries[index].key, index};
        }
    }

    std::vector<Entry> _entries;
    std::vector<Slot> _slots;
    unsigned _shift = 64;
};

} // namespace cassowary
