#include "ui/Error.h"

#include <windows.h>

#include "ui/App.h"

namespace ui {

namespace {

void MessageBoxDisplay(const std::wstring& message) {
    MessageBoxW(App().MainWindow(), message.c_str(), App().Title().c_str(), MB_OK | MB_ICONERROR);
}

void NoticeBoxDisplay(const std::wstring& message) {
    MessageBoxW(App().MainWindow(), message.c_str(), App().Title().c_str(), MB_OK | MB_ICONINFORMATION);
}

ErrorDisplay& CurrentDisplay() {
    static ErrorDisplay display = MessageBoxDisplay;
    return display;
}

ErrorDisplay& CurrentNoticeDisplay() {
    static ErrorDisplay display = NoticeBoxDisplay;
    return display;
}

void Show(const ErrorDisplay& display, const std::wstring& message) {
    // A display that fails must not take the program down with it.
    try {
        display(message);
    } catch (...) {}
}

std::wstring FromUtf8(const char* text) {
    int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (n <= 1) return std::wstring();
    std::wstring wide(static_cast<size_t>(n - 1), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), n);
    return wide;
}

}  // namespace

void ShowError(const std::wstring& message) { Show(CurrentDisplay(), message); }
void ShowNotice(const std::wstring& message) { Show(CurrentNoticeDisplay(), message); }

ErrorDisplay SetErrorDisplay(ErrorDisplay display) {
    ErrorDisplay previous = std::move(CurrentDisplay());
    CurrentDisplay() = display ? std::move(display) : ErrorDisplay(MessageBoxDisplay);
    return previous;
}

ErrorDisplay SetNoticeDisplay(ErrorDisplay display) {
    ErrorDisplay previous = std::move(CurrentNoticeDisplay());
    CurrentNoticeDisplay() = display ? std::move(display) : ErrorDisplay(NoticeBoxDisplay);
    return previous;
}

std::wstring CurrentExceptionMessage() {
    try {
        throw;
    } catch (const Error& e) {
        return e.Message();
    } catch (const std::bad_alloc&) {
        return L"メモリが不足しています";
    } catch (const std::exception& e) {
        return FromUtf8(e.what());
    } catch (...) {
        return L"不明なエラーが発生しました";
    }
}

}  // namespace ui
