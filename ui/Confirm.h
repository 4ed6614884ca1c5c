#pragma once
// A yes/no question in a system message box, with the program's own button
// captions whatever the system's language, centred on the screen, and with
// Escape taken as "no" (a plain yes/no box ignores Escape).
#include <windows.h>

#include <string>

namespace ui {

struct Question {
    std::wstring text;
    std::wstring caption;
    std::wstring yes;  // caption of the default button, taken by Enter
    std::wstring no;   // caption of the other button, taken by Escape
};

// Shows the question modally over owner; true when the answer is yes.
bool Ask(HWND owner, const Question& question);

// The program's own yes/no question: captioned "確認", "はい(&Y)" taken by
// Enter and "いいえ(&N)" by Escape.
bool AskYesNo(HWND owner, const std::wstring& text);

}  // namespace ui
