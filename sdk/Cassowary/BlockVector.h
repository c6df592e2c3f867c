#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace cassowary {

// A growable array in fixed blocks of 256 elements: growing never moves the
// elements or asks for one large allocation (which the allocator would map
// afresh, page by page, each time), and indexing is a shift and a mask.
template <class T> class BlockVector {
public:
    BlockVector() = default;
    BlockVector(const BlockVector&) = delete;
    BlockVector& operator=(const BlockVector&) = delete;
    ~BlockVector() { clear(); }

    size_t size() const { return _size; }
    T& operator[](size_t index) { return element(index); }
    const T& operator[](size_t index) const {
        return const_cast<BlockVector*>(this)->element(index);
    }
    T& back() { return element(_size - 1); }

    template <class... Arguments> T& emplace_back(Arguments&&... arguments) {
        if ((_size >> kShift) == _blocks.size()) {
            _blocks.push_back(std::make_unique_for_overwrite<Block>());
        }
        T* slot = &element(_size);
        new (slot) T(std::forward<Arguments>(arguments)...);
        ++_size;
        return *slot;
    }
    void pop_back() {
        --_size;
        element(_size).~T();
    }
    // Destroys the elements; the blocks stay for reuse.
    void clear() {
        while (_size > 0) {
            pop_back();
        }
    }

private:
    static constexpr unsigned kShift = 8;
    static constexpr size_t kBlockSize = size_t{1} << kShift;
    struct Block {
        alignas(T) std::byte storage[sizeof(T) * kBlockSize];
    };

    T& element(size_t index) {
        return *std::launder(reinterpret_cast<T*>(_blocks[index >> kShift]->storage) +
                             (index & (kBlockSize - 1)));
    }

    std::vector<std::unique_ptr<Block>> _blocks;
    size_t _size = 0;
};

} // namespace cassowary
