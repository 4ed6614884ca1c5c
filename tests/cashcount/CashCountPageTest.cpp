#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>

#include "cashcount/CashCount.h"
#include "tests/support/MainWindowTest.h"
#include "ui/Controls.h"
#include "ui/Error.h"

using namespace testing_support;
using cashcount::DenominationValues;

namespace {

void Key(UINT vk, wchar_t ch = 0) {
    ASSERT_NE(GetFocus(), nullptr);
    SendKey(vk, ch);
}

void Type(const std::wstring& text) {
    ASSERT_NE(GetFocus(), nullptr);
    TypeKeys(text);
}

std::int64_t Value(int row) { return std::stoll(DenominationValues[static_cast<size_t>(row - 1)]); }

class CashCountPageTest : public MainWindowTest {
protected:
    void SetUp() override {
        Open();
        ShowPage(1);
        SetFocus(Grid().Handle());
        Pump();
    }

    ui::StringGrid& Grid() { return form->CashCountPage().StringGrid2(); }
    TSaNumEdit& Computed() { return form->CashCountPage().SaNumEdit2(); }
    std::wstring Label11() { return ui::GetText(form->Control(form1::Label11)); }
    std::wstring Count(int row) { return Grid().Cell(1, row); }
    std::wstring Subtotal(int row) { return Grid().Cell(2, row); }
    std::wstring Total() { return Grid().Cell(2, 17); }

    // Goes to a count row with Enter, from wherever the cursor is.
    void GoToRow(int row) {
        for (int i = 0; i < 16 && Grid().Row() != row; ++i) Key(VK_RETURN, L'\r');
        ASSERT_EQ(Grid().Row(), row);
    }

    void Click(int col, int row) {
        RECT r = Grid().CellRect(col, row);
        PostMessageW(Grid().Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.left + 5, r.top + 5));
        PostMessageW(Grid().Handle(), WM_LBUTTONUP, 0, MAKELPARAM(r.left + 5, r.top + 5));
        Pump();
    }
};

TEST_F(CashCountPageTest, StartUpWritesHeadersAndCaptionsAndSelectsTheFirstCount) {
    EXPECT_EQ(Grid().Cell(0, 0), L"金種");
    EXPECT_EQ(Grid().Cell(1, 0), L"枚数");
    EXPECT_EQ(Grid().Cell(2, 0), L"小計");
    for (int row = 1; row <= 17; ++row) {
        EXPECT_EQ(Grid().Cell(0, row), cashcount::DenominationNames[static_cast<size_t>(row - 1)]);
        EXPECT_EQ(Count(row), L"") << row;
        EXPECT_EQ(Subtotal(row), L"") << row;
    }
    EXPECT_EQ(Grid().Col(), 1);
    EXPECT_EQ(Grid().Row(), 1);
    EXPECT_EQ(Grid().ColCount(), 3);
    EXPECT_EQ(Grid().RowCount(), 18);
    EXPECT_EQ(Grid().FixedCols(), 1);
    EXPECT_EQ(Grid().FixedRows(), 1);
    EXPECT_EQ(Grid().Color(), RGB(237, 244, 102));
    EXPECT_TRUE(Grid().Editing());
    EXPECT_EQ(GetWindowLongPtrW(Grid().Handle(), GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL), 0);
    EXPECT_EQ(Computed().Text(), L"0");
    EXPECT_EQ(Label11(), L"0");
    EXPECT_EQ(ui::GetText(form->Control(form1::Label20)), L"計算上の金額");
    EXPECT_EQ(ui::GetText(form->Control(form1::Label21)), L"現金過不足");
}

TEST_F(CashCountPageTest, WidgetsStandWhereTheyBelongInTabOrder) {
    struct Expected {
        int id, left, top, width, height;
    };
    const Expected widgets[] = {{form1::StringGrid2, 8, 8, 281, 382}, {form1::Label11, 168, 418, 121, 23}};
    for (const Expected& w : widgets)
        EXPECT_EQ(FrameOf(form->Control(w.id)), (Frame{w.left, w.top, w.width, w.height})) << w.id;
    RECT computed = Place(form1::SaNumEdit2);
    EXPECT_EQ(computed.left, 168);
    EXPECT_EQ(computed.top, 392);
    EXPECT_EQ(computed.right - computed.left, 121);
    EXPECT_EQ(Place(form1::Label20).left, 72);
    EXPECT_EQ(Place(form1::Label21).top, 426);
    // Every row shows without scrolling.
    RECT total = Grid().CellRect(2, 17);
    EXPECT_GT(total.bottom, total.top);

    HWND sheet = GetParent(Grid().Handle());
    EXPECT_EQ(GetNextDlgTabItem(sheet, nullptr, FALSE), Grid().Handle());
    EXPECT_EQ(GetNextDlgTabItem(sheet, Grid().Handle(), FALSE), Computed().Handle());
}

