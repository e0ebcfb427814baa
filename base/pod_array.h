// A growable array of plain values whose growth reports running out of memory
// instead of throwing: the program is built without exceptions and keeps every
// array it grows in one of these.
#pragma once
#include <cstddef>
#include <cstring>
#include <type_traits>

#include "base/memory.h"

template <class T>
class CPodArray {
    static_assert(std::is_trivially_copyable<T>::value, "values are moved with memcpy");

public:
    CPodArray() = default;
    ~CPodArray() { FreeBlock(m_p); }
    CPodArray(const CPodArray&) = delete;
    CPodArray& operator=(const CPodArray&) = delete;

    // Room for n values in all; false when the memory cannot be had.
    bool Reserve(size_t n) {
        if (n <= m_cap) {
            return true;
        }
        if (n > static_cast<size_t>(-1) / sizeof(T)) {
            return false;
        }
        void* p = GrowBlock(m_p, n * sizeof(T));
        if (p == nullptr) {
            return false;
        }
        m_p = static_cast<T*>(p);
        m_cap = n;
        return true;
    }
    // n values, the new ones left as they are until written.
    bool Resize(size_t n) {
        if (!Reserve(n)) {
            return false;
        }
        m_n = n;
        return true;
    }
    bool Add(const T& value) {
        if (m_n == m_cap && !Reserve(m_cap < 4 ? 4 : m_cap * 2)) {
            return false;
        }
        m_p[m_n++] = value;
        return true;
    }
    bool InsertAt(size_t i, const T& value) {
        if (!Add(value)) {
            return false;
        }
        std::memmove(m_p + i + 1, m_p + i, (m_n - i - 1) * sizeof(T));
        m_p[i] = value;
        return true;
    }
    void RemoveAt(size_t i) {
        std::memmove(m_p + i, m_p + i + 1, (m_n - i - 1) * sizeof(T));
        --m_n;
    }
    void Clear() {
        FreeBlock(m_p);
        m_p = nullptr;
        m_n = m_cap = 0;
    }

    size_t size() const { return m_n; }
    T* data() { return m_p; }
    const T* data() const { return m_p; }
    T& operator[](size_t i) { return m_p[i]; }
    const T& operator[](size_t i) const { return m_p[i]; }
    T* begin() { return m_p; }
    T* end() { return m_p + m_n; }
    const T* begin() const { return m_p; }
    const T* end() const { return m_p + m_n; }

private:
    T* m_p = nullptr;
    size_t m_n = 0;
    size_t m_cap = 0;
};
