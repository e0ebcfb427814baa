// The system's side of the rights layer, as it stands here (not the stand-in).
#include <gtest/gtest.h>

#include "win/rights.h"

namespace {

TEST(Rights, LevelsAreReadFromTokensAndAProcessThatCannotBeAskedIsUnknown) {
    const DWORD dwOwn = ProcessIntegrity(::GetCurrentProcessId());
    EXPECT_NE(dwOwn, kIntegrityUnknown);
    EXPECT_GE(dwOwn, 0x1000u);  // a desktop program's token is at least low

    // A program this one starts has its rights, read across processes.
    wchar_t szCmd[] = L"cmd.exe /c ping -n 3 127.0.0.1 >nul";
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(::CreateProcessW(nullptr, szCmd, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si,
                                 &pi));
    EXPECT_EQ(ProcessIntegrity(pi.dwProcessId), dwOwn);
    ::TerminateProcess(pi.hProcess, 0);
    ::WaitForSingleObject(pi.hProcess, 5000);
    ::CloseHandle(pi.hProcess);
    ::CloseHandle(pi.hThread);

    EXPECT_EQ(ProcessIntegrity(0), kIntegrityUnknown);  // the idle process
    EXPECT_EQ(ProcessIntegrity(3), kIntegrityUnknown);  // no process has it
}

}  // namespace
