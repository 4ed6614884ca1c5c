// The product file on the running register: scans with Enter and without a
// suffix, an in-store code, an unknown code and a wrong check digit, the
// product key, then the receipt and the X by product.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "common/Utf8.h"
#include "journal/ReportWindow.h"
#include "platform/Files.h"
#include "receipt/Receipt.h"
#include "tests/support/MainWindowTest.h"
#include "ui/Controls.h"

using namespace testing_support;

namespace {

class ProductsTest : public MainWindowTest {
protected:
    // A scanner's burst: every key's messages straight after the last, no
    // message handled between them, as a keyboard-wedge scanner types.
    void Scan(const std::wstring& digits, UINT suffix = 0) {
        HWND entry = GetFocus();
        for (wchar_t digit : digits) {
            SendMessageW(entry, WM_KEYDOWN, digit, 1);
            SendMessageW(entry, WM_CHAR, digit, 1);
            SendMessageW(entry, WM_KEYUP, digit, static_cast<LPARAM>(0xC0000001));
        }
        if (suffix) {
            SendMessageW(entry, WM_KEYDOWN, suffix, 1);
            SendMessageW(entry, WM_CHAR, suffix == VK_RETURN ? L'\r' : L'\t', 1);
            SendMessageW(entry, WM_KEYUP, suffix, static_cast<LPARAM>(0xC0000001));
        }
        Pump();
    }
    std::wstring Entry() { return form->RegisterPage().SaNumEdit1().Text(); }
    const regi::SaleLine& LastLine() { return form->RegisterPage().Sale().KeyedLines().back(); }
};

TEST_F(ProductsTest, ScansRingProductsAndTheXListsThemByProduct) {
    WriteAnsiFile(Ini(), L"[Journal]\r\nEnabled=1\r\n[Departments]\r\n1=飲料,standard\r\n2=食品,reduced\r\n"
                         L"3=鮮魚,reduced\r\n");
    WriteBytes(folder.File(L"Pelmora-products.csv"),
               common::ToUtf8(L"\uFEFFコード,名前,単価,部門\r\n4912345678904,緑茶,150,1\r\n49722536,のり,300,2\r\n"
                              L"02100,まぐろ,0,3\r\n"));
    ErrorRecorder errors;
    TForm1& f = Open();
    f.ReadProductFile();
    f.Products().Wait();
    Pump();
    ASSERT_NE(f.Products().Products(), nullptr);
    ASSERT_EQ(f.Products().Products()->Size(), 3u);
    const regi::TSale& sale = f.RegisterPage().Sale();

    // A JAN-13 with Enter: the product in its department, with its name in the status bar.
    Scan(L"4912345678904", VK_RETURN);
    ASSERT_EQ(sale.LineCount(), 1);
    EXPECT_EQ(LastLine().record.name, L"緑茶");
    EXPECT_EQ(LastLine().record.department, 1);
    EXPECT_EQ(LastLine().record.unitPrice, 150);
    EXPECT_EQ(Entry(), L"");
    wchar_t status[64] = L"";
    SendMessageW(f.Control(form1::StatusBar1), SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(status));
    EXPECT_STREQ(status, L"1行目 緑茶 (飲料)");

    // A JAN-8 with no suffix rings once the scanner has stopped.
    Scan(L"49722536");
    SendMessageW(GetParent(f.RegisterPage().SaNumEdit1().Handle()), WM_TIMER, regi::RegisterPage::kScanTimerId, 0);
    Pump();
    ASSERT_EQ(sale.LineCount(), 2);
    EXPECT_EQ(LastLine().record.name, L"のり");
    EXPECT_EQ(LastLine().record.taxClass, regi::TaxClass::Reduced);

    // An in-store code: its leading zero kept, its price in the code, its item from the file.
    Scan(L"0202100001509", VK_RETURN);
    ASSERT_EQ(sale.LineCount(), 3);
    EXPECT_EQ(LastLine().record.name, L"まぐろ");
    EXPECT_EQ(LastLine().record.unitPrice, 150);
    EXPECT_EQ(LastLine().record.product, "02100");

    // An unknown code and a wrong check digit are told in words; nothing rings, the code stays.
    Scan(L"4901085089385", VK_RETURN);
    ASSERT_FALSE(errors.Messages().empty());
    EXPECT_EQ(errors.Messages().back(), L"登録されていない商品です｡\r\nコード: 4901085089385");
    EXPECT_EQ(Entry(), L"4901085089385");
    SendKey(VK_F4);
    Scan(L"4912345678905", VK_TAB);
    EXPECT_EQ(errors.Messages().back().rfind(L"コード 4912345678905 はチェックデジットが違います", 0), 0u);
    EXPECT_EQ(sale.LineCount(), 3);
    SendKey(VK_F4);

    // The product key takes a code typed by hand.
    TypeKeys(L"49722536");
    SendChord(VK_CONTROL, VK_RETURN, L'\n');
    ASSERT_EQ(sale.LineCount(), 4);
    EXPECT_EQ(LastLine().record.name, L"のり");
    TypeKeys(L"2");
    SendKey(VK_MULTIPLY, L'*');
    EXPECT_EQ(LastLine().record.subtotal, 600);

    TypeKeys(L"2000");
    SendKey(VK_DIVIDE, L'/');
    ASSERT_EQ(sale.State(), regi::SaleState::Settled);
    std::wstring receiptText;
    for (const receipt::Line& line : receipt::ReceiptLines(sale.LastSettled(), receipt::Settings{}, false))
        receiptText += line.text + line.amount + L"\n";
    EXPECT_NE(receiptText.find(L"緑茶¥150"), std::wstring::npos) << common::ToUtf8(receiptText);
    EXPECT_NE(receiptText.find(L"※まぐろ¥150"), std::wstring::npos) << common::ToUtf8(receiptText);
    EXPECT_NE(receiptText.find(L"※のり\n"), std::wstring::npos) << common::ToUtf8(receiptText);

    std::wstring report;
    ActivationWatcher watcher(L"TReportWindow", [&](HWND window) {
        report = ui::GetText(GetDlgItem(window, journal::TReportWindow::ReportText));
        PostMessageW(window, WM_CLOSE, 0, 0);
    });
    SendMessageW(f.Handle(), WM_COMMAND, form1::TakeX, 0);
    Pump();
    // Best sellers first; the same amount and quantity by code.
    EXPECT_NE(report.find(L"商品別\t数量\t金額\r\n49722536 のり\t3点\t¥900\r\n02100 まぐろ\t1点\t¥150\r\n"
                          L"4912345678904 緑茶\t1点\t¥150"),
              std::wstring::npos)
        << common::ToUtf8(report);
    std::optional<std::string> journal = platform::ReadFileBytes(folder.File(L"Pelmora-journal.csv"));
    ASSERT_TRUE(journal);
    EXPECT_NE(journal->find(",,1,4912345678904,"), std::string::npos) << "the code, then the chain's value";
}

}  // namespace
