#include "journal/ReportWindow.h"

#include "ui/App.h"
#include "ui/Controls.h"
#include "ui/Error.h"

namespace journal {

namespace {
const wchar_t kClass[] = L"TReportWindow";
constexpr int kWidth = 560, kHeight = 520;
}  // namespace

const wchar_t TReportWindow::kSaveCaption[] = L"会計ソフトへ(&S)...";

TReportWindow::TReportWindow(const std::wstring& caption, const std::wstring& text, std::function<void()> print,
                             std::function<void(HWND)> save)
    : print_(std::move(print)), save_(std::move(save)) {
    RegisterClassOnce(kClass, 0, LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), nullptr);
    Create(kClass, caption.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, WS_EX_DLGMODALFRAME, 0, 0,
           kWidth, kHeight, nullptr, nullptr);
    font_ = ui::MakeFont(ui::kFontFace, 15);
    // The report's columns line up in the fixed-pitch face.
    textFont_ = ui::MakeFont(ui::kFixedFontFace, 15);
    RECT client;
    GetClientRect(Handle(), &client);
    HWND box = ui::CreateControl(L"EDIT", L"", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP, 8,
                                 8, client.right - 16, client.bottom - 56, Handle(), ReportText, textFont_.get(),
                                 WS_EX_CLIENTEDGE);
    SetWindowTextW(box, text.c_str());
    // A report line is "caption<TAB>value": the values stand in columns.
    int stops[] = {70, 145};
    SendMessageW(box, EM_SETTABSTOPS, 2, reinterpret_cast<LPARAM>(stops));
    const DWORD button = BS_PUSHBUTTON | WS_TABSTOP;
    if (print_)
        ui::CreateControl(L"BUTTON", L"印刷(&P)", button, client.right - 208, client.bottom - 38, 96, 28, Handle(),
                          PrintButton, font_.get());
    if (save_)
        ui::CreateControl(L"BUTTON", kSaveCaption, button, client.right - 376, client.bottom - 38, 160, 28, Handle(),
                          SaveButton, font_.get());
    ui::CreateControl(L"BUTTON", L"閉じる", button | BS_DEFPUSHBUTTON, client.right - 104, client.bottom - 38, 96, 28,
                      Handle(), CloseButton, font_.get());
}

void TReportWindow::Place(HWND owner) {
    RECT o{};
    if (owner) GetWindowRect(owner, &o);
    SetWindowPos(Handle(), nullptr, o.left + 40, o.top + 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ui::MoveIntoWorkArea(Handle());
    SendMessageW(Control(ReportText), EM_SETSEL, 0, 0);
}

LRESULT TReportWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        if (LOWORD(wParam) == CloseButton) Close(IDCANCEL);
        if (LOWORD(wParam) == PrintButton && print_) print_();
        if (LOWORD(wParam) == SaveButton && save_) save_(Handle());
        return 0;
    }
    return ModalWindow::HandleMessage(message, wParam, lParam);
}

}  // namespace journal
