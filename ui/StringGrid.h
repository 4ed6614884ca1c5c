#pragma once
// A self-drawn grid of text cells: rows and columns with a default size and
// per-column widths, fixed (header) rows and columns, grid lines, one current
// cell, and a vertical scroll bar that scrolls without taking the focus.
//
// The owner hooks in through events: OnDrawCell paints over a cell after the
// grid's own painting, OnSelectCell may refuse a new current cell, OnEnter
// runs when the grid receives the focus.
//
// With editing on (SetEditing), typing into the current cell opens an in-place
// editor (an EDIT child) over it. Every typed character goes to OnKeyPress
// first, which may change it or discard it (set it to 0); Enter that OnKeyPress
// leaves opens or closes the editor. After every change of the edited text the
// cell holds the new text and OnSetEditText runs. While the editor is open it
// follows the current cell; Up, Down, Page Up and Page Down move the cell, Left
// and Right too when the caret is at that end of the text; Tab leaves the grid.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/Gdi.h"
#include "ui/Window.h"

namespace ui {

class StringGrid : public Window {
public:
    // How a cell is being drawn.
    struct DrawState {
        bool selected = false;  // the current cell
        bool focused = false;   // the current cell of the focused grid
        bool fixed = false;     // a header cell
    };
    // The drawing surface handed to OnDrawCell: the brush and text colours the
    // grid chose for the cell, and helpers that draw with them.
    struct Canvas {
        HDC dc = nullptr;
        COLORREF brushColor = 0;
        COLORREF fontColor = 0;
        void FillRect(const RECT& rect) const;
        // Draws text with DrawText and the given flags, in fontColor on a clear background.
        void DrawText(const std::wstring& text, RECT rect, UINT flags) const;
    };

    using DrawCellEvent = std::function<void(int col, int row, const RECT& rect, DrawState state, Canvas& canvas)>;
    using SelectCellEvent = std::function<void(int col, int row, bool& canSelect)>;
    using NotifyEvent = std::function<void()>;
    using KeyPressEvent = std::function<void(wchar_t& key)>;
    using SetEditTextEvent = std::function<void(int col, int row, const std::wstring& text)>;

    StringGrid();
    ~StringGrid() override;

    // A visible child with a sunken border and a vertical scroll bar.
    void Create(HWND parent, int id, int x, int y, int width, int height);

    // Shape.
    int RowCount() const { return rowCount_; }
    int ColCount() const { return colCount_; }
    void SetRowCount(int rows);
    void SetColCount(int cols);
    int DefaultColWidth() const { return defaultColWidth_; }
    int DefaultRowHeight() const { return defaultRowHeight_; }
    void SetDefaultColWidth(int width);  // also resets every column to it
    void SetDefaultRowHeight(int height);
    int ColWidth(int col) const { return colWidths_.at(static_cast<size_t>(col)); }
    void SetColWidth(int col, int width);
    int FixedRows() const { return fixedRows_; }
    int FixedCols() const { return fixedCols_; }
    void SetFixedRows(int rows);
    void SetFixedCols(int cols);
    bool VertLines() const { return vertLines_; }
    bool HorzLines() const { return horzLines_; }
    void SetGridLines(bool vertical, bool horizontal);
    int GridLineWidth() const { return 1; }

    // Look. The font is the owner's; the grid only selects it.
    COLORREF Color() const { return color_; }
    void SetColor(COLORREF color);
    COLORREF FontColor() const { return fontColor_; }
    void SetFont(HFONT font);

    // Cells.
    const std::wstring& Cell(int col, int row) const;
    void SetCell(int col, int row, const std::wstring& text);
    void ClearCells();

    // The current cell. SetCurrent asks OnSelectCell first and keeps the old
    // cell when refused; a new current cell is scrolled into view.
    int Col() const { return col_; }
    int Row() const { return row_; }
    bool SetCurrent(int col, int row);
    void SetRow(int row) { SetCurrent(col_, row); }
    void SetCol(int col) { SetCurrent(col, row_); }

