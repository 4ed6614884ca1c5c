#include "ui/StringGrid.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

#include "ui/Controls.h"
#include "ui/Error.h"
#include "ui/Gdi.h"

namespace ui {

namespace {
const wchar_t kClass[] = L"PelmoraStringGrid";
const std::wstring kNoText;
const COLORREF kLineColor = RGB(192, 192, 192);
constexpr UINT_PTR kEditorSubclass = 1;
constexpr int kEditorId = 1;
}  // namespace

void StringGrid::Canvas::FillRect(const RECT& rect) const {
    Brush brush(CreateSolidBrush(brushColor));
    ::FillRect(dc, &rect, brush.get());
}

void StringGrid::Canvas::DrawText(const std::wstring& text, RECT rect, UINT flags) const {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, fontColor);
    // A line too long for its cell is drawn smaller rather than cut.
    Font smaller;
    if (flags & DT_SINGLELINE)
        smaller = ShrinkToFit(dc, static_cast<HFONT>(GetCurrentObject(dc, OBJ_FONT)), text, rect.right - rect.left);
    HGDIOBJ previous = smaller ? SelectObject(dc, smaller.get()) : nullptr;
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, flags);
    if (previous) SelectObject(dc, previous);
}

StringGrid::StringGrid()
    : colWidths_(static_cast<size_t>(colCount_), defaultColWidth_),
      color_(GetSysColor(COLOR_WINDOW)),
      fontColor_(GetSysColor(COLOR_WINDOWTEXT)),
      cells_(static_cast<size_t>(rowCount_ * colCount_)) {}

StringGrid::~StringGrid() {
    // The editor goes before the grid's members that its procedure uses.
    if (editor_ && IsWindow(editor_)) {
        RemoveWindowSubclass(editor_, EditorProc, kEditorSubclass);
        DestroyWindow(editor_);
    }
    editor_ = nullptr;
}

void StringGrid::Create(HWND parent, int id, int x, int y, int width, int height) {
    // No class background: the grid paints every pixel itself, double-buffered.
    RegisterClassOnce(kClass, CS_DBLCLKS, LoadCursor(nullptr, IDC_ARROW), nullptr);
    Window::Create(kClass, L"",
                   WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN | (vertScrollBar_ ? WS_VSCROLL : 0),
                   WS_EX_CLIENTEDGE, x, y, width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
    UpdateScrollBar();
}

void StringGrid::SetRowCount(int rows) {
    rows = std::max(rows, 1);
    cells_.resize(static_cast<size_t>(rows * colCount_));
    rowCount_ = rows;
    fixedRows_ = std::min(fixedRows_, rows - 1);
    row_ = std::clamp(row_, fixedRows_, rows - 1);
    topRow_ = std::clamp(topRow_, fixedRows_, rows - 1);
    Resized();
}

void StringGrid::SetColCount(int cols) {
    cols = std::max(cols, 1);
    std::vector<std::wstring> cells(static_cast<size_t>(rowCount_ * cols));
    for (int r = 0; r < rowCount_; ++r)
        for (int c = 0; c < std::min(cols, colCount_); ++c)
            cells[static_cast<size_t>(r * cols + c)] = std::move(cells_[static_cast<size_t>(r * colCount_ + c)]);
    cells_ = std::move(cells);
    colWidths_.resize(static_cast<size_t>(cols), defaultColWidth_);
    colCount_ = cols;
    fixedCols_ = std::min(fixedCols_, cols - 1);
    col_ = std::clamp(col_, fixedCols_, cols - 1);
    Resized();
}

void StringGrid::SetDefaultColWidth(int width) {
    defaultColWidth_ = width;
    std::fill(colWidths_.begin(), colWidths_.end(), width);
    Resized();
}

void StringGrid::SetDefaultRowHeight(int height) {
    defaultRowHeight_ = height;
    Resized();
}

void StringGrid::SetColWidth(int col, int width) {
    colWidths_.at(static_cast<size_t>(col)) = width;
    Resized();
}

void StringGrid::SetFixedRows(int rows) {
    // Like a new grid: the first scrollable row is current and on top.
    fixedRows_ = std::clamp(rows, 0, rowCount_ - 1);
    row_ = fixedRows_;
    topRow_ = fixedRows_;
    Resized();
}

void StringGrid::SetFixedCols(int cols) {
    fixedCols_ = std::clamp(cols, 0, colCount_ - 1);
    col_ = fixedCols_;
    Resized();
}

void StringGrid::SetGridLines(bool vertical, bool horizontal) {
    vertLines_ = vertical;
    horzLines_ = horizontal;
    Resized();
}

void StringGrid::SetColor(COLORREF color) {
    color_ = color;
    if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
    if (editor_) SetControlColors(editor_, color_, fontColor_);
}

void StringGrid::SetFont(HFONT font) {
    font_ = font;
    if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
}

const std::wstring& StringGrid::Cell(int col, int row) const {
    if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_) return kNoText;
    return cells_[static_cast<size_t>(row * colCount_ + col)];
}

