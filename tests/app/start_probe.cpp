// Starts an installed Pelmora the way its user does and checks what they would
// see: start_probe <program or shortcut>, environment variables expanded
// (e.g. "%APPDATA%\Microsoft\Windows\Start Menu\Programs\Pelmora.lnk"). A
// shortcut is read for its program and working folder, which are then started.
// Passes when the main window of this version comes up with the focus in the
// register's entry field, the about box is made, and the program then ends through its exit question,
// answered "yes" (which writes its settings file). Prints each step; exit code
// 0 when all passed.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

#include "common/Version.h"
#include "tests/app/StartedProgram.h"

namespace {

const wchar_t kTitle[] = L" Pelmora Version " PELMORA_VERSION_WTEXT;
constexpr DWORD kPatience = 30000;  // ms for each step; a cold Wine prefix is slow

std::wstring Expand(const std::wstring& text) {
    wchar_t expanded[MAX_PATH * 2];
    DWORD length = ExpandEnvironmentStringsW(text.c_str(), expanded, MAX_PATH * 2);
    return length && length <= MAX_PATH * 2 ? expanded : text;
}

std::wstring Widen(const char* text) {
    int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(length > 0 ? length - 1 : 0, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    return wide;
}

// What a shortcut starts: its program and working folder. Empty for a file
// that is not a shortcut.
struct Launch {
    std::wstring program, folder;
};

Launch ReadShortcut(const std::wstring& path) {
    Launch launch;
    if (path.size() < 4 || _wcsicmp(path.c_str() + path.size() - 4, L".lnk") != 0) return launch;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link))))
        return launch;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t text[MAX_PATH] = L"";
        if (SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
            if (link->GetPath(text, MAX_PATH, nullptr, 0) == S_OK) launch.program = text;
            if (SUCCEEDED(link->GetWorkingDirectory(text, MAX_PATH))) launch.folder = text;
        }
        file->Release();
    }
    link->Release();
    return launch;
}

// Waits until found() gives a window, or kPatience runs out.
template <typename Find>
HWND WaitFor(Find found) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < kPatience; Sleep(20))
        if (HWND window = found()) return window;
    return nullptr;
}

int Fail(HANDLE process, const char* what) {
    std::printf("FAILED: %s\n", what);
    TerminateProcess(process, 1);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::printf("usage: start_probe <program or shortcut>\n");
        return 2;
    }
    const std::wstring target = Expand(Widen(argv[1]));
    Launch launch = ReadShortcut(target);
    if (launch.program.empty()) launch.program = target;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    std::wstring commandLine = L"\"" + launch.program + L"\"";
    if (!CreateProcessW(launch.program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        launch.folder.empty() ? nullptr : launch.folder.c_str(), &startup, &started)) {
        std::printf("FAILED: cannot start %ls\n", launch.program.c_str());
        return 1;
    }
    CloseHandle(started.hThread);
    const HANDLE process = started.hProcess;
    const DWORD processId = started.dwProcessId;
    std::printf("started %ls in %ls\n", launch.program.c_str(), launch.folder.c_str());

    HWND form = WaitFor([&] { return started::FindWindowOf(processId, L"TForm1"); });
    if (!form) return Fail(process, "no main window");
    wchar_t title[128] = L"";
    GetWindowTextW(form, title, 128);
    std::printf("main window \"%ls\"\n", title);
    if (std::wstring(title) != kTitle) return Fail(process, "not the title of this version");
    const DWORD thread = GetWindowThreadProcessId(form, nullptr);
    if (!WaitFor([&] { return started::FocusIsIn(thread, L"TSaNumEdit") ? form : nullptr; }))
        return Fail(process, "the entry field did not get the focus");
    std::printf("entry field focused\n");
    // The about box is made, hidden, once the start is over.
    if (!WaitFor([&] { return started::FindWindowOf(processId, L"TVersionBox", false); }))
        return Fail(process, "no about box");
    std::printf("about box made\n");

    // The close box asks first; "yes" ends the program, which keeps its settings.
    PostMessageW(form, WM_CLOSE, 0, 0);
    HWND question = WaitFor([&] {
        HWND box = started::FindWindowOf(processId, L"#32770");
        wchar_t caption[16] = L"";
        if (box) GetWindowTextW(box, caption, 16);
        return std::wstring(caption) == L"確認" ? box : nullptr;
    });
    if (!question) return Fail(process, "no exit question");
    PostMessageW(question, WM_COMMAND, IDYES, 0);
    if (WaitForSingleObject(process, kPatience) != WAIT_OBJECT_0) return Fail(process, "did not end after yes");
    DWORD code = 1;
    GetExitCodeProcess(process, &code);
    std::printf("ended with code %lu\n", code);
    CloseHandle(process);
    return code == 0 ? 0 : 1;
}