TEST_F(CashCountPageTest, ACountOfThreeRollsOfFiveHundredAddsToTheTotal) {
    GoToRow(5);
    Type(L"3");
    EXPECT_EQ(Count(5), L"3");
    EXPECT_EQ(Subtotal(5), std::to_wstring(3 * Value(5)));
    EXPECT_EQ(Total(), std::to_wstring(3 * Value(5)));
    // The computed amount is still 0: the over/short is the total itself.
    EXPECT_EQ(Label11(), Total());
}

TEST_F(CashCountPageTest, EveryKeystrokeRecalculates) {
    GoToRow(4);
    Type(L"1");
    EXPECT_EQ(Subtotal(4), std::to_wstring(Value(4)));
    EXPECT_EQ(Label11(), std::to_wstring(Value(4)));
    Type(L"2");
    EXPECT_EQ(Count(4), L"12");
    EXPECT_EQ(Subtotal(4), std::to_wstring(12 * Value(4)));
    EXPECT_EQ(Total(), std::to_wstring(12 * Value(4)));
}

TEST_F(CashCountPageTest, TypedCountsGiveTheirSubtotals) {
    struct Case {
        const wchar_t* typed;
        const wchar_t* count;
        std::int64_t times;  // the subtotal is this many face values
    };
    const Case cases[] = {
        {L"-2", L"-2", -2},
        {L"2.5", L"2.5", 0},
        {L"-", L"-", 0},
        {L"5-", L"5-", 0},
        {L"0", L"0", 0},
        // A count cell takes nine characters; the tenth is refused.
        {L"9999999999", L"999999999", 999999999},
    };
    for (const Case& c : cases) {
        GoToRow(4);
        Type(c.typed);
        EXPECT_EQ(Count(4), c.count) << c.typed;
        EXPECT_EQ(Subtotal(4), std::to_wstring(c.times * Value(4))) << c.typed;
        EXPECT_EQ(Total(), std::to_wstring(c.times * Value(4))) << c.typed;
        Key(VK_RETURN, L'\r');  // the next count: typing there replaces nothing of row 4
    }
}

TEST_F(CashCountPageTest, CharactersOtherThanDigitsMinusAndPointAreDiscarded) {
    GoToRow(2);
    Type(L"4");
    const wchar_t refused[] = {L'a', L'+', L' ', L',', L'\b', 0x03, 0x16, 0x18, 0x1B, 0xFF11};
    for (wchar_t ch : refused) TypeKeys(std::wstring(1, ch));
    EXPECT_EQ(Count(2), L"4");
    EXPECT_EQ(Subtotal(2), std::to_wstring(4 * Value(2)));
}

TEST_F(CashCountPageTest, BackspaceDoesNothingNeitherInTheEditorNorOnTheGrid) {
    GoToRow(3);
    Type(L"12");
    Key(VK_BACK, L'\b');
    EXPECT_EQ(Count(3), L"12");
    // On the grid without its editor, Backspace does not open one either.
    SetFocus(Computed().Handle());
    SetFocus(Grid().Handle());
    Pump();
    EXPECT_FALSE(Grid().EditorMode());
    Key(VK_BACK, L'\b');
    EXPECT_FALSE(Grid().EditorMode());
    EXPECT_EQ(Count(3), L"12");
}

TEST_F(CashCountPageTest, DeleteEmptiesTheCountAndTheSubtotalShowsZero) {
    GoToRow(4);
    Type(L"7");
    Key(VK_DOWN);
    Key(VK_UP);  // back on row 4: its count is offered whole
    ASSERT_EQ(Grid().Row(), 4);
    Key(VK_DELETE);
    EXPECT_EQ(Count(4), L"");
    EXPECT_EQ(Subtotal(4), L"0");
    EXPECT_EQ(Total(), L"0");
    EXPECT_EQ(Label11(), L"0");

    // Delete on the grid itself clears the current count too.
    Type(L"5");
    SetFocus(Computed().Handle());
    SetFocus(Grid().Handle());
    Pump();
    Key(VK_DELETE);
    EXPECT_EQ(Count(4), L"");
    EXPECT_EQ(Subtotal(4), L"0");
}

