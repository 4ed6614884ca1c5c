#include "journal/ReturnWindow.h"

#include <algorithm>
#include <utility>

#include "common/Error.h"
#include "common/MessageText.h"
#include "common/WholeNumber.h"
#include "sale/Money.h"
#include "ui/App.h"
#include "ui/Controls.h"
#include "ui/Error.h"

namespace journal {

namespace {

const wchar_t kClass[] = L"TReturnWindow";
const wchar_t kEntryClass[] = L"TReturnEntryWindow";
constexpr int kWidth = 460, kListHeight = 190;

// "クレジット ¥3,000、現金 ¥4,160": how the money goes back.
std::wstring HowItGoesBack(const regi::ReturnRecord& back, const std::vector<std::wstring>& tenderNames) {
    std::wstring text;
    for (const regi::TenderPaid& paid : back.tenders)
        text += regi::TenderName(tenderNames, paid.tender) + L" " + regi::FormatMoney(paid.amount) + L"、";
    return text + L"現金 " + regi::FormatMoney(back.Cash());
}

void SetList(HWND list, const std::vector<std::wstring>& rows) {
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const std::wstring& row : rows) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void PlaceOver(HWND window, HWND owner) {
    RECT o{};
    if (owner) GetWindowRect(owner, &o);
    SetWindowPos(window, nullptr, o.left + 40, o.top + 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ui::MoveIntoWorkArea(window);
}

bool IsKey(const MSG& msg, WPARAM key) { return msg.message == WM_KEYDOWN && msg.wParam == key; }

}  // namespace

std::int64_t PercentOf(const regi::Rate& rate) {
    if (!rate.percent) throw common::Error(common::FormatMessageText(regi::kRateUnreadable, rate.box + rate.text));
    return *rate.percent;
}

TReturnWindow::TReturnWindow(regi::SaleRecord sale, regi::Returned before, regi::Departments departments,
                             std::vector<std::wstring> tenderNames)
    : sale_(std::move(sale)),
      before_(std::move(before)),
      departments_(std::move(departments)),
      tenderNames_(std::move(tenderNames)) {
    for (size_t i = 1; i <= sale_.lines.size(); ++i)
        if (!before_.Has(static_cast<int>(i))) picked_.push_back(static_cast<int>(i));
    RegisterClassOnce(kClass, 0, LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), nullptr);
    Create(kClass, L"返品", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, WS_EX_DLGMODALFRAME, 0, 0, kWidth,
           kListHeight + 210, nullptr, nullptr);
    font_ = ui::MakeFont(ui::kFontFace, 15);
    std::wstring time = sale_.time;
    std::replace(time.begin(), time.end(), L'T', L' ');
    ui::CreateControl(L"STATIC", (L"No." + std::to_wstring(sale_.number) + L"  " + time + L" の売上").c_str(), SS_LEFT,
                      16, 12, kWidth - 40, 20, Handle(), SaleLabel, font_.get());
    ui::CreateControl(L"LISTBOX", L"", LBS_NOSEL | LBS_NOINTEGRALHEIGHT | WS_VSCROLL, 16, 36, kWidth - 40, kListHeight,
                      Handle(), LineList, font_.get(), WS_EX_CLIENTEDGE);
    const int y = 44 + kListHeight;
    ui::CreateLabel(Handle(), LineLabel, L"行番号 (Enter で選ぶ・外す)", 16, y + 4, font_.get());
    ui::CreateControl(L"EDIT", L"", ES_NUMBER | ES_RIGHT | WS_TABSTOP, kWidth - 124, y, 100, 23, Handle(), LineEdit,
                      font_.get(), WS_EX_CLIENTEDGE);
    ui::CreateControl(L"BUTTON", L"全額を現金で返す (Num *)", BS_AUTOCHECKBOX | WS_TABSTOP, 16, y + 32, kWidth - 40, 22,
                      Handle(), CashCheck, font_.get());
    ui::CreateControl(L"STATIC", L"", SS_LEFT, 16, y + 60, kWidth - 40, 40, Handle(), TotalLabel, font_.get());
    const DWORD button = BS_PUSHBUTTON | WS_TABSTOP;
    ui::CreateControl(L"BUTTON", L"返品する", button | BS_DEFPUSHBUTTON, kWidth - 232, y + 106, 96, 28, Handle(),
                      ReturnButton, font_.get());
    ui::CreateControl(L"BUTTON", L"やめる", button, kWidth - 128, y + 106, 96, 28, Handle(), CancelButton, font_.get());
    Refresh();
}

void TReturnWindow::Place(HWND owner) { PlaceOver(Handle(), owner); }

regi::RefundTo TReturnWindow::RefundTo() const {
    return SendMessageW(Control(CashCheck), BM_GETCHECK, 0, 0) == BST_CHECKED ? regi::RefundTo::Cash
                                                                                : regi::RefundTo::Tenders;
}

void TReturnWindow::Toggle(int line) {
    if (line < 1 || static_cast<size_t>(line) > sale_.lines.size())
        throw common::Error(L"この売上に " + std::to_wstring(line) + L" 行目はありません｡");
    if (before_.Has(line)) throw common::Error(common::FormatMessageText(regi::kLineReturned, std::to_wstring(line)));
    auto place = std::find(picked_.begin(), picked_.end(), line);
    if (place == picked_.end())
        picked_.insert(std::upper_bound(picked_.begin(), picked_.end(), line), line);
    else
        picked_.erase(place);
    Refresh();
}

void TReturnWindow::Refresh() {
    // What each picked line gives back, as the return would record it.
    std::optional<regi::ReturnRecord> back;
    std::wstring problem;
    try {
        back = regi::ReturnAgainst(sale_, picked_, before_, RefundTo());
    } catch (const common::Error& error) {
        problem = error.Message();
    }
    std::vector<std::wstring> rows;
    for (size_t i = 0; i < sale_.lines.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        const regi::LineRecord& line = sale_.lines[i];
        bool picked = std::find(picked_.begin(), picked_.end(), number) != picked_.end();
        std::wstring row = (before_.Has(number) ? L"返品済 " : picked ? L"○ 返品 " : L"－ 残す ") +
                           std::to_wstring(number) + L"  " + departments_.LineName(line, line.name);
        if (line.quantity != 1) row += L"  " + std::to_wstring(line.quantity) + L" × " + regi::FormatMoney(line.unitPrice);
        row += L"  " + regi::FormatMoney(line.Net());
        if (back)
            for (const regi::ReturnLine& returned : back->lines)
                if (returned.line == number && returned.refund != line.Net())
                    row += L" (値引後 " + regi::FormatMoney(returned.refund) + L")";
        rows.push_back(row);
    }
    SetList(Control(LineList), rows);
    SetWindowTextW(Control(TotalLabel), back ? (L"返金 " + regi::FormatMoney(back->Total()) + L"\r\n" +
                                                HowItGoesBack(*back, tenderNames_))
                                                   .c_str()
                                             : problem.c_str());
}

void TReturnWindow::Record() {
    result_ = regi::ReturnAgainst(sale_, picked_, before_, RefundTo());
    Close(IDOK);
}

bool TReturnWindow::TakeKey(const MSG& msg) {
    // Keys are taken in the message loop, where no exception may go: a
    // refusal is shown and the window stays as it was.
    bool mine = IsKey(msg, VK_MULTIPLY) || (IsKey(msg, VK_RETURN) && msg.hwnd == Control(LineEdit));
    if (mine) ui::Guarded([&] { TakeReturnKey(msg); });
    return mine;
}

bool TReturnWindow::TakeReturnKey(const MSG& msg) {
    if (IsKey(msg, VK_MULTIPLY)) {
        HWND check = Control(CashCheck);
        SendMessageW(check, BM_SETCHECK, RefundTo() == regi::RefundTo::Cash ? BST_UNCHECKED : BST_CHECKED, 0);
        Refresh();
        return true;
    }
    if (!IsKey(msg, VK_RETURN) || msg.hwnd != Control(LineEdit)) return false;
    HWND edit = Control(LineEdit);
    std::wstring text = ui::GetText(edit);
    if (text.empty()) {
        Record();
        return true;
    }
    SetWindowTextW(edit, L"");
    std::optional<std::int64_t> line = common::ParseTypedAmount(text, regi::kMaxLines + 1);
    Toggle(line ? static_cast<int>(*line) : 0);
    return true;
}

LRESULT TReturnWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        if (LOWORD(wParam) == CancelButton) Close(IDCANCEL);
        if (LOWORD(wParam) == ReturnButton) Record();
        if (LOWORD(wParam) == CashCheck && HIWORD(wParam) == BN_CLICKED) Refresh();
        return 0;
    }
    return ModalWindow::HandleMessage(message, wParam, lParam);
}

