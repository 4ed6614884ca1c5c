#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/support/WindowTest.h"
#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/Gdi.h"
#include "ui/StringGrid.h"

using testing_support::Pump;

namespace {

constexpr COLORREF kYellow = RGB(237, 244, 102);

// A form holding one grid and one button to take the focus.
class GridForm : public testing_support::TestForm {
public:
    GridForm() : TestForm(700, 400) {
        Show();
        button = ui::CreateControl(L"BUTTON", L"b", WS_TABSTOP, 600, 300, 50, 20, Handle(), 2, nullptr);
    }
    HWND button = nullptr;
};

class StringGridTest : public testing::Test {
protected:
    // The register's shape: 100 x 6, no fixed cells, rows of 40, five of them shown.
    void MakeRegisterGrid() {
        grid.SetRowCount(100);
        grid.SetColCount(6);
        grid.SetFixedRows(0);
        grid.SetFixedCols(0);
        grid.SetDefaultColWidth(200);
        grid.SetDefaultRowHeight(40);
        grid.SetColWidth(0, 40);
        grid.SetColWidth(2, 66);
        grid.SetColWidth(4, 40);
        grid.SetColWidth(5, 40);
        grid.Create(form.Handle(), 1, 2, 32, 571, (40 + 1) * 5 + 3);
        Pump();
    }

    std::vector<COLORREF> Pixels(int x, int y, int count) {
        testing_support::ClientPicture picture(grid.Handle());
        std::vector<COLORREF> pixels;
        for (int i = 0; i < count; ++i) pixels.push_back(picture.At(x + i, y));
        return pixels;
    }
    COLORREF Pixel(int x, int y) { return Pixels(x, y, 1)[0]; }

