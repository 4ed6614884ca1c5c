#include "platform/SystemFunction.h"

#include <commdlg.h>
#include <gtest/gtest.h>

namespace {

TEST(SystemFunction, LoadsItsLibraryOnTheFirstCallOnly) {
    // This test program links nothing of the common dialogs, so the library is
    // loaded by the look-up itself.
    ASSERT_EQ(GetModuleHandleW(L"comdlg32.dll"), nullptr);
    auto lastError = platform::SystemFunction<decltype(&CommDlgExtendedError)>(L"comdlg32.dll", "CommDlgExtendedError");
    ASSERT_NE(lastError, nullptr);
    HMODULE loaded = GetModuleHandleW(L"comdlg32.dll");
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(reinterpret_cast<void*>(lastError),
              reinterpret_cast<void*>(GetProcAddress(loaded, "CommDlgExtendedError")));
    EXPECT_EQ(lastError(), 0u) << "no dialog has failed";

    // A second look-up finds the loaded library.
    EXPECT_EQ(platform::SystemFunction<decltype(&CommDlgExtendedError)>(L"comdlg32.dll", "CommDlgExtendedError"), lastError);
}

TEST(SystemFunction, WhatTheSystemLacksIsNull) {
    EXPECT_EQ(platform::SystemFunction<decltype(&CommDlgExtendedError)>(L"comdlg32.dll", "NoSuchFunction"), nullptr);
    EXPECT_EQ(platform::SystemFunction<decltype(&CommDlgExtendedError)>(L"pelmora-no-such-library.dll", "Any"), nullptr);
}

TEST(SystemFunction, TakesNoLibraryFromOutsideTheSystemFolder) {
    // A library of the looked-up name beside the program is not loaded.
    wchar_t self[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    ASSERT_GT(length, 0u);
    std::wstring folder(self, length);
    folder.resize(folder.find_last_of(L"\\/") + 1);
    const std::wstring planted = folder + L"pelmora-planted.dll";
    ASSERT_TRUE(CopyFileW(self, planted.c_str(), FALSE));
    auto found = platform::SystemFunction<decltype(&CommDlgExtendedError)>(L"pelmora-planted.dll", "main");
    EXPECT_EQ(found, nullptr);
    EXPECT_EQ(GetModuleHandleW(L"pelmora-planted.dll"), nullptr);
    DeleteFileW(planted.c_str());
}

}  // namespace
