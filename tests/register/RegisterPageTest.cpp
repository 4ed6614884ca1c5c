// The register page on the real main window, driven by keys as the keypad
// sends them: WM_KEYDOWN, WM_CHAR, WM_KEYUP to the focused window.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Form1.h"
#include "app/Form1Ids.h"
#include "help/Help.h"
#include "help/HelpWindow.h"
#include "common/Utf8.h"
#include "journal/BooksWindow.h"
#include "journal/MoneyWindow.h"
#include "journal/ReportWindow.h"
#include "receipt/Preview.h"
#include "receipt/Drawer.h"
#include "receipt/Printing.h"
#include "receipt/Receipts.h"
#include "register/SaleView.h"
#include "settings/SettingsPage.h"
#include "settings/ShopSettings.h"
#include "settings/ShopSettingsIds.h"
#include "tests/support/MainWindowTest.h"
#include "tests/support/NoPrinters.h"
#include "tests/support/WindowTest.h"
#include "ui/App.h"
#include "ui/Controls.h"
#include "platform/Files.h"
#include "platform/SystemError.h"
#include "ui/Gdi.h"

using namespace testing_support;

namespace {

const std::wstring kYen = L"\u00A5";
const COLORREF kYellow = RGB(237, 244, 102);

class RegisterPageTest : public MainWindowTest {
protected:
    void SetUp() override {
        OpenInFront();
        SetRate(L"5");  // round figures for the one-rate cases; the two-rate ones set their own
    }
    void TearDown() override {
        help::ShowHelp(nullptr, L"x", HELP_QUIT, 0);
        MainWindowTest::TearDown();
    }
    void OpenInFront() {
        Open();
        SetForegroundWindow(form->Handle());
        Pump();
    }

    regi::RegisterPage& Page() { return form->RegisterPage(); }
    ui::StringGrid& Grid() { return Page().StringGrid1(); }
    HWND Entry() { return Page().SaNumEdit1().Handle(); }
    std::wstring EntryText() {
        wchar_t text[64] = L"";
        SendMessageW(Entry(), WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text));
        return text;
    }
    std::wstring Caption(int id) { return ui::GetText(form->Control(id)); }
    std::wstring Cell(int col, int row) { return Grid().Cell(col, row); }
    void SetRate(const wchar_t* text) { SetWindowTextW(form->Control(form1::Edit2), text); }
    void SetReducedRate(const wchar_t* text) { SetWindowTextW(form->Control(form1::Edit3), text); }

    void Press(UINT key, wchar_t ch = 0) { SendKey(key, ch); }
    // A number too wide to type into the field (it refuses digits it cannot
    // show), put in as a paste would.
    void Put(const wchar_t* text) { SendMessageW(Entry(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)); }
    // Digits and the minus sign on the keypad.
    void Type(const std::wstring& number) {
        for (wchar_t c : number) {
            if (c == L'-')
                Press(VK_SUBTRACT, L'-');
            else
                Press(VK_NUMPAD0 + (c - L'0'), c);
        }
    }
    void Enter() { Press(VK_RETURN, L'\r'); }
    void Plus() { Press(VK_ADD, L'+'); }
    void Times() { Press(VK_MULTIPLY, L'*'); }
    void Divide() { Press(VK_DIVIDE, L'/'); }
    void Decimal() { Press(VK_DECIMAL, L'.'); }
    void F4() { Press(VK_F4); }
    void F2() { Press(VK_F2); }
    void F3() { Press(VK_F3); }
    void F8() { Press(VK_F8); }
    void F5() { Press(VK_F5); }
    // What a tool tip of this thread shows over the label id.
    std::wstring TipText(int id) {
        std::vector<HWND> tips;
        EnumThreadWindows(GetCurrentThreadId(), CollectToolTips, reinterpret_cast<LPARAM>(&tips));
        for (HWND tip : tips) {
            wchar_t text[256] = L"";
            TTTOOLINFOW tool{};
            tool.cbSize = sizeof tool;
            tool.hwnd = form->Control(form1::TabSheet1);
            tool.uId = reinterpret_cast<UINT_PTR>(form->Control(id));
            tool.lpszText = text;
            SendMessageW(tip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
            if (text[0]) return text;
        }
        return L"";
    }
    static BOOL CALLBACK CollectToolTips(HWND window, LPARAM found) {
        wchar_t name[32] = L"";
        GetClassNameW(window, name, 32);
        if (lstrcmpiW(name, TOOLTIPS_CLASSW) == 0) reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
        return TRUE;
    }

    void ExpectLine(int row, std::vector<std::wstring> cells) {
        for (int c = 0; c < regi::kCols; ++c)
            EXPECT_EQ(Cell(c, row), cells[static_cast<size_t>(c)]) << "row " << row << " col " << c;
    }

    COLORREF GridPixel(int x, int y) {
        RECT client;
        GetClientRect(Grid().Handle(), &client);
        ui::WindowDC screen(Grid().Handle());
        ui::MemoryDC memory(screen);
        ui::Bitmap bitmap(CreateCompatibleBitmap(screen, client.right, client.bottom));
        ui::SelectGuard select(memory, bitmap.get());
        SendMessageW(Grid().Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(static_cast<HDC>(memory)), PRF_CLIENT);
        return GetPixel(memory, x, y);
    }
};

}  // namespace

TEST_F(RegisterPageTest, StartsEmptyWithTheEntryFieldArmed) {
    EXPECT_EQ(GetFocus(), Entry());
    EXPECT_EQ(EntryText(), L"");
    EXPECT_EQ(Caption(form1::Label14), regi::kPricePrompt);
    EXPECT_EQ(Caption(form1::Label15), std::wstring(10, L'\u3000'));
    EXPECT_EQ(Caption(form1::Label19), std::wstring(10, L'\u3000'));
    EXPECT_EQ(Caption(form1::Label9), L"売  上");
    for (int id : {form1::Label1, form1::Label2, form1::Label3, form1::Label4, form1::Label5, form1::Label6,
                   form1::Label7, form1::Label8})
        EXPECT_EQ(Caption(id), L"") << id;
    EXPECT_EQ(Grid().RowCount(), 100);
    EXPECT_EQ(Grid().ColCount(), 6);
    EXPECT_EQ(Grid().Row(), 0);
    EXPECT_EQ(Grid().Col(), 0);
    const int widths[] = {40, 200, 66, 200, 40, 40};
    for (int c = 0; c < 6; ++c) EXPECT_EQ(Grid().ColWidth(c), widths[c]) << c;
}

TEST_F(RegisterPageTest, WidgetsStandWhereTheyBelong) {
    struct Case {
        int id;
        RECT bounds;
    };
    const Case cases[] = {
        {form1::StringGrid1, {2, 32, 573, 240}}, {form1::SaNumEdit1, {364, 324, 574, 364}},
        {form1::Label1, {364, 246, 569, 275}},   {form1::Label2, {364, 280, 569, 320}},
        {form1::Label3, {364, 370, 569, 410}},   {form1::Label4, {364, 416, 569, 445}},
        {form1::Label5, {273, 246, 353, 275}},   {form1::Label9, {273, 416, 353, 445}},
        {form1::Bevel1, {4, 248, 265, 441}},
    };
    for (const Case& c : cases) {
        HWND control = form->Control(c.id);
        ASSERT_NE(control, nullptr) << c.id;
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, c.bounds.left) << c.id;
        EXPECT_EQ(r.top, c.bounds.top) << c.id;
        EXPECT_EQ(r.right, c.bounds.right) << c.id;
        EXPECT_EQ(r.bottom, c.bounds.bottom) << c.id;
        EXPECT_EQ(GetParent(control), form->Control(form1::TabSheet1)) << c.id;
    }
    // The amounts and their captions have their own background colours.
    HWND label = form->Control(form1::Label2);
    ui::WindowDC dc(label);
    SendMessageW(GetParent(label), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(static_cast<HDC>(dc)),
                 reinterpret_cast<LPARAM>(label));
    EXPECT_EQ(GetBkColor(dc), kYellow);
    HWND caption = form->Control(form1::Label6);
    ui::WindowDC dc2(caption);
    SendMessageW(GetParent(caption), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(static_cast<HDC>(dc2)),
                 reinterpret_cast<LPARAM>(caption));
    EXPECT_EQ(GetBkColor(dc2), RGB(158, 248, 248));
    EXPECT_EQ(Page().SaNumEdit1().Color(), 16566268u) << "RGB(252, 199, 252)";
}

