#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

int wmain(int argc, wchar_t** argv) {
    INITCOMMONCONTROLSEX iccx = {sizeof(iccx), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&iccx);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
