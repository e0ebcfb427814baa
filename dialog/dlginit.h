// Reading the dialog initialisation data resource; free of platform calls.
#pragma once
#include <cstddef>
#include <cstdint>

#include "base/pod_array.h"

struct DlgInitEntry {
    uint16_t nControlId;
    uint16_t nMessage;
    const char* pData;  // ANSI text, usually with its terminating zero
    uint32_t nLength;
};

constexpr uint16_t kDlgInitAddString16 = 0x0403;  // CB_ADDSTRING of 16-bit Windows
constexpr uint16_t kDlgInitComboBoxEx = 0x1234;   // an item of a combo-box-ex

// The entries up to the terminating control id 0. An entry that claims more bytes
// than the resource holds ends the list instead of reading past it. False when
// the memory for the list cannot be had.
bool ParseDlgInit(const void* pData, size_t nSize, CPodArray<DlgInitEntry>* pEntries);
