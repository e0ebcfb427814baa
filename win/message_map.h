// The message-map interface every window object of the program implements.
#pragma once
#include <windows.h>

// Offset of reflected notifications: a parent sends a child's notification back
// to the child with this added to the message number.
constexpr UINT OCM_BASE_OFFSET = 0x2000;
constexpr UINT OCM_COMMAND_MSG = OCM_BASE_OFFSET + WM_COMMAND;
constexpr UINT OCM_NOTIFY_MSG = OCM_BASE_OFFSET + WM_NOTIFY;

class CMessageMap {
public:
    // Returns TRUE when the message was handled; lResult is then the message result.
    // Map 0 is the object's own window; other ids serve contained windows.
    virtual BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam,
                                      LRESULT& lResult, DWORD dwMsgMapID = 0) = 0;

protected:
    ~CMessageMap() = default;
};

// Sends a child's notification back to the child (message + 0x2000). Returns FALSE,
// with lResult 1, when the message names no child.
BOOL ReflectNotifications(HWND hWndParent, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult);