TReturnEntryWindow::TReturnEntryWindow(regi::Rates rates, ReadCode readCode)
    : rates_(std::move(rates)), readCode_(std::move(readCode)) {
    RegisterClassOnce(kEntryClass, 0, LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                      nullptr);
    Create(kEntryClass, L"返品（レシートなし）", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, WS_EX_DLGMODALFRAME,
           0, 0, kWidth, kListHeight + 190, nullptr, nullptr);
    font_ = ui::MakeFont(ui::kFontFace, 15);
    ui::CreateLabel(Handle(), PriceLabel, L"単価か商品コード（Enter・F2・+ で行に、F3 で取消）", 16, 12, font_.get());
    ui::CreateControl(L"EDIT", L"", ES_NUMBER | ES_RIGHT | WS_TABSTOP, 16, 36, 160, 23, Handle(), PriceEdit,
                      font_.get(), WS_EX_CLIENTEDGE);
    ui::CreateLabel(Handle(), DepartmentLabel, L"部門番号", 196, 40, font_.get());
    ui::CreateControl(L"EDIT", L"", ES_NUMBER | ES_RIGHT | WS_TABSTOP, 280, 36, 60, 23, Handle(), DepartmentEdit,
                      font_.get(), WS_EX_CLIENTEDGE);
    ui::CreateControl(L"LISTBOX", L"", LBS_NOSEL | LBS_NOINTEGRALHEIGHT | WS_VSCROLL, 16, 68, kWidth - 40, kListHeight,
                      Handle(), LineList, font_.get(), WS_EX_CLIENTEDGE);
    const int y = 76 + kListHeight;
    ui::CreateControl(L"STATIC", L"", SS_LEFT, 16, y, kWidth - 40, 40, Handle(), TotalLabel, font_.get());
    const DWORD button = BS_PUSHBUTTON | WS_TABSTOP;
    ui::CreateControl(L"BUTTON", L"返品する", button | BS_DEFPUSHBUTTON, kWidth - 232, y + 44, 96, 28, Handle(),
                      ReturnButton, font_.get());
    ui::CreateControl(L"BUTTON", L"やめる", button, kWidth - 128, y + 44, 96, 28, Handle(), CancelButton, font_.get());
    Refresh();
}

