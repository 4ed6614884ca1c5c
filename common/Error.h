#pragma once
// An error whose message is meant for the operator, in the program's language.
// Raised by the Windows-free code as well as by the windows; the window
// procedure hands its message to the program's single error display.
#include <exception>
#include <string>

namespace common {

class Error : public std::exception {
public:
    explicit Error(std::wstring message) : message_(std::move(message)) {}
    const std::wstring& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return "ui::Error"; }

private:
    std::wstring message_;
};

}  // namespace common
