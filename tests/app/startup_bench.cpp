// Prints how long Pelmora takes from its start to a focused entry field, beside
// a bare window with the same tool bar, tabs and status bar (startup_bare.exe)
// started the same way, in one run, and the ratio of the two. Each start is
// timed from CreateProcess until the new process waits for input with the
// focus in the window it hands the operator first (Pelmora: the register's
// entry field; the bare window: its tabs). The programs run from a fresh
// folder of their own, so no settings file of another run takes part.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "journal/Chain.h"
#include "journal/Period.h"
#include "platform/Sha256.h"
#include "tests/support/BenchClock.h"
#include "tests/app/StartedProgram.h"

namespace {

using testing_support::Now;

std::wstring Folder(const std::wstring& path) { return path.substr(0, path.find_last_of(L"\\/") + 1); }

// Seconds from the start until the program waits for input with the focus in
// a window of focusClass; negative when that does not happen within 10 s.
double TimeStart(const std::wstring& program, const wchar_t* focusClass) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + program + L"\"";
    double start = Now();
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        Folder(program).c_str(), &startup, &process))
        return -1;
    double reached = -1;
    if (WaitForInputIdle(process.hProcess, 10000) == 0) {
        while (Now() - start < 10) {
            if (started::FocusIsIn(process.dwThreadId, focusClass)) {
                reached = Now() - start;
                break;
            }
            Sleep(0);
        }
    }
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return reached;
}

double Median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

bool CopyBeside(const std::wstring& from, const std::wstring& folder, const wchar_t* name) {
    return CopyFileW((from + name).c_str(), (folder + name).c_str(), FALSE) != FALSE;
}

// A year of a busy shop's journal with the chain's values: 340 sales a day of
// one line each, a Z every evening; what the check after the start reads whole.
std::string ChainedYear() {
    std::string text = std::string(journal::kByteOrderMark) + journal::kHeader + "\r\n", previous;
    journal::Period period;
    auto write = [&](journal::Record record) {
        record.chain = previous = journal::ChainValue(platform::Sha256Hex, previous, record);
        text += journal::FormatRecord(record);
        period.Add(record);
    };
    for (int day = 0; day < 365; ++day) {
        wchar_t time[32];
        std::swprintf(time, 32, L"2026-%02d-%02dT12:00:00", day / 31 + 1, day % 28 + 1);
        for (int i = 0; i < 340; ++i) {
            regi::SaleRecord sale;
            sale.lines = {{regi::TaxClass::Standard, 1100, 1, 1100}};
            sale.taxes = regi::SumTaxes(sale.lines, 10, 8);
            sale.tendered = 1100;
            sale.time = time;
            for (const journal::Record& record : period.SaleRecords(sale)) write(record);
        }
        journal::Record z = period.ReportRecord(journal::Kind::Z, 30000, time);
        period = journal::Period();
        write(z);
    }
    return text;
}

double Best(const std::vector<double>& samples) { return *std::min_element(samples.begin(), samples.end()); }

