// A value field: an editable combo box with presets and a paired up-down control.
#pragma once
#include <string>

#include "win/window_impl.h"

class CCoordValue : public CWindowImpl<CCoordValue, CComboBox> {
public:
    CContainedWindow m_wndEdit;
    HWND m_hwndUpDown = nullptr;
    std::wstring m_strDropDownText;

    CCoordValue() : m_wndEdit(this, 1) {}

    BOOL SubclassWindow(HWND hWnd);
    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                              DWORD dwMsgMapID) override;
};
