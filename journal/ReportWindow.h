#pragma once
// The window of a daily report (点検 or 精算): the report as text in a read-only
// box that can be selected and copied, a button that prints it and one that
// closes the window.
#include <functional>
#include <string>

#include "ui/Gdi.h"
#include "ui/ModalWindow.h"

namespace journal {

class TReportWindow : public ui::ModalWindow {
public:
    enum Id : int { ReportText = 100, PrintButton, CloseButton };

    // print is run by the print button; without it the button is not shown.
    TReportWindow(const std::wstring& caption, const std::wstring& text, std::function<void()> print);

protected:
    void Place(HWND owner) override;
    HWND FirstFocus() const override { return Control(ReportText); }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::function<void()> print_;
    ui::Font font_, textFont_;
};

}  // namespace journal
