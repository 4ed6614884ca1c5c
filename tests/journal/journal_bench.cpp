// Prints what the journal costs at start: loading a year of a busy shop's
// journal (about 500,000 lines, a Z every evening) beside loading none, and,
// for scale, the same year without a single Z, which has to be read whole.
// Then what finding a sale of that year costs, with the index and without,
// and finding one to return with what went back of it before. Last, the same
// year with the chain's values: its start, and the check of the whole chain
// that runs in the background once the start is over.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "tests/support/BenchClock.h"
#include "journal/Chain.h"
#include "journal/Journal.h"
#include "platform/Sha256.h"
#include "tests/support/SettledSale.h"

namespace {

using testing_support::Now;

// A year: 365 days of 340 sales of three lines each, four records a sale, a
// line of the day's 51st sale returned after its 100th, and with
// zEveryEvening a Z after each day but the last, which is still open.
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
            auto write = [&](const std::vector<journal::Record>& records) {
                for (const journal::Record& record : records) {
                    text += journal::FormatRecord(record);
                    period.Add(record);
                    ++lineCount;
                }
            };
            write(period.SaleRecords(sale));
            if (i != 100) continue;
            sale.number = day * 340 + 51;
            write(period.ReturnRecords(regi::ReturnAgainst(sale, {1}, {}, regi::RefundTo::Cash), time));
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

// The same journal with each record's chain value, as the program writes it now.
std::string Chained(const std::string& text) {
    std::string out, previous;
    size_t at = text.find("\r\n") + 2;
    out = text.substr(0, at);
    for (size_t next; (next = text.find("\r\n", at)) != std::string::npos; at = next + 2) {
        std::optional<journal::Record> record = journal::ParseRecord(text.substr(at, next + 2 - at));
        record->chain = previous = journal::ChainValue(platform::Sha256Hex, previous, *record);
        out += journal::FormatRecord(*record);
    }
    return out;
}

// The median and the best of a few checks of the whole chain, as the background does it.
void TimeCheck(const char* what, const std::wstring& folder) {
    std::vector<double> samples;
    size_t breaks = 0;
    std::int64_t size = 0;
    journal::FileStorage storage;
    const std::wstring path = folder + L"\\" + journal::kJournalName;
    storage.Size(path, size);
    for (int run = 0; run < 5; ++run) {
        double start = Now();
        std::optional<std::vector<journal::ChainBreak>> found =
            journal::CheckChain(storage, {path, size, {}, nullptr, platform::Sha256Hex});
        samples.push_back(Now() - start);
        breaks = found ? found->size() : 999;
    }
    std::sort(samples.begin(), samples.end());
    std::printf("%-52s median %8.3f ms, best %8.3f ms (%zu breaks)\n", what, samples[samples.size() / 2] * 1e3,
                samples.front() * 1e3, breaks);
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
        journal::Journal journal(folder, platform::SystemNow);
        double start = Now();
        journal.Load();
        samples.push_back(Now() - start);
        total = journal.SalesTotal();
    }
    std::sort(samples.begin(), samples.end());
    std::printf("%-52s median %8.3f ms, best %8.3f ms (sales total %lld)\n", what, samples[samples.size() / 2] * 1e3,
                samples.front() * 1e3, static_cast<long long>(total));
}

// The median and the best of a few searches for a sale, each by a program
// just started; with fresh, the index as a search before left it, else none
// (the search reads the whole journal and writes it).
void TimeFind(const char* what, const std::wstring& folder, bool fresh,
              const std::function<std::optional<journal::FoundSale>(journal::Journal&)>& find) {
    const std::wstring index = folder + L"\\" + journal::kIndexName;
    const int runs = fresh ? 31 : 5;
    std::vector<double> samples;
    std::optional<journal::FoundSale> found;
    for (int run = 0; run < runs; ++run) {
        if (!fresh) DeleteFileW(index.c_str());
        journal::Journal journal(folder, platform::SystemNow);
        double start = Now();
        found = find(journal);
        samples.push_back(Now() - start);
    }
    std::sort(samples.begin(), samples.end());
    std::printf("%-52s median %8.3f ms, best %8.3f ms (No.%lld, %zu lines)\n", what, samples[samples.size() / 2] * 1e3,
                samples.front() * 1e3, found ? static_cast<long long>(found->sale.number) : 0LL,
                found ? found->sale.lines.size() : 0);
}

