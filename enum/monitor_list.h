// The display list and the enumeration of displays.
#pragma once
#include "win/window_impl.h"

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
