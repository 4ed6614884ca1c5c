#pragma once
// Errors raised inside handlers. They travel as C++ exceptions up to the window
// procedure, which hands their message to the program's single error display.
#include <functional>
#include <string>

#include "common/Error.h"
#include "common/MessageText.h"

namespace ui {

// An error whose message is meant for the operator, in the program's language;
// the Windows-free code raises the same one.
using Error = common::Error;

// The messages of errors fill their patterns with the program's one rule.
using common::FormatMessageText;

// The single error display: a message box with the message and the application
// title as caption. Tests replace it to see what the operator would see.
using ErrorDisplay = std::function<void(const std::wstring& message)>;
void ShowError(const std::wstring& message);
ErrorDisplay SetErrorDisplay(ErrorDisplay display);  // returns the previous one

// What the operator should know and is no error (a sale put back after a
// crash): a message box with the information icon. Replaceable like the error display.
void ShowNotice(const std::wstring& message);
ErrorDisplay SetNoticeDisplay(ErrorDisplay display);  // returns the previous one

// Turns the exception in flight into a message for ShowError; call from a catch.
std::wstring CurrentExceptionMessage();

// Runs body and shows any error it raises; nothing escapes.
template <typename Body>
void Guarded(Body&& body) noexcept {
    try {
        body();
    } catch (...) {
        ShowError(CurrentExceptionMessage());
    }
}

}  // namespace ui
