// The window finder: a reticle the user drags from the dialog onto a window.
#pragma once
#include "win/window_impl.h"

// How the reticle reports a drag to its owner.
class CReticleSite {
public:
    // The pointer moved onto top-level window hWnd; non-zero when it may be picked.
    virtual BOOL OnReticleEnter(HWND hWnd) = 0;
    // The pointer left hWnd, the window last passed to OnReticleEnter.
    virtual void OnReticleLeave(HWND hWnd) = 0;
    // The button was released over hWnd (null over no window), after the drag ended.
    virtual void OnReticleDrop(HWND hWnd) = 0;

protected:
    ~CReticleSite() = default;
};

class CReticle : public CWindowImpl<CReticle, CStatic> {
public:
    CReticleSite* m_pSite;
    HCURSOR m_hCursorPrev = nullptr;
    HWND m_hWndHover = nullptr;
    HWND m_hWndFlash = nullptr;

    explicit CReticle(CReticleSite* pSite) : m_pSite(pSite) {}

    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                              DWORD dwMsgMapID) override;
    // Ends a drag under way as a drop on nothing would; false when none was.
    bool CancelDrag();

private:
    void BeginDrag();
    void Track(LPARAM lParam);
    void Drop(LPARAM lParam);
    void EndDrag();
    HWND TopLevelWindowAt(LPARAM lParam) const;
};
