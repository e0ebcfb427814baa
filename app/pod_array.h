// A growable array of plain values whose growth reports running out of memory
// instead of throwing: the program is built without exceptions, and the places
// that must report that failure (subclassing, message loops, the registration
// script's text) keep their arrays in it.
#pragma once
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <type_traits>

template <class T>
class CPodArray {
    static_assert(std::is_trivially_copyable<T>::value, "values are moved with memcpy");

public:
    CPodArray() = default;
    ~CPodArray() { std::free(m_p); }
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
        void* p = std::realloc(m_p, n * sizeof(T));
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
    void RemoveAt(size_t i) {
        std::memmove(m_p + i, m_p + i + 1, (m_n - i - 1) * sizeof(T));
        --m_n;
    }
    void Clear() {
        std::free(m_p);
        m_p = nullptr;
        m_n = m_cap = 0;
    }

    size_t size() const { return m_n; }
    T* data() { return m_p; }
    const T* data() const { return m_p; }
    T& operator[](size_t i) { return m_p[i]; }
    T* begin() { return m_p; }
    T* end() { return m_p + m_n; }

private:
    T* m_p = nullptr;
    size_t m_n = 0;
    size_t m_cap = 0;
};
