// A value field: an editable combo box with presets and a paired up-down control.
#pragma once
#include "base/wide_string.h"

#include "win/window_impl.h"

class CCoordValue : public CWindowImpl<CCoordValue, CComboBox> {
public:
    CContainedWindow m_wndEdit;
    HWND m_hwndUpDown = nullptr;
    CWideString m_strDropDownText;
    bool m_bDropDownTextSaved = false;

    CCoordValue() : m_wndEdit(this, 1) {}

    BOOL SubclassWindow(HWND hWnd);
    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                              DWORD dwMsgMapID) override;
};
