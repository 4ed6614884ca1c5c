#include "register/SaleView.h"

#include <vector>

#include "register/KeyTable.h"

namespace regi {

const wchar_t kPricePrompt[] =
    L"テンキーで単価を打って、\r\n内税は [ENTER] を押して下さい｡\r\n非課税は [＋キー] を押して下さい｡";
const wchar_t kTenderPrompt[] = L"預り金を打って [ /キー] を押すと\r\n釣銭の計算が出来ます｡";
const wchar_t kQuantityPrompt[] = L"数を打って [ *キー] を押すと\r\n単価×数 =小計が出来ます｡";
const wchar_t kClearPrompt[] = L"テンキーの\r\n[ ．Delキー] を打って\r\nクリアーして下さい｡";
const wchar_t kLabel14Placeholder[] = L"※※※※※※※※※※※※※※※";
const wchar_t kBlankPlaceholder[] = L"\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000";
const wchar_t kTaxCaption[] = L"消費税";
const wchar_t kTotalCaption[] = L"合  計";
const wchar_t kTenderedCaption[] = L"預\u3000り";
const wchar_t kChangeCaption[] = L"釣\u3000銭";
const wchar_t kSalesCaption[] = L"売  上";
const wchar_t kDueCaption[] = L"残  り";

namespace {

// What each tender paid so far, one line each, the last marked 支払済; while
// the sale is open the sale's total heads them.
std::vector<std::wstring> PaidLines(const TSale& sale) {
    std::vector<std::wstring> lines;
    if (sale.State() == SaleState::Open) lines.push_back(L"合計 " + FormatMoney(sale.Totals().Total()) + L" のうち");
    for (const TenderPaid& paid : sale.Paid())
        lines.push_back(sale.TenderName(paid.tender) + L" " + FormatMoney(paid.amount));
    if (!sale.Paid().empty()) lines.back() += L" 支払済";
    return lines;
}

// Lines [first, first + count) of lines, one under the other.
std::wstring Joined(const std::vector<std::wstring>& lines, size_t first, size_t count) {
    std::wstring text;
    for (size_t i = first; i < lines.size() && i < first + count; ++i) text += (i > first ? L"\r\n" : L"") + lines[i];
    return text;
}

// What may pay the rest of a partly paid sale: cash, or the tenders offered.
std::wstring NextStepText(const TSale& sale) {
    std::wstring keys;
    const std::vector<std::wstring>& names = sale.OfferedTenderNames();
    for (int tender = 1; tender <= kMaxTenders && static_cast<size_t>(tender) <= names.size(); ++tender)
        if (!names[static_cast<size_t>(tender) - 1].empty()) keys += TenderKeyName(tender) + std::wstring(L" ");
    // The keys start the second line: with all four the line still has room in the box.
    return L"残りは [/] で現金" + (keys.empty() ? L"で支払えます｡" : L"、または\r\n" + keys + L"で支払えます｡");
}

}  // namespace

void ScreenState::Follow(const TSale& sale) {
    if (sale.LineCount() > 0) hadLines = true;
    // A sale that went (cleared, cancelled, voided to nothing) leaves the price prompt.
    if (hadLines && sale.State() == SaleState::Empty) prompted = true;
}

CommandShown ShownAfter(Command command, const Outcome& outcome, const TSale& sale) {
    CommandShown shown;
    if (!outcome.acted) return shown;
    switch (command) {
    case Command::EnterLine:
    case Command::OtherLine:
    case Command::ExemptLine:
    case Command::LineYenOff:
    case Command::LinePercentOff:
    case Command::SubtotalYenOff:
    case Command::SubtotalPercentOff:
    case Command::Preset1:
    case Command::Preset2:
    case Command::Preset3:
    case Command::Preset4:
        // The cursor stays on the last row once the grid is full.
        if (sale.RowCount() < kRows) shown.cursorMoves = {sale.RowCount()};
        break;
    // The cursor goes up to the last line and back to the first free row.
    case Command::Quantity: shown.cursorMoves = {LastLineRow(sale), sale.Row()}; break;
    case Command::Void:
        shown.cursorMoves = {sale.RowCount()};
        if (sale.RowCount() == 0) shown.cursorMoves.push_back(0);
        break;
    case Command::Cancel:
    case Command::NextCustomer:
        shown.cursorMoves = {0};
        shown.armEntry = true;
        break;
    default: break;
    }
    return shown;
}

int LastLineRow(const TSale& sale) {
    const std::vector<SaleRow> rows = sale.Rows();
    for (int row = static_cast<int>(rows.size()) - 1; row >= 0; --row)
        if (!rows[static_cast<size_t>(row)].discount) return row;
    return 0;
}

std::wstring CellText(const TSale& sale, int col, int row) { return CellText(sale, sale.Rows(), col, row); }

std::wstring CellText(const TSale& sale, const std::vector<SaleRow>& rows, int col, int row) {
    if (row < 0 || row >= static_cast<int>(rows.size())) return {};
    const SaleRow at = rows[static_cast<size_t>(row)];
    if (at.line < 0) {  // the discount on the whole sale
        const Discount& discount = *sale.SubtotalDiscount();
        return col == 1 ? DiscountText(discount, true) : col == 3 ? std::to_wstring(-discount.amount) : L"";
    }
    const SaleLine& line = sale.KeyedLines()[static_cast<size_t>(at.line)];
    TaxClass taxClass = line.record.taxClass;
    switch (col) {
    case 0: return at.discount ? L"" : std::to_wstring(at.line + 1);
    case 1: return at.discount ? DiscountText(*line.record.discount, false) : line.keyedPrice;
    case 2: return at.discount ? L"" : line.keyedQuantity;
    case 3: return std::to_wstring(at.discount ? -line.record.discount->amount : line.record.subtotal);
    case 4: return NamesOf(taxClass).mark;
    case 5: return NamesOf(taxClass).code;
    default: return {};
    }
}

std::wstring DepartmentText(const TSale& sale, const Departments& departments) {
    if (int armed = sale.ArmedDepartment()) {
        const Department* department = departments.Find(armed);
        TaxClass taxClass = department ? department->taxClass : TaxClass::Standard;
        return L"部門 " + std::to_wstring(armed) + L" " + departments.NameOf(armed, taxClass) + L" : 単価を打って下さい";
    }
    if (sale.LineCount() == 0) return L"";
    const LineRecord& last = sale.KeyedLines().back().record;
    const std::wstring line = std::to_wstring(sale.LineCount()) + L"行目 ";
    // A product's line: its name, and the department it went to.
    if (!last.name.empty())
        return line + (last.taxClass == TaxClass::Reduced ? L"※" : L"") + last.name + L" (" +
               departments.NameOf(last.department, TaxClass::Standard) + L")";
    if (!departments.InUse()) return L"";
    return line + departments.NameOf(last.department, last.taxClass);
}

std::wstring CaptionText(const TSale& sale, const ScreenState& screen, Label label) {
    const SaleState state = sale.State();
    const bool lines = state != SaleState::Empty, settled = state == SaleState::Settled;
    const bool partlyPaid = state == SaleState::Open && !sale.Paid().empty();
    // Paid in part by other tenders: their lines take the instruction area,
    // three in the first box and two in the next (four tenders at most).
    const bool paidByTenders = settled && !sale.Paid().empty();
    const std::vector<std::wstring> paid = PaidLines(sale);
    switch (label) {
    case Label1: return lines ? FormatMoney(sale.Totals().Tax()) : L"";
    case Label2:
        if (partlyPaid) return FormatMoney(sale.Due());
        return lines ? FormatMoney(sale.Totals().Total()) : L"";
    case Label3: return settled ? FormatMoney(*sale.Change()) : L"";
    case Label4: return sale.SalesTotalKnown() ? FormatMoney(sale.SalesTotal()) : L"";
    case Label5: return lines ? kTaxCaption : L"";
    case Label6:
        if (partlyPaid) return kDueCaption;
        return lines ? kTotalCaption : L"";
    // No cash tendered: the tenders' lines below say what paid it.
    case Label7: return settled && (sale.Paid().empty() || sale.LastSettled().tendered != 0) ? kTenderedCaption : L"";
    case Label8: return settled ? kChangeCaption : L"";
    case Label9: return kSalesCaption;
    case Label14:
        if (partlyPaid) return Joined(paid, 0, 3);  // the lines are as they will be paid
        return settled ? kClearPrompt : screen.prompted ? kPricePrompt : kLabel14Placeholder;
    case Label15:
        if (partlyPaid) return Joined(paid, 3, 2);
        if (paidByTenders) return Joined(paid, 0, 2);
        if (state == SaleState::Open) return kTenderPrompt;
        return screen.hadLines ? L"" : kBlankPlaceholder;
    case Label19:
        if (partlyPaid) return NextStepText(sale);
        if (paidByTenders) return Joined(paid, 2, 2);
        if (state == SaleState::Open) return kQuantityPrompt;
        return screen.hadLines ? L"" : kBlankPlaceholder;
    }
    return {};
}

std::wstring TaxTipText(const TSale& sale) {
    std::wstring tip;
    for (const ClassTotal& total : ClassesPresent(sale.Lines(), sale.Totals()))
        tip += (tip.empty() ? L"" : L"\r\n") + ClassText(total, TaxTextStyle::Screen);
    return tip;
}

}  // namespace regi
