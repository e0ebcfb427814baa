// Modeless dialogs whose procedure dispatches to the object's message map.
#pragma once
#include "message_map.h"
#include "window.h"

// The non-template part: the dialog procedure and the result rules of dialogs.
class CDialogImplBase : public CWindow, public CMessageMap {
public:
    CDialogImplBase() = default;
    CDialogImplBase(const CDialogImplBase&) = delete;
    CDialogImplBase& operator=(const CDialogImplBase&) = delete;
    virtual ~CDialogImplBase() = default;
    virtual DLGPROC GetDialogProc() { return DialogProc; }
    virtual void OnFinalMessage(HWND) {}

    // Whether a handled message's result is returned from the dialog procedure
    // directly rather than through DWLP_MSGRESULT.
    static bool ReturnsResultDirectly(UINT uMsg);

protected:
    HWND CreateFromTemplate(HINSTANCE hInstance, UINT nTemplateId, HWND hWndParent);
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
};

// T supplies m_nDialogId (the template to create from) and ProcessWindowMessage.
template <class T>
class CDialogImpl : public CDialogImplBase {
public:
    HWND Create(HINSTANCE hInstance, HWND hWndParent = nullptr) {
        return CreateFromTemplate(hInstance, static_cast<T*>(this)->m_nDialogId, hWndParent);
    }
};
