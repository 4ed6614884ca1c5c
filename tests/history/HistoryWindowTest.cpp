// The sales history on the running main window, driven by the keyboard: the
// window opens from the File menu on today's sales and their chart by hour,
// → steps through the hours in words, a sale of months ago is found by its
// number and its receipt reissued on the tests' own spooler, which the journal
// then counts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "common/Utf8.h"
#include "history/HistoryWindow.h"
#include "journal/Journal.h"
#include "platform/Files.h"
#include "receipt/Preview.h"
#include "tests/support/MainWindowTest.h"
#include "tests/support/SettledSale.h"
#include "tests/support/WindowTest.h"
#include "ui/Controls.h"

using namespace testing_support;
using history::THistoryWindow;

namespace {

// Steps run one after another inside a window's own message loop, each once
// the keys the one before posted have been handled; a step that returns false
// runs again later.
class Script {
public:
    void Start(HWND window, std::vector<std::function<bool(HWND)>> steps) {
        steps_ = std::move(steps);
        next_ = 0;
        Current() = this;
        SetTimer(window, 1, 0, Run);
    }
    bool Done() const { return next_ == steps_.size(); }

private:
    static Script*& Current() {
        static Script* script = nullptr;
        return script;
    }
    static void CALLBACK Run(HWND window, UINT, UINT_PTR id, DWORD) {
        KillTimer(window, id);
        Script& script = *Current();
        if (script.Done()) return;
        if (script.steps_[script.next_](window)) ++script.next_;
        if (!script.Done()) SetTimer(window, 1, 10, Run);
    }
    std::vector<std::function<bool(HWND)>> steps_;
    size_t next_ = 0;
};

std::wstring Text(HWND window, int id) { return ui::GetText(GetDlgItem(window, id)); }

std::vector<std::wstring> Rows(HWND window) {
    HWND list = GetDlgItem(window, THistoryWindow::SaleList);
    std::vector<std::wstring> rows;
    for (int i = 0; i < SendMessageW(list, LB_GETCOUNT, 0, 0); ++i) {
        wchar_t row[256] = L"";
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(row));
        rows.push_back(row);
    }
    return rows;
}

class HistoryWindowTest : public MainWindowTest {
protected:
    void SetUp() override {
        const char* spooler = std::getenv("PELMORA_SPOOLER");
        ASSERT_TRUE(spooler && *spooler) << "the tests' spooler is not running: eval $(scripts/spooler start) first";
        // A sale from months ago, one the day after, and three of today.
        struct Sold {
            common::DateTime at;
            std::int64_t price;
        };
        const Sold sales[] = {{{2026, 9, 1, 10, 0, 0}, 2200},
                              {{2026, 9, 2, 11, 0, 0}, 1100},
                              {{2026, 12, 9, 9, 15, 0}, 500},
                              {{2026, 12, 9, 9, 40, 0}, 700},
                              {{2026, 12, 9, 13, 5, 0}, 3300}};
        {
            common::DateTime at;
            journal::Journal journal(folder.Path(), [&at] { return at; });
            for (const Sold& sale : sales) {
                at = sale.at;
                journal.RecordSale(
                    testing_support::SettledSale({{regi::TaxClass::Standard, sale.price, 1, sale.price}}, sale.price));
            }
        }
        now = {2026, 12, 9, 18, 0, 0};
        WriteAnsiFile(Ini(),
                      L"[Config]\r\nTax=10\r\nReducedTax=8\r\n[Journal]\r\nEnabled=1\r\n"
                      L"[Receipt]\r\nPrinter=PelmoraReceipt\r\nWidth=80\r\n");
        printers = receipt::SystemPrinters();  // the spooler's queues alone
    }
    std::string JournalBytes() const {
        return platform::ReadFileBytes(folder.File(journal::kJournalName)).value_or("");
    }
};

