// The About item of the window menu and the box it shows.
#pragma once
#include <windows.h>

#include "app/app_module.h"
#include "res/resource.h"
#include "win/message_map.h"

// Shows product name, version and copyright from the version resource of file.
// Returns the box's result, or 0 when the resource could not be read.
int ShowAboutBox(HWND hWndOwner, const wchar_t* pszFile, UINT nCaptionId, UINT nIconId);

// Marks a class that carries the About command.
class CAboutBoxSite {};

template <class T>
class CAboutBoxSiteImpl : public CAboutBoxSite, public CMessageMap {
public:
    BOOL ProcessWindowMessage(HWND, UINT uMsg, WPARAM wParam, LPARAM, LRESULT& lResult,
                              DWORD dwMsgMapID) override {
        if (dwMsgMapID == 0 && uMsg == WM_SYSCOMMAND && (wParam & 0xFFF0) == IDM_ABOUTBOX) {
            // The running file itself: argv[0] is only what the command line called it.
            wchar_t szPath[MAX_PATH];
            ShowAboutBox(::GetActiveWindow(), SUCCEEDED(GetModulePath(nullptr, szPath, MAX_PATH)) ? szPath : nullptr,
                         IDR_MAINFRAME, IDR_MAINFRAME);
            lResult = 0;
            return TRUE;
        }
        return FALSE;
    }

protected:
    ~CAboutBoxSiteImpl() = default;
};
