#include "receipt/ReturnReceipt.h"

#include "receipt/Receipt.h"
#include "sale/Money.h"

namespace receipt {

const wchar_t kReturnTitle[] = L"返品";
const wchar_t kReturnInvoiceTitle[] = L"返還インボイス";

std::vector<Line> ReturnReceiptLines(const regi::ReturnRecord& giveBack, const Settings& settings, bool reprint) {
    const Line rule = Left(std::wstring(static_cast<size_t>(settings.Columns()), L'-'));
    std::vector<Line> lines;
    if (reprint) lines.push_back(Centre(L"再発行"));
    if (!settings.shop.empty()) lines.push_back(Centre(settings.shop));
    if (!settings.address.empty()) lines.push_back(Centre(settings.address));
    if (settings.Registered()) lines.push_back(Centre(L"登録番号 " + settings.registrationNumber));
    lines.push_back(Left(L""));
    lines.push_back(Centre(kReturnTitle));
    if (regi::NeedsReturnInvoice(giveBack, settings.Registered())) lines.push_back(Centre(kReturnInvoiceTitle));
    lines.push_back(Amount(L"返品日 " + ReceiptDate(giveBack.time),
                           giveBack.number > 0 ? L"返品No." + std::to_wstring(giveBack.number) : L""));
    if (giveBack.sale > 0)
        lines.push_back(Amount(L"売上日 " + ReceiptDate(giveBack.saleTime), L"No." + std::to_wstring(giveBack.sale)));
    else
        lines.push_back(Left(L"レシートなし"));
    lines.push_back(rule);

    std::vector<regi::LineRecord> records;
    bool reduced = false;
    for (const regi::ReturnLine& line : giveBack.lines) {
        const regi::LineRecord& item = line.record;
        records.push_back(item);
        reduced = reduced || item.taxClass == regi::TaxClass::Reduced;
        AddItemLines(lines, item, settings);
        // What the discounts took off it, its own and its share of the sale's.
        if (line.refund != item.subtotal)
            lines.push_back(Amount(L"  値引後", regi::FormatMoney(line.refund)));
    }
    lines.push_back(rule);

    lines.push_back(Amount(L"返金合計", regi::FormatMoney(giveBack.Total())));
    for (const regi::ClassTotal& total : regi::ClassesPresent(records, giveBack.taxes))
        lines.push_back(Left(regi::ClassText(total, regi::TaxTextStyle::Paper)));
    for (const regi::TenderPaid& paid : giveBack.tenders)
        lines.push_back(Amount(regi::TenderName(settings.tenders, paid.tender) + L"へ返金", regi::FormatMoney(paid.amount)));
    if (giveBack.Cash() != 0 || giveBack.tenders.empty())
        lines.push_back(Amount(L"現金で返金", regi::FormatMoney(giveBack.Cash())));
    if (reduced) {
        lines.push_back(Left(L""));
        lines.push_back(Left(L"※は軽減税率対象"));
    }
    return lines;
}

}  // namespace receipt
