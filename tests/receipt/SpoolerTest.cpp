// Printing through a real print spooler: the tests' own (scripts/spooler),
// whose queues print into files. What they print is checked here from the
// PostScript's own comments, and kept for scripts/check-printed, which looks
// at the drawing itself.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

#include "platform/Files.h"
#include "receipt/Drawer.h"
#include "receipt/Printing.h"
#include "receipt/Receipt.h"
#include "tests/receipt/ReceiptText.h"
#include "tests/support/SettledSale.h"
#include "ui/Error.h"

using namespace receipt;
using receipt_test::Shop;
using regi::TaxClass;

namespace {

// The folder the spooler's queues print into, as Windows names it.
std::wstring Out() {
    const char* unix = std::getenv("PELMORA_SPOOLER");
    if (!unix || !*unix) return L"";
    std::wstring path = L"Z:";
    for (const char* c = unix; *c; ++c) path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    return path + L"\\";
}

// What the queue's device wrote for the job just sent, once it is all there
// (the spooler works on its own time), kept under the name kept.
std::string Printed(const std::wstring& device, const std::string& end, const std::wstring& kept) {
    std::string bytes;
    for (int i = 0; i < 1200; ++i) {  // at most a minute
        bytes = platform::ReadFileBytes(Out() + device).value_or("");
        if (!bytes.empty() && bytes.find(end, bytes.size() > 64 ? bytes.size() - 64 : 0) != std::string::npos) break;
        Sleep(50);
    }
    DeleteFileW((Out() + kept).c_str());
    MoveFileW((Out() + device).c_str(), (Out() + kept).c_str());
    return bytes;
}

// What the raw queue's device holds once it is expected (its last job), or after a minute.
std::string RawPrinted(const std::string& expected) {
    std::string bytes;
    for (int i = 0; i < 1200 && bytes != expected; ++i) {
        if (i > 0) Sleep(50);
        bytes = platform::ReadFileBytes(Out() + L"raw.bin").value_or("");
    }
    return bytes;
}

class Spooler : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(Out().empty()) << "the tests' spooler is not running: eval $(scripts/spooler start) first";
        DeleteFileW((Out() + L"receipt.ps").c_str());
        DeleteFileW((Out() + L"raw.bin").c_str());
    }

    // Prints lines on the spooler's receipt printer and gives its PostScript.
    std::string PrintOnReceiptPrinter(const std::vector<Line>& lines, int paper, const std::wstring& kept,
                                      const std::wstring& mark = L"") {
        Settings settings;
        settings.printer = L"PelmoraReceipt";
        settings.paperWidth = paper;
        Print(SystemPrinters(), lines, settings, kept, mark);
        return Printed(L"receipt.ps", "%%EOF", kept);
    }
};

regi::SaleRecord Sale(int lines) {
    std::vector<regi::LineRecord> items;
    for (int i = 0; i < lines; ++i) items.push_back({i % 2 ? TaxClass::Reduced : TaxClass::Standard, 14816, 1, 14816});
    return testing_support::SettledSale(items, 20'000 * lines, 7, L"2026-12-08T21:07:56");
}

TEST_F(Spooler, TheSettingsSayWhichRollThePrinterUses) {
    EXPECT_EQ(PaperNote(SystemPrinters(), L"PelmoraReceipt", 80), L"用紙: 80mm Roll");
    EXPECT_EQ(PaperNote(SystemPrinters(), L"PelmoraReceipt", 58), L"用紙: 58mm Roll");
}

TEST_F(Spooler, SlipsPrintOnTheRollOfTheirWidthNotOnA4) {
    struct Case {
        std::vector<Line> lines;
        int paper;
        const wchar_t* kept;
        const char* page;  // the page as the PostScript asks for it
        const char* pages;
    };
    const Case cases[] = {
        // Amounts alone, right-aligned: each digit must stand in its own cell (scripts/check-printed).
        {{Right(L"¥14,816"), Right(L"¥10,000"), Right(L"-¥9,999,999,999,999"), Right(L"¥1")},
         80,
         L"amounts-80.ps",
         "<</PageSize[226.8 841.9]",
         "%%Pages: 1"},
        {{Right(L"¥14,816"), Right(L"¥10,000"), Right(L"-¥9,999,999,999,999"), Right(L"¥1")},
         58,
         L"amounts-58.ps",
         "<</PageSize[164.4 841.9]",
         "%%Pages: 1"},
        {ReceiptLines(Sale(3), Shop(80), false), 80, L"receipt-80.ps", "<</PageSize[226.8 841.9]", "%%Pages: 1"},
        {FromText(L"点検\r\n2026/12/08 21:07\r\n売上\t¥44,448\r\n現金\t¥44,448\r\n現金予定額\t¥54,448"), 58,
         L"report-58.ps", "<</PageSize[164.4 841.9]", "%%Pages: 1"},
        // 100 lines of sale: more than one roll page, each marked.
        {ReceiptLines(Sale(100), Shop(80), false), 80, L"long-80.ps", "<</PageSize[226.8 841.9]", "%%Pages: 2"},
    };
    for (const Case& c : cases) {
        std::string ps = PrintOnReceiptPrinter(c.lines, c.paper, c.kept, L"No.7");
        EXPECT_NE(ps.find(c.page), std::string::npos) << c.page;
        EXPECT_NE(ps.find(c.pages), std::string::npos) << c.pages;
        EXPECT_NE(ps.find(c.paper == 80 ? "*PageSize Roll80" : "*PageSize Roll58"), std::string::npos);
    }
}

TEST_F(Spooler, AQueueThatRefusesTheJobIsNamed) {
    Settings settings = Shop(80);
    settings.printer = L"PelmoraBroken";
    std::wstring message;
    try {
        Print(SystemPrinters(), ReceiptLines(Sale(1), settings, false), settings, L"レシート");
    } catch (const ui::Error& e) {
        message = e.Message();
    }
    EXPECT_EQ(message.rfind(L"プリンター「PelmoraBroken」で印刷できません。\r\n", 0), 0u) << message.size();
}

TEST_F(Spooler, TheDrawerAndCutterCommandsReachTheRawQueueAsTheyAre) {
    using receipt::DrawerMode;
    Settings settings;
    settings.printer = L"PelmoraRaw";
    for (DrawerMode mode : {DrawerMode::EscPosPin2, DrawerMode::EscPosPin5, DrawerMode::Star}) {
        DeleteFileW((Out() + L"raw.bin").c_str());
        settings.drawer = mode;
        EXPECT_TRUE(OpenDrawer(SystemPrinters(), settings, false));
        EXPECT_EQ(RawPrinted(DrawerCommand(mode)), DrawerCommand(mode)) << static_cast<int>(mode);
    }
    settings.drawer = DrawerMode::Never;
    EXPECT_FALSE(OpenDrawer(SystemPrinters(), settings, false));
    // Where the driver opens it, a job of no pages goes through the driver.
    settings.drawer = DrawerMode::Driver;
    settings.printer = L"PelmoraReceipt";
    EXPECT_TRUE(OpenDrawer(SystemPrinters(), settings, false));
    settings.printer = L"PelmoraRaw";
    // The cut follows the slip as a job of its own: the queue's last.
    for (DrawerMode mode : {DrawerMode::EscPosPin2, DrawerMode::Star}) {
        settings.drawer = mode;
        settings.cut = true;
        Print(SystemPrinters(), FromText(L"合計\t¥14,816"), settings, L"レシート");
        EXPECT_EQ(RawPrinted(CutCommand(settings)), CutCommand(settings)) << static_cast<int>(mode);
    }
}

}  // namespace
