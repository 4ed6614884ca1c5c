#include "ui/Confirm.h"

#include <commctrl.h>

namespace ui {

namespace {

// The question being asked on this thread; message boxes are modal, so there is
// at most one at a time.
thread_local const Question* asking = nullptr;
thread_local HHOOK hook = nullptr;
constexpr UINT_PTR kEscapeMeansNo = 1;

// Escape reaches the box as IDCANCEL, which a yes/no box ignores: it answers no.
LRESULT CALLBACK BoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR /*data*/) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) wParam = MAKEWPARAM(IDNO, HIWORD(wParam));
    if (message == WM_NCDESTROY) RemoveWindowSubclass(box, BoxProcedure, id);
    return DefSubclassProc(box, message, wParam, lParam);
}

void CentreOnScreen(HWND box) {
    RECT r;
    GetWindowRect(box, &r);
    int width = r.right - r.left, height = r.bottom - r.top;
    SetWindowPos(box, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK HookProcedure(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && asking) {
        HWND box = reinterpret_cast<HWND>(wParam);
        const Question* question = asking;
        asking = nullptr;  // only the box of this question, once
        SetDlgItemTextW(box, IDYES, question->yes.c_str());
        SetDlgItemTextW(box, IDNO, question->no.c_str());
        CentreOnScreen(box);
        SetWindowSubclass(box, BoxProcedure, kEscapeMeansNo, 0);
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

}  // namespace

bool Ask(HWND owner, const Question& question) {
    asking = &question;
    hook = SetWindowsHookExW(WH_CBT, HookProcedure, nullptr, GetCurrentThreadId());
    int answer = MessageBoxW(owner, question.text.c_str(), question.caption.c_str(),
                             MB_YESNO | MB_ICONQUESTION | (question.noByDefault ? MB_DEFBUTTON2 : MB_DEFBUTTON1));
    UnhookWindowsHookEx(hook);
    hook = nullptr;
    asking = nullptr;
    return answer == IDYES;
}

bool AskYesNo(HWND owner, const std::wstring& text) { return Ask(owner, {text, L"確認", L"はい(&Y)", L"いいえ(&N)"}); }

bool AskNoByDefault(HWND owner, const std::wstring& text) {
    return Ask(owner, {text, L"確認", L"はい(&Y)", L"いいえ(&N)", true});
}

}  // namespace ui
