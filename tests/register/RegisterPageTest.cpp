// The register page on the real main window, driven by keys as the keypad
// sends them: WM_KEYDOWN, WM_CHAR, WM_KEYUP to the focused window.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "app/Form1.h"
#include "app/Form1Ids.h"
#include "help/Help.h"
#include "help/HelpWindow.h"
#include "register/Sale.h"
#include "tests/support/WindowTest.h"
#include "ui/App.h"
#include "ui/Controls.h"
#include "ui/Gdi.h"

using namespace testing_support;

namespace {

const std::wstring kYen = L"\u00A5";
const COLORREF kYellow = RGB(237, 244, 102);

class RegisterPageTest : public testing::Test {
protected:
    void SetUp() override {
        previousBeeper = TSaNumEdit::SetBeeper([this] { ++beeps; });
        form = std::make_unique<TForm1>(folder.File(L"Pelmora.ini"));
        ShowWindow(form->Handle(), SW_SHOW);
        SetForegroundWindow(form->Handle());
        Pump();
    }
    void TearDown() override {
        help::ShowHelp(nullptr, L"x", HELP_QUIT, 0);
        form.reset();
        Pump();
        TSaNumEdit::SetBeeper(previousBeeper);
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

    // One key as the keyboard sends it to the focused window. Sent, not posted:
    // Wine's TranslateMessage would add a second character to a posted key-down.
    void Press(UINT key, wchar_t ch = 0) {
        HWND target = GetFocus();
        SendMessageW(target, WM_KEYDOWN, key, 1);
        if (ch) SendMessageW(target, WM_CHAR, ch, 1);
        SendMessageW(target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
        Pump();
    }
    // A number too wide to type into the field (it refuses digits it cannot
    // show), put in as a paste would.
    void Put(const wchar_t* text) { SendMessageW(Entry(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)); }
    // Digits and the minus sign on the keypad.
    void Type(const std::wstring& number) {
        for (wchar_t c : number) {
            if (c == L'-') Press(VK_SUBTRACT, L'-');
            else Press(VK_NUMPAD0 + (c - L'0'), c);
        }
    }
    void Enter() { Press(VK_RETURN, L'\r'); }
    void Plus() { Press(VK_ADD, L'+'); }
    void Times() { Press(VK_MULTIPLY, L'*'); }
    void Divide() { Press(VK_DIVIDE, L'/'); }
    void Decimal() { Press(VK_DECIMAL, L'.'); }
    void F4() { Press(VK_F4); }

    void ExpectLine(int row, std::vector<std::wstring> cells) {
        for (int c = 0; c < regi::kCols; ++c) EXPECT_EQ(Cell(c, row), cells[static_cast<size_t>(c)]) << "row " << row << " col " << c;
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

    void SelectPage(int page) {
        HWND tabs = form->Control(form1::PageControl1);
        SendMessageW(tabs, TCM_SETCURSEL, page, 0);
        NMHDR nm{tabs, static_cast<UINT_PTR>(form1::PageControl1), static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageW(form->Handle(), WM_NOTIFY, form1::PageControl1, reinterpret_cast<LPARAM>(&nm));
        Pump();
    }

    TempFolder folder;
    std::unique_ptr<TForm1> form;
    int beeps = 0;
    TSaNumEdit::TBeeper previousBeeper;
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
    struct Case { int id; RECT bounds; };
    const Case cases[] = {
        {form1::StringGrid1, {2, 32, 573, 240}},  {form1::SaNumEdit1, {364, 324, 574, 364}},
        {form1::Label1, {364, 246, 569, 275}},    {form1::Label2, {364, 280, 569, 320}},
        {form1::Label3, {364, 370, 569, 410}},    {form1::Label4, {364, 416, 569, 445}},
        {form1::Label5, {273, 246, 353, 275}},    {form1::Label9, {273, 416, 353, 445}},
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
    const std::pair<UINT, wchar_t> commands[] = {{VK_RETURN, L'\r'}, {VK_ADD, L'+'}, {VK_MULTIPLY, L'*'}, {VK_DIVIDE, L'/'}};
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
    Type(L"10000000");
    Enter();
    EXPECT_EQ(EntryText(), L"10000000");
    EXPECT_EQ(Cell(0, 0), L"");
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
    struct Case { const wchar_t* rate; const wchar_t* tax; };
    const Case cases[] = {{L"8", L"80"}, {L"5.5", L"0"}, {L"", L"0"}, {L"abc", L"0"}, {L"5", L"51"}, {L"-100", L"0"}};
    Type(L"1080");
    Enter();
    for (const Case& c : cases) {
        SetRate(c.rate);
        Type(L"1");
        Times();  // every command refreshes the totals with the rate of the moment
        EXPECT_EQ(Caption(form1::Label1), kYen + c.tax) << c.rate;
        EXPECT_EQ(Caption(form1::Label2), kYen + L"1,080");
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
    Grid().OnEnter = [&] { ++entered; previous(); };
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
    SelectPage(1);
    EXPECT_EQ(EntryText(), L"77") << "leaving the register changes nothing";
    SelectPage(2);
    SelectPage(0);
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