void TReturnEntryWindow::Place(HWND owner) { PlaceOver(Handle(), owner); }

void TReturnEntryWindow::AddLine(regi::TaxClass taxClass, bool enter) {
    HWND price = Control(PriceEdit), department = Control(DepartmentEdit);
    const std::wstring text = ui::GetText(price), number = ui::GetText(department);
    if (lines_.size() >= regi::kMaxLines) throw common::Error(regi::kGridFull);
    // Enter reads a code as the register's ENTER does: a product in its own department.
    std::optional<regi::CodeRing> ring;
    if (enter && readCode_ && text.find_first_not_of(L"0123456789") == std::wstring::npos)
        ring = readCode_(std::string(text.begin(), text.end()), false);
    if (ring) {
        const regi::CodeLine rung = regi::LineOfCode(*ring, rates_.departments);
        if (!rung.line) throw common::Error(rung.refusal.Message());
        lines_.push_back(*rung.line);
        SetWindowTextW(price, L"");
        SetWindowTextW(department, L"");
        return Refresh();
    }
    std::optional<std::int64_t> amount = common::ParseTypedAmount(text, regi::kMaxPrice);
    if (!amount || *amount == 0)
        throw common::Error(L"「" + text + L"」は単価として読めません｡1 から " + regi::GroupedDigits(regi::kMaxPrice) +
                            L" 円までの金額を入力して下さい｡");
    regi::LineRecord line{taxClass, *amount, 1, *amount};
    if (!number.empty()) {
        std::optional<std::int64_t> keyed = common::ParseTypedAmount(number, regi::kMaxDepartment);
        const regi::Department* found = keyed ? rates_.departments.Find(static_cast<int>(*keyed)) : nullptr;
        if (!found) throw common::Error(common::FormatMessageText(regi::kNoSuchDepartment, number));
        line.department = found->number;
        line.taxClass = found->taxClass;
    }
    lines_.push_back(line);
    SetWindowTextW(price, L"");
    SetWindowTextW(department, L"");
    Refresh();
}