TEST_F(HistoryWindowTest, TodayByHourThenASaleOfMonthsAgoFoundByNumberAndReissued) {
    Open();
    ASSERT_EQ(JournalBytes().find(",reissue,"), std::string::npos);
    std::vector<std::wstring> todayRows, hours, found, said;
    std::wstring detail, caption;
    int previews = 0;
    ActivationWatcher preview(L"TReceiptPreview", [&](HWND window) {
        ++previews;
        // The preview's own key for printing: Alt+P.
        PostMessageW(GetDlgItem(window, receipt::PrintButton), WM_SYSKEYDOWN, 'P', 1 << 29);
    });
    Script script;
    ActivationWatcher history(L"THistoryWindow", [&](HWND window) {
        if (!caption.empty()) return;  // again after the preview
        caption = ui::GetText(window);
        script.Start(window, {[&](HWND w) {
                                  todayRows = Rows(w);
                                  // The chart by the keyboard: focused, then → hour by hour, End to the last.
                                  SetFocus(GetDlgItem(w, THistoryWindow::Chart));
                                  hours.push_back(Text(w, THistoryWindow::ChartWords));
                                  for (int i = 0; i < 4; ++i) {
                                      SendKey(VK_RIGHT);
                                      hours.push_back(Text(w, THistoryWindow::ChartWords));
                                  }
                                  SendKey(VK_END);
                                  hours.push_back(Text(w, THistoryWindow::ChartWords));
                                  // The range emptied, a number typed, Enter.
                                  SetFocus(GetDlgItem(w, THistoryWindow::RangeEdit));
                                  SendMessageW(GetFocus(), EM_SETSEL, 0, -1);
                                  SendKey(VK_DELETE);
                                  SetFocus(GetDlgItem(w, THistoryWindow::NumberEdit));
                                  TypeKeys(L"1");
                                  PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 1);
                                  return true;
                              },
                              [&](HWND w) {
                                  found = Rows(w);
                                  detail = Text(w, THistoryWindow::DetailText);
                                  // 再発行 by its access key: the preview opens and prints.
                                  PostMessageW(GetFocus(), WM_SYSKEYDOWN, 'R', 1 << 29);
                                  return true;
                              },
                              [&](HWND w) {
                                  if (previews == 0 || GetActiveWindow() != w) return false;
                                  said.push_back(Text(w, THistoryWindow::StatusLabel));
                                  PostMessageW(w, WM_KEYDOWN, VK_ESCAPE, 1);
                                  return true;
                              }});
    });
    SendMessageW(form->Handle(), WM_COMMAND, form1::SalesHistory, 0);
    Pump();

    EXPECT_EQ(caption, THistoryWindow::kCaption);
    ASSERT_TRUE(script.Done()) << "the window closed before the script ended";
    EXPECT_EQ(todayRows,
              (std::vector<std::wstring>{L"No.3  2026-12-09 09:15  1点  ¥500", L"No.4  2026-12-09 09:40  1点  ¥700",
                                         L"No.5  2026-12-09 13:05  1点  ¥3,300"}));
    const std::vector<std::wstring> expectedHours = {L"12月9日 9時台: 売上 ¥1,200、客数 2人、客単価 ¥600",
                                                     L"12月9日 10時台: 売上なし",
                                                     L"12月9日 11時台: 売上なし",
                                                     L"12月9日 12時台: 売上なし",
                                                     L"12月9日 13時台: 売上 ¥3,300、客数 1人、客単価 ¥3,300",
                                                     L"12月9日 23時台: 売上なし"};
    EXPECT_EQ(hours, expectedHours);
    EXPECT_EQ(found, std::vector<std::wstring>{L"No.1  2026-09-01 10:00  1点  ¥2,200"});
    EXPECT_NE(detail.find(L"No.1"), std::wstring::npos) << common::ToUtf8(detail);
    EXPECT_EQ(previews, 1);
    EXPECT_EQ(said, std::vector<std::wstring>{L"No.1 のレシートを再発行しました｡"});
    const std::string journal = JournalBytes();
    EXPECT_NE(journal.find(",2026-12-09T18:00:00,reissue,1,"), std::string::npos) << "the journal counts the reissue";
    // The receipt reached the spooler's receipt queue: waited for (it works on
    // its own time) and taken away, so that no later test finds it there.
    std::wstring printed = L"Z:";
    for (const char* c = std::getenv("PELMORA_SPOOLER"); *c; ++c)
        printed += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    printed += L"\\receipt.ps";
    std::string bytes;
    for (int i = 0; i < 1200 && bytes.find("%%EOF") == std::string::npos; ++i) {  // at most a minute
        if (i > 0) Sleep(50);
        bytes = platform::ReadFileBytes(printed).value_or("");
    }
    EXPECT_NE(bytes.find("%%EOF"), std::string::npos) << "the reissued receipt did not print";
    DeleteFileW(printed.c_str());
}

}  // namespace