TEST_F(RegisterPageTest, TheRoadOfOneSale) {
    Type(L"1200");
    EXPECT_EQ(EntryText(), L"1200");
    EXPECT_EQ(beeps, 0);
    Enter();
    EXPECT_EQ(beeps, 1) << "the entry field refuses the Enter character";
    ExpectLine(0, {L"1", L"1200", L"1", L"1200", L"", L"1"});
    ExpectLine(1, {L"", L"", L"", L"", L"", L""});
    EXPECT_EQ(Grid().Row(), 1);
    EXPECT_EQ(EntryText(), L"");
    EXPECT_EQ(Caption(form1::Label1), kYen + L"57");
    EXPECT_EQ(Caption(form1::Label2), kYen + L"1,200");
    EXPECT_EQ(Caption(form1::Label3), L"");
    EXPECT_EQ(Caption(form1::Label5), L"消費税");
    EXPECT_EQ(Caption(form1::Label6), L"合  計");
    EXPECT_EQ(Caption(form1::Label14), regi::kPricePrompt);
    EXPECT_EQ(Caption(form1::Label15), regi::kTenderPrompt);
    EXPECT_EQ(Caption(form1::Label19), regi::kQuantityPrompt);
    EXPECT_EQ(GetFocus(), Entry());

    Type(L"300");
    Plus();
    ExpectLine(1, {L"2", L"300", L"1", L"300", L"非", L"0"});
    EXPECT_EQ(Grid().Row(), 2);
    EXPECT_EQ(Caption(form1::Label1), kYen + L"57");
    EXPECT_EQ(Caption(form1::Label2), kYen + L"1,500");

    Type(L"3");
    Times();
    ExpectLine(1, {L"2", L"300", L"3", L"900", L"非", L"0"});
    ExpectLine(0, {L"1", L"1200", L"1", L"1200", L"", L"1"});
    EXPECT_EQ(Grid().Row(), 2);
    EXPECT_EQ(EntryText(), L"");
    EXPECT_EQ(Caption(form1::Label1), kYen + L"57");
    EXPECT_EQ(Caption(form1::Label2), kYen + L"2,100");
    EXPECT_EQ(Caption(form1::Label15), regi::kTenderPrompt);

    Type(L"5000");
    Divide();
    EXPECT_EQ(EntryText(), L"5000") << "the amount tendered stays in the entry field";
    EXPECT_EQ(Caption(form1::Label3), kYen + L"2,900");
    EXPECT_EQ(Caption(form1::Label4), kYen + L"2,100");
    EXPECT_EQ(Caption(form1::Label7), L"預\u3000り");
    EXPECT_EQ(Caption(form1::Label8), L"釣\u3000銭");
    EXPECT_EQ(Caption(form1::Label14), regi::kClearPrompt);
    EXPECT_EQ(Caption(form1::Label15), L"");
    EXPECT_EQ(Caption(form1::Label19), L"");
    EXPECT_EQ(Page().Sale().SalesTotal(), 2100);

    Decimal();
    for (int r = 0; r < 3; ++r) ExpectLine(r, {L"", L"", L"", L"", L"", L""});
    for (int id : {form1::Label1, form1::Label2, form1::Label3, form1::Label5, form1::Label6, form1::Label7,
                   form1::Label8, form1::Label15, form1::Label19})
        EXPECT_EQ(Caption(id), L"") << id;
    EXPECT_EQ(Caption(form1::Label4), kYen + L"2,100");
    EXPECT_EQ(Caption(form1::Label9), L"売  上");
    EXPECT_EQ(Caption(form1::Label14), regi::kPricePrompt);
    EXPECT_EQ(EntryText(), L"");
    EXPECT_EQ(Grid().Row(), 0);
    EXPECT_EQ(GetFocus(), Entry());
    EXPECT_EQ(beeps, 5) << "one refused character per command key";

    // The next customer: the sales total grows.
    Type(L"800");
    Enter();
    Type(L"800");
    Divide();
    EXPECT_EQ(Caption(form1::Label3), kYen + L"0");
    EXPECT_EQ(Caption(form1::Label4), kYen + L"2,900");
}

TEST_F(RegisterPageTest, CommandsByState) {
    // Empty: *, / and the decimal key do nothing and keep the entry.
    Type(L"50");
    Times();
    Divide();
    Decimal();
    EXPECT_EQ(EntryText(), L"50");
    EXPECT_EQ(Cell(0, 0), L"");
    EXPECT_EQ(Caption(form1::Label2), L"");
    // Open: the decimal key does nothing; / below the total does nothing.
    Enter();
    Type(L"49");
    Decimal();
    Divide();
    EXPECT_EQ(EntryText(), L"49");
    EXPECT_EQ(Caption(form1::Label3), L"");
    // Settled: lines, quantities and a second settlement do nothing.
    F4();
    Type(L"50");
    Divide();
    EXPECT_EQ(Caption(form1::Label3), kYen + L"0");
    F4();
    const std::pair<UINT, wchar_t> commands[] = {
        {VK_RETURN, L'\r'}, {VK_ADD, L'+'}, {VK_MULTIPLY, L'*'}, {VK_DIVIDE, L'/'}};
    for (auto [key, ch] : commands) {
        Type(L"7");
        Press(key, ch);
        EXPECT_EQ(EntryText(), L"7");
        F4();
    }
    EXPECT_EQ(Cell(0, 1), L"");
    EXPECT_EQ(Cell(2, 0), L"1");
    EXPECT_EQ(Caption(form1::Label3), kYen + L"0");
    EXPECT_EQ(Caption(form1::Label4), kYen + L"50");
}

TEST_F(RegisterPageTest, F4EmptiesTheEntryInEveryState) {
    Type(L"123");
    F4();
    EXPECT_EQ(EntryText(), L"");
    Type(L"100");
    Enter();
    Type(L"99");
    F4();
    EXPECT_EQ(EntryText(), L"");
    EXPECT_EQ(Cell(0, 1), L"");
    Type(L"150");
    Divide();
    F4();
    EXPECT_EQ(EntryText(), L"");
    EXPECT_EQ(Caption(form1::Label3), kYen + L"50") << "the change stays";
    EXPECT_EQ(Caption(form1::Label14), regi::kClearPrompt);
}

TEST_F(RegisterPageTest, LimitsAtAndJustAboveTheirValues) {
    {
        // Eight digits are beyond every price: a code, whose check digit is wrong here.
        ErrorRecorder errors;
        Type(L"10000000");
        Enter();
        EXPECT_EQ(EntryText(), L"10000000");
        EXPECT_EQ(Cell(0, 0), L"");
        ASSERT_EQ(errors.Messages().size(), 1u);
        EXPECT_EQ(errors.Messages()[0].rfind(L"コード 10000000 はチェックデジットが違います", 0), 0u);
    }
    F4();
    Type(L"9999999");
    Enter();
    EXPECT_EQ(Cell(1, 0), L"9999999");
    Type(L"1000");
    Times();
    EXPECT_EQ(EntryText(), L"1000");
    EXPECT_EQ(Cell(2, 0), L"1");
    F4();
    Type(L"999");
    Times();
    EXPECT_EQ(Cell(3, 0), L"9989999001");
    EXPECT_EQ(Caption(form1::Label2), kYen + L"9,989,999,001");
    Put(L"1000000000000");
    Divide();
    EXPECT_EQ(EntryText(), L"1000000000000");
    EXPECT_EQ(Caption(form1::Label3), L"");
    F4();
    Put(L"999999999999");
    Divide();
    EXPECT_EQ(Caption(form1::Label3), kYen + L"990,010,000,998");
    EXPECT_EQ(Caption(form1::Label4), kYen + L"9,989,999,001");
}

TEST_F(RegisterPageTest, AnAmountTenderedBeyondThirtyTwoBitsIsTaken) {
    Type(L"100");
    Enter();
    Put(L"2147483648");
    Divide();
    EXPECT_EQ(Caption(form1::Label3), kYen + L"2,147,483,548");
}

TEST_F(RegisterPageTest, ALoneMinusIsNotANumber) {
    ErrorRecorder errors;
    const std::wstring message = L"'-' は浮動小数点数ではありません";
    Type(L"-");
    EXPECT_EQ(EntryText(), L"-");
    Enter();
    Plus();
    Times();  // no line yet: nothing, no message
    Divide();
    ASSERT_EQ(errors.Messages().size(), 3u);
    for (const std::wstring& m : errors.Messages()) EXPECT_EQ(m, message);
    EXPECT_EQ(EntryText(), L"-");
    EXPECT_EQ(Cell(0, 0), L"");
    F4();
    Type(L"10");
    Enter();
    Type(L"-");
    Times();
    EXPECT_EQ(errors.Messages().size(), 4u);
    EXPECT_EQ(Cell(2, 0), L"1");
}

TEST_F(RegisterPageTest, NegativePricesLowerTheTotalAndTheTax) {
    Type(L"1000");
    Enter();
    Type(L"199-");  // the keypad minus toggles the sign at the front
    EXPECT_EQ(EntryText(), L"-199");
    Enter();
    ExpectLine(1, {L"2", L"-199", L"1", L"-199", L"", L"1"});
    EXPECT_EQ(Caption(form1::Label2), kYen + L"801");
    EXPECT_EQ(Caption(form1::Label1), kYen + L"38");
    Type(L"2000-");
    Plus();
    EXPECT_EQ(Caption(form1::Label2), L"-" + kYen + L"1,199");
    EXPECT_EQ(Caption(form1::Label1), kYen + L"38");
}

