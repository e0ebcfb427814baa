// Stands in for the system's dwmapi.dll in the test prefix's system folder, where
// the system's own answers "not implemented": the program then meets invisible
// borders and cloaked windows as it would on current Windows.
#include <windows.h>
#include <dwmapi.h>

#include "frame_rule.h"

extern "C" __declspec(dllexport) HRESULT WINAPI DwmGetWindowAttribute(HWND hWnd, DWORD dwAttribute, PVOID pvAttribute,
                                                DWORD cbAttribute) {
    if (!::IsWindow(hWnd)) {
        return E_HANDLE;
    }
    if (pvAttribute == nullptr) {
        return E_POINTER;
    }
    switch (dwAttribute) {
    case DWMWA_EXTENDED_FRAME_BOUNDS: {
        RECT rc = {};
        if (cbAttribute != sizeof(RECT) || !::GetWindowRect(hWnd, &rc)) {
            return E_INVALIDARG;
        }
        *static_cast<RECT*>(pvAttribute) = DoubleFrame(hWnd, rc);
        return S_OK;
    }
    case DWMWA_CLOAKED:
        if (cbAttribute != sizeof(DWORD)) {
            return E_INVALIDARG;
        }
        *static_cast<DWORD*>(pvAttribute) =
            static_cast<DWORD>(reinterpret_cast<UINT_PTR>(::GetPropW(hWnd, kCloakedProp)));
        return S_OK;
    default:
        return E_INVALIDARG;
    }
}
