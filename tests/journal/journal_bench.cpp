// Prints what the journal costs at start: loading a year of a busy shop's
// journal (about 500,000 lines, a Z every evening) beside loading none, and,
// for scale, the same year without a single Z, which has to be read whole.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/BenchClock.h"
#include "journal/Journal.h"
#include "tests/support/SettledSale.h"

namespace {

using testing_support::Now;

// A year: 365 days of 340 sales of three lines each, four records a sale, and
// with zEveryEvening a Z after each day but the last, which is still open.
std::string Year(bool zEveryEvening, size_t& lineCount) {
    std::string text = std::string(journal::kByteOrderMark) + journal::kHeader + "\r\n";
    journal::Period period;
    lineCount = 1;
    for (int day = 0; day < 365; ++day) {
        wchar_t time[32];
        std::swprintf(time, 32, L"2026-%02d-%02dT12:00:00", day / 31 + 1, day % 28 + 1);
        for (int i = 0; i < 340; ++i) {
            regi::SaleRecord sale = testing_support::SettledSale({{regi::TaxClass::Reduced, 540, 2, 1080},
                                                                  {regi::TaxClass::Standard, 1100, 1, 1100},
                                                                  {regi::TaxClass::Exempt, 300, 1, 300}},
                                                                 3000, 0, time);
            for (const journal::Record& record : period.SaleRecords(sale)) {
                text += journal::FormatRecord(record);
                period.Add(record);
                ++lineCount;
            }
        }
        if (!zEveryEvening || day == 364) continue;
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

// The median and the best of a few loads of the journal in folder; without a
// checkpoint, each load starts with none.
void Time(const char* what, const std::wstring& folder, int runs, bool checkpoint = true) {
    std::vector<double> samples;
    std::int64_t total = 0;
    for (int run = 0; run < runs; ++run) {
        if (!checkpoint) DeleteFileW((folder + L"\\" + journal::kCheckpointName).c_str());
        journal::Journal journal(folder);
        double start = Now();
        journal.Load();
        samples.push_back(Now() - start);
        total = journal.SalesTotal();
    }
    std::sort(samples.begin(), samples.end());
    std::printf("%-52s median %8.3f ms, best %8.3f ms (sales total %lld)\n", what, samples[samples.size() / 2] * 1e3,
                samples.front() * 1e3, static_cast<long long>(total));
}

}  // namespace

int main() {
    wchar_t temp[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, temp);
    std::wstring base = std::wstring(temp) + L"pelmora-journal-bench-" + std::to_wstring(GetCurrentProcessId());
    std::wstring none = base + L"-none", daily = base + L"-daily", never = base + L"-never";
    std::wstring lf = base + L"-lf", cr = base + L"-cr";
    for (const std::wstring& folder : {none, daily, never, lf, cr}) CreateDirectoryW(folder.c_str(), nullptr);

    size_t lines = 0;
    std::string year = Year(true, lines);
    Write(daily + L"\\" + journal::kJournalName, year);
    std::printf("a year with a Z every evening:  %zu lines, %.1f MB\n", lines, year.size() / 1e6);
    // The same year saved again by a spreadsheet with LF, or on some systems CR, line ends.
    for (const auto& [folder, ending] : {std::pair{lf, "\n"}, std::pair{cr, "\r"}}) {
        std::string saved;
        saved.reserve(year.size());
        for (size_t at = 0, next; at < year.size(); at = next + 2) {
            next = year.find("\r\n", at);
            saved.append(year, at, next - at).append(ending);
        }
        Write(folder + L"\\" + journal::kJournalName, saved);
    }
    std::string noZ = Year(false, lines);
    Write(never + L"\\" + journal::kJournalName, noZ);
    std::printf("the same year without any Z:    %zu lines, %.1f MB\n", lines, noZ.size() / 1e6);

    Time("start with no journal:", none, 31);
    Time("start with a year's journal, a Z every evening:", daily, 31);
    Time("the same, saved again with LF line ends:", lf, 31);
    Time("the same, saved again with CR line ends:", cr, 31);
    Time("start with a year's journal and no Z (read whole):", never, 5, false);
    Time("the same, the next start (from its checkpoint):", never, 31);

    for (const std::wstring& folder : {none, daily, never, lf, cr}) {
        DeleteFileW((folder + L"\\" + journal::kJournalName).c_str());
        DeleteFileW((folder + L"\\" + journal::kKeptName).c_str());
        DeleteFileW((folder + L"\\" + journal::kCheckpointName).c_str());
        RemoveDirectoryW(folder.c_str());
    }
    return 0;
}