TEST_F(CashCountPageTest, EnterMovesDownAndSixteenWrapsToOne) {
    struct Case {
        int from, to;
    };
    const Case cases[] = {{1, 2}, {5, 6}, {15, 16}, {16, 1}};
    for (const Case& c : cases) {
        Grid().SetCurrent(1, c.from);
        Key(VK_RETURN, L'\r');
        EXPECT_EQ(Grid().Row(), c.to) << c.from;
        EXPECT_EQ(Grid().Col(), 1);
        EXPECT_FALSE(Grid().EditorMode()) << "Enter opens no editor";
    }
    // In the editor too: the editor follows to the next count.
    Grid().SetCurrent(1, 5);
    Type(L"1");
    ASSERT_TRUE(Grid().EditorMode());
    Key(VK_RETURN, L'\r');
    EXPECT_EQ(Grid().Row(), 6);
    EXPECT_EQ(Count(5), L"1");
    Type(L"2");
    EXPECT_EQ(Count(6), L"2");
}

TEST_F(CashCountPageTest, NeitherSubtotalsNorTheTotalRowCanBeReached) {
    // By the arrow keys, on the grid and in the editor.
    const UINT arrows[] = {VK_RIGHT, VK_LEFT, VK_END, VK_HOME};
    for (UINT arrow : arrows) {
        Key(arrow);
        EXPECT_EQ(Grid().Col(), 1);
    }
    Grid().SetCurrent(1, 16);
    Key(VK_DOWN);
    Key(VK_NEXT);
    EXPECT_EQ(Grid().Row(), 16);
    Type(L"8");
    Key(VK_RIGHT);
    Key(VK_DOWN);
    EXPECT_EQ(Grid().Col(), 1);
    EXPECT_EQ(Grid().Row(), 16);
    Grid().SetCurrent(1, 1);
    Key(VK_UP);
    Key(VK_PRIOR);
    EXPECT_EQ(Grid().Row(), 1);

    // By the mouse.
    const POINT cells[] = {{2, 3}, {1, 17}, {2, 17}, {0, 17}, {0, 5}, {2, 0}};
    for (POINT cell : cells) {
        Click(cell.x, cell.y);
        EXPECT_EQ(Grid().Col(), 1) << cell.x << "," << cell.y;
        EXPECT_EQ(Grid().Row(), 1) << cell.x << "," << cell.y;
    }
    Click(1, 9);
    EXPECT_EQ(Grid().Row(), 9);
}

TEST_F(CashCountPageTest, OverShortIsTheTotalLessTheComputedAmount) {
    Computed().SetText(L"100000");
    // Changing the computed amount alone recalculates nothing.
    EXPECT_EQ(Label11(), L"0");
    Type(L"12");  // row 1: twelve notes of 10000
    EXPECT_EQ(Label11(), std::to_wstring(12 * Value(1) - 100000));
    Key(VK_DOWN);
    Key(VK_UP);  // back on row 1, its count offered whole: typing replaces it
    Type(L"9");
    EXPECT_EQ(Count(1), L"9");
    EXPECT_EQ(Label11(), std::to_wstring(9 * Value(1) - 100000));
}

TEST_F(CashCountPageTest, AComputedAmountThatIsNoIntegerIsReportedAndLabel11Kept) {
    GoToRow(4);
    Type(L"3");
    Key(VK_UP);
    Key(VK_DOWN);
    std::wstring before = Label11();
    ErrorRecorder errors;
    const wchar_t* texts[] = {L"12.5", L""};
    for (const wchar_t* text : texts) {
        Computed().SetText(text);
        std::wstring shown = Computed().Text();
        Type(L"4");
        ASSERT_FALSE(errors.Messages().empty());
        EXPECT_EQ(errors.Messages().back(), L"'" + shown + L"' は整数ではありません");
        EXPECT_EQ(Subtotal(4), std::to_wstring(4 * Value(4)));
        EXPECT_EQ(Total(), std::to_wstring(4 * Value(4)));
        EXPECT_EQ(Label11(), before);
        Key(VK_UP);
        Key(VK_DOWN);
    }
    EXPECT_EQ(errors.Messages().size(), 2u);
}

