// Prints what the sales history costs on a year of a busy shop's journal
// (about 500,000 lines, a Z every evening): finding a sale of months ago by
// its number beside finding one of today, and the range queries behind the
// charts (a day by hour, a month by day, the year by month).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "history/Chart.h"
#include "history/Query.h"
#include "journal/Journal.h"
#include "platform/Clock.h"
#include "tests/support/BenchClock.h"
#include "tests/support/SettledSale.h"

namespace {

using testing_support::Now;
constexpr int kSalesADay = 340;

// 365 days of 340 sales of three lines each from 9:00 to 19:00, a Z each evening but the last.
std::string Year(size_t& lineCount) {
    std::string text = std::string(journal::kByteOrderMark) + journal::kHeader + "\r\n";
    journal::Period period;
    lineCount = 1;
    for (int day = 0; day < 365; ++day) {
        history::Date date = history::DateOfDay(history::DayNumber({2026, 1, 1}) + day);
        wchar_t time[32] = L"";
        for (int i = 0; i < kSalesADay; ++i) {
            const int minutes = 9 * 60 + i * 600 / kSalesADay;
            std::swprintf(time, 32, L"%04d-%02d-%02dT%02d:%02d:00", date.year, date.month, date.day, minutes / 60,
                          minutes % 60);
            regi::SaleRecord sale = testing_support::SettledSale({{regi::TaxClass::Reduced, 540, 2, 1080},
                                                                  {regi::TaxClass::Standard, 1100, 1, 1100},
                                                                  {regi::TaxClass::Exempt, 300, 1, 300, 3}},
                                                                 3000, 0, time);
            for (const journal::Record& record : period.SaleRecords(sale)) {
                text += journal::FormatRecord(record);
                period.Add(record);
                ++lineCount;
            }
        }
        if (day == 364) continue;
        journal::Record z = period.ReportRecord(journal::Kind::Z, 30000, time);
        text += journal::FormatRecord(z);
        ++lineCount;
        period = journal::Period();
        period.Add(z);
    }
    return text;
}

void Write(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

// The median and the best of runs of a query, each by a program just started
// (the index as the searches before left it); what it found.
void Time(const char* what, const std::wstring& folder, int runs, const history::QueryTexts& texts) {
    std::vector<double> samples;
    std::int64_t count = 0, total = 0, bars = 0;
    for (int run = 0; run < runs; ++run) {
        journal::Journal journal(folder, platform::SystemNow);
        double start = Now();
        history::Query query = history::ReadQuery(texts, {});
        std::vector<history::Bar> chart;
        count = total = 0;
        if (query.range) {
            history::SalesChart byTime(*query.range);
            history::EachSale(journal, query, [&](const journal::FoundSale& found) {
                byTime.Add(found.sale.time, found.sale.taxes.Total());
                ++count;
                total += found.sale.taxes.Total();
                return true;
            });
            chart = byTime.Bars();
        } else {
            history::EachSale(journal, query, [&](const journal::FoundSale& found) {
                ++count;
                total += found.sale.taxes.Total();
                return true;
            });
        }
        samples.push_back(Now() - start);
        bars = static_cast<std::int64_t>(chart.size());
    }
    std::sort(samples.begin(), samples.end());
    std::printf("%-44s median %8.3f ms, best %8.3f ms (%lld sales, %lld yen, %lld bars)\n", what,
                samples[samples.size() / 2] * 1e3, samples.front() * 1e3, static_cast<long long>(count),
                static_cast<long long>(total), static_cast<long long>(bars));
}

}  // namespace

int main() {
    wchar_t temp[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"pelmora-history-bench-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    size_t lines = 0;
    const std::string year = Year(lines);
    Write(folder + L"\\" + journal::kJournalName, year);
    std::printf("a year with a Z every evening:  %zu lines, %.1f MB\n", lines, year.size() / 1e6);

    const std::int64_t today = 365 * kSalesADay, monthsAgo = 120 * kSalesADay + 17;
    Time("find a sale of months ago, no index (made):", folder, 1, {L"", std::to_wstring(monthsAgo), L"", L""});
    Time("find today's last sale:", folder, 31, {L"", std::to_wstring(today), L"", L""});
    Time("find a sale of months ago:", folder, 31, {L"", std::to_wstring(monthsAgo), L"", L""});
    Time("today's sales, by hour:", folder, 11, {L"2026-12-31", L"", L"", L""});
    Time("a day of months ago, by hour:", folder, 11, {L"2026-05-01", L"", L"", L""});
    Time("a month of months ago, by day:", folder, 5, {L"2026-05", L"", L"", L""});
    Time("the year, by month:", folder, 3, {L"2026", L"", L"", L""});
    Time("the year's sales of one amount:", folder, 3, {L"", L"", L"2480", L""});

    for (const wchar_t* name :
         {journal::kIndexName, journal::kJournalName, journal::kKeptName, journal::kCheckpointName})
        DeleteFileW((folder + L"\\" + name).c_str());
    RemoveDirectoryW(folder.c_str());
    return 0;
}