TEST_F(RegisterPageTest, TheRateIsReadAfreshAtEveryKey) {
    // A rate box that does not read is refused in words and taxes nothing:
    // the quantity is not taken and the tax stays what it was.
    struct Case {
        const wchar_t* rate;
        const wchar_t* tax;
        bool refused;
    };
    const Case cases[] = {{L"8", L"80", false}, {L"5.5", L"80", true}, {L"", L"0", false},
                          {L"abc", L"0", true}, {L"5", L"51", false},  {L"-100", L"51", true}};
    ErrorRecorder errors;
    Type(L"1080");
    Enter();
    for (const Case& c : cases) {
        size_t told = errors.Messages().size();
        SetRate(c.rate);
        Type(L"1");
        Times();  // every command refreshes the totals with the rate of the moment
        EXPECT_EQ(Caption(form1::Label1), kYen + c.tax) << c.rate;
        EXPECT_EQ(Caption(form1::Label2), kYen + L"1,080");
        ASSERT_EQ(errors.Messages().size(), told + (c.refused ? 1 : 0)) << c.rate;
        if (c.refused) {
            EXPECT_NE(errors.Messages().back().find(std::wstring(L"「消費税率は」の「") + c.rate + L"」"),
                      std::wstring::npos);
            EXPECT_EQ(EntryText(), L"1") << "the quantity stays for the retry";
            Put(L"");
        }
    }
    SetRate(L"8");
    Type(L"1080");
    Divide();
    EXPECT_EQ(Caption(form1::Label1), kYen + L"80");
}

TEST_F(RegisterPageTest, AFullGridHoldsAHundredLinesAndRefusesMore) {
    ErrorRecorder errors;
    for (int i = 1; i <= 99; ++i) {
        Type(L"10");
        Enter();
    }
    EXPECT_EQ(Grid().Row(), 99);
    Type(L"20");
    Plus();
    ExpectLine(99, {L"100", L"20", L"1", L"20", L"非", L"0"});
    EXPECT_EQ(Grid().Row(), 99);
    EXPECT_EQ(Caption(form1::Label2), kYen + L"1,010");
    EXPECT_EQ(Caption(form1::Label1), kYen + L"47");
    EXPECT_TRUE(errors.Messages().empty());

    Type(L"30");
    Enter();
    ASSERT_EQ(errors.Messages().size(), 1u);
    EXPECT_EQ(errors.Messages()[0], regi::kGridFull);
    EXPECT_EQ(EntryText(), L"30");
    EXPECT_EQ(Cell(1, 99), L"20");
    F4();
    Type(L"2");
    Times();
    EXPECT_EQ(Cell(3, 99), L"40");
    Type(L"2000");
    Divide();
    EXPECT_EQ(Caption(form1::Label3), kYen + L"970");
    Decimal();
    EXPECT_EQ(Cell(0, 99), L"");
    EXPECT_EQ(Grid().TopRow(), 0);
}

TEST_F(RegisterPageTest, TheCursorRowStaysInViewAndAClearBringsTheTopBack) {
    for (int i = 1; i <= 5; ++i) {
        Type(L"1");
        Enter();
        EXPECT_EQ(Grid().TopRow(), i < 5 ? 0 : 1) << i;
    }
    Type(L"1");
    Enter();
    EXPECT_EQ(Grid().Row(), 6);
    EXPECT_EQ(Grid().TopRow(), 2);
    RECT client, row6 = Grid().CellRect(0, 6);
    GetClientRect(Grid().Handle(), &client);
    EXPECT_EQ(row6.bottom, client.bottom) << "row 6 is the last row shown whole";
    Type(L"3");
    Times();
    EXPECT_EQ(Grid().TopRow(), 2);
    Type(L"100");
    Divide();
    Decimal();
    EXPECT_EQ(Grid().TopRow(), 0);
    EXPECT_EQ(Grid().Row(), 0);
}

TEST_F(RegisterPageTest, AClickOnTheGridChangesNothing) {
    Type(L"1200");
    Enter();
    Type(L"300");
    Plus();
    Type(L"45");
    RECT cell = Grid().CellRect(3, 0);
    for (int i = 0; i < 2; ++i) {
        PostMessageW(Grid().Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cell.left + 5, cell.top + 5));
        PostMessageW(Grid().Handle(), WM_LBUTTONUP, 0, MAKELPARAM(cell.left + 5, cell.top + 5));
        Pump();
    }
    EXPECT_EQ(GetFocus(), Entry());
    EXPECT_EQ(Grid().Row(), 2);
    EXPECT_EQ(Grid().Col(), 0);
    ExpectLine(0, {L"1", L"1200", L"1", L"1200", L"", L"1"});
    EXPECT_EQ(EntryText(), L"45") << "the click keeps what was keyed";
    Type(L"6");
    EXPECT_EQ(EntryText(), L"456");
    // The grid grants only column 0.
    EXPECT_FALSE(Grid().SetCurrent(3, 2));
    EXPECT_EQ(Grid().Col(), 0);
}

TEST_F(RegisterPageTest, ShiftTabComesBackToTheEntry) {
    int entered = 0;
    auto previous = Grid().OnEnter;
    Grid().OnEnter = [&] {
        ++entered;
        previous();
    };
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    PostMessageW(Entry(), WM_KEYDOWN, VK_TAB, 1);
    Pump();
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(entered, 1) << "the grid had the focus for a moment";
    EXPECT_EQ(GetFocus(), Entry());
}

TEST_F(RegisterPageTest, APageBackgroundClickEmptiesTheEntryAndKeepsTheSale) {
    Type(L"500");
    Enter();
    Type(L"1000");
    Divide();
    HWND sheet = form->Control(form1::TabSheet1);
    SetFocus(form->Control(form1::PageControl1));
    PostMessageW(sheet, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(269, 300));
    PostMessageW(sheet, WM_LBUTTONUP, 0, MAKELPARAM(269, 300));
    Pump();
    EXPECT_EQ(EntryText(), L"");
    EXPECT_EQ(GetFocus(), Entry());
    EXPECT_EQ(Caption(form1::Label3), kYen + L"500");
    EXPECT_EQ(Caption(form1::Label4), kYen + L"500");
    EXPECT_EQ(Page().Sale().State(), regi::SaleState::Settled);
    // A release over a label belongs to the label.
    Type(L"12");
    PostMessageW(form->Control(form1::Label14), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Pump();
    EXPECT_EQ(EntryText(), L"12");
}

TEST_F(RegisterPageTest, APageSwitchReArmsTheEntry) {
    Type(L"77");
    ShowPage(1);
    EXPECT_EQ(EntryText(), L"77") << "leaving the register changes nothing";
    ShowPage(2);
    ShowPage(0);
    EXPECT_EQ(EntryText(), L"");
    EXPECT_EQ(GetFocus(), Entry());
    Type(L"5");
    EXPECT_EQ(EntryText(), L"5");
}

TEST_F(RegisterPageTest, TheCurrentCellIsPaintedLikeEveryOther) {
    Type(L"1");
    Enter();
    RECT current = Grid().CellRect(0, 1), other = Grid().CellRect(1, 1);
    EXPECT_EQ(GridPixel(current.left + 3, current.top + 3), kYellow);
    EXPECT_EQ(GridPixel(other.left + 3, other.top + 3), kYellow);
    // Text stands right-aligned: ink near the right end of cell (1, 0), none at its left.
    RECT cell = Grid().CellRect(1, 0);
    int middle = (cell.top + cell.bottom) / 2 + 2;
    bool inkRight = false, inkLeft = false;
    for (int x = cell.right - 20; x < cell.right; ++x) inkRight = inkRight || GridPixel(x, middle) != kYellow;
    for (int x = cell.left; x < cell.left + 20; ++x) inkLeft = inkLeft || GridPixel(x, middle) != kYellow;
    EXPECT_TRUE(inkRight);
    EXPECT_FALSE(inkLeft);
}

TEST_F(RegisterPageTest, F1OpensTheHelpContentsOnKeyDown) {
    help::SetHelpFile(L"");
    PostMessageW(Entry(), WM_KEYDOWN, VK_F1, 1);
    Pump();
    EXPECT_EQ(help::HelpFile(), L"Pelmora.hlp");
    help::HelpWindow* window = help::HelpWindow::Existing();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Topics()[static_cast<size_t>(window->CurrentTopic())].name, L"contents");
}

