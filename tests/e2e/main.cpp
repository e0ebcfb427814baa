#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "harness.h"

int wmain(int argc, wchar_t** argv) {
    if (argc == 2 && ::lstrcmpW(argv[1], L"--preflight") == 0) {
        return RunPreflight();
    }
    const int nDeclaredTarget = RunAsDeclaredTarget(argc, argv);
    if (nDeclaredTarget != -1) {
        return nDeclaredTarget;
    }
    INITCOMMONCONTROLSEX iccx = {sizeof(iccx), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&iccx);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