TEST_F(CashCountPageTest, EnterInTheComputedAmountBeepsAndGoesToTheFirstCount) {
    GoToRow(7);
    Type(L"2");
    std::wstring label = Label11();
    SetFocus(Computed().Handle());
    Pump();
    Type(L"5");
    Key(VK_RETURN, L'\r');
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(Grid().Col(), 1);
    EXPECT_EQ(Grid().Row(), 1);
    EXPECT_EQ(GetFocus(), Grid().Handle());
    EXPECT_EQ(Label11(), label);
    EXPECT_EQ(Computed().Text(), L"5");
    // Typing goes on in the count of "１万円札".
    Type(L"1");
    EXPECT_EQ(Count(1), L"1");
    EXPECT_EQ(Label11(), std::to_wstring(Value(1) + 2 * Value(7) - 5));
}

TEST_F(CashCountPageTest, TabLeavesTheGridForTheComputedAmountAndComesBack) {
    Type(L"6");
    ASSERT_TRUE(Grid().EditorMode());
    MSG tab{GetFocus(), WM_KEYDOWN, VK_TAB, 1, 0, {}};
    if (!ui::PreTranslate(tab)) SendMessageW(tab.hwnd, WM_KEYDOWN, VK_TAB, 1);
    Pump();
    EXPECT_EQ(GetFocus(), Computed().Handle());
    EXPECT_FALSE(Grid().EditorMode());
    EXPECT_EQ(Count(1), L"6");
}

TEST_F(CashCountPageTest, SwitchingPagesKeepsEverything) {
    Computed().SetText(L"1000");
    GoToRow(5);
    Type(L"2");
    std::wstring label = Label11();
    ShowPage(0);
    ShowPage(1);
    ShowPage(2);
    ShowPage(1);
    EXPECT_EQ(Count(5), L"2");
    EXPECT_EQ(Subtotal(5), std::to_wstring(2 * Value(5)));
    EXPECT_EQ(Total(), std::to_wstring(2 * Value(5)));
    EXPECT_EQ(Label11(), label);
    EXPECT_EQ(Computed().Text(), L"1000");
}

TEST_F(CashCountPageTest, TheLargestCountsOfEveryRowAddUpExactly) {
    std::int64_t expected = 0;
    for (int row = 1; row <= 16; ++row) {
        Type(L"999999999");
        Key(VK_RETURN, L'\r');
        expected += 999999999LL * Value(row);
    }
    EXPECT_EQ(Total(), std::to_wstring(expected));
    EXPECT_EQ(Label11(), std::to_wstring(expected));
}

}  // namespace

TEST_F(CashCountPageTest, KeysAfterAnInterruptionReachTheCellBeingCounted) {
    HWND other = CreateWindowExW(0, L"STATIC", L"another program", WS_POPUP, 700, 0, 100, 100, nullptr, nullptr,
                                 nullptr, nullptr);
    // Each way the focus can go away from the count and come back.
    const std::pair<const char*, std::function<void()>> interruptions[] = {
        {"error box",
         [] {
             MessageBoxAnswerer answerer(MessageBoxAnswerer::Answer::Enter);
             ui::ShowError(L"'1.5' は整数ではありません");
         }},
        {"exit question answered no",
         [this] {
             MessageBoxAnswerer answerer(MessageBoxAnswerer::Answer::No);
             form->Exit1Click();
         }},
        {"another program",
         [&] {
             ShowWindow(other, SW_SHOW);
             SetForegroundWindow(other);
             SetActiveWindow(other);
             Pump();
             SetForegroundWindow(form->Handle());
             SetActiveWindow(form->Handle());
         }},
    };
    int row = 4;  // "1000円札"
    for (const auto& [name, interrupt] : interruptions) {
        SCOPED_TRACE(name);
        GoToRow(row);
        Type(L"1");
        ASSERT_TRUE(Grid().EditorMode());
        interrupt();
        Pump();
        Type(L"34");
        HWND focus = GetFocus();
        EXPECT_TRUE(focus == Grid().Handle() || (focus == Grid().Editor() && IsWindowVisible(focus)));
        EXPECT_EQ(Count(row), L"134");
        EXPECT_EQ(Subtotal(row), std::to_wstring(134 * Value(row)));
        EXPECT_EQ(Label11(), std::to_wstring(134 * Value(row)));
        Key(VK_ESCAPE);
    }
    DestroyWindow(other);
}
