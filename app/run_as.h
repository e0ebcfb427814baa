// The elevated relaunch of "/RunAs".
#pragma once
#include <windows.h>

// Starts this program again through the shell's "runas" verb: S_OK when it
// started, S_FALSE when the user declined at the elevation prompt (exit code
// 1, no message), else the failure as an HRESULT.
HRESULT RunAsAdministrator();
