// The return key on the running main window: a sale, its Z, a return of two of
// its lines the next day, the return's receipt and the X.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "common/Utf8.h"
#include "journal/ReportWindow.h"
#include "journal/ReturnWindow.h"
#include "receipt/Preview.h"
#include "sale/Return.h"
#include "tests/support/MainWindowTest.h"
#include "tests/support/WindowTest.h"
#include "ui/Controls.h"

using namespace testing_support;

namespace {

class ReturnDeskTest : public MainWindowTest {
protected:
    void Start(const wchar_t* journal, const std::wstring& more = L"") {
        WriteAnsiFile(Ini(), std::wstring(L"[Config]\r\nTax=10\r\nReducedTax=8\r\n[Journal]\r\nEnabled=") + journal +
                                 L"\r\nFloat=10000\r\n[Receipt]\r\nRegNo=T1234567890123\r\n" + more);
        Open();
        SetForegroundWindow(form->Handle());
        SetFocus(Entry());
        Pump();
    }
    HWND Entry() { return form->RegisterPage().SaNumEdit1().Handle(); }
    void Keypad(const std::wstring& digits) {
        for (wchar_t c : digits) SendKey(VK_NUMPAD0 + (c - L'0'), c);
    }
    void ReturnKey() { SendChord(VK_SHIFT, VK_F8); }
    void Command(int id) {
        SendMessageW(form->Handle(), WM_COMMAND, id, 0);
        Pump();
    }
};

// Closes each report window as it opens and keeps its text.
struct Reports {
    std::vector<std::wstring> texts;
    ActivationWatcher watcher{L"TReportWindow", [this](HWND window) {
                                  texts.push_back(ui::GetText(GetDlgItem(window, journal::TReportWindow::ReportText)));
                                  PostMessageW(window, WM_CLOSE, 0, 0);
                              }};
};

// Keys for a return window as it opens (against a sale, or without a
// receipt): each a character or a key, posted to its entry as the keyboard's
// would be; then what its list showed.
struct ReturnKeys {
    explicit ReturnKeys(std::vector<std::pair<UINT, wchar_t>> posted, bool withoutReceipt = false)
        : keys(std::move(posted)),
          watcher(withoutReceipt ? L"TReturnEntryWindow" : L"TReturnWindow", [this, withoutReceipt](HWND window) {
              ++opened;
              HWND edit = GetDlgItem(window, withoutReceipt ? int{journal::TReturnEntryWindow::PriceEdit}
                                                            : int{journal::TReturnWindow::LineEdit});
              HWND rows = GetDlgItem(window, withoutReceipt ? int{journal::TReturnEntryWindow::LineList}
                                                            : int{journal::TReturnWindow::LineList});
              for (int i = 0; i < SendMessageW(rows, LB_GETCOUNT, 0, 0); ++i) {
                  wchar_t row[256] = L"";
                  SendMessageW(rows, LB_GETTEXT, i, reinterpret_cast<LPARAM>(row));
                  list += row + std::wstring(L"\n");
              }
              for (auto [key, c] : keys) PostMessageW(edit, c ? WM_CHAR : WM_KEYDOWN, c ? c : key, 1);
          }) {}
    std::vector<std::pair<UINT, wchar_t>> keys;
    std::wstring list;
    int opened = 0;
    ActivationWatcher watcher;
};

// Characters posted one by one, for ReturnKeys.
std::vector<std::pair<UINT, wchar_t>> Typed(const std::wstring& text) {
    std::vector<std::pair<UINT, wchar_t>> keys;
    for (wchar_t c : text) keys.push_back({0, c});
    return keys;
}

struct PreviewText {
    int opened = 0;
    ActivationWatcher watcher{L"TReceiptPreview", [this](HWND window) {
                                  ++opened;
                                  PostMessageW(window, WM_COMMAND, receipt::CopyButton, 0);
                                  PostMessageW(window, WM_CLOSE, 0, 0);
                              }};
};

TEST_F(ReturnDeskTest, ASaleClosedYesterdayGoesBackInPartAgainstItsNumber) {
    ErrorRecorder errors;
    Start(L"1");
    // 2026-12-08: ¥9,000, 2 × ¥1,080 reduced, ¥500 exempt, ¥12,000 in cash; then the Z.
    now = {2026, 12, 8, 18, 0, 0};
    Keypad(L"9000");
    SendKey(VK_RETURN, L'\r');
    Keypad(L"1080");
    SendKey(VK_F2);
    Keypad(L"2");
    SendKey(VK_MULTIPLY, L'*');
    Keypad(L"500");
    SendKey(VK_ADD, L'+');
    Keypad(L"12000");
    SendKey(VK_DIVIDE, L'/');
    SendKey(VK_DECIMAL, L'.');
    Reports reports;
    {
        MessageBoxAnswerer yes(MessageBoxAnswerer::Answer::Yes);
        Command(form1::TakeZ);
    }
    ASSERT_EQ(reports.texts.size(), 1u);

    // The next day: No.1, the return key; line 3 left out, Enter records.
    now = {2026, 12, 9, 10, 0, 0};
    {
        ReturnKeys picking({{0, L'3'}, {VK_RETURN, 0}, {VK_RETURN, 0}});
        Keypad(L"1");
        ReturnKey();
        Pump();
        ASSERT_EQ(picking.opened, 1);
        EXPECT_NE(picking.list.find(L"○ 返品 1"), std::wstring::npos);
    }
    EXPECT_TRUE(errors.Messages().empty()) << testing::PrintToString(errors.Messages());
    EXPECT_EQ(ui::GetText(Entry()), L"") << "the number was used";

    PreviewText preview;
    SendKey(VK_F5);
    Pump();
    ASSERT_EQ(preview.opened, 1);
    const std::wstring receipt = ClipboardText();
    for (const wchar_t* field : {L"返品", L"返還インボイス", L"登録番号 T1234567890123", L"返品日 2026年12月09日(水) 10:00",
                                 L"売上日 2026年12月08日(火) 18:00", L"No.1", L"※商品", L"10%対象 ¥9,000 内消費税 ¥818",
                                 L"8%対象 ¥2,160 内消費税 ¥160", L"現金で返金", L"¥11,160"})
        EXPECT_NE(receipt.find(field), std::wstring::npos) << testing::PrintToString(std::wstring(field));
    EXPECT_EQ(receipt.find(L"非課税商品"), std::wstring::npos) << "line 3 stayed sold";

    Command(form1::TakeX);
    ASSERT_EQ(reports.texts.size(), 2u);
    for (const wchar_t* line : {L"返品\t1件\t¥11,160", L"純売上 10%対象\t-¥9,000", L"純消費税合計\t-¥978",
                                L"現金予定額\t-¥1,160"})
        EXPECT_NE(reports.texts[1].find(line), std::wstring::npos) << testing::PrintToString(std::wstring(line));

    // The same lines cannot go back again; line 3 can.
    ReturnKeys again({{0, L'1'}, {VK_RETURN, 0}, {VK_ESCAPE, 0}});
    Keypad(L"1");
    ReturnKey();
    Pump();
    ASSERT_EQ(again.opened, 1);
    EXPECT_NE(again.list.find(L"返品済 1"), std::wstring::npos);
    EXPECT_NE(again.list.find(L"○ 返品 3"), std::wstring::npos);
    ASSERT_EQ(errors.Messages().size(), 1u) << testing::PrintToString(errors.Messages());
    EXPECT_EQ(errors.Messages()[0], L"1 行目は返品済みです｡");
}

TEST_F(ReturnDeskTest, WithTheJournalOffTheKeySaysSoAndOffersTheReturnWithoutAReceipt) {
    Start(L"0");
    MessageBoxAnswerer no(MessageBoxAnswerer::Answer::No);
    Keypad(L"7");
    ReturnKey();
    Pump();
    ASSERT_EQ(no.Boxes().size(), 1u);
    EXPECT_EQ(no.Boxes()[0].text, regi::kJournalOffReturn);
}

// Without a receipt, Enter rings a scanned code as its product, in its
// department and by its name; a wrong check digit is told and rings nothing.
TEST_F(ReturnDeskTest, WithoutAReceiptAScannedCodeGoesBackAsItsProduct) {
    ErrorRecorder errors;
    WriteBytes(folder.File(L"Pelmora-products.csv"), common::ToUtf8(L"code,name,price,department\r\n"
                                                                     L"4912345678904,緑茶,150,1\r\n"));
    Start(L"0", L"[Departments]\r\n1=飲料,reduced\r\n");
    form->ReadProductFile();
    form->Products().Wait();
    Pump();
    std::vector<std::pair<UINT, wchar_t>> keys = Typed(L"4912345678905");
    keys.push_back({VK_RETURN, 0});
    keys.push_back({0, L'\b'});
    keys.push_back({0, L'4'});
    keys.push_back({VK_RETURN, 0});
    for (auto key : Typed(L"300")) keys.push_back(key);
    keys.push_back({VK_ADD, 0});
    keys.push_back({VK_RETURN, 0});
    {
        ReturnKeys entered(keys, true);
        ReturnKey();
        Pump();
        ASSERT_EQ(entered.opened, 1);
    }
    ASSERT_EQ(errors.Messages().size(), 1u) << testing::PrintToString(errors.Messages());
    EXPECT_NE(errors.Messages()[0].find(L"コード 4912345678905 はチェックデジットが違います"), std::wstring::npos);

    PreviewText preview;
    SendKey(VK_F5);
    Pump();
    ASSERT_EQ(preview.opened, 1);
    const std::wstring receipt = ClipboardText();
    for (const wchar_t* field : {L"※緑茶", L"非課税商品", L"8%対象 ¥150 内消費税 ¥11", L"¥450"})
        EXPECT_NE(receipt.find(field), std::wstring::npos) << testing::PrintToString(std::wstring(field));
}

}  // namespace