    // Scrolling: the first scrollable row shown below the fixed rows.
    int TopRow() const { return topRow_; }
    void SetTopRow(int row);
    int VisibleRowCount() const;  // scrollable rows shown fully

    // Geometry in client coordinates; an empty rectangle for a cell not shown.
    RECT CellRect(int col, int row) const;
    // The cell under a client point; false when the point is on no cell.
    bool MouseToCell(int x, int y, int& col, int& row) const;

    // Without the vertical scroll bar (before or after Create).
    void SetScrollBars(bool vertical);

    // Cell editing: off unless set. A non-zero limit caps the edited text's length.
    bool Editing() const { return editing_; }
    void SetEditing(bool on);
    void SetEditLimit(int characters);
    // The editor over the current cell, its text all selected; a fixed current
    // cell or a grid without editing opens none.
    void ShowEditor();
    // Closes the editor; the focus goes back to the grid when the editor had it.
    void HideEditor();
    // Opens the closed editor again as it was, when the focus comes back to it.
    void ReopenEditor();
    bool EditorMode() const { return editorMode_; }
    HWND Editor() const { return editor_; }

    // Paints the client area (WM_PAINT and WM_PRINTCLIENT).
    void Paint(HDC dc, const RECT& area);

    DrawCellEvent OnDrawCell;
    // The owner's drawing covers every cell whole: the grid's own fill and text
    // beneath it would never be seen, so they are left out.
    void SetOwnerCoversCells(bool covers) { ownerCoversCells_ = covers; }
    SelectCellEvent OnSelectCell;
    NotifyEvent OnEnter;
    KeyPressEvent OnKeyPress;
    SetEditTextEvent OnSetEditText;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The grid's own painting of one cell before OnDrawCell: background and
    // text at the left, 2 pixels in.
    virtual void DrawCell(int col, int row, const RECT& rect, DrawState state, Canvas& canvas);
    virtual void KeyDown(WPARAM key);
    virtual void MouseDown(int x, int y);

    int ClientHeight() const;
    int ClientWidth() const;
    void InvalidateCell(int col, int row);

private:
    void Resized();
    void UpdateScrollBar();
    void ScrollInView(int row);
    void VScroll(int code);
    int ColLeft(int col) const;  // client x of a shown column; -1 when scrolled off
    int RowTop(int row) const;   // client y of a shown row; -1 when scrolled off
    // The cells that meet area; the rest of the bitmap is left as it is.
    void PaintContents(HDC dc, const RECT& client, const RECT& area);
    bool ownerCoversCells_ = false;
    // Editing.
    void KeyPress(wchar_t key);
    bool EditorKeyPress(wchar_t& key);  // false: the editor must not see the key
    bool EditorKeyDown(WPARAM key);     // false: the editor handles the key itself
    void EditorChanged();
    void LoadEditor();
    void PlaceEditor();
    void LeaveByTab(bool previous);
    bool IsEditorWindow(HWND window) const { return window && window == editor_; }
    static LRESULT CALLBACK EditorProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR data);

    int rowCount_ = 5, colCount_ = 5;
    int defaultColWidth_ = 64, defaultRowHeight_ = 24;
    std::vector<int> colWidths_;
    int fixedRows_ = 1, fixedCols_ = 1;
    bool vertLines_ = true, horzLines_ = true;
    COLORREF color_;
    COLORREF fontColor_;
    HFONT font_ = nullptr;
    std::vector<std::wstring> cells_;  // row by row
    int col_ = 1, row_ = 1;
    int topRow_ = 1;
    int wheelDelta_ = 0;  // wheel movement short of a whole notch
    bool vertScrollBar_ = true;
    bool editing_ = false;
    int editLimit_ = 0;
    HWND editor_ = nullptr;
    bool editorMode_ = false;
    bool loadingEditor_ = false;   // the grid itself writes the editor's text
    bool forwardingChar_ = false;  // a character OnKeyPress has seen already
    bool writingEdit_ = false;     // the edited text goes into its cell
};

}  // namespace ui
