// A value field: an editable combo box with presets and a paired up-down control.
#pragma once
#include "geometry/field_text.h"
#include "win/window_impl.h"

class CCoordValue : public CWindowImpl<CCoordValue, CComboBox> {
public:
    CContainedWindow m_wndEdit;
    HWND m_hwndUpDown = nullptr;
    // The typed text, kept while the drop-down shows a preset's label.
    wchar_t m_szDropDownText[kFieldTextChars] = {};
    bool m_bDropDownTextSaved = false;
    // What the program last wrote: a field still showing it has not been edited.
    int32_t m_nShown = 0;

    CCoordValue() : m_wndEdit(this, 1) {}

    BOOL SubclassWindow(HWND hWnd);
    // Lines the up-down up with the closed box, as it stands now.
    void AlignUpDown();
    // Writes a number, or with bUnlessEdited only into a field that still shows
    // what was last written. While the drop-down is open, the number goes to
    // the text that closing it puts back.
    void ShowNumber(int32_t nValue, bool bUnlessEdited);
    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                              DWORD dwMsgMapID) override;
};
