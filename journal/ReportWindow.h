#pragma once
// The window of a daily report (点検 or 精算): the report as text in a read-only
// box that can be selected and copied, a button that prints it, for a Z one
// that saves it for an accounting program, and one that closes the window.
#include <functional>
#include <string>

#include "ui/Gdi.h"
#include "ui/ModalWindow.h"

namespace journal {

class TReportWindow : public ui::ModalWindow {
public:
    enum Id : int { ReportText = 100, PrintButton, CloseButton, SaveButton };

    // print is run by the print button, save (with this window) by the save
    // button; without one its button is not shown.
    TReportWindow(const std::wstring& caption, const std::wstring& text, std::function<void()> print,
                  std::function<void(HWND)> save = {});
    static const wchar_t kSaveCaption[];  // "会計ソフトへ(&S)..."

protected:
    void Place(HWND owner) override;
    HWND FirstFocus() const override { return Control(ReportText); }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::function<void()> print_;
    std::function<void(HWND)> save_;
    ui::Font font_, textFont_;
};

}  // namespace journal
