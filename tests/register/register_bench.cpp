// Prints what one key command costs on the real main window: the hundredth
// line of a sale (99 lines already in the grid), a discount taking the grid's
// last row and a scanned code at line 100, totals and repaint included,
// beside the same key messages sent to an empty window procedure.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/BenchClock.h"
#include "app/Form1.h"
#include "ui/MessageLoop.h"
#include "ui/App.h"

namespace {

using testing_support::Now;

void Key(HWND target, UINT key, wchar_t ch) {
    SendMessageW(target, WM_KEYDOWN, key, 1);
    if (ch) SendMessageW(target, WM_CHAR, ch, 1);
    SendMessageW(target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
}

// A key pressed with Shift held, as the keyboard state shows it.
void ShiftKey(HWND target, UINT key, wchar_t ch) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    Key(target, key, ch);
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
}

LRESULT CALLBACK EmptyProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    if (message == WM_KEYDOWN || message == WM_CHAR || message == WM_KEYUP) return 0;
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

double Median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

// Keys ¥1 lines up to line `lines`, then `ready`, and times `timed` from its
// key to the window repainted; the sale is settled and cleared afterwards.
template <class Ready, class Timed>
double AtLine(HWND window, HWND entry, int lines, Ready ready, Timed timed) {
    for (int i = 0; i < lines; ++i) {
        Key(entry, VK_NUMPAD1, L'1');
        Key(entry, VK_RETURN, L'\r');
    }
    ready();
    UpdateWindow(window);
    const double start = Now();
    timed();
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    const double took = Now() - start;
    SendMessageW(entry, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"999999"));
    Key(entry, VK_DIVIDE, L'/');
    Key(entry, VK_DECIMAL, L'.');
    ui::PumpMessages();
    return took;
}

void Print(const char* what, const std::vector<double>& samples, const std::vector<double>& empty) {
    std::printf("%-62s median %.3f ms, best %.3f ms, ratio to an empty window procedure %.1f\n", what,
                Median(samples) * 1e3, *std::min_element(samples.begin(), samples.end()) * 1e3,
                Median(samples) / Median(empty));
}

// A product file of 100,000 JAN-13 codes at ¥150 in department 1; returns the last code.
std::string WriteProducts(const std::wstring& path) {
    std::string file = "code,name,price,department\r\n";
    std::string last;
    for (long long i = 0; i < 100000; ++i) {
        std::string digits = std::to_string(490000000000LL + i * 37);
        int sum = 0;
        bool three = true;
        for (auto c = digits.rbegin(); c != digits.rend(); ++c, three = !three) sum += (*c - '0') * (three ? 3 : 1);
        last = digits + std::to_string((10 - sum % 10) % 10);
        file += last + ",item " + std::to_string(i) + ",150,1\r\n";
    }
    HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(out, file.data(), static_cast<DWORD>(file.size()), &written, nullptr);
    CloseHandle(out);
    return last;
}

}  // namespace

int main() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    ui::App().SetTitle(L"Pelmora");
    wchar_t temp[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, temp);
    Services services = SystemServices();
    services.beep = [] {};
    TForm1 form(std::wstring(temp) + L"PelmoraBench.ini", services);  // read if there, never written
    ShowWindow(form.Handle(), SW_SHOW);
    ui::PumpMessages();
    HWND entry = form.RegisterPage().SaNumEdit1().Handle();

    const int runs = 30;
    std::vector<double> command, discount, empty, keyedBeside, scanned;
    for (int run = 0; run < runs; ++run) {
        command.push_back(AtLine(
            form.Handle(), entry, 99, [&] { Key(entry, VK_NUMPAD5, L'5'); }, [&] { Key(entry, VK_RETURN, L'\r'); }));
        // ¥1 off the 99th line: the discount takes the grid's last row.
        discount.push_back(AtLine(
            form.Handle(), entry, 98,
            [&] {
                Key(entry, VK_NUMPAD5, L'5');
                Key(entry, VK_RETURN, L'\r');
                Key(entry, VK_NUMPAD1, L'1');
            },
            [&] { ShiftKey(entry, VK_SUBTRACT, L'-'); }));
    }
    if (form.RegisterPage().Sale().SalesTotal() != runs * (99 + 5 + 98 + 5 - 1))
        std::printf("unexpected sales total\n");

    WNDCLASSW wc{};
    wc.lpfnWndProc = EmptyProcedure;
    wc.hInstance = ui::App().Instance();
    wc.lpszClassName = L"BenchEmpty";
    RegisterClassW(&wc);
    HWND blank = CreateWindowW(L"BenchEmpty", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 200, nullptr, nullptr,
                               ui::App().Instance(), nullptr);
    for (int run = 0; run < runs; ++run) {
        InvalidateRect(blank, nullptr, TRUE);
        double start = Now();
        Key(blank, VK_RETURN, L'\r');
        RedrawWindow(blank, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        empty.push_back(Now() - start);
    }
    DestroyWindow(blank);

    // With a product file of 100,000 products and a department in use: a
    // scanner's 13 digits and Enter at line 100, beside a keyed price there.
    const std::wstring folder = std::wstring(temp) + L"pelmora-scan-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring ini = folder + L"\\Pelmora.ini", products = folder + L"\\Pelmora-products.csv";
    WritePrivateProfileStringW(L"Departments", L"1", L"Bench,standard", ini.c_str());
    const std::string code = WriteProducts(products);
    {
        TForm1 scanning(ini, services);
        ShowWindow(scanning.Handle(), SW_SHOW);
        scanning.ReadProductFile();
        scanning.Products().Wait();
        ui::PumpMessages();
        HWND scanEntry = scanning.RegisterPage().SaNumEdit1().Handle();
        SetFocus(scanEntry);
        for (int run = 0; run < runs; ++run) {
            keyedBeside.push_back(AtLine(
                scanning.Handle(), scanEntry, 99, [&] { Key(scanEntry, VK_NUMPAD5, L'5'); },
                [&] { Key(scanEntry, VK_RETURN, L'\r'); }));
            scanned.push_back(AtLine(
                scanning.Handle(), scanEntry, 99,
                [&] {
                    for (char digit : code) Key(scanEntry, digit, static_cast<wchar_t>(digit));
                },
                [&] { Key(scanEntry, VK_RETURN, L'\r'); }));
        }
        if (scanning.RegisterPage().Sale().SalesTotal() != runs * (99 + 5 + 99 + 150))
            std::printf("the scans did not ring\n");
    }
    for (const std::wstring& name : {ini, products}) DeleteFileW(name.c_str());
    RemoveDirectoryW(folder.c_str());

    // The ratio carries from one machine to another better than the times do.
    Print("one key command (line 100 of a sale, totals and repaint):", command, empty);
    Print("a line discount taking the grid's last row (値引):", discount, empty);
    Print("a keyed price at line 100, 100,000 products and a department:", keyedBeside, empty);
    Print("a scanned code at line 100 there (its Enter):", scanned, empty);
    std::printf("the same key messages to an empty window procedure: median %.3f ms\n", Median(empty) * 1e3);
    return 0;
}
