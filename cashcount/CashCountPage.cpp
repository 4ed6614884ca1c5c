#include "cashcount/CashCountPage.h"

#include <commctrl.h>

#include <array>
#include <optional>

#include "cashcount/CashCountPageIds.h"
#include "cashcount/CashCount.h"
#include "ui/Controls.h"
#include "ui/Error.h"

namespace cashcount {

namespace {

const wchar_t* const kFace = ui::kFontFace;
const COLORREF kGridColor = RGB(237, 244, 102);    // light yellow: the grid and the over/short
const TColor kComputedColor = RGB(240, 199, 252);  // light violet: the computed amount
}  // namespace

void CashCountPage::Create(HWND sheet, Hooks hooks) {
    hooks_ = std::move(hooks);
    font_ = ui::MakeFont(kFace, 15);

    grid_.SetColCount(kColCount);
    grid_.SetRowCount(kRowCount);
    grid_.SetFixedCols(1);
    grid_.SetFixedRows(1);
    grid_.SetDefaultColWidth(90);
    grid_.SetDefaultRowHeight(20);
    grid_.SetGridLines(true, true);
    grid_.SetColor(kGridColor);
    grid_.SetFont(font_.get());
    grid_.SetScrollBars(false);
    grid_.SetEditing(true);
    // Nine characters keep every product and sum of the count far inside 64 bits.
    grid_.SetEditLimit(kMaxCountLength);
    grid_.OnSelectCell = [this](int col, int row, bool& canSelect) { StringGrid2SelectCell(col, row, canSelect); };
    grid_.OnKeyPress = [this](wchar_t& key) { StringGrid2KeyPress(key); };
    grid_.OnSetEditText = [this](int col, int row, const std::wstring& text) {
        StringGrid2SetEditText(col, row, text);
    };
    grid_.Create(sheet, ids::StringGrid2, 8, 8, 281, 382);

    computed_.Create(sheet, ids::SaNumEdit2, 168, 392, 121, 23, font_.get());
    computed_.SetColor(kComputedColor);  // after Create, whose parent step sets the window colour
    computed_.SetText(L"0");
    computed_.OnKeyPress = [this](TSaNumEdit& sender, wchar_t& key) { SaNumEdit2KeyPress(sender, key); };

    label20_ = ui::CreateLabel(sheet, ids::Label20, L"計算上の金額", 72, 400, font_.get());
    label21_ = ui::CreateLabel(sheet, ids::Label21, L"現金過不足", 87, 426, font_.get());
    label11_ = ui::CreateControl(L"STATIC", L"0", SS_RIGHT | SS_CENTERIMAGE | SS_NOPREFIX, 168, 418, 121, 23, sheet,
                                 ids::Label11, font_.get());
    ui::SetControlColors(label11_, kGridColor, GetSysColor(COLOR_WINDOWTEXT));
    button7_ = ui::CreateControl(L"BUTTON", L"記録から", BS_PUSHBUTTON | WS_TABSTOP, 8, 392, 60, 23, sheet,
                                 ids::Button7, font_.get());
    ShowWindow(button7_, SW_HIDE);
}

bool CashCountPage::Command(int id, int /*code*/) {
    if (id != ids::Button7) return false;
    if (hooks_.expectedCash)
        if (std::optional<std::int64_t> cash = hooks_.expectedCash()) SetComputedAmount(*cash);
    return true;
}

void CashCountPage::ShowJournalButton(bool shown) { ShowWindow(button7_, shown ? SW_SHOW : SW_HIDE); }

void CashCountPage::SetComputedAmount(std::int64_t amount) { computed_.SetText(std::to_wstring(amount)); }

void CashCountPage::SetUp() {
    for (int col = 0; col < kColCount; ++col) grid_.SetCell(col, 0, HeaderTexts[static_cast<size_t>(col)]);
    for (int row = 1; row < kRowCount; ++row)
        grid_.SetCell(kNameCol, row, DenominationNames[static_cast<size_t>(row - 1)]);
    grid_.SetCurrent(kCountCol, kFirstCountRow);
}

void CashCountPage::StringGrid2SelectCell(int col, int row, bool& canSelect) { canSelect = CanSelect(col, row); }

void CashCountPage::StringGrid2KeyPress(wchar_t& key) {
    if (key == L'\r') {
        // Enter walks down the counts and wraps to the first; it never opens the editor.
        key = 0;
        grid_.SetRow(RowAfterEnter(grid_.Row()));
        return;
    }
    if (!AcceptsCountChar(key)) key = 0;
}

void CashCountPage::StringGrid2SetEditText(int /*col*/, int row, const std::wstring& /*text*/) {
    if (row < kFirstCountRow || row > kLastCountRow) return;
    grid_.SetCell(kSubtotalCol, row, SubtotalText(row, grid_.Cell(kCountCol, row)));
    std::array<std::wstring, 16> subtotals;
    for (int r = kFirstCountRow; r <= kLastCountRow; ++r)
        subtotals[static_cast<size_t>(r - kFirstCountRow)] = grid_.Cell(kSubtotalCol, r);
    grid_.SetCell(kSubtotalCol, kTotalRow, TotalText(subtotals));

    // The subtotal and the total stand even when the computed amount is no integer.
    std::wstring computed = computed_.Text();
    std::optional<std::wstring> overShort = OverShortText(grid_.Cell(kSubtotalCol, kTotalRow), computed);
    if (!overShort) throw ui::Error(ui::FormatMessageText(kNotAnInteger, computed));
    ui::SetFittedCaption(label11_, *overShort, font_.get(), label11Font_);
}

void CashCountPage::SaNumEdit2KeyPress(TSaNumEdit& /*sender*/, wchar_t& key) {
    if (key != L'\r') return;
    // Consumed: the control refuses the null character with its beep.
    key = 0;
    grid_.SetCurrent(kCountCol, kFirstCountRow);
    SetFocus(grid_.Handle());
}

}  // namespace cashcount