std::wstring Widen(const char* text) {
    int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(length > 0 ? length - 1 : 0, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    return wide;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    wchar_t self[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring here = Folder(self);
    // The program measured: the one beside the benchmark, or the one named.
    const std::wstring measured = argc > 2 ? Widen(argv[2]) : here + L"Pelmora.exe";

    wchar_t temp[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder =
        std::wstring(temp) + L"pelmora-startup-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring pelmora = folder + L"Pelmora.exe", bare = folder + L"startup_bare.exe";
    if (!CopyFileW(measured.c_str(), pelmora.c_str(), FALSE) || !CopyBeside(here, folder, L"About.bmp") ||
        !CopyBeside(here, folder, L"startup_bare.exe")) {
        std::printf("usage: startup_bench [starts] [program]; About.bmp and startup_bare.exe lie beside it\n");
        return 1;
    }

    // One start of each first, untimed: the files are then read from memory.
    TimeStart(bare, L"SysTabControl32");
    TimeStart(pelmora, L"TSaNumEdit");
    std::vector<double> program, yardstick;
    for (int run = 0; run < runs; ++run) {
        double b = TimeStart(bare, L"SysTabControl32");
        double p = TimeStart(pelmora, L"TSaNumEdit");
        if (b < 0 || p < 0) {
            std::printf("a start did not reach its focused window within 10 s\n");
            return 1;
        }
        yardstick.push_back(b);
        program.push_back(p);
    }
    // The same with a product file of 100,000 products beside the settings: read in the background.
    WritePrivateProfileStringW(L"Departments", L"1", L"Bench,standard", (folder + L"Pelmora.ini").c_str());
    {
        std::string file = "code,name,price,department\r\n";
        for (long long i = 0; i < 100000; ++i) {
            std::string digits = std::to_string(490000000000LL + i * 37);
            int sum = 0;
            bool three = true;
            for (auto c = digits.rbegin(); c != digits.rend(); ++c, three = !three) sum += (*c - '0') * (three ? 3 : 1);
            file += digits + std::to_string((10 - sum % 10) % 10) + ",item " + std::to_string(i) + ",150,1\r\n";
        }
        HANDLE out = CreateFileW((folder + L"Pelmora-products.csv").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 0, nullptr);
        DWORD written = 0;
        WriteFile(out, file.data(), static_cast<DWORD>(file.size()), &written, nullptr);
        CloseHandle(out);
    }
    std::vector<double> withProducts, yardstick2;
    for (int run = 0; run < runs; ++run) {
        double b = TimeStart(bare, L"SysTabControl32");
        double p = TimeStart(pelmora, L"TSaNumEdit");
        if (b < 0 || p < 0) {
            std::printf("a start did not reach its focused window within 10 s\n");
            return 1;
        }
        yardstick2.push_back(b);
        withProducts.push_back(p);
    }
    // The same with the journal on and a year's chained journal: its chain is
    // checked in the background once the program has waited for its first key.
    DeleteFileW((folder + L"Pelmora-products.csv").c_str());
    WritePrivateProfileStringW(L"Journal", L"Enabled", L"1", (folder + L"Pelmora.ini").c_str());
    {
        std::string year = ChainedYear();
        HANDLE out = CreateFileW((folder + L"Pelmora-journal.csv").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                                 nullptr);
        DWORD written = 0;
        WriteFile(out, year.data(), static_cast<DWORD>(year.size()), &written, nullptr);
        CloseHandle(out);
        std::printf("a year's chained journal: %.1f MB\n", year.size() / 1e6);
    }
    std::vector<double> withJournal, yardstick3;
    for (int run = 0; run < runs; ++run) {
        double b = TimeStart(bare, L"SysTabControl32");
        double p = TimeStart(pelmora, L"TSaNumEdit");
        if (b < 0 || p < 0) {
            std::printf("a start did not reach its focused window within 10 s\n");
            return 1;
        }
        yardstick3.push_back(b);
        withJournal.push_back(p);
    }
    for (const wchar_t* name : {L"Pelmora.exe", L"About.bmp", L"startup_bare.exe", L"Pelmora.ini",
                                L"Pelmora-products.csv", L"Pelmora-journal.csv", L"Pelmora-journal-numbers.txt",
                                L"Pelmora-journal-checkpoint.txt", L"Pelmora-journal-index.txt"})
        DeleteFileW((folder + name).c_str());
    RemoveDirectoryW(folder.c_str());

    std::printf("start to a focused entry field, %d starts each:   median       best\n", runs);
    std::printf("  Pelmora                                   %7.1f ms  %7.1f ms\n", Median(program) * 1e3,
                Best(program) * 1e3);
    std::printf("  bare window, same tool bar, tabs, status  %7.1f ms  %7.1f ms\n", Median(yardstick) * 1e3,
                Best(yardstick) * 1e3);
    std::printf("  ratio Pelmora / bare window               %7.2f     %7.2f\n", Median(program) / Median(yardstick),
                Best(program) / Best(yardstick));
    std::printf("  Pelmora with 100,000 products             %7.1f ms  %7.1f ms\n", Median(withProducts) * 1e3,
                Best(withProducts) * 1e3);
    std::printf("  ratio with products / bare window         %7.2f     %7.2f\n",
                Median(withProducts) / Median(yardstick2), Best(withProducts) / Best(yardstick2));
    std::printf("  Pelmora with a year's chained journal     %7.1f ms  %7.1f ms\n", Median(withJournal) * 1e3,
                Best(withJournal) * 1e3);
    std::printf("  ratio with the journal / bare window      %7.2f     %7.2f\n",
                Median(withJournal) / Median(yardstick3), Best(withJournal) / Best(yardstick3));
    return 0;
}
