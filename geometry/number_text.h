// Numbers as text, without the C runtime's printf family (which would pull a
// whole floating-point formatter into each executable).
#pragma once
#include <cstdint>
#include <string>

// Signed decimal, no grouping: "-1361".
std::wstring DecimalText(int64_t value);

// Lower-case hexadecimal, zero-padded to at least the given number of digits.
std::wstring HexText(uint32_t value, int minDigits);