void TReturnEntryWindow::Refresh() {
    std::vector<std::wstring> rows;
    for (size_t i = 0; i < lines_.size(); ++i)
        rows.push_back(std::to_wstring(i + 1) + L"  " + rates_.departments.LineName(lines_[i], lines_[i].name) +
                       L"  " + regi::FormatMoney(lines_[i].subtotal));
    SetList(Control(LineList), rows);
    std::wstring total;
    if (!lines_.empty()) {
        try {
            regi::ReturnRecord back =
                regi::ReturnWithoutReceipt(lines_, PercentOf(rates_.standard), PercentOf(rates_.reduced));
            total = L"返金 " + regi::FormatMoney(back.Total()) + L"（現金）";
        } catch (const common::Error& error) {
            total = error.Message();
        }
    }
    SetWindowTextW(Control(TotalLabel), total.c_str());
}

void TReturnEntryWindow::Record() {
    result_ = regi::ReturnWithoutReceipt(lines_, PercentOf(rates_.standard), PercentOf(rates_.reduced));
    Close(IDOK);
}

bool TReturnEntryWindow::TakeKey(const MSG& msg) {
    bool mine = msg.message == WM_KEYDOWN && (msg.hwnd == Control(PriceEdit) || msg.hwnd == Control(DepartmentEdit)) &&
                (msg.wParam == VK_RETURN || msg.wParam == VK_F2 || msg.wParam == VK_ADD || msg.wParam == VK_F3);
    if (mine) ui::Guarded([&] { TakeEntryKey(msg); });
    return mine;
}

bool TReturnEntryWindow::TakeEntryKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || (msg.hwnd != Control(PriceEdit) && msg.hwnd != Control(DepartmentEdit)))
        return false;
    const regi::TaxClass enter = rates_.enterMakesReduced ? regi::TaxClass::Reduced : regi::TaxClass::Standard;
    const regi::TaxClass other = rates_.enterMakesReduced ? regi::TaxClass::Standard : regi::TaxClass::Reduced;
    switch (msg.wParam) {
    case VK_RETURN:
        if (ui::GetText(Control(PriceEdit)).empty())
            Record();
        else
            AddLine(enter, true);
        return true;
    case VK_F2: AddLine(other, false); return true;
    case VK_ADD: AddLine(regi::TaxClass::Exempt, false); return true;
    case VK_F3:
        if (!lines_.empty()) lines_.pop_back();
        Refresh();
        return true;
    default: return false;
    }
}

LRESULT TReturnEntryWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        if (LOWORD(wParam) == CancelButton) Close(IDCANCEL);
        if (LOWORD(wParam) == ReturnButton) Record();
        return 0;
    }
    return ModalWindow::HandleMessage(message, wParam, lParam);
}

}  // namespace journal
