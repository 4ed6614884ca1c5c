// Two starts of the program on one folder: the second hands over to the first.
#include <gtest/gtest.h>

#include "tests/app/StartedProgram.h"
#include "tests/support/WindowTest.h"

using namespace testing_support;

namespace {

constexpr DWORD kPatience = 30000;  // ms; a cold Wine prefix is slow

// The program and its picture, copied from beside this test into folder.
void CopyProgram(const TempFolder& folder) {
    wchar_t self[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring here = self;
    here.resize(here.find_last_of(L'\\'));
    std::wstring build = here.substr(0, here.find_last_of(L'\\'));  // tests\app -> the build folder
    build.resize(build.find_last_of(L'\\'));
    for (const wchar_t* name : {L"Pelmora.exe", L"About.bmp"})
        ASSERT_TRUE(CopyFileW((build + L"\\" + name).c_str(), folder.File(name).c_str(), FALSE)) << build;
}

// The program started in folder; ended, if it still runs, when this goes.
struct Started {
    explicit Started(const TempFolder& folder) {
        std::wstring command = L"\"" + folder.File(L"Pelmora.exe") + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        EXPECT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.Path().c_str(),
                                   &startup, &process));
    }
    ~Started() {
        if (!process.hProcess) return;
        TerminateProcess(process.hProcess, 0);
        WaitForSingleObject(process.hProcess, kPatience);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    Started(const Started&) = delete;
    Started& operator=(const Started&) = delete;
    PROCESS_INFORMATION process{};
};

// The program's main window, once it is up and idle.
HWND MainWindowOf(const PROCESS_INFORMATION& process) {
    WaitForInputIdle(process.hProcess, kPatience);
    HWND window = started::FindWindowOf(process.dwProcessId, L"TForm1");
    for (DWORD start = GetTickCount(); !window && GetTickCount() - start < kPatience;) {
        WaitForSingleObject(process.hProcess, 50);  // waits on the other process, not on a clock
        window = started::FindWindowOf(process.dwProcessId, L"TForm1");
    }
    return window;
}

}  // namespace

TEST(SecondStart, OnTheSameFolderBringsTheFirstWindowForwardAndEndsWithoutAWindowOrAWrite) {
    TempFolder folder, other;
    CopyProgram(folder);
    CopyProgram(other);
    WriteBytes(folder.File(L"Pelmora.ini"), "[Journal]\r\nEnabled=1\r\n");
    Started first(folder);
    HWND window = MainWindowOf(first.process);
    ASSERT_NE(window, nullptr);
    std::wstring settings = ReadSettingsText(folder.File(L"Pelmora.ini"));

    Started second(folder);
    ASSERT_EQ(WaitForSingleObject(second.process.hProcess, kPatience), WAIT_OBJECT_0)
        << "the second start ends by itself";
    DWORD code = 1;
    GetExitCodeProcess(second.process.hProcess, &code);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(started::FindWindowOf(second.process.dwProcessId, L"TForm1", false), nullptr);
    EXPECT_EQ(ReadSettingsText(folder.File(L"Pelmora.ini")), settings) << "nothing written by the second";
    EXPECT_EQ(WaitForSingleObject(first.process.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "the first goes on";
    EXPECT_TRUE(IsWindowVisible(window));

    // Another folder is another shop's: its program starts as usual.
    Started third(other);
    EXPECT_NE(MainWindowOf(third.process), nullptr);
}
