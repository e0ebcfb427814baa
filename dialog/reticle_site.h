// The dialog's side of the finder: which windows may be picked, and the pick itself.
#pragma once
#include "dialog/reticle.h"
#include "enum/window_enum.h"
#include "res/resource.h"

// T provides m_hWnd, m_monitorList, m_windowList, LoadMonitorList and LoadWindowList.
template <class T>
class CReticleSiteImpl : public CReticleSite {
public:
    CReticle m_reticle;

    CReticleSiteImpl() : m_reticle(this) {}

    BOOL OnReticleEnter(HWND hWnd) override { return IsEligibleWindow(hWnd) ? TRUE : FALSE; }
    void OnReticleLeave(HWND) override {}

    void OnReticleDrop(HWND hWnd) override {
        if (!IsEligibleWindow(hWnd)) {
            return;
        }
        T* pT = static_cast<T*>(this);
        const HMONITOR hMonitor = ::MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST);
        pT->LoadMonitorList();
        if (pT->m_monitorList.SelectMonitor(hMonitor) == CB_ERR) {
            pT->m_monitorList.SetCurSel(0);
        }
        pT->LoadWindowList();
        pT->m_windowList.SelectWindowItem(pT->m_windowList.FindWindowItem(hWnd));
        ::SendMessageW(pT->m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(pT->m_hWnd, IDC_WINDOWS)),
                       TRUE);
    }

protected:
    ~CReticleSiteImpl() = default;
};
