#include "receipt/Receipt.h"

#include <algorithm>

#include "sale/Money.h"

namespace receipt {

namespace {

const wchar_t kReprint[] = L"再発行";
const wchar_t kRegistrationCaption[] = L"登録番号 ";
const wchar_t kStandardItem[] = L"商品";
const wchar_t kReducedItem[] = L"※商品";
const wchar_t kExemptItem[] = L"非課税商品";
const wchar_t kTotal[] = L"合計";
const wchar_t kTendered[] = L"お預り";
const wchar_t kChange[] = L"お釣り";
const wchar_t kReducedNote[] = L"※は軽減税率対象";
const wchar_t kWeekdays[] = L"日月火水木金土";

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// "2026-12-08T21:07:56" as "2026年12月08日(火) 21:07"; any other text as it is.
std::wstring ReceiptDate(const std::wstring& time) {
    const std::wstring pattern = L"dddd-dd-ddTdd:dd";
    if (time.size() < pattern.size()) return time;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == L'd' ? !IsDigit(time[i]) : time[i] != pattern[i]) return time;
    }
    auto number = [&](size_t at, size_t length) { return std::stoi(time.substr(at, length)); };
    int year = number(0, 4), month = number(5, 2), day = number(8, 2);
    if (month < 1 || month > 12 || day < 1 || day > 31) return time;
    // The weekday of a Gregorian date (Sakamoto's method).
    static const int offsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    int y = month < 3 ? year - 1 : year;
    int weekday = (y + y / 4 - y / 100 + y / 400 + offsets[month - 1] + day) % 7;
    return time.substr(0, 4) + L"年" + time.substr(5, 2) + L"月" + time.substr(8, 2) + L"日(" + kWeekdays[weekday] +
           L") " + time.substr(11, 5);
}

const wchar_t* ItemName(regi::TaxClass taxClass) {
    switch (taxClass) {
    case regi::TaxClass::Reduced: return kReducedItem;
    case regi::TaxClass::Exempt: return kExemptItem;
    case regi::TaxClass::Standard: break;
    }
    return kStandardItem;
}

}  // namespace

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
        if (item.quantity == 1) {
            lines.push_back(Amount(ItemName(item.taxClass), regi::FormatMoney(item.subtotal)));
        } else {
            lines.push_back(Left(ItemName(item.taxClass)));
            lines.push_back(Amount(L"  " + std::to_wstring(item.quantity) + L" × " + regi::FormatMoney(item.unitPrice),
                                   regi::FormatMoney(item.subtotal)));
        }
    }
    lines.push_back(rule);

    const regi::TaxTotals& taxes = sale.taxes;
    lines.push_back(Amount(kTotal, regi::FormatMoney(taxes.Total())));
    bool reduced = false;
    for (const regi::ClassTotal& total : regi::ClassesPresent(sale.lines, taxes)) {
        lines.push_back(Left(regi::ClassText(total, regi::TaxTextStyle::Paper)));
        reduced = reduced || total.taxClass == regi::TaxClass::Reduced;
    }
    lines.push_back(Amount(kTendered, regi::FormatMoney(sale.tendered)));
    lines.push_back(Amount(kChange, regi::FormatMoney(sale.change)));
    if (reduced) {
        lines.push_back(Left(L""));
        lines.push_back(Left(kReducedNote));
    }
    return lines;
}

std::wstring ReceiptText(const regi::SaleRecord& sale, const Settings& settings, bool reprint) {
    return PlainText(ReceiptLines(sale, settings, reprint), settings.Columns());
}

}  // namespace receipt
