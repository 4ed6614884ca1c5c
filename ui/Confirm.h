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
    std::wstring yes;  // caption of the button that says yes
    std::wstring no;   // caption of the one that says no, taken by Escape
    // Enter takes yes, unless the question guards against a habit: then no.
    bool noByDefault = false;
};

// Shows the question modally over owner; true when the answer is yes.
bool Ask(HWND owner, const Question& question);

// The program's own yes/no question: captioned "確認", "はい(&Y)" taken by
// Enter and "いいえ(&N)" by Escape.
bool AskYesNo(HWND owner, const std::wstring& text);
// The same with "いいえ(&N)" taken by Enter too: for what a habitual Enter must not do.
bool AskNoByDefault(HWND owner, const std::wstring& text);

}  // namespace ui
