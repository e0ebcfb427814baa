#include <gtest/gtest.h>

#include <vector>

#include "app/app_module.h"

namespace {

TEST(AppModule, LoopRegistryIsKeyedByThread) {
    CAppModule module;
    module.Init(::GetModuleHandleW(nullptr));
    CMessageLoop first, second;
    EXPECT_EQ(module.GetMessageLoop(), nullptr);
    EXPECT_TRUE(module.AddMessageLoop(&first));
    EXPECT_TRUE(module.AddMessageLoop(&second));
    EXPECT_EQ(module.GetMessageLoop(), &first);
    EXPECT_EQ(module.GetMessageLoop(::GetCurrentThreadId() + 1), nullptr);
    EXPECT_TRUE(module.RemoveMessageLoop());
    EXPECT_EQ(module.GetMessageLoop(), &second);
    EXPECT_TRUE(module.RemoveMessageLoop());
    EXPECT_FALSE(module.RemoveMessageLoop());
    module.Term();
}

TEST(ModulePath, APathThatFillsTheBufferIsRefused) {
    wchar_t szFull[MAX_PATH] = {};
    ASSERT_EQ(GetModulePath(nullptr, szFull, MAX_PATH), S_OK);
    const DWORD cch = static_cast<DWORD>(wcslen(szFull));
    std::vector<wchar_t> exact(cch + 1);
    EXPECT_EQ(GetModulePath(nullptr, exact.data(), cch + 1), S_OK);
    EXPECT_STREQ(exact.data(), szFull);
    std::vector<wchar_t> tight(cch);
    EXPECT_EQ(static_cast<uint32_t>(GetModulePath(nullptr, tight.data(), cch)), 0x8007007Au);
}

}  // namespace
