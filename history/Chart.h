#pragma once
// The sales of a range as a chart's figures, without Windows: for one day by
// hour, for up to two months by day, for longer by month; each sale counted in
// the bar of its own time, whatever order the clock wrote it in. And the
// departments' shares of the same sales. The figures of a bar in words, for
// the keyboard and the screen reader, and the chart as slip lines to print.
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "history/Query.h"
#include "receipt/Layout.h"
#include "sale/Department.h"
#include "sale/SaleRecord.h"

namespace history {

enum class Scale { Hour, Day, Month };

// A range of up to this many days is charted by day; a longer one by month.
constexpr std::int64_t kMaxDaysByDay = 62;

struct Bar {
    std::wstring label;  // under the bar: "10", "12/8", "12月"
    std::wstring name;   // in words: "12月8日 10時台", "2026年12月8日(火)", "2026年12月"
    std::int64_t amount = 0;
    std::int64_t customers = 0;  // sales: one customer each
};

class SalesChart {
public:
    explicit SalesChart(const DateRange& range);
    Scale GetScale() const { return scale_; }
    const DateRange& Range() const { return range_; }
    // Counts a sale in the bar of its time; false for a time outside the range or that does not read.
    bool Add(const std::wstring& time, std::int64_t amount);
    const std::vector<Bar>& Bars() const { return bars_; }
    std::int64_t Total() const;
    std::int64_t Customers() const;

private:
    DateRange range_;
    Scale scale_;
    std::vector<Bar> bars_;
};

// "12月8日 10時台: 売上 ¥12,340、客数 5人、客単価 ¥2,468"; without sales, "売上なし".
std::wstring BarWords(const Bar& bar);

// The departments' amounts of the sales added (their lines after their own
// discounts), largest first, as bars whose customers are the lines sold.
class DepartmentShares {
public:
    void Add(const regi::SaleRecord& sale);
    std::vector<Bar> Bars(const regi::Departments& departments) const;

private:
    std::map<std::pair<int, int>, Bar> byDepartment_;  // by number and class
};

// "野菜: ¥12,340 (34.5%)、12点" of the whole's total.
std::wstring ShareWords(const Bar& bar, std::int64_t total);

// The chart as a slip: its title, then each bar's name, its count in unit
// ("人" for customers, "点" for items) and its amount, then the total.
std::vector<receipt::Line> ChartSlip(const std::wstring& title, const std::vector<Bar>& bars, const std::wstring& unit);

}  // namespace history