void StringGrid::SetCell(int col, int row, const std::wstring& text) {
    if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_) throw std::out_of_range("StringGrid::SetCell");
    std::wstring& cell = cells_[static_cast<size_t>(row * colCount_ + col)];
    if (cell == text) return;
    cell = text;
    InvalidateCell(col, row);
    if (editorMode_ && !writingEdit_ && col == col_ && row == row_) LoadEditor();
}

void StringGrid::ClearCells() {
    for (std::wstring& cell : cells_) cell.clear();
    if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
    if (editorMode_) LoadEditor();
}

bool StringGrid::SetCurrent(int col, int row) {
    col = std::clamp(col, fixedCols_, colCount_ - 1);
    row = std::clamp(row, fixedRows_, rowCount_ - 1);
    bool canSelect = true;
    if (OnSelectCell) OnSelectCell(col, row, canSelect);
    if (!canSelect) return false;
    if (col != col_ || row != row_) {
        InvalidateCell(col_, row_);
        col_ = col;
        row_ = row;
        InvalidateCell(col_, row_);
        // An open editor moves along and offers the new cell's text.
        if (editorMode_) {
            LoadEditor();
            SendMessageW(editor_, EM_SETSEL, 0, -1);
        }
    }
    ScrollInView(row_);
    PlaceEditor();
    return true;
}

int StringGrid::ClientHeight() const {
    if (!Handle()) return 0;
    RECT client;
    GetClientRect(Handle(), &client);
    return client.bottom;
}

int StringGrid::ClientWidth() const {
    if (!Handle()) return 0;
    RECT client;
    GetClientRect(Handle(), &client);
    return client.right;
}

int StringGrid::VisibleRowCount() const {
    int fixedHeight = fixedRows_ * (defaultRowHeight_ + GridLineWidth());
    // A row counts when its cell area is shown whole; its line below may be cut off.
    int space = ClientHeight() - fixedHeight + GridLineWidth();
    return std::max(1, space / (defaultRowHeight_ + GridLineWidth()));
}

void StringGrid::SetTopRow(int row) {
    int last = std::max(fixedRows_, rowCount_ - VisibleRowCount());
    row = std::clamp(row, fixedRows_, last);
    if (row == topRow_) return;
    const int moved = row - topRow_;
    topRow_ = row;
    UpdateScrollBar();
    if (Handle()) {
        // The rows still shown move as they are drawn, with what waits to be
        // drawn again; only the rows that come into view are drawn anew (a
        // sale's new line scrolls the grid by one row).
        const int step = defaultRowHeight_ + GridLineWidth();
        RECT rows{0, fixedRows_ * step, ClientWidth(), ClientHeight()};
        if (std::abs(moved) * step < rows.bottom - rows.top)
            ScrollWindowEx(Handle(), 0, -moved * step, &rows, &rows, nullptr, nullptr, SW_INVALIDATE);
        else
            InvalidateRect(Handle(), nullptr, FALSE);
    }
    PlaceEditor();
}

void StringGrid::ScrollInView(int row) {
    if (row < fixedRows_) return;
    if (row < topRow_) {
        SetTopRow(row);
    } else if (row >= topRow_ + VisibleRowCount()) {
        // Scrolling down leaves the row as the last one shown whole.
        SetTopRow(row - VisibleRowCount() + 1);
    }
}

int StringGrid::ColLeft(int col) const {
    int x = 0;
    for (int c = 0; c < col; ++c) x += colWidths_[static_cast<size_t>(c)] + GridLineWidth();
    return x;
}

int StringGrid::RowTop(int row) const {
    int step = defaultRowHeight_ + GridLineWidth();
    if (row < fixedRows_) return row * step;
    if (row < topRow_) return -1;
    return (fixedRows_ + row - topRow_) * step;
}