    void Click(int x, int y) {
        PostMessageW(grid.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        PostMessageW(grid.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        Pump();
    }

    void TearDown() override { Pump(); }

    GridForm form;
    ui::StringGrid grid;
};

TEST_F(StringGridTest, ANewGridHasOneFixedRowAndColumn) {
    grid.Create(form.Handle(), 1, 0, 0, 300, 200);
    EXPECT_EQ(grid.RowCount(), 5);
    EXPECT_EQ(grid.ColCount(), 5);
    EXPECT_EQ(grid.FixedRows(), 1);
    EXPECT_EQ(grid.FixedCols(), 1);
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_EQ(grid.Col(), 1);
    EXPECT_EQ(grid.TopRow(), 1);
}

TEST_F(StringGridTest, CellRectsFollowTheColumnWidthsAndLines) {
    MakeRegisterGrid();
    struct Case {
        int col, row;
        RECT expected;
    };
    const Case cases[] = {
        {0, 0, {0, 0, 40, 40}},       {1, 0, {41, 0, 241, 40}},    {2, 1, {242, 41, 308, 81}},
        {3, 4, {309, 164, 509, 204}}, {4, 2, {510, 82, 550, 122}},
    };
    for (const Case& c : cases) {
        RECT r = grid.CellRect(c.col, c.row);
        EXPECT_EQ(r.left, c.expected.left) << c.col << "," << c.row;
        EXPECT_EQ(r.top, c.expected.top) << c.col << "," << c.row;
        EXPECT_EQ(r.right, c.expected.right) << c.col << "," << c.row;
        EXPECT_EQ(r.bottom, c.expected.bottom) << c.col << "," << c.row;
    }
    // Column 5 lies beyond the client area, and row 5 starts below the five shown rows.
    RECT hidden = grid.CellRect(5, 0);
    EXPECT_EQ(hidden.right - hidden.left, 0);
    RECT client;
    GetClientRect(grid.Handle(), &client);
    EXPECT_EQ(client.right, 571 - 2 * GetSystemMetrics(SM_CXEDGE) - GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(client.bottom, 204);
    EXPECT_EQ(grid.VisibleRowCount(), 5);
}

TEST_F(StringGridTest, MouseToCellFindsTheCellUnderAPoint) {
    MakeRegisterGrid();
    grid.SetTopRow(10);
    struct Case {
        int x, y, col, row;
    };
    const Case cases[] = {{0, 0, 0, 10}, {40, 40, 0, 10}, {41, 41, 1, 11}, {300, 170, 2, 14}, {540, 5, 4, 10}};
    for (const Case& c : cases) {
        int col = -1, row = -1;
        ASSERT_TRUE(grid.MouseToCell(c.x, c.y, col, row)) << c.x << "," << c.y;
        EXPECT_EQ(col, c.col) << c.x << "," << c.y;
        EXPECT_EQ(row, c.row) << c.x << "," << c.y;
    }
}

TEST_F(StringGridTest, MovingTheCursorDownLeavesItsRowLastFullyVisible) {
    MakeRegisterGrid();
    for (int row = 0; row <= 4; ++row) {
        grid.SetRow(row);
        EXPECT_EQ(grid.TopRow(), 0) << row;
    }
    grid.SetRow(5);
    EXPECT_EQ(grid.TopRow(), 1);
    grid.SetRow(6);
    EXPECT_EQ(grid.TopRow(), 2);
    RECT r = grid.CellRect(0, 6);
    EXPECT_EQ(r.bottom, 204) << "row 6 is shown whole at the bottom";
    grid.SetRow(99);
    EXPECT_EQ(grid.TopRow(), 95);
    // Moving up within view does not scroll; above it, the row comes to the top.
    grid.SetRow(97);
    EXPECT_EQ(grid.TopRow(), 95);
    grid.SetRow(3);
    EXPECT_EQ(grid.TopRow(), 3);
    grid.SetRow(0);
    EXPECT_EQ(grid.TopRow(), 0);
}

TEST_F(StringGridTest, SelectCellMayRefuseAColumn) {
    MakeRegisterGrid();
    std::vector<std::pair<int, int>> asked;
    grid.OnSelectCell = [&](int col, int row, bool& canSelect) {
        asked.emplace_back(col, row);
        canSelect = col <= 0;
    };
    EXPECT_TRUE(grid.SetCurrent(0, 3));
    EXPECT_FALSE(grid.SetCurrent(2, 7));
    EXPECT_EQ(grid.Col(), 0);
    EXPECT_EQ(grid.Row(), 3);
    EXPECT_FALSE(grid.SetCurrent(1, 3));
    EXPECT_EQ(grid.Col(), 0);
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(asked[1], std::make_pair(2, 7));
}

TEST_F(StringGridTest, ArrowKeysMoveTheCurrentCellThroughSelectCell) {
    MakeRegisterGrid();
    SetFocus(grid.Handle());
    grid.OnSelectCell = [](int col, int, bool& canSelect) { canSelect = col <= 0; };
    struct Step {
        WPARAM key;
        int col, row;
    };
    const Step steps[] = {{VK_DOWN, 0, 1}, {VK_DOWN, 0, 2}, {VK_RIGHT, 0, 2},
                          {VK_UP, 0, 1},   {VK_NEXT, 0, 6}, {VK_END, 0, 6}};
    for (const Step& s : steps) {
        SendMessageW(grid.Handle(), WM_KEYDOWN, s.key, 1);
        EXPECT_EQ(grid.Col(), s.col) << s.key;
        EXPECT_EQ(grid.Row(), s.row) << s.key;
    }
    EXPECT_EQ(grid.TopRow(), 2);
}

TEST_F(StringGridTest, AClickSelectsACellAndFocusesTheGrid) {
    MakeRegisterGrid();
    SetFocus(form.button);
    int entered = 0;
    grid.OnEnter = [&] { ++entered; };
    Click(300, 100);  // column 2, row 2
    EXPECT_EQ(GetFocus(), grid.Handle());
    EXPECT_EQ(entered, 1);
    EXPECT_EQ(grid.Col(), 2);
    EXPECT_EQ(grid.Row(), 2);
}

TEST_F(StringGridTest, AClickEndsWhenOnEnterHandsTheFocusOn) {
    MakeRegisterGrid();
    SetFocus(form.button);
    grid.OnEnter = [&] { SendMessageW(form.Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(form.button), TRUE); };
    grid.SetCell(0, 2, L"3");
    Click(20, 100);
    EXPECT_EQ(GetFocus(), form.button);
    EXPECT_EQ(grid.Row(), 0);
    EXPECT_EQ(grid.Cell(0, 2), L"3");
}

TEST_F(StringGridTest, TheScrollBarScrollsWithoutTakingTheFocus) {
    MakeRegisterGrid();
    SetFocus(form.button);
    SendMessageW(grid.Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    SendMessageW(grid.Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(grid.TopRow(), 2);
    SendMessageW(grid.Handle(), WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(grid.TopRow(), 7);
    SendMessageW(grid.Handle(), WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(grid.TopRow(), 95);
    SendMessageW(grid.Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(grid.TopRow(), 95);
    SendMessageW(grid.Handle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0), 0);
    SendMessageW(grid.Handle(), WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(grid.TopRow(), 0);
    EXPECT_EQ(GetFocus(), form.button);
    EXPECT_EQ(grid.Row(), 0);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(grid.Handle(), SB_VERT, &info);
    EXPECT_EQ(info.nMax, 99);
    EXPECT_EQ(info.nPage, 5u);
}

TEST_F(StringGridTest, TheWheelScrollsThreeRowsANotchAndAddsUpPartsOfNotches) {
    MakeRegisterGrid();
    // A notch is 120; fine wheels and touchpads send less at a time.
    struct Step {
        short delta;
        int topRow;
    };
    const Step steps[] = {
        {-120, 3}, {-240, 9},                       // whole notches down
        {-30, 9},  {-30, 9},  {-30, 9}, {-30, 12},  // four quarters make one
        {-40, 12}, {80, 12},  {80, 9},              // back up: what was left counts
        {360, 0},  {120, 0},                        // the top stops it
    };
    for (const Step& step : steps) {
        SendMessageW(grid.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, step.delta), 0);
        EXPECT_EQ(grid.TopRow(), step.topRow) << "after " << step.delta;
    }
}

TEST_F(StringGridTest, CellsKeepTheirTextsWhenColumnsAreAdded) {
    MakeRegisterGrid();
    grid.SetCell(1, 3, L"1200");
    grid.SetCell(5, 99, L"1");
    grid.SetColCount(7);
    EXPECT_EQ(grid.Cell(1, 3), L"1200");
    EXPECT_EQ(grid.Cell(5, 99), L"1");
    EXPECT_EQ(grid.Cell(6, 99), L"");
    EXPECT_EQ(grid.Cell(9, 0), L"") << "outside the grid reads empty";
    EXPECT_THROW(grid.SetCell(0, 100, L"x"), std::out_of_range);
    grid.ClearCells();
    EXPECT_EQ(grid.Cell(1, 3), L"");
}

TEST_F(StringGridTest, TheCurrentCellIsHighlightedUnlessTheOwnerPaintsIt) {
    MakeRegisterGrid();
    grid.SetColor(kYellow);
    SetFocus(form.button);
    COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    EXPECT_EQ(Pixel(20, 20), highlight) << "current cell (0,0)";
    EXPECT_EQ(Pixel(100, 20), kYellow);
    EXPECT_EQ(Pixel(40, 20), RGB(192, 192, 192)) << "vertical line";
    EXPECT_EQ(Pixel(100, 40), RGB(192, 192, 192)) << "horizontal line";

    grid.OnDrawCell = [&](int, int, const RECT& rect, ui::StringGrid::DrawState state, ui::StringGrid::Canvas& canvas) {
        if (state.selected) canvas.brushColor = grid.Color();
        canvas.FillRect(rect);
    };
    EXPECT_EQ(Pixel(20, 20), kYellow);
}

TEST_F(StringGridTest, FixedCellsArePaintedAsHeaders) {
    grid.Create(form.Handle(), 1, 0, 0, 300, 200);
    grid.SetColor(kYellow);
    EXPECT_EQ(Pixel(10, 10), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(Pixel(80, 30), GetSysColor(COLOR_HIGHLIGHT)) << "current cell (1,1)";
    EXPECT_EQ(Pixel(150, 60), kYellow);
}

TEST_F(StringGridTest, TheOwnerDrawsCellTextWhereItWants) {
    MakeRegisterGrid();
    ui::Font font = ui::MakeFont(ui::kFontFace, 24);
    grid.SetFont(font.get());
    grid.SetColor(kYellow);
    grid.SetCell(1, 1, L"8888");
    grid.OnDrawCell = [&](int col, int row, const RECT& rect, ui::StringGrid::DrawState,
                          ui::StringGrid::Canvas& canvas) {
        canvas.brushColor = grid.Color();
        canvas.FillRect(rect);
        canvas.DrawText(grid.Cell(col, row), rect, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    };
    // Right-aligned: ink near the cell's right edge, none at its left.
    RECT cell = grid.CellRect(1, 1);
    int middle = (cell.top + cell.bottom) / 2;
    bool inkRight = false, inkLeft = false;
    for (COLORREF c : Pixels(cell.right - 60, middle, 60)) inkRight = inkRight || c != kYellow;
    for (COLORREF c : Pixels(cell.left, middle, 60)) inkLeft = inkLeft || c != kYellow;
    EXPECT_TRUE(inkRight);
    EXPECT_FALSE(inkLeft);
}

}  // namespace

TEST_F(StringGridTest, ScrollingShowsWhatAWholeRepaintShows) {
    // Each row in a colour of its own, so that a row drawn at the wrong place shows.
    grid.OnDrawCell = [](int, int row, const RECT& rect, ui::StringGrid::DrawState, ui::StringGrid::Canvas& canvas) {
        canvas.brushColor = RGB(40 + row, 200 - row, 90);
        canvas.FillRect(rect);
    };
    grid.SetOwnerCoversCells(true);
    MakeRegisterGrid();
    // What the window shows, read back from its own surface.
    auto shown = [&] {
        RECT client;
        GetClientRect(grid.Handle(), &client);
        ui::WindowDC window(grid.Handle());
        ui::MemoryDC memory(window);
        ui::Bitmap bitmap(CreateCompatibleBitmap(window, client.right, client.bottom));
        ui::SelectGuard select(memory, bitmap.get());
        BitBlt(memory, 0, 0, client.right, client.bottom, window, 0, 0, SRCCOPY);
        std::vector<COLORREF> pixels;
        for (int y = 0; y < client.bottom; y += 3)
            for (int x = 0; x < client.right; x += 7) pixels.push_back(GetPixel(memory, x, y));
        return pixels;
    };
    // Down one row at a time past the bottom, then a page up and a page down.
    for (int row : {5, 6, 7, 2, 30}) {
        grid.SetRow(row);
        UpdateWindow(grid.Handle());
        std::vector<COLORREF> scrolled = shown();
        InvalidateRect(grid.Handle(), nullptr, FALSE);
        UpdateWindow(grid.Handle());
        EXPECT_EQ(scrolled, shown()) << "row " << row;
    }
    EXPECT_EQ(Pixel(100, 20), RGB(40 + 26, 200 - 26, 90)) << "row 26 at the top";
}
