// The scale a window is shown at, and the system's metrics at a scale. Systems
// before Windows 10 lack the calls: they answer for the system's scale.
#pragma once
#include <windows.h>

// Never 0: without the call, the screen's scale.
UINT WindowDpi(HWND hWnd);
int MetricForDpi(int nIndex, UINT nDpi);