TEST_F(RegisterPageTest, OnlyAReleaseWhosePressTheEntryFieldTookIsACommand) {
    ErrorRecorder errors;
    auto releaseOnly = [&](UINT key) {
        SendMessageW(Entry(), WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
        Pump();
    };
    // ENTER closes the error box on its press; its release reaches the entry field.
    Type(L"-");
    Enter();
    ASSERT_EQ(errors.Messages().size(), 1u);
    for (UINT key : {VK_RETURN, VK_ADD, VK_DIVIDE}) releaseOnly(key);
    EXPECT_EQ(errors.Messages().size(), 1u) << "the box does not come back";
    F4();
    Type(L"5");
    releaseOnly(VK_RETURN);
    EXPECT_EQ(Cell(0, 0), L"") << "no line from a release alone";
    EXPECT_EQ(EntryText(), L"5");
    // A press taken, then the focus went elsewhere and came back: the release is not a command.
    SendMessageW(Entry(), WM_KEYDOWN, VK_RETURN, 1);
    SetFocus(form->Control(form1::PageControl1));
    SetFocus(Entry());
    releaseOnly(VK_RETURN);
    EXPECT_EQ(Cell(0, 0), L"");
    // A held key repeats its press and acts once, on its release.
    for (int i = 0; i < 3; ++i) SendMessageW(Entry(), WM_KEYDOWN, VK_RETURN, 1);
    releaseOnly(VK_RETURN);
    releaseOnly(VK_RETURN);
    EXPECT_EQ(Cell(0, 0), L"1");
    EXPECT_EQ(Cell(0, 1), L"");
    EXPECT_EQ(Page().Sale().LineCount(), 1);
}

// Fast keypad typists roll over: the command key goes down, a digit is typed
// while it is held, and only then does the command key come up.
TEST_F(RegisterPageTest, ADigitTypedWhileACommandKeyIsHeldBelongsToTheNextEntry) {
    auto rolledOver = [&](UINT key, wchar_t ch, const std::wstring& digits) {
        SendMessageW(GetFocus(), WM_KEYDOWN, key, 1);
        SendMessageW(GetFocus(), WM_CHAR, ch, 1);
        Type(digits);
        SendMessageW(GetFocus(), WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
        Pump();
    };
    Type(L"50");
    rolledOver(VK_RETURN, L'\r', L"7");
    ExpectLine(0, {L"1", L"50", L"1", L"50", L"", L"1"});
    EXPECT_EQ(Cell(0, 1), L"");
    EXPECT_EQ(EntryText(), L"7");

    F4();
    Type(L"100");
    Divide();
    ASSERT_EQ(Caption(form1::Label3), kYen + L"50");
    rolledOver(VK_DECIMAL, L'.', L"1200");
    EXPECT_EQ(Caption(form1::Label3), L"");
    EXPECT_EQ(EntryText(), L"1200") << "the clear's re-arm keeps what was typed";
    Enter();
    ExpectLine(0, {L"1", L"1200", L"1", L"1200", L"", L"1"});
    EXPECT_EQ(Caption(form1::Label2), kYen + L"1,200");

    Type(L"1200");
    Divide();
    Decimal();
    Type(L"200");
    Enter();
    Type(L"2000");
    rolledOver(VK_DIVIDE, L'/', L"3");
    EXPECT_EQ(Caption(form1::Label3), kYen + L"1,800");
    EXPECT_EQ(Page().Sale().LastSettled().tendered, 2000);
    EXPECT_EQ(EntryText(), L"3");
}

TEST_F(RegisterPageTest, AClickOnAColumnHeaderBelongsToTheHeader) {
    for (int id : {form1::Label13, form1::Label16, form1::Label17, form1::Label18, form1::Label10}) {
        Type(L"123");
        HWND header = form->Control(id);
        RECT r;
        GetWindowRect(header, &r);
        POINT middle{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        // The system sends the click to the window that the point hits.
        HWND hit = WindowFromPoint(middle);
        EXPECT_EQ(hit, header) << id;
        ScreenToClient(hit, &middle);
        PostMessageW(hit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(middle.x, middle.y));
        PostMessageW(hit, WM_LBUTTONUP, 0, MAKELPARAM(middle.x, middle.y));
        Pump();
        EXPECT_EQ(EntryText(), L"123") << id;
        F4();
    }
}

TEST_F(RegisterPageTest, LargeAmountsShowWholeInASmallerFont) {
    auto fits = [&](int id) {
        HWND label = form->Control(id);
        RECT client;
        GetClientRect(label, &client);
        ui::WindowDC dc(label);
        ui::SelectGuard select(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
        std::wstring text = Caption(id);
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx <= client.right;
    };
    auto fontHeight = [&](int id) {
        LOGFONTW lf{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(form->Control(id), WM_GETFONT, 0, 0)), sizeof lf, &lf);
        return lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
    };
    Type(L"100");
    Enter();
    EXPECT_EQ(fontHeight(form1::Label2), 27) << "a short amount keeps the label's font";
    F4();
    Decimal();
    for (int i = 0; i < 2; ++i) {
        Type(L"9999999");
        Enter();
        Type(L"999");
        Times();
    }
    const std::int64_t total = 100 + 2 * 9'999'999LL * 999;
    EXPECT_EQ(Caption(form1::Label2), regi::FormatMoney(total));
    EXPECT_TRUE(fits(form1::Label2));
    Put(L"999999999999");
    Divide();
    EXPECT_EQ(Caption(form1::Label3), regi::FormatMoney(999'999'999'999LL - total));
    EXPECT_TRUE(fits(form1::Label3));
    EXPECT_LT(fontHeight(form1::Label3), 27);
    EXPECT_TRUE(fits(form1::Label4));
    // The next sale's short amounts are back in the label's own font.
    Decimal();
    Type(L"5");
    Enter();
    EXPECT_EQ(fontHeight(form1::Label2), 27);
}

TEST_F(RegisterPageTest, TheTenderTakesAsManyDigitsAsTheLargestSaleNeeds) {
    auto height = [](HFONT font) {
        LOGFONTW lf{};
        GetObjectW(font, sizeof lf, &lf);
        return lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
    };
    TSaNumEdit& entry = Page().SaNumEdit1();
    Type(L"999999999999");
    EXPECT_EQ(entry.Text(), L"999999999999") << "no digit refused";
    EXPECT_LT(height(entry.ShownFont()), 27);
    F4();
    EXPECT_EQ(entry.ShownFont(), entry.Font()) << "an empty field is back in its own font";
}

TEST_F(RegisterPageTest, TwoRatesMarksAndTheTaxTip) {
    SetRate(L"10");
    Type(L"1080");
    F2();
    Type(L"1100");
    Enter();
    Type(L"300");
    Plus();
    EXPECT_EQ(Caption(form1::Label1), kYen + L"180");
    EXPECT_EQ(Caption(form1::Label2), kYen + L"2,480");
    ExpectLine(0, {L"1", L"1080", L"1", L"1080", L"※", L"2"});
    ExpectLine(1, {L"2", L"1100", L"1", L"1100", L"", L"1"});
    ExpectLine(2, {L"3", L"300", L"1", L"300", L"非", L"0"});
    const std::wstring tip = L"10%対象 ¥1,100（内消費税 ¥100）\r\n8%対象 ¥1,080（内消費税 ¥80）\r\n非課税 ¥300";
    EXPECT_EQ(TipText(form1::Label1), tip);
    EXPECT_EQ(TipText(form1::Label5), tip);
    // The switch on the settings page makes ENTER the reduced key and F2 the standard one.
    // Switched as a click would, with the focus left in the register.
    HWND enterReduced = form->Control(form1::CheckBox2);
    SendMessageW(enterReduced, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(GetParent(enterReduced), WM_COMMAND, MAKEWPARAM(form1::CheckBox2, BN_CLICKED),
                 reinterpret_cast<LPARAM>(enterReduced));
    SetReducedRate(L"5");
    Type(L"105");
    Enter();
    Type(L"110");
    F2();
    EXPECT_EQ(Cell(4, 3), L"※");
    EXPECT_EQ(Cell(4, 4), L"");
    EXPECT_EQ(Caption(form1::Label1), regi::FormatMoney((1100 + 110) * 10 / 110 + (1080 + 105) * 5 / 105));
}

TEST_F(RegisterPageTest, F3VoidsTheLastOrTheKeyedLineAndF8CancelsAfterAskingTheOperator) {
    for (const wchar_t* price : {L"100", L"200", L"300"}) {
        Type(price);
        Enter();
    }
    F3();
    EXPECT_EQ(Cell(0, 2), L"");
    EXPECT_EQ(Grid().Row(), 2);
    Type(L"1");
    F3();
    ExpectLine(0, {L"1", L"200", L"1", L"200", L"", L"1"});
    EXPECT_EQ(EntryText(), L"");
    EXPECT_EQ(GetFocus(), Entry());
    Type(L"9");
    F3();
    EXPECT_EQ(EntryText(), L"9") << "no line 9: nothing happens";
    F4();
    // Cancel: No and Escape keep the sale; Yes empties it and leaves the sales total.
    for (auto answer : {MessageBoxAnswerer::Answer::No, MessageBoxAnswerer::Answer::Escape}) {
        MessageBoxAnswerer answerer(answer);
        F8();
        ASSERT_EQ(answerer.Boxes().size(), 1u);
        EXPECT_EQ(answerer.Boxes()[0].text, L"この取引を中止しますか?");
        EXPECT_EQ(answerer.Boxes()[0].caption, L"確認");
        EXPECT_EQ(Cell(1, 0), L"200");
    }
    {
        MessageBoxAnswerer answerer(MessageBoxAnswerer::Answer::Yes);
        F8();
    }
    EXPECT_EQ(Cell(0, 0), L"");
    EXPECT_EQ(Caption(form1::Label2), L"");
    EXPECT_EQ(Caption(form1::Label4), L"");
    EXPECT_EQ(Caption(form1::Label14), regi::kPricePrompt);
    EXPECT_EQ(GetFocus(), Entry());
    // Settled: F3 and F8 do nothing, and ask nothing.
    Type(L"500");
    Enter();
    Type(L"500");
    Divide();
    MessageBoxAnswerer answerer(MessageBoxAnswerer::Answer::Yes);
    F3();
    F8();
    EXPECT_TRUE(answerer.Boxes().empty());
    EXPECT_EQ(Cell(1, 0), L"500");
    EXPECT_EQ(Caption(form1::Label4), kYen + L"500");
}

TEST_F(RegisterPageTest, TheRegisterMenuDoesWhatItsKeysDo) {
    auto choose = [&](int id) {
        SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
        Pump();
    };
    Type(L"1080");
    choose(form1::RegiReduced);
    EXPECT_EQ(Cell(4, 0), L"※");
    EXPECT_EQ(GetFocus(), Entry());
    Type(L"2");
    choose(form1::RegiQuantity);
    EXPECT_EQ(Cell(3, 0), L"2160");
    Type(L"300");
    choose(form1::RegiExempt);
    choose(form1::RegiVoid);
    EXPECT_EQ(Cell(0, 1), L"");
    Type(L"5000");
    choose(form1::RegiSettle);
    EXPECT_EQ(Caption(form1::Label3), kYen + L"2,840");
    choose(form1::RegiClear);
    EXPECT_EQ(Cell(0, 0), L"");
    // On another page the register's commands do nothing.
    ShowPage(2);
    choose(form1::RegiEnter);
    EXPECT_EQ(Cell(0, 0), L"");
}

// The discounts' keys are Shift or Ctrl with the keypad's - and /; the
// characters they make type nothing, and the plain minus still gives the sign.
TEST_F(RegisterPageTest, TheDiscountKeysTakeOffAndTheirCharactersTypeNothing) {
    struct Case {
        UINT modifier, key;
        wchar_t character;
        const wchar_t* keyed;
        std::int64_t total;
    };
    const Case cases[] = {
        {VK_SHIFT, VK_SUBTRACT, L'-', L"50", 950},    // 値引
        {VK_SHIFT, VK_DIVIDE, L'/', L"10", 900},      // 割引
        {VK_CONTROL, VK_SUBTRACT, L'-', L"30", 970},  // 小計値引
        {VK_CONTROL, VK_DIVIDE, L'/', L"20", 800},    // 小計割引
    };
    for (const Case& c : cases) {
        Type(L"1000");
        Enter();
        Type(c.keyed);
        SendChord(c.modifier, c.key, c.character);
        EXPECT_EQ(EntryText(), L"") << c.total;
        EXPECT_EQ(Page().Sale().Totals().Total(), c.total);
        Type(L"1000");
        Divide();
        Decimal();
    }
    Type(L"5");
    Press(VK_SUBTRACT, L'-');
    EXPECT_EQ(EntryText(), L"-5") << "the plain minus";
}

namespace {

// The register with the sales journal switched on in the settings file.
class JournalOnTest : public RegisterPageTest {
protected:
    void SetUp() override {
        WriteAnsiFile(folder.File(L"Pelmora.ini"), L"[Journal]\r\nEnabled=1\r\nFloat=30000\r\n");
        RegisterPageTest::SetUp();
    }
    std::wstring JournalPath() { return folder.File(L"Pelmora-journal.csv"); }
    std::string JournalBytes() { return platform::ReadFileBytes(JournalPath()).value_or(""); }
    // Records of a kind, the header line left out.
    int Count(const std::string& bytes, const std::string& kind) {
        int n = 0;
        for (size_t at = bytes.find('\n'); (at = bytes.find("," + kind + ",", at)) != std::string::npos; ++at) ++n;
        return n;
    }
    // The program as it starts again after it ended: here the window goes
    // without its close step, as when the process is killed.
    void StartAgain() {
        form.reset();
        Pump();
        OpenInFront();
    }
    void Sale(const wchar_t* price, const wchar_t* tendered) {
        Type(price);
        Enter();
        Type(tendered);
        Divide();
        Decimal();
    }
};

// Closes each report window as it opens and notes its title and text.
struct ReportReader {
    std::vector<std::wstring> titles, texts;
    ActivationWatcher watcher{L"TReportWindow", [this](HWND window) {
                                  titles.push_back(ui::GetText(window));
                                  texts.push_back(ui::GetText(GetDlgItem(window, journal::TReportWindow::ReportText)));
                                  PostMessageW(window, WM_CLOSE, 0, 0);
                              }};
};

}  // namespace

TEST_F(JournalOnTest, SalesSurviveAKilledRunAndTheDayCloses) {
    ErrorRecorder errors;
    Sale(L"1080", L"2000");
    Sale(L"500", L"500");
    std::string bytes = JournalBytes();
    ASSERT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF") << "a spreadsheet sees UTF-8";
    EXPECT_EQ(Count(bytes, "sale"), 2);
    EXPECT_EQ(Count(bytes, "line"), 2);
    EXPECT_EQ(Caption(form1::Label4), kYen + L"1,580");
    // A third sale in the middle, then the process dies.
    Type(L"300");
    Plus();
    Type(L"1100");
    F2();
    StartAgain();
    Pump();
    EXPECT_EQ(Cell(1, 0), L"300");
    EXPECT_EQ(Cell(4, 0), L"非");
    EXPECT_EQ(Cell(1, 1), L"1100");
    EXPECT_EQ(Cell(4, 1), L"※");
    EXPECT_EQ(Caption(form1::Label2), kYen + L"1,400");
    EXPECT_EQ(Caption(form1::Label4), kYen + L"1,580") << "the sales since the last close, from the journal";
    ASSERT_FALSE(errors.Notices().empty());
    EXPECT_EQ(errors.Notices().back(), L"前回終了時の取引を復元しました") << "information, not an error";
    Type(L"2000");
    Divide();
    EXPECT_EQ(Caption(form1::Label4), kYen + L"2,980");
    Decimal();

    // 点検 changes nothing; 精算 asks, resets and numbers.
    ReportReader reports;
    SendMessageW(form->Handle(), WM_COMMAND, form1::TakeX, 0);
    Pump();
    ASSERT_EQ(reports.texts.size(), 1u);
    EXPECT_EQ(reports.titles[0], L"点検");
    EXPECT_NE(reports.texts[0].find(L"\u00A52,980"), std::wstring::npos);
    EXPECT_NE(reports.texts[0].find(L"\u00A532,980"), std::wstring::npos) << "float + sales: the drawer";
    {
        MessageBoxAnswerer no(MessageBoxAnswerer::Answer::No);
        SendMessageW(form->Handle(), WM_COMMAND, form1::TakeZ, 0);
        Pump();
        ASSERT_EQ(no.Boxes().size(), 1u);
        EXPECT_EQ(no.Boxes()[0].text, L"精算すると売上の集計を 0 に戻します。よろしいですか?");
    }
    EXPECT_EQ(reports.texts.size(), 1u);
    {
        MessageBoxAnswerer yes(MessageBoxAnswerer::Answer::Yes);
        SendMessageW(form->Handle(), WM_COMMAND, form1::TakeZ, 0);
        Pump();
    }
    ASSERT_EQ(reports.texts.size(), 2u);
    EXPECT_EQ(reports.titles[1], L"精算");
    EXPECT_EQ(Caption(form1::Label4), kYen + L"0");
    bytes = JournalBytes();
    EXPECT_EQ(Count(bytes, "x"), 1);
    EXPECT_EQ(Count(bytes, "z"), 1);
    // The Z ends with the first 16 hex digits of its z record's chain value: the journal's last field.
    const std::string chain = bytes.substr(bytes.size() - 2 - 64, 16);
    EXPECT_NE(reports.texts[1].find(L"チェーン値\t" + std::wstring(chain.begin(), chain.end())), std::wstring::npos)
        << common::ToUtf8(reports.texts[1]);
    StartAgain();
    EXPECT_EQ(Caption(form1::Label4), kYen + L"0") << "a new period after the close";
}

TEST_F(JournalOnTest, AnAmountChangedInTheJournalIsToldByItsLineOnceTheStartIsOverAndTheFileStays) {
    Sale(L"500", L"500");
    form.reset();
    Pump();
    std::string bytes = JournalBytes();
    size_t at = bytes.find(",500,1,500,");
    ASSERT_NE(at, std::string::npos);
    bytes.replace(at, 11, ",900,1,900,");
    WriteBytes(JournalPath(), bytes);
    ErrorRecorder errors;
    OpenInFront();
    form->CheckJournalChain();  // as the program does once it has waited for its first key
    ASSERT_NE(form->JournalChain(), nullptr);
    form->JournalChain()->Wait();
    Pump();
    bool told = false;
    for (const std::wstring& message : errors.Messages())
        told = told || message.find(L"売上の記録の 2 行目以降が変更されています") != std::wstring::npos;
    EXPECT_TRUE(told);
    EXPECT_EQ(JournalBytes(), bytes) << "the file is never rewritten";
}

TEST_F(JournalOnTest, AZIsSavedForAnAccountingProgramFromItsWindowAndZsFromTheMenu) {
    std::vector<std::wstring> suggested;
    journal::Program next = journal::Program::Freee;
    services.chooseBooksFile = [&](HWND, const std::wstring& name) {
        suggested.push_back(name);
        return std::optional<journal::BooksTarget>(
            journal::BooksTarget{folder.File(next == journal::Program::Freee ? L"freee.csv" : L"yayoi.csv"), next});
    };
    StartAgain();
    ErrorRecorder errors;
    Sale(L"1000", L"1000");
    {
        // The Z's window: its save button, then the close box.
        ActivationWatcher save(L"TReportWindow", [](HWND window) {
            PostMessageW(window, WM_COMMAND, MAKEWPARAM(journal::TReportWindow::SaveButton, BN_CLICKED), 0);
            PostMessageW(window, WM_CLOSE, 0, 0);
        });
        MessageBoxAnswerer yes(MessageBoxAnswerer::Answer::Yes);
        SendMessageW(form->Handle(), WM_COMMAND, form1::TakeZ, 0);
        Pump();
    }
    ASSERT_EQ(suggested, std::vector<std::wstring>{L"Pelmora-精算No.1.csv"});
    std::string freee = platform::ReadFileBytes(folder.File(L"freee.csv")).value_or("");
    EXPECT_EQ(freee.substr(0, 9), "\xE6\x97\xA5\xE4\xBB\x98,\xE4\xBC") << "freee's header, UTF-8";
    EXPECT_NE(freee.find(common::ToUtf8(L"レジ売上 精算 No.1")), std::string::npos);
    ASSERT_FALSE(errors.Notices().empty());
    EXPECT_EQ(errors.Notices().back().substr(0, 10), L"freee 用に保存");

    // The ファイル menu: the Z's numbers, the last Z's at first; Enter saves.
    next = journal::Program::Yayoi;
    ActivationWatcher range(L"TBooksWindow", [](HWND window) {
        PostMessageW(GetDlgItem(window, journal::TBooksWindow::FromEdit), WM_KEYDOWN, VK_RETURN, 0);
    });
    SendMessageW(form->Handle(), WM_COMMAND, form1::SaveBooks1, 0);
    Pump();
    ASSERT_EQ(suggested.size(), 2u);
    EXPECT_EQ(suggested[1], L"Pelmora-精算No.1.csv");
    std::string yayoi = platform::ReadFileBytes(folder.File(L"yayoi.csv")).value_or("");
    EXPECT_EQ(yayoi.substr(0, 5), "2000,") << "an entry of one row: 現金 to 売上高";
    EXPECT_NE(yayoi.find("\x8C\xBB\x8B\xE0"), std::string::npos) << "現金 in Shift_JIS";
    EXPECT_TRUE(errors.Messages().empty());
}

TEST_F(JournalOnTest, TheDrawerOpensForCashAndOnF12BetweenSalesAndTheOpeningsWithoutASaleAreRecorded) {
    ErrorRecorder errors;
    // The receipt printer takes the raw commands here; no receipt is printed.
    std::vector<std::string> sent;
    bool refuse = false;
    printers =
        receipt::Printers{[] { return std::vector<std::wstring>{}; },
                          [](const receipt::Settings&, int) -> receipt::JobDC { throw ui::Error(receipt::kNoPrinter); },
                          [](const std::wstring&) -> std::vector<receipt::PaperOffer> { return {}; },
                          [&](const std::wstring&, const std::string& bytes, const std::wstring&) {
                              if (refuse) throw ui::Error(L"プリンター「Receipt」で印刷できません。\r\n理由");
                              sent.push_back(bytes);
                          }};
    Press(VK_F12);
    ASSERT_EQ(errors.Messages().size(), 1u);
    EXPECT_EQ(errors.Messages()[0], receipt::kNoDrawer) << "no drawer chosen: the operator is told where to choose one";

    InShopSettings([&](HWND sheet) {
        SendDlgItemMessageW(ShopPage(sheet, 0), IDC_DRAWER, CB_SETCURSEL,
                            static_cast<WPARAM>(receipt::DrawerMode::EscPosPin5), 0);
    });
    const std::string command = receipt::DrawerCommand(receipt::DrawerMode::EscPosPin5);
    Sale(L"1080", L"2000");
    EXPECT_EQ(sent, std::vector<std::string>{command}) << "a cash sale opens it";
    Press(VK_F12);
    SendMessageW(form->Handle(), WM_COMMAND, form1::RegiDrawer, 0);
    Pump();
    EXPECT_EQ(sent, std::vector<std::string>(3, command));
    EXPECT_EQ(Count(JournalBytes(), "drawer"), 2) << "the openings without a sale";

    // A printer that fails is reported; the sale stays settled.
    refuse = true;
    Type(L"500");
    Enter();
    Type(L"1000");
    Divide();
    ASSERT_EQ(errors.Messages().size(), 2u);
    EXPECT_EQ(errors.Messages()[1], std::wstring(receipt::kDrawerFailed) +
                                        L"プリンター「Receipt」で印刷できません。\r\n理由" +
                                        receipt::kSaleStaysSettled);
    EXPECT_EQ(Page().Sale().State(), regi::SaleState::Settled);

    // Not in the middle of a sale.
    Decimal();
    Type(L"500");
    Enter();
    Press(VK_F12);
    ASSERT_EQ(errors.Messages().size(), 3u);
    EXPECT_EQ(errors.Messages()[2], regi::kDrawerInSale);
    EXPECT_EQ(sent.size(), 3u);
}

// The tests' own spooler (scripts/spooler) has a queue that refuses every job;
// the drawer opens there with a job of the driver's.
TEST_F(JournalOnTest, F12OnAQueueThatRefusesJobsSaysWhyAndRecordsNoCommand) {
    ASSERT_NE(std::getenv("PELMORA_SPOOLER"), nullptr)
        << "the tests' spooler is not running: eval $(scripts/spooler start)";
    WriteAnsiFile(Ini(), L"[Journal]\r\nEnabled=1\r\n[Receipt]\r\nPrinter=PelmoraBroken\r\n[Drawer]\r\nOpen=1\r\n");
    printers = receipt::SystemPrinters();
    StartAgain();
    ErrorRecorder errors;
    Press(VK_F12);
    ASSERT_EQ(errors.Messages().size(), 1u);
    const std::wstring& message = errors.Messages()[0];
    EXPECT_EQ(
        message.rfind(std::wstring(receipt::kDrawerFailed) + L"プリンター「PelmoraBroken」で印刷できません。\r\n", 0),
        0u);
    EXPECT_NE(message.find(L"印刷を受け付けていません"), std::wstring::npos) << "what to check";
    EXPECT_EQ(message.find(platform::SystemReason(ERROR_INVALID_HANDLE)), std::wstring::npos)
        << "the failed call's own text says nothing of the cause";
    EXPECT_EQ(Count(JournalBytes(), "drawer"), 0);
}

TEST_F(JournalOnTest, ASaleThatCannotBeStoredStaysOpen) {
    ErrorRecorder errors;
    Sale(L"100", L"100");
    StartAgain();  // a program holds its journal once it has written to it; a new run has only read it
    DeleteFileW(JournalPath().c_str());
    CreateDirectoryW(JournalPath().c_str(), nullptr);  // a folder where the journal should be
    Type(L"1080");
    F2();
    Type(L"5000");
    Divide();
    ASSERT_FALSE(errors.Messages().empty());
    EXPECT_EQ(errors.Messages().back().rfind(L"売上の記録に書き込めません", 0), 0u);
    EXPECT_EQ(Caption(form1::Label3), L"") << "no change shown";
    EXPECT_EQ(Caption(form1::Label4), kYen + L"100");
    EXPECT_EQ(EntryText(), L"5000") << "the tender stays for the next try";
    EXPECT_EQ(Page().Sale().State(), regi::SaleState::Open);
    RemoveDirectoryW(JournalPath().c_str());
    Press(VK_DIVIDE, L'/');
    EXPECT_EQ(Caption(form1::Label3), kYen + L"3,920");
}

TEST_F(JournalOnTest, TheCashCountTakesTheExpectedCashAndTheExitQuestionSaysSalesAreKept) {
    Sale(L"1200", L"2000");
    ShowPage(1);
    HWND button = form->Control(form1::Button7);
    ASSERT_TRUE(IsWindowVisible(button));
    EXPECT_EQ(ui::GetText(button), L"記録から");
    SendMessageW(button, BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(form->CashCountPage().SaNumEdit2().Text(), L"31200");
    MessageBoxAnswerer no(MessageBoxAnswerer::Answer::No);
    form->Exit1Click();
    ASSERT_EQ(no.Boxes().size(), 1u);
    EXPECT_EQ(no.Boxes()[0].text, L"終了してもよろしいですか?\r売上は記録に残ります。");
}

TEST_F(JournalOnTest, TheFloatReadsAsPeopleTypeItAndRefusesTheRestWhenLeft) {
    ErrorRecorder errors;
    Sale(L"1200", L"2000");
    HWND floatField = form->Control(form1::Edit4);
    auto typeFloat = [&](const wchar_t* text) {
        ShowPage(2);
        SetFocus(floatField);
        SetWindowTextW(floatField, text);
        SetFocus(form->Control(form1::Edit2));  // the operator leaves the field
        Pump();
    };
    auto expectedCash = [&] {
        ShowPage(1);
        SendMessageW(form->Control(form1::Button7), BM_CLICK, 0, 0);
        Pump();
        return form->CashCountPage().SaNumEdit2().Text();
    };
    typeFloat(L"10,000");  // the forms a person types are the reader's own tests
    EXPECT_EQ(expectedCash(), L"11200");
    EXPECT_TRUE(errors.Messages().empty()) << testing::PrintToString(errors.Messages());
    ReportReader reports;
    SendMessageW(form->Handle(), WM_COMMAND, form1::TakeX, 0);
    Pump();
    ASSERT_EQ(reports.texts.size(), 1u);
    EXPECT_NE(reports.texts[0].find(L"\u00A510,000"), std::wstring::npos) << "the float";
    EXPECT_NE(reports.texts[0].find(L"\u00A511,200"), std::wstring::npos) << "float + sales";

    // Refused when left, with a message; the float in use stays the last sound one.
    typeFloat(L"9223372036854775807");
    ASSERT_EQ(errors.Messages().size(), 1u);
    EXPECT_EQ(errors.Messages()[0], common::FormatMessageText(settings::kBadFloat, L"9223372036854775807"));
    EXPECT_EQ(ui::GetText(floatField), L"9223372036854775807") << "kept for correction";
    EXPECT_EQ(expectedCash(), L"11200");
    typeFloat(L"");
    EXPECT_EQ(expectedCash(), L"1200") << "an empty field: no float";
    EXPECT_EQ(errors.Messages().size(), 1u);
}

TEST_F(RegisterPageTest, WithoutTheJournalNothingButTheSettingsIsWritten) {
    Type(L"500");
    Enter();
    Type(L"300");
    F2();
    Type(L"1");
    F3();
    Type(L"1000");
    Divide();
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(folder.File(L"*").c_str(), &found);
    std::vector<std::wstring> files;
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (found.cFileName[0] != L'.') files.push_back(found.cFileName);
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    EXPECT_TRUE(files.empty()) << testing::PrintToString(files);
    EXPECT_FALSE(IsWindowVisible(form->Control(form1::Button7)));
}

namespace {

// Copies the receipt of each preview window as it opens, then closes it.
struct PreviewCopier {
    int opened = 0;
    std::wstring caption;
    ActivationWatcher watcher{L"TReceiptPreview", [this](HWND window) {
                                  ++opened;
                                  caption = ui::GetText(window);
                                  PostMessageW(window, WM_COMMAND, receipt::CopyButton, 0);
                                  PostMessageW(window, WM_CLOSE, 0, 0);
                              }};
};

}  // namespace

TEST_F(RegisterPageTest, F5PreviewsTheLastSaleAndAMissingPrinterLeavesItSettled) {
    ErrorRecorder errors;
    PreviewCopier copier;
    F5();
    EXPECT_EQ(copier.opened, 0) << "nothing settled yet";
    // Print after every settlement, with no printer installed.
    InShopSettings([&](HWND sheet) { SendDlgItemMessageW(ShopPage(sheet, 0), IDC_PRINT_MODE, CB_SETCURSEL, 1, 0); });
    SetRate(L"10");
    Type(L"1080");
    F2();
    Type(L"300");
    Plus();
    Type(L"2000");
    Divide();
    ASSERT_EQ(errors.Messages().size(), 1u);
    EXPECT_EQ(errors.Messages()[0], std::wstring(receipt::kNoPrinter) + receipt::kSaleStaysSettled);
    EXPECT_EQ(Page().Sale().State(), regi::SaleState::Settled);
    EXPECT_EQ(Caption(form1::Label3), kYen + L"620");
    F5();
    ASSERT_EQ(copier.opened, 1);
    EXPECT_EQ(copier.caption, L"レシート");
    std::wstring text = ClipboardText();
    for (const wchar_t* part : {L"※商品", L"非課税商品", L"※は軽減税率対象", L"8%対象", L"\u00A51,080", L"\u00A5620"})
        EXPECT_NE(text.find(part), std::wstring::npos) << testing::PrintToString(std::wstring(part));
    EXPECT_EQ(text.find(L"登録番号"), std::wstring::npos) << "not a registered shop";
    EXPECT_EQ(Page().Sale().State(), regi::SaleState::Settled);
}

TEST_F(JournalOnTest, AfterARestartF5ReissuesTheLastSaleFromTheJournal) {
    Sale(L"500", L"1000");
    Type(L"1080");
    F2();
    Type(L"2");
    Times();
    Type(L"300");
    Plus();
    Type(L"3000");
    Divide();
    StartAgain();
    PreviewCopier copier;
    F5();
    ASSERT_EQ(copier.opened, 1);
    std::wstring text = ClipboardText();
    for (const wchar_t* part : {L"再発行", L"No.2", L"2 × \u00A51,080", L"\u00A52,160", L"非課税商品", L"\u00A5540"})
        EXPECT_NE(text.find(part), std::wstring::npos) << testing::PrintToString(std::wstring(part));
    EXPECT_EQ(text.find(L"\u00A5500"), std::wstring::npos) << "only the last sale";
}

TEST_F(JournalOnTest, ARateChangeForTomorrowTaxesTheSaleSettledAfterMidnight) {
    now = {2026, 12, 9, 23, 59, 59};
    // Entered in the shop settings from the keyboard: a day, its rates, then 追加.
    ErrorRecorder errors;
    InShopSettings([&](HWND sheet) {
        HWND page = ShopPage(sheet, 2);
        SetWindowTextW(GetDlgItem(page, IDC_CHANGE_STANDARD), L"10");
        SetWindowTextW(GetDlgItem(page, IDC_CHANGE_REDUCED), L"1");
        for (const wchar_t* day : {L"2026/12/09", L"2026/12/10"}) {
            SetWindowTextW(GetDlgItem(page, IDC_CHANGE_DAY), day);
            SetFocus(GetDlgItem(page, IDC_ADD_CHANGE));
            Press(VK_SPACE, L' ');
        }
        EXPECT_EQ(errors.Messages(), std::vector<std::wstring>{settings::kChangeDayNotAhead}) << "today is refused";
        HWND list = GetDlgItem(page, IDC_RATE_CHANGES);
        ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 1);
        SetWindowTextW(GetDlgItem(page, IDC_CHANGE_REDUCED), L"");
        SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        SetFocus(list);
        Press(VK_DOWN);
        EXPECT_EQ(ui::GetText(GetDlgItem(page, IDC_CHANGE_REDUCED)), L"1") << "the change chosen shows its rates";
        EXPECT_EQ(ui::GetText(GetDlgItem(page, IDC_RATES_LINE)),
                  L"いまの税率 5% / 軽減 8%\u3000次の変更 2026/12/10 から 10% / 軽減 1%");
    });
    ShowPage(0);

    Type(L"1080");  // settled at 23:59:59: at 8 %
    F2();
    Type(L"2000");
    Divide();
    Decimal();
    Type(L"1080");  // keyed before midnight, settled after it
    F2();
    EXPECT_EQ(Caption(form1::Label1), kYen + L"80") << "an open sale shows the rates in force now";
    now = {2026, 12, 10, 0, 0, 0};
    Type(L"2000");
    Divide();
    EXPECT_EQ(Caption(form1::Label1), kYen + L"10") << "settled at midnight: 1080 x 1/101";
    Decimal();
    EXPECT_EQ(ui::GetText(form->Control(form1::Edit2)), L"10");
    EXPECT_EQ(ui::GetText(form->Control(form1::Edit3)), L"1");
    InShopSettings(
        [&](HWND sheet) {
            EXPECT_EQ(SendDlgItemMessageW(ShopPage(sheet, 2), IDC_RATE_CHANGES, LB_GETCOUNT, 0, 0), 0)
                << "a change in force leaves the list";
        },
        VK_ESCAPE);
}

namespace {

// A shop that takes the other tenders, with the journal on.
class TendersTest : public JournalOnTest {
protected:
    void SetUp() override {
        WriteAnsiFile(folder.File(L"Pelmora.ini"),
                      L"[Journal]\r\nEnabled=1\r\nFloat=30000\r\n[Tenders]\r\nEnabled=1\r\nName4=&Pay\r\n");
        RegisterPageTest::SetUp();
    }
};

}  // namespace

TEST_F(TendersTest, ASaleSplitBetweenQRAndCashThenTheCloseAndTheCashCount) {
    ErrorRecorder errors;
    Type(L"5500");
    Enter();
    Type(L"3000");
    Press(VK_F9);  // QRコード
    EXPECT_EQ(Caption(form1::Label6), regi::kDueCaption);
    EXPECT_EQ(Caption(form1::Label2), L"\u00A52,500");
    EXPECT_EQ(Caption(form1::Label14), L"合計 \u00A55,500 のうち\r\nQRコード \u00A53,000 支払済")
        << "no line can be added now: the lines are as they will be paid";
    StartAgain();  // the process dies with the sale partly paid: it comes back as it was
    EXPECT_EQ(Caption(form1::Label2), L"\u00A52,500");
    EXPECT_EQ(Caption(form1::Label14), L"合計 \u00A55,500 のうち\r\nQRコード \u00A53,000 支払済");
    ASSERT_FALSE(errors.Notices().empty());
    EXPECT_EQ(errors.Notices().back(), L"前回終了時の取引を復元しました");
    Type(L"3000");
    Divide();
    EXPECT_EQ(Caption(form1::Label3), L"\u00A5500");
    Decimal();
    Type(L"8800");
    Enter();
    Press(VK_F6);  // クレジット, all that is due
    EXPECT_EQ(Caption(form1::Label3), L"\u00A50");
    Decimal();
    EXPECT_TRUE(errors.Messages().empty()) << testing::PrintToString(errors.Messages());
    EXPECT_EQ(Count(JournalBytes(), "tender"), 2);

    // The register menu lists each tender offered with its key.
    SendMessageW(form->Handle(), WM_INITMENUPOPUP, 0, 0);
    HMENU regi = GetSubMenu(GetMenu(form->Handle()), 1);
    wchar_t text[64] = L"";
    GetMenuStringW(regi, form1::RegiTender4, text, 64, MF_BYCOMMAND);
    EXPECT_EQ(std::wstring(text), L"&&Pay(&4)\tF11");

    // 入金 and 出金: the amount as people type it and a note, recorded by the window's button.
    std::vector<const wchar_t*> amounts = {L"¥5,000", L"2000"};
    ActivationWatcher money{L"TMoneyWindow", [&](HWND window) {
                                SetWindowTextW(GetDlgItem(window, journal::TMoneyWindow::AmountEdit), amounts[0]);
                                if (amounts.size() == 2)
                                    SetWindowTextW(GetDlgItem(window, journal::TMoneyWindow::NoteEdit), L"両替");
                                amounts.erase(amounts.begin());
                                PostMessageW(window, WM_COMMAND, journal::TMoneyWindow::RecordButton, 0);
                            }};
    SendMessageW(form->Handle(), WM_COMMAND, form1::MoneyIn, 0);
    SendMessageW(form->Handle(), WM_COMMAND, form1::MoneyOut, 0);
    Pump();
    EXPECT_TRUE(amounts.empty());
    EXPECT_EQ(Count(JournalBytes(), "in"), 1);
    EXPECT_NE(JournalBytes().find(",5000,,,,,,,,,,,,,\xE4\xB8\xA1\xE6\x9B\xBF,,,"), std::string::npos);
    EXPECT_EQ(Count(JournalBytes(), "out"), 1);

    ReportReader reports;
    SendMessageW(form->Handle(), WM_COMMAND, form1::TakeX, 0);
    Pump();
    ASSERT_EQ(reports.texts.size(), 1u);
    EXPECT_NE(reports.texts[0].find(L"QRコード\t1件\t\u00A53,000"), std::wstring::npos) << "named from the settings";
    ShowPage(1);
    SendMessageW(form->Control(form1::Button7), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(form->CashCountPage().SaNumEdit2().Text(), L"35500");
}

namespace {

// A drawer that opened the day with ¥10,000 and has taken nothing yet.
class SmallFloatTest : public JournalOnTest {
protected:
    void SetUp() override {
        WriteAnsiFile(folder.File(L"Pelmora.ini"), L"[Journal]\r\nEnabled=1\r\nFloat=10000\r\n");
        RegisterPageTest::SetUp();
    }
};

}  // namespace

TEST_F(SmallFloatTest, AnOutWithAnExtraZeroIsAskedAboutFirst) {
    ErrorRecorder errors;
    // Each time the window becomes active: the amount it shows. The first
    // time 100000 is typed and recorded; back from the question, the window
    // closes with やめる once "no" was answered.
    std::vector<std::wstring> shown;
    bool answeredNo = false;
    ActivationWatcher money{L"TMoneyWindow", [&](HWND window) {
                                HWND amount = GetDlgItem(window, journal::TMoneyWindow::AmountEdit);
                                shown.push_back(ui::GetText(amount));
                                if (shown.back().empty()) {
                                    SetWindowTextW(amount, L"100000");
                                    PostMessageW(window, WM_COMMAND, journal::TMoneyWindow::RecordButton, 0);
                                } else if (answeredNo) {
                                    PostMessageW(window, WM_COMMAND, journal::TMoneyWindow::CancelButton, 0);
                                }
                            }};
    const std::wstring question = L"出金 ¥100,000 で現金予定額が -¥90,000 になります。記録しますか?";
    {
        MessageBoxAnswerer no(MessageBoxAnswerer::Answer::Enter);  // Enter by habit says no here
        answeredNo = true;
        SendMessageW(form->Handle(), WM_COMMAND, form1::MoneyOut, 0);
        Pump();
        ASSERT_EQ(no.Boxes().size(), 1u);
        EXPECT_EQ(no.Boxes()[0].text, question);
    }
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"", L"100000"})) << "no: back to the amount, as typed";
    EXPECT_EQ(Count(JournalBytes(), "out"), 0);

    shown.clear();
    answeredNo = false;
    {
        MessageBoxAnswerer yes(MessageBoxAnswerer::Answer::Yes);
        SendMessageW(form->Handle(), WM_COMMAND, form1::MoneyOut, 0);
        Pump();
        ASSERT_EQ(yes.Boxes().size(), 1u);
        EXPECT_EQ(yes.Boxes()[0].text, question);
    }
    EXPECT_EQ(Count(JournalBytes(), "out"), 1);
    EXPECT_NE(JournalBytes().find(",out,,,,,,,,,,,,,,,100000,"), std::string::npos);
    EXPECT_TRUE(errors.Messages().empty()) << testing::PrintToString(errors.Messages());

    ReportReader reports;
    SendMessageW(form->Handle(), WM_COMMAND, form1::TakeX, 0);
    Pump();
    ASSERT_EQ(reports.texts.size(), 1u);
    EXPECT_NE(reports.texts[0].find(L"出金\t1件\t¥100,000"), std::wstring::npos) << "counted";
    EXPECT_NE(reports.texts[0].find(L"現金予定額\t-¥90,000"), std::wstring::npos);
}

// The tax office's own example keyed on the register: ¥3,300 at 10 % and
// ¥2,160 at 8 % reached through a line discount, a department by its number
// and a preset, then ¥1,000 off the whole sale. Each rate is taxed once on
// what is left of it, and the receipt and the X say the same.
TEST_F(JournalOnTest, TheTaxOfficesExampleWithDiscountsComesOutTheSameOnScreenReceiptAndX) {
    WriteAnsiFile(folder.File(L"Pelmora.ini"),
                  L"[Config]\r\nTax=10\r\nReducedTax=8\r\n[Journal]\r\nEnabled=1\r\nFloat=0\r\n"
                  L"[Departments]\r\n12=パン,reduced\r\n[Discounts]\r\nPreset1=20%\r\nLabel1=20%引\r\n");
    StartAgain();
    ErrorRecorder errors;
    Type(L"3500");
    Enter();
    Type(L"200");
    SendChord(VK_SHIFT, VK_SUBTRACT, L'-');  // 値引 on the line
    Type(L"12");
    SendChord(VK_SHIFT, VK_RETURN, L'\r');  // department 12
    Type(L"2700");
    Enter();
    SendChord(VK_CONTROL, VK_F5);  // the preset: 20 % off
    Type(L"1000");
    SendChord(VK_CONTROL, VK_SUBTRACT, L'-');  // 小計値引
    EXPECT_EQ(Caption(form1::Label2), kYen + L"4,460");
    EXPECT_EQ(Page().Sale().Totals().Tax(), 375);
    Type(L"5000");
    Divide();
    EXPECT_EQ(Caption(form1::Label3), kYen + L"540");
    EXPECT_TRUE(errors.Messages().empty()) << testing::PrintToString(errors.Messages());

    PreviewCopier copier;
    F5();
    ASSERT_EQ(copier.opened, 1);
    std::wstring receipt = ClipboardText();
    for (const wchar_t* part : {L"※パン", L"-\u00A5200", L"割引 20%", L"-\u00A5540", L"小計値引", L"(10%対象分)",
                                L"-\u00A5604", L"(8%対象分)", L"-\u00A5396", L"10%対象 \u00A52,696 内消費税 \u00A5245",
                                L"8%対象 \u00A51,764 内消費税 \u00A5130"})
        EXPECT_NE(receipt.find(part), std::wstring::npos) << testing::PrintToString(std::wstring(part));

    ReportReader reports;
    SendMessageW(form->Handle(), WM_COMMAND, form1::TakeX, 0);
    Pump();
    ASSERT_EQ(reports.texts.size(), 1u);
    const std::wstring& x = reports.texts[0];
    for (const wchar_t* line :
         {L"客数\t1", L"客単価\t\u00A54,460", L"※パン\t1点\t\u00A52,700", L"値引\t2件\t-\u00A51,200",
          L"割引\t1件\t-\u00A5540", L"10%対象\t\u00A52,696", L"10%内消費税\t\u00A5245", L"軽減8%対象\t\u00A51,764",
          L"軽減8%内消費税\t\u00A5130", L"消費税合計\t\u00A5375"})
        EXPECT_NE(x.find(line), std::wstring::npos) << testing::PrintToString(std::wstring(line)) << "\n" << x;
}
