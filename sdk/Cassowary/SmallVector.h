#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

namespace cassowary {

// A vector of trivially copyable values that keeps up to N of them inline.
// The tableau's rows and columns are mostly that short, so most of them cost
// no allocation of their own and sit beside the rest of their record.
template <class T, uint32_t N> class SmallVector {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    SmallVector() = default;
    SmallVector(const SmallVector& other) { assign(other.begin(), other.end()); }
    SmallVector(SmallVector&& other) noexcept { take(other); }
    SmallVector& operator=(const SmallVector& other) {
        if (this != &other) {
            assign(other.begin(), other.end());
        }
        return *this;
    }
    SmallVector& operator=(SmallVector&& other) noexcept {
        if (this != &other) {
            release();
            take(other);
        }
        return *this;
    }
    ~SmallVector() { release(); }

    uint32_t size() const { return _size; }
    bool empty() const { return _size == 0; }
    T* data() { return isInline() ? _local : _heap; }
    const T* data() const { return isInline() ? _local : _heap; }
    T* begin() { return data(); }
    T* end() { return data() + _size; }
    const T* begin() const { return data(); }
    const T* end() const { return data() + _size; }
    T& operator[](uint32_t index) { return data()[index]; }
    const T& operator[](uint32_t index) const { return data()[index]; }
    const T& front() const { return data()[0]; }

    void clear() { _size = 0; }
    // Keeps the first `count` values.
    void truncate(uint32_t count) { _size = count; }
    void reserve(uint32_t capacity) {
        if (capacity > _capacity) {
            grow(capacity);
        }
    }
    void push_back(const T& value) {
        if (_size == _capacity) {
            grow(_capacity * 2);
        }
        data()[_size++] = value;
    }
    T* insert(T* position, const T& value) {
        uint32_t at = static_cast<uint32_t>(position - data());
        if (_size == _capacity) {
            grow(_capacity * 2);
        }
        T* slot = data() + at;
        std::memmove(static_cast<void*>(slot + 1), slot, (_size - at) * sizeof(T));
        *slot = value;
        ++_size;
        return slot;
    }
    void erase(T* position) {
        std::memmove(static_cast<void*>(position), position + 1,
                     static_cast<size_t>(end() - position - 1) * sizeof(T));
        --_size;
    }
    // Takes the values of `other`, which keeps storage to reuse: when both
    // hold allocations they trade them, else the values are copied.
    void absorb(SmallVector& other) {
        if (!isInline() && !other.isInline()) {
            std::swap(_size, other._size);
            std::swap(_capacity, other._capacity);
            std::swap(_heap, other._heap);
        } else {
            assign(other.begin(), other.end());
        }
    }
    void assign(const T* first, const T* last) {
        auto count = static_cast<uint32_t>(last - first);
        _size = 0;
        reserve(count);
        std::memcpy(static_cast<void*>(data()), first, count * sizeof(T));
        _size = count;
    }

private:
    bool isInline() const { return _capacity == N; }
    void grow(uint32_t capacity) {
        auto* heap = static_cast<T*>(std::malloc(capacity * sizeof(T)));
        if (!heap) {
            throw std::bad_alloc();
        }
        std::memcpy(static_cast<void*>(heap), data(), _size * sizeof(T));
        release();
        _heap = heap;
        _capacity = capacity;
    }
    void release() {
        if (!isInline()) {
            std::free(_heap);
            _capacity = N;
        }
    }
    void take(SmallVector& other) {
        _size = other._size;
        _capacity = other._capacity;
        if (other.isInline()) {
            std::memcpy(static_cast<void*>(_local), other._local, _size * sizeof(T));
        } else {
            _heap = other._heap;
            other._capacity = N;
        }
        other._size = 0;
    }

    uint32_t _size = 0;
    uint32_t _capacity = N;
    union {
        T _local[N];
        T* _heap;
    };
};

} // namespace cassowary
