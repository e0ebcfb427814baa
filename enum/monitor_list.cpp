#include "enum/monitor_list.h"

int CMonitorList::SelectMonitor(HMONITOR hMonitor) const {
    const int nCount = GetCount();
    for (int i = 0; i < nCount; ++i) {
        if (reinterpret_cast<HMONITOR>(GetItemData(i)) == hMonitor) {
            return SetCurSel(i);
        }
    }
    return SetCurSel(-1);
}
