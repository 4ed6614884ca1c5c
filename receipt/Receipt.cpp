#include "receipt/Receipt.h"

#include "common/Calendar.h"
#include "receipt/Drawer.h"
#include "common/DateTime.h"
#include "sale/Money.h"

namespace receipt {

namespace {

const wchar_t kReprint[] = L"再発行";
const wchar_t kRegistrationCaption[] = L"登録番号 ";
const wchar_t kTotal[] = L"合計";
const wchar_t kTendered[] = L"お預り";
const wchar_t kChange[] = L"お釣り";
const wchar_t kReducedNote[] = L"※は軽減税率対象";
const wchar_t kCreditCard[] = L"クレジットカード利用";
const wchar_t kWeekdays[] = L"日月火水木金土";

}  // namespace

std::wstring ReceiptDate(const std::wstring& time) {
    std::optional<common::DateTime> date = common::ParseDateTime(time);
    if (!date) return time;
    return time.substr(0, 4) + L"年" + time.substr(5, 2) + L"月" + time.substr(8, 2) + L"日(" +
           kWeekdays[common::DayOfWeek(date->year, date->month, date->day)] + L") " + time.substr(11, 5);
}

void AddItemLines(std::vector<Line>& lines, const regi::LineRecord& item, const Settings& settings) {
    const std::wstring name = settings.ItemName(item);
    if (item.quantity == 1) {
        lines.push_back(Amount(name, regi::FormatMoney(item.subtotal)));
    } else {
        lines.push_back(Left(name));
        lines.push_back(Amount(L"  " + std::to_wstring(item.quantity) + L" × " + regi::FormatMoney(item.unitPrice),
                               regi::FormatMoney(item.subtotal)));
    }
}

std::vector<Line> ReceiptLines(const regi::SaleRecord& sale, const Settings& settings, bool reprint) {
    const int columns = settings.Columns();
    const Line rule = Left(std::wstring(static_cast<size_t>(columns), L'-'));
    std::vector<Line> lines;

    if (reprint) lines.push_back(Centre(kReprint));
    if (!settings.shop.empty()) lines.push_back(Centre(settings.shop));
    if (!settings.address.empty()) lines.push_back(Centre(settings.address));
    // A number that is not one (a settings file edited by hand) is not printed:
    // nothing on the receipt may pass for a registration it does not prove.
    if (settings.Registered()) lines.push_back(Centre(kRegistrationCaption + settings.registrationNumber));
    lines.push_back(Left(L""));
    lines.push_back(Amount(ReceiptDate(sale.time), sale.number > 0 ? L"No." + std::to_wstring(sale.number) : L""));
    lines.push_back(rule);

    for (const regi::LineRecord& item : sale.lines) {
        AddItemLines(lines, item, settings);
        if (item.discount)
            lines.push_back(Amount(L"  " + regi::DiscountText(*item.discount, false), regi::FormatMoney(-item.discount->amount)));
    }
    const regi::TaxTotals& taxes = sale.taxes;
    if (sale.subtotalDiscount) {
        // The whole sale's discount and its part of each rate, as the tax follows it.
        lines.push_back(Amount(regi::DiscountText(*sale.subtotalDiscount, true),
                               regi::FormatMoney(-sale.subtotalDiscount->amount)));
        for (const regi::ClassTotal& total : regi::ClassesPresent(sale.lines, taxes)) {
            std::wstring part = total.taxClass == regi::TaxClass::Exempt ? L"非課税" : std::to_wstring(total.rate) + L"%対象";
            lines.push_back(Amount(L"  (" + part + L"分)",
                                   regi::FormatMoney(-sale.subtotalParts[static_cast<size_t>(total.taxClass)])));
        }
    }
    lines.push_back(rule);

    lines.push_back(Amount(kTotal, regi::FormatMoney(taxes.Total())));
    bool reduced = false;
    for (const regi::ClassTotal& total : regi::ClassesPresent(sale.lines, taxes)) {
        lines.push_back(Left(regi::ClassText(total, regi::TaxTextStyle::Paper)));
        reduced = reduced || total.taxClass == regi::TaxClass::Reduced;
    }
    bool card = false;
    for (const regi::TenderPaid& paid : sale.tenders) {
        std::wstring name = regi::TenderName(settings.tenders, paid.tender);
        lines.push_back(Amount(name, regi::FormatMoney(paid.amount)));
        card = card || regi::IsCreditCard(name);
    }
    // The cash handed over, when there was any.
    if (TookCash(sale)) lines.push_back(Amount(kTendered, regi::FormatMoney(sale.tendered)));
    lines.push_back(Amount(kChange, regi::FormatMoney(sale.change)));
    if (card) lines.push_back(Left(kCreditCard));
    if (reduced) {
        lines.push_back(Left(L""));
        lines.push_back(Left(kReducedNote));
    }
    return lines;
}

}  // namespace receipt
