// The display list and the enumeration of displays.
#pragma once
#include "win/window_impl.h"

// An empty monitor information with its size set, ready for GetMonitorInfoW.
inline MONITORINFO EmptyMonitorInfo() {
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    return mi;
}

// The display's work area; false when it cannot be read (the display is gone).
inline bool GetWorkArea(HMONITOR hMonitor, RECT* prcWork) {
    MONITORINFO mi = EmptyMonitorInfo();
    if (hMonitor == nullptr || !::GetMonitorInfoW(hMonitor, &mi)) {
        return false;
    }
    *prcWork = mi.rcWork;
    return true;
}

class CEnumDisplayMonitors {
public:
    virtual BOOL OnEnumMonitor(HMONITOR hMonitor) = 0;

    BOOL EnumerateMonitors() {
        return ::EnumDisplayMonitors(nullptr, nullptr, MonitorEnumProc, reinterpret_cast<LPARAM>(this));
    }
    static BOOL CALLBACK MonitorEnumProc(HMONITOR hMonitor, HDC, LPRECT, LPARAM dwData) {
        return reinterpret_cast<CEnumDisplayMonitors*>(dwData)->OnEnumMonitor(hMonitor);
    }

protected:
    ~CEnumDisplayMonitors() = default;
};

class CMonitorList : public CWindowImpl<CMonitorList, CComboBox> {
public:
    BOOL ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&, DWORD) override { return FALSE; }

    // Selects the entry carrying hMonitor; CB_ERR, with the selection cleared, when none does.
    int SelectMonitor(HMONITOR hMonitor) const;
};