// The same for a sale to return: found with the lines that went back before.
void TimeReturnable(const char* what, const std::wstring& folder, std::int64_t number) {
    std::vector<double> samples;
    std::optional<journal::ReturnableSale> found;
    for (int run = 0; run < 31; ++run) {
        journal::Journal journal(folder, platform::SystemNow);
        double start = Now();
        found = journal.FindReturnable(number);
        samples.push_back(Now() - start);
    }
    std::sort(samples.begin(), samples.end());
    std::printf("%-52s median %8.3f ms, best %8.3f ms (No.%lld, %zu lines, %zu returned)\n", what,
                samples[samples.size() / 2] * 1e3, samples.front() * 1e3, static_cast<long long>(found->sale.number),
                found->sale.lines.size(), found->returned.lines.size());
}

}  // namespace

int main() {
    wchar_t temp[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, temp);
    std::wstring base = std::wstring(temp) + L"pelmora-journal-bench-" + std::to_wstring(GetCurrentProcessId());
    std::wstring none = base + L"-none", daily = base + L"-daily", never = base + L"-never";
    std::wstring lf = base + L"-lf", cr = base + L"-cr", chained = base + L"-chained";
    for (const std::wstring& folder : {none, daily, never, lf, cr, chained}) CreateDirectoryW(folder.c_str(), nullptr);

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

    // Finding a sale of the year with a Z every evening: today's, one of a
    // month ago, the first of the year, and the first at the year's first day's start.
    const std::int64_t today = 365 * 340, monthAgo = today - 30 * 340;
    auto byNumber = [](std::int64_t number) {
        return [number](journal::Journal& journal) { return journal.FindSale(number); };
    };
    auto yearsFirst = [](journal::Journal& journal) { return journal.FindSaleAt({2026, 1, 1, 0, 0, 0}); };
    TimeFind("find today's last sale, no index (made):", daily, false, byNumber(today));
    std::int64_t indexSize = 0;
    journal::FileStorage().Size(daily + L"\\" + journal::kIndexName, indexSize);
    std::printf("the index beside the year's journal:  %lld bytes\n", static_cast<long long>(indexSize));
    TimeFind("find today's last sale:", daily, true, byNumber(today));
    TimeFind("find a sale of a month ago:", daily, true, byNumber(monthAgo));
    TimeFind("find the year's first sale:", daily, true, byNumber(1));
    TimeFind("find the first sale at the year's first day:", daily, true, yearsFirst);
    TimeFind("find a sale of a month ago, no index (made):", daily, false, byNumber(monthAgo));
    TimeFind("find the year's first sale, no index (made):", daily, false, byNumber(1));
    // A return against a sale of today beside one against a sale a month ago that went back in part.
    TimeReturnable("find today's last sale to return:", daily, today);
    TimeReturnable("find a sale of a month ago to return:", daily, (364 - 30) * 340 + 51);
    TimeFind("find today's last sale, LF line ends (made):", lf, false, byNumber(today));
    TimeFind("the same, LF line ends, the index fresh:", lf, true, byNumber(today));

    // The chain: the start does not wait for its check, which reads the whole journal.
    std::string withChain = Chained(year);
    Write(chained + L"\\" + journal::kJournalName, withChain);
    std::printf("the year with the chain's values: %.1f MB\n", withChain.size() / 1e6);
    Time("start with the year, chained:", chained, 31);
    TimeCheck("check of the whole chain (in the background):", chained);

    for (const std::wstring& folder : {none, daily, never, lf, cr, chained}) {
        DeleteFileW((folder + L"\\" + journal::kIndexName).c_str());
        DeleteFileW((folder + L"\\" + journal::kJournalName).c_str());
        DeleteFileW((folder + L"\\" + journal::kKeptName).c_str());
        DeleteFileW((folder + L"\\" + journal::kCheckpointName).c_str());
        RemoveDirectoryW(folder.c_str());
    }
    return 0;
}
