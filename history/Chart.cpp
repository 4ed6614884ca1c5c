#include "history/Chart.h"

#include <algorithm>

#include "common/Calendar.h"
#include "common/DateTime.h"
#include "sale/Money.h"

namespace history {

namespace {

const wchar_t kWeekdays[] = L"日月火水木金土";

std::wstring DayName(const Date& date) {
    return std::to_wstring(date.year) + L"年" + std::to_wstring(date.month) + L"月" + std::to_wstring(date.day) +
           L"日(" + kWeekdays[common::DayOfWeek(date.year, date.month, date.day)] + L")";
}

std::int64_t MonthNumber(int year, int month) { return static_cast<std::int64_t>(year) * 12 + month - 1; }

}  // namespace

SalesChart::SalesChart(const DateRange& range)
    : range_(range),
      scale_(range.Days() <= 1               ? Scale::Hour
             : range.Days() <= kMaxDaysByDay ? Scale::Day
                                             : Scale::Month) {
    const Date& from = range_.from;
    switch (scale_) {
    case Scale::Hour:
        for (int hour = 0; hour < 24; ++hour)
            bars_.push_back({std::to_wstring(hour), std::to_wstring(from.month) + L"月" + std::to_wstring(from.day) +
                                                        L"日 " + std::to_wstring(hour) + L"時台"});
        break;
    case Scale::Day:
        for (std::int64_t day = DayNumber(range_.from); day <= DayNumber(range_.to); ++day) {
            const Date date = DateOfDay(day);
            bars_.push_back({std::to_wstring(date.month) + L"/" + std::to_wstring(date.day), DayName(date)});
        }
        break;
    case Scale::Month:
        for (std::int64_t month = MonthNumber(from.year, from.month);
             month <= MonthNumber(range_.to.year, range_.to.month); ++month) {
            const int year = static_cast<int>(month / 12), inYear = static_cast<int>(month % 12) + 1;
            bars_.push_back(
                {std::to_wstring(inYear) + L"月", std::to_wstring(year) + L"年" + std::to_wstring(inYear) + L"月"});
        }
        break;
    }
}

bool SalesChart::Add(const std::wstring& time, std::int64_t amount) {
    std::optional<common::DateTime> at = common::ParseDateTime(time);
    if (!at) return false;
    const std::int64_t day = DayNumber({at->year, at->month, at->day});
    if (day < DayNumber(range_.from) || day > DayNumber(range_.to)) return false;
    size_t bar =
        scale_ == Scale::Hour ? static_cast<size_t>(at->hour)
        : scale_ == Scale::Day
            ? static_cast<size_t>(day - DayNumber(range_.from))
            : static_cast<size_t>(MonthNumber(at->year, at->month) - MonthNumber(range_.from.year, range_.from.month));
    bars_[bar].amount += amount;
    ++bars_[bar].customers;
    return true;
}

std::int64_t SalesChart::Total() const {
    std::int64_t total = 0;
    for (const Bar& bar : bars_) total += bar.amount;
    return total;
}

std::int64_t SalesChart::Customers() const {
    std::int64_t customers = 0;
    for (const Bar& bar : bars_) customers += bar.customers;
    return customers;
}

std::wstring BarWords(const Bar& bar) {
    if (bar.customers == 0) return bar.name + L": 売上なし";
    return bar.name + L": 売上 " + regi::FormatMoney(bar.amount) + L"、客数 " + std::to_wstring(bar.customers) +
           L"人、客単価 " + regi::FormatMoney(bar.amount / bar.customers);
}

void DepartmentShares::Add(const regi::SaleRecord& sale) {
    for (const regi::LineRecord& line : sale.lines) {
        Bar& bar = byDepartment_[{line.department, static_cast<int>(line.taxClass)}];
        bar.amount += line.Net();
        bar.customers += line.quantity;
    }
}

std::vector<Bar> DepartmentShares::Bars(const regi::Departments& departments) const {
    std::vector<Bar> bars;
    for (const auto& [key, figures] : byDepartment_) {
        Bar bar = figures;
        bar.name = departments.NameOf(key.first, static_cast<regi::TaxClass>(key.second));
        bar.label = bar.name;
        bars.push_back(bar);
    }
    std::stable_sort(bars.begin(), bars.end(), [](const Bar& a, const Bar& b) { return a.amount > b.amount; });
    return bars;
}

std::wstring ShareWords(const Bar& bar, std::int64_t total) {
    // Tenths of a percent, rounded half up.
    const std::int64_t tenths = total > 0 ? (bar.amount * 2000 / total + 1) / 2 : 0;
    return bar.name + L": " + regi::FormatMoney(bar.amount) + L" (" + std::to_wstring(tenths / 10) + L"." +
           std::to_wstring(tenths % 10) + L"%)、" + std::to_wstring(bar.customers) + L"点";
}

std::vector<receipt::Line> ChartSlip(const std::wstring& title, const std::vector<Bar>& bars,
                                     const std::wstring& unit) {
    std::vector<receipt::Line> lines = {receipt::Centre(title), receipt::Left(L"")};
    std::int64_t total = 0, customers = 0;
    for (const Bar& bar : bars) {
        lines.push_back(
            receipt::Amount(bar.name + L" " + std::to_wstring(bar.customers) + unit, regi::FormatMoney(bar.amount)));
        total += bar.amount;
        customers += bar.customers;
    }
    lines.push_back(receipt::Left(L""));
    lines.push_back(receipt::Amount(L"合計 " + std::to_wstring(customers) + unit, regi::FormatMoney(total)));
    return lines;
}

}  // namespace history
