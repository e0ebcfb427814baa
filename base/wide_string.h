// A wide string whose growth reports running out of memory instead of
// throwing. It is always terminated, so its text goes straight to the system.
#pragma once
#include <cstddef>
#include <cstring>
#include <string_view>

#include "base/memory.h"

// Copies at most cchMax characters and terminates the copy (pDest holds
// cchMax + 1); the number copied. (The string view's own copy may throw,
// and the program is built without exceptions.)
inline size_t CopyTerminated(std::wstring_view text, wchar_t* pDest, size_t cchMax) {
    const size_t n = text.size() < cchMax ? text.size() : cchMax;
    if (n != 0) {
        std::memcpy(pDest, text.data(), n * sizeof(wchar_t));
    }
    pDest[n] = L'\0';
    return n;
}

class CWideString {
public:
    CWideString() = default;
    ~CWideString() { FreeBlock(m_p); }
    CWideString(CWideString&& other) noexcept : m_p(other.m_p), m_n(other.m_n), m_cap(other.m_cap) {
        other.m_p = nullptr;
        other.m_n = other.m_cap = 0;
    }
    CWideString& operator=(CWideString&& other) noexcept {
        if (this != &other) {
            FreeBlock(m_p);
            m_p = other.m_p;
            m_n = other.m_n;
            m_cap = other.m_cap;
            other.m_p = nullptr;
            other.m_n = other.m_cap = 0;
        }
        return *this;
    }
    CWideString(const CWideString&) = delete;
    CWideString& operator=(const CWideString&) = delete;

    // Room for n characters besides the terminating zero; false when the memory cannot be had.
    bool Reserve(size_t n) {
        if (m_p != nullptr && n < m_cap) {
            return true;
        }
        if (n >= static_cast<size_t>(-1) / sizeof(wchar_t) - 1) {
            return false;
        }
        void* p = GrowBlock(m_p, (n + 1) * sizeof(wchar_t));
        if (p == nullptr) {
            return false;
        }
        m_p = static_cast<wchar_t*>(p);
        m_cap = n + 1;
        m_p[m_n] = L'\0';
        return true;
    }
    // On failure the text stays as it was.
    bool Append(std::wstring_view text) {
        if (text.size() > static_cast<size_t>(-1) / 4 - m_n) {
            return false;
        }
        const size_t n = m_n + text.size();
        if (n >= m_cap && !Reserve(n < 2 * m_n ? 2 * m_n : n)) {
            return false;
        }
        if (!text.empty()) {
            std::memcpy(m_p + m_n, text.data(), text.size() * sizeof(wchar_t));
        }
        m_n = n;
        m_p[m_n] = L'\0';
        return true;
    }
    bool Append(wchar_t ch) { return Append(std::wstring_view(&ch, 1)); }
    bool Assign(std::wstring_view text) {
        Truncate(0);
        return Append(text);
    }
    void Truncate(size_t n) {
        if (n < m_n) {
            m_n = n;
            m_p[m_n] = L'\0';
        }
    }

    size_t size() const { return m_n; }
    bool empty() const { return m_n == 0; }
    const wchar_t* c_str() const { return m_p != nullptr ? m_p : L""; }
    std::wstring_view View() const { return std::wstring_view(c_str(), m_n); }
    operator std::wstring_view() const { return View(); }
    wchar_t operator[](size_t i) const { return m_p[i]; }

private:
    wchar_t* m_p = nullptr;
    size_t m_n = 0;
    size_t m_cap = 0;
};
