// Reading a value field's text; free of platform calls.
#pragma once
#include "geometry/placement.h"

// A field's text with its terminating zero fits this many characters: the
// fields take no more from the keyboard, so reading one needs no memory.
constexpr int kFieldTextChars = 32;

// Full-width digits and space, the full-width hyphen-minus and the minus sign
// as their plain forms; any other character as it is.
wchar_t FoldFieldChar(wchar_t ch);

// Leading and trailing blanks, an optional minus sign and decimal digits, nothing
// else, each also in the forms folded above; valid only within -32768..32767 and
// when shorter than kFieldTextChars. "12x", "", "-" and "1 2" are not numbers.
FieldValue ParseFieldText(const wchar_t* pszText);