RECT StringGrid::CellRect(int col, int row) const {
    RECT rect{0, 0, 0, 0};
    if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_) return rect;
    int top = RowTop(row);
    if (top < 0 || top >= ClientHeight()) return rect;
    int left = ColLeft(col);
    if (left >= ClientWidth()) return rect;
    rect = RECT{left, top, left + colWidths_[static_cast<size_t>(col)], top + defaultRowHeight_};
    return rect;
}

bool StringGrid::MouseToCell(int x, int y, int& col, int& row) const {
    if (x < 0 || y < 0) return false;
    int left = 0;
    col = -1;
    for (int c = 0; c < colCount_; ++c) {
        int right = left + colWidths_[static_cast<size_t>(c)] + GridLineWidth();
        if (x < right) {
            col = c;
            break;
        }
        left = right;
    }
    if (col < 0) return false;
    int step = defaultRowHeight_ + GridLineWidth();
    int shown = y / step;
    row = shown < fixedRows_ ? shown : topRow_ + (shown - fixedRows_);
    return row < rowCount_;
}

void StringGrid::InvalidateCell(int col, int row) {
    if (!Handle()) return;
    RECT rect = CellRect(col, row);
    if (rect.right <= rect.left) return;
    InflateRect(&rect, GridLineWidth(), GridLineWidth());
    InvalidateRect(Handle(), &rect, FALSE);
}

void StringGrid::Resized() {
    topRow_ = std::clamp(topRow_, fixedRows_, std::max(fixedRows_, rowCount_ - 1));
    UpdateScrollBar();
    if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
    PlaceEditor();
}

void StringGrid::UpdateScrollBar() {
    if (!Handle() || !vertScrollBar_) return;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = fixedRows_;
    info.nMax = rowCount_ - 1;
    info.nPage = static_cast<UINT>(VisibleRowCount());
    info.nPos = topRow_;
    SetScrollInfo(Handle(), SB_VERT, &info, TRUE);
}

void StringGrid::VScroll(int code) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_TRACKPOS;
    GetScrollInfo(Handle(), SB_VERT, &info);
    switch (code) {
    case SB_LINEUP: SetTopRow(topRow_ - 1); break;
    case SB_LINEDOWN: SetTopRow(topRow_ + 1); break;
    case SB_PAGEUP: SetTopRow(topRow_ - VisibleRowCount()); break;
    case SB_PAGEDOWN: SetTopRow(topRow_ + VisibleRowCount()); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: SetTopRow(info.nTrackPos); break;
    case SB_TOP: SetTopRow(fixedRows_); break;
    case SB_BOTTOM: SetTopRow(rowCount_ - 1); break;
    }
}

void StringGrid::DrawCell(int /*col*/, int /*row*/, const RECT& rect, DrawState /*state*/, Canvas& canvas) {
    canvas.FillRect(rect);
}

