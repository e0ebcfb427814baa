#include "dialog/dlginit.h"

#include <cstring>

bool ParseDlgInit(const void* pData, size_t nSize, CPodArray<DlgInitEntry>* pEntries) {
    pEntries->Clear();
    const auto* p = static_cast<const unsigned char*>(pData);
    size_t pos = 0;
    while (p != nullptr && pos + 2 <= nSize) {
        uint16_t id;
        std::memcpy(&id, p + pos, 2);
        if (id == 0 || pos + 8 > nSize) {
            break;
        }
        uint16_t msg;
        uint32_t len;
        std::memcpy(&msg, p + pos + 2, 2);
        std::memcpy(&len, p + pos + 4, 4);
        pos += 8;
        if (len > nSize - pos) {
            break;
        }
        if (!pEntries->Add(DlgInitEntry{id, msg, reinterpret_cast<const char*>(p + pos), len})) {
            return false;
        }
        pos += len;
    }
    return true;
}
