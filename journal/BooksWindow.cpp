#include "journal/BooksWindow.h"

#include <string>

#include "common/MessageText.h"
#include "common/WholeNumber.h"
#include "ui/App.h"
#include "ui/Controls.h"
#include "ui/Error.h"

namespace journal {

const wchar_t kBadZNumber[] = L"「%s」は精算の番号として読めません。1 以上の整数を入力してください。";

namespace {
const wchar_t kClass[] = L"TBooksWindow";
constexpr std::int64_t kMostZ = 999'999'999;
}  // namespace

TBooksWindow::TBooksWindow(std::int64_t lastZ) {
    RegisterClassOnce(kClass, 0, LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), nullptr);
    Create(kClass, L"会計ソフト用に保存", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, WS_EX_DLGMODALFRAME, 0, 0,
           340, 182, nullptr, nullptr);
    font_ = ui::MakeFont(ui::kFontFace, 15);
    const std::wstring last = lastZ > 0 ? std::to_wstring(lastZ) : L"";
    ui::CreateLabel(Handle(), FromLabel, L"精算 No.", 16, 20, font_.get());
    ui::CreateControl(L"EDIT", last.c_str(), ES_AUTOHSCROLL | ES_RIGHT | WS_TABSTOP, 120, 16, 120, 23, Handle(),
                      FromEdit, font_.get(), WS_EX_CLIENTEDGE);
    ui::CreateLabel(Handle(), ToLabel, L"から", 248, 20, font_.get());
    ui::CreateControl(L"EDIT", last.c_str(), ES_AUTOHSCROLL | ES_RIGHT | WS_TABSTOP, 120, 48, 120, 23, Handle(), ToEdit,
                      font_.get(), WS_EX_CLIENTEDGE);
    ui::CreateLabel(Handle(), UntilLabel, L"まで", 248, 52, font_.get());
    const DWORD button = BS_PUSHBUTTON | WS_TABSTOP;
    ui::CreateControl(L"BUTTON", L"保存(&S)...", button | BS_DEFPUSHBUTTON, 120, 92, 96, 28, Handle(), SaveButton,
                      font_.get());
    ui::CreateControl(L"BUTTON", L"やめる", button, 224, 92, 96, 28, Handle(), CancelButton, font_.get());
}

void TBooksWindow::Place(HWND owner) {
    RECT o{};
    if (owner) GetWindowRect(owner, &o);
    SetWindowPos(Handle(), nullptr, o.left + 80, o.top + 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ui::MoveIntoWorkArea(Handle());
    SendMessageW(Control(FromEdit), EM_SETSEL, 0, -1);
}

LRESULT TBooksWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        if (LOWORD(wParam) == CancelButton) Close(IDCANCEL);
        if (LOWORD(wParam) == SaveButton) {
            std::int64_t numbers[2] = {0, 0};
            for (int i = 0; i < 2; ++i) {
                // A text that does not read stays for correction.
                HWND edit = Control(i == 0 ? FromEdit : ToEdit);
                std::wstring text = ui::GetText(edit);
                std::optional<std::int64_t> number = common::ParseTypedAmount(text, kMostZ);
                if (!number || *number < 1) {
                    SetFocus(edit);
                    SendMessageW(edit, EM_SETSEL, 0, -1);
                    throw ui::Error(common::FormatMessageText(kBadZNumber, text));
                }
                numbers[i] = *number;
            }
            range_ = std::pair(std::min(numbers[0], numbers[1]), std::max(numbers[0], numbers[1]));
            Close(IDOK);
        }
        return 0;
    }
    return ModalWindow::HandleMessage(message, wParam, lParam);
}

}  // namespace journal
