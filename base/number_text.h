// Numbers as text, without the C runtime's printf family (which would pull a
// whole floating-point formatter into each executable).
#pragma once
#include <cstdint>
#include <string_view>

// A number's text in a buffer of its own: nothing to allocate, nothing to fail.
class CNumberText {
public:
    const wchar_t* c_str() const { return m_sz + m_first; }
    std::wstring_view View() const { return std::wstring_view(m_sz + m_first, kChars - m_first); }

private:
    friend CNumberText DecimalText(int64_t value);
    friend CNumberText HexText(uint32_t value, int minDigits);
    static constexpr int kChars = 24;
    void Prepend(wchar_t ch) { m_sz[--m_first] = ch; }
    wchar_t m_sz[kChars + 1] = {};
    int m_first = kChars;
};

// Signed decimal, no grouping: "-1361".
CNumberText DecimalText(int64_t value);

// Lower-case hexadecimal, zero-padded to at least the given number of digits (at most 16).
CNumberText HexText(uint32_t value, int minDigits);
