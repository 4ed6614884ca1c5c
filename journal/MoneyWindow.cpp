#include "journal/MoneyWindow.h"

#include <utility>

#include "common/MessageText.h"
#include "common/WholeNumber.h"
#include "ui/App.h"
#include "ui/Controls.h"
#include "journal/Record.h"
#include "sale/Money.h"
#include "ui/Error.h"

namespace journal {

const std::wstring kBadMoneyAmount = L"「%s」は金額として読めません。\r\n1 から " +
                                     regi::GroupedDigits(regi::kMaxTendered) +
                                     L" 円までの金額を入力してください（例: 5000、5,000、¥5,000）。";

namespace {
const wchar_t kClass[] = L"TMoneyWindow";
}  // namespace

TMoneyWindow::TMoneyWindow(const wchar_t* caption, Confirm confirm) : confirm_(std::move(confirm)) {
    RegisterClassOnce(kClass, 0, LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), nullptr);
    Create(kClass, caption, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, WS_EX_DLGMODALFRAME, 0, 0, 300, 182,
           nullptr, nullptr);
    font_ = ui::MakeFont(ui::kFontFace, 15);
    ui::CreateLabel(Handle(), AmountLabel, L"金額", 16, 20, font_.get());
    ui::CreateControl(L"EDIT", L"", ES_AUTOHSCROLL | ES_RIGHT | WS_TABSTOP, 64, 16, 200, 23, Handle(), AmountEdit,
                      font_.get(), WS_EX_CLIENTEDGE);
    ui::CreateLabel(Handle(), NoteLabel, L"メモ", 16, 52, font_.get());
    HWND note = ui::CreateControl(L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP, 64, 48, 200, 23, Handle(), NoteEdit,
                                  font_.get(), WS_EX_CLIENTEDGE);
    SendMessageW(note, EM_LIMITTEXT, kMaxNote, 0);
    const DWORD button = BS_PUSHBUTTON | WS_TABSTOP;
    ui::CreateControl(L"BUTTON", L"記録する", button | BS_DEFPUSHBUTTON, 64, 92, 96, 28, Handle(), RecordButton,
                      font_.get());
    ui::CreateControl(L"BUTTON", L"やめる", button, 168, 92, 96, 28, Handle(), CancelButton, font_.get());
}

void TMoneyWindow::Place(HWND owner) {
    RECT o{};
    if (owner) GetWindowRect(owner, &o);
    SetWindowPos(Handle(), nullptr, o.left + 80, o.top + 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ui::MoveIntoWorkArea(Handle());
}

LRESULT TMoneyWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        if (LOWORD(wParam) == CancelButton) Close(IDCANCEL);
        if (LOWORD(wParam) == RecordButton) {
            // A text that does not read stays for correction.
            std::wstring text = ui::GetText(Control(AmountEdit));
            std::optional<std::int64_t> amount = common::ParseTypedAmount(text, common::kMaxAmount);
            if (!amount || *amount == 0) throw ui::Error(common::FormatMessageText(kBadMoneyAmount, text));
            if (confirm_ && !confirm_(Handle(), *amount)) {
                HWND edit = Control(AmountEdit);
                SetFocus(edit);
                SendMessageW(edit, EM_SETSEL, 0, -1);
                return 0;
            }
            amount_ = amount;
            note_ = ui::GetText(Control(NoteEdit));
            Close(IDOK);
        }
        return 0;
    }
    return ModalWindow::HandleMessage(message, wParam, lParam);
}

}  // namespace journal
