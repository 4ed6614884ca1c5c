#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/WindowTest.h"
#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/Gdi.h"
#include "ui/StringGrid.h"

using testing_support::Pump;

namespace {

// A form with a button before the grid and one after it.
class EditForm : public testing_support::TestForm {
public:
    EditForm() : TestForm(700, 400) {
        Show();
        before = ui::CreateControl(L"BUTTON", L"before", WS_TABSTOP, 600, 10, 60, 20, Handle(), 2, nullptr);
    }
    HWND before = nullptr, after = nullptr;
};

class StringGridEditTest : public testing::Test {
protected:
    void SetUp() override {
        grid.SetColCount(4);
        grid.SetRowCount(20);
        grid.SetDefaultRowHeight(20);
        grid.SetDefaultColWidth(80);
        grid.SetEditing(true);
        grid.Create(form.Handle(), 1, 10, 10, 340, 150);
        form.after = ui::CreateControl(L"BUTTON", L"after", WS_TABSTOP, 600, 50, 60, 20, form.Handle(), 3, nullptr);
        SetFocus(grid.Handle());
        Pump();
    }
    void TearDown() override { Pump(); }

    void Key(UINT vk, wchar_t ch = 0) { testing_support::SendKey(vk, ch); }
    void Type(const std::wstring& text) { testing_support::TypeKeys(text); }
    std::wstring EditorText() { return ui::GetText(grid.Editor()); }
    std::pair<DWORD, DWORD> Selection() {
        DWORD start = 0, end = 0;
        SendMessageW(grid.Editor(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }
    RECT EditorRect() {
        RECT r;
        GetWindowRect(grid.Editor(), &r);
        MapWindowPoints(nullptr, grid.Handle(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    // The editor lies inside the current cell.
    void ExpectEditorOver(int col, int row) {
        RECT cell = grid.CellRect(col, row);
        RECT editor = EditorRect();
        EXPECT_TRUE(IsWindowVisible(grid.Editor()));
        EXPECT_EQ(editor.left, cell.left);
        EXPECT_EQ(editor.right, cell.right);
        EXPECT_GE(editor.top, cell.top);
        EXPECT_LE(editor.bottom, cell.bottom);
    }

    EditForm form;
    ui::StringGrid grid;
};

TEST_F(StringGridEditTest, TypingOpensTheEditorOverTheCellAndReplacesItsText) {
    grid.SetCell(1, 1, L"old");
    EXPECT_FALSE(grid.EditorMode());
    Type(L"n");
    ASSERT_TRUE(grid.EditorMode());
    EXPECT_EQ(GetFocus(), grid.Editor());
    ExpectEditorOver(1, 1);
    EXPECT_EQ(grid.Cell(1, 1), L"n");
    Type(L"ew");
    EXPECT_EQ(grid.Cell(1, 1), L"new");
    EXPECT_EQ(EditorText(), L"new");
}

TEST_F(StringGridEditTest, OnKeyPressSeesEveryCharacterOnceAndMayChangeOrDiscardIt) {
    std::wstring seen;
    grid.OnKeyPress = [&](wchar_t& key) {
        seen += key;
        if (key == L'x') key = L'y';
        if (key == L'z') key = 0;
    };
    Type(L"z");
    EXPECT_FALSE(grid.EditorMode()) << "a discarded character opens no editor";
    Type(L"axzb");
    EXPECT_EQ(seen, L"zaxzb");
    EXPECT_EQ(grid.Cell(1, 1), L"ayb");
}

TEST_F(StringGridEditTest, OnSetEditTextRunsAfterEveryChangeWithTheCellHoldingTheText) {
    struct Call {
        int col, row;
        std::wstring text, cell;
    };
    std::vector<Call> calls;
    grid.OnSetEditText = [&](int col, int row, const std::wstring& text) {
        calls.push_back({col, row, text, grid.Cell(col, row)});
    };
    grid.SetCurrent(2, 3);
    Type(L"12");
    Key(VK_BACK, L'\b');
    Key(VK_HOME);
    Key(VK_DELETE);
    const Call expected[] = {{2, 3, L"1", L"1"}, {2, 3, L"12", L"12"}, {2, 3, L"1", L"1"}, {2, 3, L"", L""}};
    ASSERT_EQ(calls.size(), std::size(expected));
    for (size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].col, expected[i].col);
        EXPECT_EQ(calls[i].row, expected[i].row);
        EXPECT_EQ(calls[i].text, expected[i].text) << i;
        EXPECT_EQ(calls[i].cell, expected[i].text) << i;
    }
    // A paste is a change too.
    calls.clear();
    ASSERT_TRUE(testing_support::PutClipboardText(L"77", form.Handle()));
    SendMessageW(grid.Editor(), WM_PASTE, 0, 0);
    Pump();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].text, L"77");
    EXPECT_EQ(grid.Cell(2, 3), L"77");
}

TEST_F(StringGridEditTest, TheEditLimitCapsTheText) {
    grid.SetEditLimit(3);
    Type(L"12345");
    EXPECT_EQ(grid.Cell(1, 1), L"123");
}

TEST_F(StringGridEditTest, AGridWithoutEditingOpensNoEditor) {
    grid.SetEditing(false);
    grid.SetCell(1, 1, L"keep");
    Type(L"ab");
    Key(VK_F2);
    Key(VK_DELETE);
    Key(VK_RETURN, L'\r');
    EXPECT_FALSE(grid.EditorMode());
    EXPECT_EQ(grid.Cell(1, 1), L"keep");
    EXPECT_EQ(GetFocus(), grid.Handle());
}

TEST_F(StringGridEditTest, EnterOpensAndClosesTheEditorAndEscapeClosesIt) {
    grid.SetCell(1, 1, L"abc");
    Key(VK_RETURN, L'\r');
    ASSERT_TRUE(grid.EditorMode());
    EXPECT_EQ(EditorText(), L"abc");
    EXPECT_EQ(Selection(), std::make_pair(DWORD{0}, DWORD{3})) << "the text is offered whole";
    Key(VK_RETURN, L'\r');
    EXPECT_FALSE(grid.EditorMode());
    EXPECT_FALSE(IsWindowVisible(grid.Editor()));
    EXPECT_EQ(GetFocus(), grid.Handle());
    Key(VK_F2);
    ASSERT_TRUE(grid.EditorMode());
    Key(VK_END);
    Type(L"d");
    Key(VK_ESCAPE, 0x1B);
    EXPECT_FALSE(grid.EditorMode());
    EXPECT_EQ(GetFocus(), grid.Handle());
    EXPECT_EQ(grid.Cell(1, 1), L"abcd");
}

TEST_F(StringGridEditTest, ArrowsMoveTheEditorWithTheCurrentCell) {
    grid.SetCell(2, 2, L"twenty-two");
    grid.SetCurrent(2, 1);
    Type(L"21");
    Key(VK_DOWN);
    EXPECT_EQ(grid.Row(), 2);
    ASSERT_TRUE(grid.EditorMode());
    ExpectEditorOver(2, 2);
    EXPECT_EQ(EditorText(), L"twenty-two");
    EXPECT_EQ(Selection(), std::make_pair(DWORD{0}, DWORD{10}));
    EXPECT_EQ(grid.Cell(2, 1), L"21");

    // Left and Right move the caret inside the text, and the cell at its ends.
    Key(VK_END);
    Key(VK_LEFT);
    EXPECT_EQ(grid.Col(), 2);
    EXPECT_EQ(Selection(), std::make_pair(DWORD{9}, DWORD{9}));
    Key(VK_END);
    Key(VK_RIGHT);
    EXPECT_EQ(grid.Col(), 3);
    EXPECT_EQ(EditorText(), L"");
    Key(VK_LEFT);
    EXPECT_EQ(grid.Col(), 2);
    Key(VK_HOME);
    Key(VK_LEFT);
    EXPECT_EQ(grid.Col(), 1);
    Key(VK_UP);
    EXPECT_EQ(grid.Row(), 1);
    ExpectEditorOver(1, 1);
}

TEST_F(StringGridEditTest, TheEditorScrollsWithItsRow) {
    Type(L"a");
    for (int i = 0; i < 12; ++i) Key(VK_DOWN);
    EXPECT_EQ(grid.Row(), 13);
    EXPECT_GT(grid.TopRow(), 1);
    ExpectEditorOver(1, 13);
    SendMessageW(grid.Handle(), WM_VSCROLL, SB_TOP, 0);
    Pump();
    EXPECT_FALSE(IsWindowVisible(grid.Editor())) << "its row is scrolled out of view";
}

TEST_F(StringGridEditTest, TabLeavesTheGridAndEnteringRunsOnlyFromOutside) {
    int entered = 0;
    grid.OnEnter = [&] { ++entered; };
    Type(L"q");
    Key(VK_RETURN, L'\r');  // editor to grid and back: no entering
    Key(VK_RETURN, L'\r');
    EXPECT_EQ(entered, 0);
    ASSERT_EQ(GetFocus(), grid.Editor());

    MSG tab{GetFocus(), WM_KEYDOWN, VK_TAB, 1, 0, {}};
    if (!ui::PreTranslate(tab)) SendMessageW(tab.hwnd, WM_KEYDOWN, VK_TAB, 1);
    Pump();
    EXPECT_EQ(GetFocus(), form.after);
    EXPECT_FALSE(grid.EditorMode());
    EXPECT_EQ(grid.Cell(1, 1), L"q");

    // Shift+Tab from the editor goes to the control before the grid.
    SetFocus(grid.Handle());
    EXPECT_EQ(entered, 1);
    Type(L"r");
    BYTE keys[256];
    GetKeyboardState(keys);
    BYTE shift = keys[VK_SHIFT];
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    tab.hwnd = GetFocus();
    if (!ui::PreTranslate(tab)) SendMessageW(tab.hwnd, WM_KEYDOWN, VK_TAB, 1);
    keys[VK_SHIFT] = shift;
    SetKeyboardState(keys);
    Pump();
    EXPECT_EQ(GetFocus(), form.before);
    EXPECT_EQ(entered, 1);
}

TEST_F(StringGridEditTest, LosingTheFocusClosesTheEditorAndKeepsTheText) {
    Type(L"kept");
    SetFocus(form.before);
    Pump();
    EXPECT_FALSE(grid.EditorMode());
    EXPECT_FALSE(IsWindowVisible(grid.Editor()));
    EXPECT_EQ(grid.Cell(1, 1), L"kept");
}

TEST_F(StringGridEditTest, ADoubleClickOpensTheEditorAndAClickClosesIt) {
    grid.SetCell(2, 4, L"dbl");
    RECT cell = grid.CellRect(2, 4);
    PostMessageW(grid.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(cell.left + 5, cell.top + 5));
    Pump();
    EXPECT_EQ(grid.Col(), 2);
    EXPECT_EQ(grid.Row(), 4);
    ASSERT_TRUE(grid.EditorMode());
    EXPECT_EQ(EditorText(), L"dbl");
    RECT other = grid.CellRect(1, 2);
    PostMessageW(grid.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(other.left + 5, other.top + 5));
    PostMessageW(grid.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(other.left + 5, other.top + 5));
    Pump();
    EXPECT_FALSE(grid.EditorMode());
    EXPECT_EQ(grid.Row(), 2);
}

TEST_F(StringGridEditTest, TheOwnerWritingTheEditedCellShowsInTheEditor) {
    Type(L"a");
    grid.SetCell(1, 1, L"from owner");
    EXPECT_EQ(EditorText(), L"from owner");
    grid.SetCell(2, 1, L"elsewhere");
    EXPECT_EQ(EditorText(), L"from owner");
}

TEST_F(StringGridEditTest, FixedCellsAreNeverEdited) {
    grid.SetCurrent(0, 0);  // clamped to the first normal cell
    EXPECT_EQ(grid.Col(), 1);
    EXPECT_EQ(grid.Row(), 1);
    grid.SetFixedCols(0);
    grid.SetFixedRows(0);
    grid.SetFixedCols(1);
    grid.SetFixedRows(1);
    Type(L"x");
    EXPECT_EQ(grid.Cell(0, 0), L"");
    EXPECT_EQ(grid.Cell(1, 1), L"x");
}

TEST_F(StringGridEditTest, TheCellUnderAnOpenEditorIsNotHighlighted) {
    const COLORREF yellow = RGB(237, 244, 102);
    grid.SetColor(yellow);
    auto pixelOfCurrentCell = [&] {
        RECT cell = grid.CellRect(1, 1);
        return testing_support::ClientPicture(grid.Handle()).At(cell.right - 2, cell.top);
    };
    EXPECT_EQ(pixelOfCurrentCell(), GetSysColor(COLOR_HIGHLIGHT));
    Type(L"e");
    EXPECT_EQ(pixelOfCurrentCell(), yellow);
    Key(VK_RETURN, L'\r');
    EXPECT_EQ(pixelOfCurrentCell(), GetSysColor(COLOR_HIGHLIGHT));
}

TEST_F(StringGridEditTest, TheScrollBarCanBeLeftOut) {
    EXPECT_NE(GetWindowLongPtrW(grid.Handle(), GWL_STYLE) & WS_VSCROLL, 0);
    grid.SetScrollBars(false);
    EXPECT_EQ(GetWindowLongPtrW(grid.Handle(), GWL_STYLE) & WS_VSCROLL, 0);
    ui::StringGrid bare;
    bare.SetScrollBars(false);
    bare.Create(form.Handle(), 4, 10, 200, 200, 100);
    EXPECT_EQ(GetWindowLongPtrW(bare.Handle(), GWL_STYLE) & WS_VSCROLL, 0);
    RECT client;
    GetClientRect(bare.Handle(), &client);
    RECT window;
    GetWindowRect(bare.Handle(), &window);
    EXPECT_EQ(window.right - window.left - client.right, 2 * GetSystemMetrics(SM_CXEDGE)) << "no room for a bar";
}

}  // namespace
