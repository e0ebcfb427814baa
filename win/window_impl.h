// Window objects that take over existing controls by subclassing them.
#pragma once
#include "message_map.h"
#include "window.h"

// Non-template core of every subclassed window: replaces the window procedure,
// routes messages to Dispatch and undoes itself when the window is destroyed.
class CSubclassHook {
public:
    CSubclassHook() = default;
    CSubclassHook(const CSubclassHook&) = delete;
    CSubclassHook& operator=(const CSubclassHook&) = delete;

    // The window procedure the control had before subclassing, for default processing.
    LRESULT CallSuper(UINT uMsg, WPARAM wParam, LPARAM lParam) const;
    const MSG* GetCurrentMessage() const { return m_pCurrentMsg; }

protected:
    virtual ~CSubclassHook();
    BOOL Hook(HWND hWnd);
    HWND Unhook();
    virtual BOOL Dispatch(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) = 0;
    // Called after WM_NCDESTROY, once the original procedure is back.
    virtual void Unhooked(HWND hWnd) = 0;

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    HWND m_hWndHooked = nullptr;
    WNDPROC m_pfnSuperWindowProc = nullptr;
    const MSG* m_pCurrentMsg = nullptr;
};

// T handles its messages in ProcessWindowMessage (map 0); TBase is the control wrapper.
template <class T, class TBase = CWindow>
class CWindowImpl : public TBase, public CMessageMap, protected CSubclassHook {
public:
    BOOL SubclassWindow(HWND hWnd) {
        if (this->m_hWnd != nullptr || !Hook(hWnd)) {
            return FALSE;
        }
        this->m_hWnd = hWnd;
        return TRUE;
    }
    HWND UnsubclassWindow() {
        HWND hWnd = Unhook();
        if (hWnd != nullptr) {
            this->m_hWnd = nullptr;
        }
        return hWnd;
    }
    LRESULT DefWindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam) const {
        return CallSuper(uMsg, wParam, lParam);
    }
    virtual void OnFinalMessage(HWND) {}

protected:
    BOOL Dispatch(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override {
        return ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, 0);
    }
    void Unhooked(HWND hWnd) override {
        this->m_hWnd = nullptr;
        OnFinalMessage(hWnd);
    }
};

// A child window (such as a combo box's edit) whose messages go to an alternate
// map of another object's ProcessWindowMessage.
class CContainedWindow : public CWindow, protected CSubclassHook {
public:
    CContainedWindow(CMessageMap* pObject, DWORD dwMsgMapID)
        : m_pObject(pObject), m_dwMsgMapID(dwMsgMapID) {}
    BOOL SubclassWindow(HWND hWnd);
    LRESULT DefWindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam) const {
        return CallSuper(uMsg, wParam, lParam);
    }

protected:
    BOOL Dispatch(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;
    void Unhooked(HWND) override { m_hWnd = nullptr; }

private:
    CMessageMap* m_pObject;
    DWORD m_dwMsgMapID;
};
