#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include "app/app_module.h"

int wmain(int argc, wchar_t** argv) {
    ::CoInitialize(nullptr);
    INITCOMMONCONTROLSEX iccx = {sizeof(iccx), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&iccx);
    // The program's resources are linked into this executable.
    s_module.Init(::GetModuleHandleW(nullptr));
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    s_module.Term();
    ::CoUninitialize();
    return result;
}
