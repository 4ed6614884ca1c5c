// Prints what one key command costs on the real main window: the hundredth
// line of a sale (99 lines already in the grid) and a discount taking the
// grid's last row, totals and repaint included, beside the same three key messages sent to an empty window procedure.
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
    std::vector<double> command, discount, empty;
    for (int run = 0; run < runs; ++run) {
        // 99 lines, not timed.
        for (int i = 0; i < 99; ++i) {
            Key(entry, VK_NUMPAD1, L'1');
            Key(entry, VK_RETURN, L'\r');
        }
        UpdateWindow(form.Handle());
        Key(entry, VK_NUMPAD5, L'5');
        double start = Now();
        Key(entry, VK_RETURN, L'\r');
        RedrawWindow(form.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        command.push_back(Now() - start);
        // Settle and clear for the next run.
        SendMessageW(entry, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"999999"));
        Key(entry, VK_DIVIDE, L'/');
        Key(entry, VK_DECIMAL, L'.');
        ui::PumpMessages();
        // A second sale: ¥1 off its 99th line, the discount taking the grid's last row.
        for (int i = 0; i < 98; ++i) {
            Key(entry, VK_NUMPAD1, L'1');
            Key(entry, VK_RETURN, L'\r');
        }
        Key(entry, VK_NUMPAD5, L'5');
        Key(entry, VK_RETURN, L'\r');
        Key(entry, VK_NUMPAD1, L'1');
        UpdateWindow(form.Handle());
        start = Now();
        ShiftKey(entry, VK_SUBTRACT, L'-');
        RedrawWindow(form.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        discount.push_back(Now() - start);
        SendMessageW(entry, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"999999"));
        Key(entry, VK_DIVIDE, L'/');
        Key(entry, VK_DECIMAL, L'.');
        ui::PumpMessages();
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

    // A scanned line at line 100, with a product file of 100,000 products:
    // the scanner's Enter to the line repainted, as the keyed line above.
    std::vector<double> scanned;
    {
        const std::wstring folder = std::wstring(temp) + L"pelmora-scan-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(folder.c_str(), nullptr);
        const std::wstring ini = folder + L"\\Pelmora.ini", products = folder + L"\\Pelmora-products.csv";
        WritePrivateProfileStringW(L"Departments", L"1", L"Bench,standard", ini.c_str());
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
        HANDLE out = CreateFileW(products.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(out, file.data(), static_cast<DWORD>(file.size()), &written, nullptr);
        CloseHandle(out);
        {
            TForm1 scanning(ini, services);
            ShowWindow(scanning.Handle(), SW_SHOW);
            scanning.ReadProductFile();
            scanning.Products().Wait();
            ui::PumpMessages();
            HWND scanEntry = scanning.RegisterPage().SaNumEdit1().Handle();
            SetFocus(scanEntry);
            for (int run = 0; run < runs; ++run) {
                for (int i = 0; i < 99; ++i) {
                    Key(scanEntry, VK_NUMPAD1, L'1');
                    Key(scanEntry, VK_RETURN, L'\r');
                }
                UpdateWindow(scanning.Handle());
                for (char digit : last) Key(scanEntry, digit, static_cast<wchar_t>(digit));
                UpdateWindow(scanning.Handle());
                double start = Now();
                Key(scanEntry, VK_RETURN, L'\r');
                RedrawWindow(scanning.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
                scanned.push_back(Now() - start);
                SendMessageW(scanEntry, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"999999"));
                Key(scanEntry, VK_DIVIDE, L'/');
                Key(scanEntry, VK_DECIMAL, L'.');
                ui::PumpMessages();
            }
            if (scanning.RegisterPage().Sale().SalesTotal() != runs * (99 + 150))
                std::printf("the scans did not ring\n");
        }
        for (const std::wstring& name : {ini, products}) DeleteFileW(name.c_str());
        RemoveDirectoryW(folder.c_str());
    }

    std::printf("one key command (line 100 of a sale, totals and repaint): median %.3f ms, best %.3f ms\n",
                Median(command) * 1e3, *std::min_element(command.begin(), command.end()) * 1e3);
    std::printf("a line discount taking the grid's last row (値引):            median %.3f ms, best %.3f ms\n",
                Median(discount) * 1e3, *std::min_element(discount.begin(), discount.end()) * 1e3);
    std::printf("a scanned code at line 100 (100,000 products, its Enter):            median %.3f ms, best %.3f ms\n",
                Median(scanned) * 1e3, *std::min_element(scanned.begin(), scanned.end()) * 1e3);
    std::printf("the same key messages to an empty window procedure:      median %.3f ms, best %.3f ms\n",
                Median(empty) * 1e3, *std::min_element(empty.begin(), empty.end()) * 1e3);
    // The ratio carries from one machine to another better than the times do.
    std::printf("ratio of the medians, key command / empty window procedure:  %.1f\n", Median(command) / Median(empty));
    std::printf("ratio of the medians, line discount / empty window procedure: %.1f\n",
                Median(discount) / Median(empty));
    return 0;
}
