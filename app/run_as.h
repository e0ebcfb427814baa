// The elevated relaunch, for "/RunAs" and for a move that needs more rights.
#pragma once
#include <windows.h>

// Starts this program again through the shell's "runas" verb, with the given
// command line (none: the dialog) and the prompt owned by hWndOwner: S_OK
// when it started, S_FALSE when the user declined at the elevation prompt,
// else the failure as an HRESULT.
HRESULT RunAsAdministrator(const wchar_t* pszParameters = nullptr, HWND hWndOwner = nullptr);