void StringGrid::PaintContents(HDC dc, const RECT& client, const RECT& area) {
    {
        Brush background(CreateSolidBrush(color_));
        FillRect(dc, &area, background.get());
    }
    SelectGuard selectFont(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
    bool focused = GetFocus() == Handle();
    Brush lines(CreateSolidBrush(kLineColor));
    Brush fixedLines(CreateSolidBrush(GetSysColor(COLOR_BTNSHADOW)));
    int step = defaultRowHeight_ + GridLineWidth();
    for (int shown = 0;; ++shown) {
        int row = shown < fixedRows_ ? shown : topRow_ + (shown - fixedRows_);
        int top = shown * step;
        if (row >= rowCount_ || top >= client.bottom) break;
        for (int col = 0; col < colCount_; ++col) {
            int left = ColLeft(col);
            if (left >= client.right) break;
            RECT rect{left, top, left + colWidths_[static_cast<size_t>(col)], top + defaultRowHeight_};
            // A cell with its grid lines, against what must be drawn again.
            RECT withLines{rect.left, rect.top, rect.right + GridLineWidth(), rect.bottom + GridLineWidth()}, meets;
            if (!IntersectRect(&meets, &withLines, &area)) continue;
            DrawState state;
            state.fixed = row < fixedRows_ || col < fixedCols_;
            state.selected = !state.fixed && row == row_ && col == col_;
            state.focused = state.selected && focused;
            Canvas canvas{dc, color_, fontColor_};
            if (state.fixed) {
                canvas.brushColor = GetSysColor(COLOR_BTNFACE);
                canvas.fontColor = GetSysColor(COLOR_BTNTEXT);
            } else if (state.selected && !editorMode_) {
                // Under an open editor the cell keeps the normal colours round its edges.
                canvas.brushColor = GetSysColor(COLOR_HIGHLIGHT);
                canvas.fontColor = GetSysColor(COLOR_HIGHLIGHTTEXT);
            }
            // The grid's own drawing first, then the owner's on top of it.
            if (!OnDrawCell || !ownerCoversCells_) {
                DrawCell(col, row, rect, state, canvas);
                RECT textRect{rect.left + 2, rect.top + 2, rect.right, rect.bottom};
                canvas.DrawText(Cell(col, row), textRect, DT_SINGLELINE | DT_NOPREFIX);
            }
            if (OnDrawCell) {
                Canvas owner{dc, canvas.brushColor, canvas.fontColor};
                OnDrawCell(col, row, rect, state, owner);
            }
            HBRUSH lineBrush = state.fixed ? fixedLines.get() : lines.get();
            if (vertLines_) {
                RECT line{rect.right, rect.top, rect.right + GridLineWidth(), rect.bottom + GridLineWidth()};
                FillRect(dc, &line, lineBrush);
            }
            if (horzLines_) {
                RECT line{rect.left, rect.bottom, rect.right + GridLineWidth(), rect.bottom + GridLineWidth()};
                FillRect(dc, &line, lineBrush);
            }
        }
    }
}

void StringGrid::Paint(HDC dc, const RECT& area) {
    RECT client{0, 0, ClientWidth(), ClientHeight()};
    if (client.right <= 0 || client.bottom <= 0) return;
    // Drawn off screen and copied in one go, so that a new line does not flicker.
    // The bitmap covers only the area to draw again.
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return;
    MemoryDC memory(dc);
    Bitmap bitmap(CreateCompatibleBitmap(dc, width, height));
    SelectGuard selectBitmap(memory, bitmap.get());
    SetViewportOrgEx(memory, -area.left, -area.top, nullptr);  // the memory DC draws in client coordinates
    PaintContents(memory, client, area);
    BitBlt(dc, area.left, area.top, width, height, memory, area.left, area.top, SRCCOPY);
}

void StringGrid::KeyDown(WPARAM key) {
    switch (key) {
    case VK_UP: SetCurrent(col_, row_ - 1); break;
    case VK_DOWN: SetCurrent(col_, row_ + 1); break;
    case VK_LEFT: SetCurrent(col_ - 1, row_); break;
    case VK_RIGHT: SetCurrent(col_ + 1, row_); break;
    case VK_PRIOR: SetCurrent(col_, row_ - VisibleRowCount()); break;
    case VK_NEXT: SetCurrent(col_, row_ + VisibleRowCount()); break;
    case VK_HOME: SetCurrent(fixedCols_, row_); break;
    case VK_END: SetCurrent(colCount_ - 1, row_); break;
    case VK_F2: ShowEditor(); break;
    case VK_DELETE:
        // Delete clears the current cell through the editor, as if typed there.
        ShowEditor();
        if (editorMode_) SendMessageW(editor_, WM_KEYDOWN, VK_DELETE, 0);
        break;
    }
}

void StringGrid::MouseDown(int x, int y) {
    // Taking the focus runs OnEnter, which may hand the focus on: the click
    // then ends here and selects nothing.
    if (GetFocus() != Handle()) SetFocus(Handle());
    if (GetFocus() != Handle()) return;
    int col, row;
    if (MouseToCell(x, y, col, row) && row >= fixedRows_ && col >= fixedCols_) SetCurrent(col, row);
}

LRESULT StringGrid::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PaintDC dc(Handle());
        Paint(dc, dc.Area());
        return 0;
    }
    case WM_PRINTCLIENT: {
        RECT client{0, 0, ClientWidth(), ClientHeight()};
        Paint(reinterpret_cast<HDC>(wParam), client);
        return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_SIZE:
        UpdateScrollBar();
        InvalidateRect(Handle(), nullptr, FALSE);
        PlaceEditor();
        return 0;
    case WM_SETFONT: SetFont(reinterpret_cast<HFONT>(wParam)); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(font_);
    case WM_VSCROLL: VScroll(LOWORD(wParam)); return 0;
    case WM_MOUSEWHEEL: {
        // Three rows a notch. Fine wheels and touchpads send parts of a notch:
        // they add up until they make whole ones.
        wheelDelta_ += GET_WHEEL_DELTA_WPARAM(wParam);
        int notches = wheelDelta_ / WHEEL_DELTA;
        wheelDelta_ -= notches * WHEEL_DELTA;
        if (notches != 0) SetTopRow(topRow_ - notches * 3);
        return 0;
    }
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_SETFOCUS:
        InvalidateCell(col_, row_);
        // Coming back from the grid's own editor is no entering.
        if (OnEnter && !IsEditorWindow(reinterpret_cast<HWND>(wParam))) OnEnter();
        return 0;
    case WM_KILLFOCUS:
        InvalidateCell(col_, row_);
        if (!IsEditorWindow(reinterpret_cast<HWND>(wParam))) HideEditor();
        return 0;
    case WM_CHAR: KeyPress(static_cast<wchar_t>(wParam)); return 0;
    case WM_COMMAND:
        if (IsEditorWindow(reinterpret_cast<HWND>(lParam)) && HIWORD(wParam) == EN_CHANGE) EditorChanged();
        return 0;
    case WM_KEYDOWN: KeyDown(wParam); return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // A click closes the editor; a double click opens it on the cell clicked.
        HideEditor();
        MouseDown(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        if (message == WM_LBUTTONDBLCLK && GetFocus() == Handle()) ShowEditor();
        return 0;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

void StringGrid::SetScrollBars(bool vertical) {
    if (vertical == vertScrollBar_) return;
    vertScrollBar_ = vertical;
    if (!Handle()) return;
    if (!vertical) ShowScrollBar(Handle(), SB_VERT, FALSE);
    LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
    SetWindowLongPtrW(Handle(), GWL_STYLE, vertical ? style | WS_VSCROLL : style & ~static_cast<LONG_PTR>(WS_VSCROLL));
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    UpdateScrollBar();
}

void StringGrid::SetEditing(bool on) {
    editing_ = on;
    if (!on) HideEditor();
}

void StringGrid::SetEditLimit(int characters) {
    editLimit_ = std::max(characters, 0);
    if (editor_) SendMessageW(editor_, EM_LIMITTEXT, static_cast<WPARAM>(editLimit_), 0);
}

void StringGrid::ShowEditor() {
    if (!editing_ || !Handle() || col_ < fixedCols_ || row_ < fixedRows_) return;
    if (!editor_) {
        // No border: the editor is the cell itself, in the grid's font and colours.
        editor_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | ES_AUTOHSCROLL, 0, 0, 0, 0, Handle(),
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditorId)),
                                  reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(Handle(), GWLP_HINSTANCE)), nullptr);
        if (!editor_) return;
        SetWindowSubclass(editor_, EditorProc, kEditorSubclass, reinterpret_cast<DWORD_PTR>(this));
        SendMessageW(editor_, EM_LIMITTEXT, static_cast<WPARAM>(editLimit_), 0);
    }
    SendMessageW(editor_, WM_SETFONT, reinterpret_cast<WPARAM>(font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
    SendMessageW(editor_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(2, 2));
    // The editor is the cell itself: the grid's colours.
    SetControlColors(editor_, color_, fontColor_);
    editorMode_ = true;
    LoadEditor();
    SendMessageW(editor_, EM_SETSEL, 0, -1);
    PlaceEditor();
    SetFocus(editor_);
}

void StringGrid::ReopenEditor() {
    // Where no editor can stand now, the keys go to the grid itself.
    if (!editing_ || !editor_ || col_ < fixedCols_ || row_ < fixedRows_) {
        SetFocus(Handle());
        return;
    }
    editorMode_ = true;
    LoadEditor();
    PlaceEditor();
    InvalidateCell(col_, row_);
}

void StringGrid::HideEditor() {
    if (!editorMode_) return;
    editorMode_ = false;
    if (GetFocus() == editor_) SetFocus(Handle());
    ShowWindow(editor_, SW_HIDE);
    InvalidateCell(col_, row_);
}

void StringGrid::LoadEditor() {
    if (!editor_) return;
    const std::wstring& text = Cell(col_, row_);
    if (GetText(editor_) == text) return;
    loadingEditor_ = true;
    SetWindowTextW(editor_, text.c_str());
    loadingEditor_ = false;
    int end = static_cast<int>(text.size());
    SendMessageW(editor_, EM_SETSEL, end, end);
}

void StringGrid::PlaceEditor() {
    if (!editorMode_ || !editor_) return;
    RECT rect = CellRect(col_, row_);
    if (rect.right <= rect.left) {
        ShowWindow(editor_, SW_HIDE);
        return;
    }
    // The text stands where the grid draws it: 2 pixels down from the cell's top.
    SetWindowPos(editor_, HWND_TOP, rect.left, rect.top + 2, rect.right - rect.left, rect.bottom - rect.top - 2,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void StringGrid::KeyPress(wchar_t key) {
    if (OnKeyPress) OnKeyPress(key);
    if (key == 0) return;
    if (key == L'\r') {
        if (editorMode_)
            HideEditor();
        else
            ShowEditor();
        return;
    }
    // A character typed on the grid opens the editor and replaces the cell's text.
    if (!editing_ || (key < L' ' && key != L'\b')) return;
    ShowEditor();
    if (!editorMode_) return;
    forwardingChar_ = true;
    SendMessageW(editor_, WM_CHAR, key, 0);
    forwardingChar_ = false;
}

bool StringGrid::EditorKeyPress(wchar_t& key) {
    if (forwardingChar_) return true;
    // Tab was handled as a key: it left the grid.
    if (key == L'\t') return false;
    if (OnKeyPress) OnKeyPress(key);
    if (key == 0) return false;
    if (key == L'\r') {
        HideEditor();
        return false;
    }
    // Escape closed the editor as a key; a single-line edit would only beep at it.
    return key != 0x1B;
}

bool StringGrid::EditorKeyDown(WPARAM key) {
    DWORD start = 0, end = 0;
    SendMessageW(editor_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    DWORD length = static_cast<DWORD>(GetWindowTextLengthW(editor_));
    bool allSelected = start == 0 && end == length;
    switch (key) {
    case VK_TAB: LeaveByTab(GetKeyState(VK_SHIFT) < 0); return true;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT: KeyDown(key); return true;
    case VK_LEFT:
        if (!allSelected && !(start == 0 && end == 0)) return false;
        KeyDown(key);
        return true;
    case VK_RIGHT:
        if (!allSelected && !(start == length && end == length)) return false;
        KeyDown(key);
        return true;
    case VK_ESCAPE: HideEditor(); return true;
    }
    return false;
}

void StringGrid::EditorChanged() {
    if (loadingEditor_ || !editorMode_) return;
    std::wstring text = GetText(editor_);
    int col = col_, row = row_;
    writingEdit_ = true;
    try {
        SetCell(col, row, text);
    } catch (...) {
        writingEdit_ = false;
        throw;
    }
    writingEdit_ = false;
    if (OnSetEditText) OnSetEditText(col, row, text);
}

void StringGrid::LeaveByTab(bool previous) {
    // From the grid, so that the form's next tab stop is the one after the grid.
    SetFocus(Handle());
    HideEditor();
    if (HWND form = GetAncestor(Handle(), GA_ROOT)) SendMessageW(form, WM_NEXTDLGCTL, previous ? 1 : 0, 0);
}

LRESULT CALLBACK StringGrid::EditorProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                                        DWORD_PTR data) {
    auto* grid = reinterpret_cast<StringGrid*>(data);
    // Like the grid's own messages: an error of a handler is shown, never thrown into Windows.
    try {
        switch (message) {
        case WM_GETDLGCODE: return DefSubclassProc(hwnd, message, wParam, lParam) | DLGC_WANTTAB | DLGC_WANTARROWS;
        case WM_KEYDOWN:
            if (grid->EditorKeyDown(wParam)) return 0;
            break;
        case WM_CHAR: {
            wchar_t key = static_cast<wchar_t>(wParam);
            if (!grid->EditorKeyPress(key)) return 0;
            wParam = key;
            break;
        }
        case WM_SETFOCUS: {
            // The focus comes back to a closed editor after a message box, another
            // program or another window had it: open it again on its cell, with
            // its caret where it was, so that the next keys reach the cell.
            LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
            if (!grid->editorMode_) grid->ReopenEditor();
            return result;
        }
        case WM_KILLFOCUS:
            // Leaving the grid altogether closes the editor; its text is in the cell already.
            if (reinterpret_cast<HWND>(wParam) != grid->Handle()) {
                LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
                grid->HideEditor();
                return result;
            }
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(hwnd, EditorProc, kEditorSubclass);
            grid->editor_ = nullptr;
            grid->editorMode_ = false;
            break;
        }
    } catch (...) {
        ShowError(CurrentExceptionMessage());
        return 0;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace ui
