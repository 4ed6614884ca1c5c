#include "register/SaleView.h"

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

// While a sale is partly paid: its total, and what each tender paid so far.
std::wstring PaidText(const TSale& sale) {
    std::wstring text = L"合計 " + FormatMoney(sale.Totals().Total()) + L" のうち\r\n";
    for (size_t i = 0; i < sale.Paid().size(); ++i) {
        const TenderPaid& paid = sale.Paid()[i];
        text += (i ? L"、" : L"") + sale.TenderName(paid.tender) + L" " + FormatMoney(paid.amount);
    }
    return text + L" 支払済";
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
        // The cursor stays on the last row once the grid is full.
        if (sale.LineCount() < kRows) shown.cursorMoves = {sale.LineCount()};
        break;
    // The cursor goes up to the last line and back to the first free row.
    case Command::Quantity: shown.cursorMoves = {sale.LineCount() - 1, sale.Row()}; break;
    case Command::Void:
        shown.cursorMoves = {sale.LineCount()};
        if (sale.LineCount() == 0) shown.cursorMoves.push_back(0);
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

std::wstring CellText(const TSale& sale, int col, int row) {
    if (row < 0 || row >= sale.LineCount()) return {};
    const SaleLine& line = sale.KeyedLines()[static_cast<size_t>(row)];
    TaxClass taxClass = line.record.taxClass;
    switch (col) {
    case 0: return std::to_wstring(row + 1);
    case 1: return line.keyedPrice;
    case 2: return line.keyedQuantity;
    case 3: return std::to_wstring(line.record.subtotal);
    case 4: return NamesOf(taxClass).mark;
    case 5: return NamesOf(taxClass).code;
    default: return {};
    }
}

std::wstring CaptionText(const TSale& sale, const ScreenState& screen, Label label) {
    const SaleState state = sale.State();
    const bool lines = state != SaleState::Empty, settled = state == SaleState::Settled;
    const bool partlyPaid = state == SaleState::Open && !sale.Paid().empty();
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
    case Label7: return settled ? kTenderedCaption : L"";
    case Label8: return settled ? kChangeCaption : L"";
    case Label9: return kSalesCaption;
    case Label14:
        if (partlyPaid) return L"";  // the lines are as they will be paid
        return settled ? kClearPrompt : screen.prompted ? kPricePrompt : kLabel14Placeholder;
    case Label15:
        if (partlyPaid) return PaidText(sale);
        if (state == SaleState::Open) return kTenderPrompt;
        return screen.hadLines ? L"" : kBlankPlaceholder;
    case Label19:
        if (partlyPaid) return L"";
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
