// The window of TSaNumEdit: creation, painting, caret, focus, mouse, keys,
// clipboard and context menu around the model.
#include "numedit/SaNumEdit.h"

#include <imm.h>
#include <windowsx.h>

#include <algorithm>
#include <cwchar>
#include <memory>
#include <type_traits>

#include "ui/App.h"

namespace {

const wchar_t kClassName[] = L"TSaNumEdit";

RECT ToRECT(const TRect& r) { return RECT{r.Left, r.Top, r.Right, r.Bottom}; }

bool IsBold(HFONT Font) {
    LOGFONTW lf{};
    return Font && GetObjectW(Font, sizeof lf, &lf) && lf.lfWeight >= FW_BOLD;
}

TShiftState KeyShift(LPARAM LParam) {
    TShiftState s = 0;
    if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0 || (LParam & (1 << 29))) s |= ssAlt;
    return s;
}

TShiftState MouseShift(WPARAM WParam) {
    TShiftState s = 0;
    if (WParam & MK_SHIFT) s |= ssShift;
    if (WParam & MK_CONTROL) s |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    if (WParam & MK_LBUTTON) s |= ssLeft;
    if (WParam & MK_RBUTTON) s |= ssRight;
    if (WParam & MK_MBUTTON) s |= ssMiddle;
    return s;
}

// The clipboard is shared with every other program: it may be busy a moment.
bool OpenClipboardRetrying(HWND Owner) {
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (OpenClipboard(Owner)) return true;
        Sleep(5);
    }
    return false;
}

struct ClipboardCloser {
    ~ClipboardCloser() { CloseClipboard(); }
};

struct GlobalDeleter {
    void operator()(HGLOBAL Memory) const noexcept {
        if (Memory) GlobalFree(Memory);
    }
};
using GlobalMemory = std::unique_ptr<std::remove_pointer_t<HGLOBAL>, GlobalDeleter>;

}  // namespace

COLORREF TSaNumEdit::ColorToRGB(TColor Color) {
    if (Color & 0x80000000u) return GetSysColor(static_cast<int>(Color & 0xFF));
    return static_cast<COLORREF>(Color);
}

void TSaNumEdit::SystemBeep() { MessageBeep(0); }

void TSaNumEdit::SetBeeper(TBeeper Value) { FBeeper = Value ? std::move(Value) : SystemBeep; }

// ---- Construction and the window -----------------------------------------

TSaNumEdit::TSaNumEdit() {
    SetClipboard(&FClipboard);
    // The built-in context menu: tag n is the item at position n.
    FEditMenu.reset(CreatePopupMenu());
    for (const TEditMenuItem& item : EditMenuItems()) {
        const bool separator = std::wcscmp(item.Caption, L"-") == 0;
        AppendMenuW(FEditMenu.get(), separator ? MF_SEPARATOR : MF_STRING, EditMenuCommand(item.Tag),
                    separator ? nullptr : item.Caption);
    }
    FPopupMenu = FEditMenu.get();
}

TSaNumEdit::~TSaNumEdit() = default;

void TSaNumEdit::Create(HWND Parent, int Id, int Left, int Top, int Width, int Height, HFONT FontHandle) {
    FId = Id;
    if (FontHandle) FFont = FontHandle;
    if (!FFont) FFont = reinterpret_cast<HFONT>(SendMessageW(Parent, WM_GETFONT, 0, 0));
    if (!FFont) FFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    CreateWindowHandle(Parent, Left, Top, Width, Height);
    if (!Handle()) return;
    ParentAssigned();
    // The bounds the owner gives win over the auto height, as a stored form's do.
    SetWindowPos(Handle(), nullptr, Left, Top, Width, Height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TSaNumEdit::CreateWindowHandle(HWND Parent, int Left, int Top, int Width, int Height) {
    // No CS_HREDRAW/CS_VREDRAW: WM_SIZE repaints by itself.
    RegisterClassOnce(kClassName, CS_DBLCLKS, LoadCursor(nullptr, IDC_IBEAM), nullptr);
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    if (FVisible) style |= WS_VISIBLE;
    if (FTabStop) style |= WS_TABSTOP;
    if (!FEnabled) style |= WS_DISABLED;
    DWORD exStyle = 0;
    if (BorderStyle() == bsSingle) {
        if (Ctl3D()) {
            exStyle |= WS_EX_CLIENTEDGE;
        } else {
            style |= WS_BORDER;
        }
    }
    Window::Create(kClassName, L"", style, exStyle, Left, Top, Width, Height, Parent,
                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(FId)));
    if (!Handle()) return;
    RECT client;
    GetClientRect(Handle(), &client);
    SetClientSize(client.right, client.bottom);
}

void TSaNumEdit::ParentAssigned() {
    SetMeasureFunc([this](const std::wstring& Text) { return MeasureExtent(Text); });
    MeasureLineHeight();
    // The font that comes with the parent counts as the control's font change.
    FCaretWidth = IsBold(FFont) ? 2 : 1;
    AdjustHeight();
    AdjustWidth();
    // The system window colour, unless the owner gave one already (as a stored
    // form's colour, applied after parenting, wins).
    if (!FColorStored) FColor = clWindow;
    Invalidate();
}

void TSaNumEdit::RecreateWnd() {
    const HWND old = Handle();
    if (!old) return;
    const HWND parent = GetParent(old);
    RECT bounds;
    GetWindowRect(old, &bounds);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&bounds), 2);
    const HWND above = GetWindow(old, GW_HWNDPREV);  // keeps the tab order
    const bool focused = Focused();
    FRecreating = true;
    DestroyWindow(old);
    CreateWindowHandle(parent, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
    if (Handle()) {
        SetWindowPos(Handle(), above ? above : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        if (focused) ::SetFocus(Handle());
    }
    FRecreating = false;
}

bool TSaNumEdit::Focused() const { return Handle() && GetFocus() == Handle(); }

// ---- Properties of the windowed control ----------------------------------

void TSaNumEdit::SetColor(TColor Value) {
    if (!Handle()) FColorStored = true;
    if (FColor == Value) return;
    FColor = Value;
    Invalidate();
}

void TSaNumEdit::SetFontColor(TColor Value) {
    if (FFontColor == Value) return;
    FFontColor = Value;
    Invalidate();
}

void TSaNumEdit::SetFittingFonts(std::vector<HFONT> Fonts) {
    FFittingFonts = std::move(Fonts);
    Invalidate();
}

bool TSaNumEdit::FitsWidth(const std::wstring& Value) const {
    if (FFittingFonts.empty()) return TSaNumEditModel::FitsWidth(Value);
    FMeasuredFont = FFittingFonts.back();
    const bool fits = TSaNumEditModel::FitsWidth(Value);
    FMeasuredFont = nullptr;
    return fits;
}

void TSaNumEdit::FitFont() {
    if (FFittingFonts.empty() || !Handle()) return;
    // The field's own font while the number fits in it, else the largest smaller one.
    HFONT wanted = FFont;
    const std::wstring value = Text();
    for (size_t i = 0; i <= FFittingFonts.size(); ++i) {
        wanted = i == 0 ? FFont : FFittingFonts[i - 1];
        FMeasuredFont = wanted;
        const bool fits = TSaNumEditModel::FitsWidth(value);
        FMeasuredFont = nullptr;
        if (fits) break;
    }
    if (wanted == ShownFont()) return;
    const bool focused = Focused();
    if (focused) DestroyEditCaret();
    FShownFont = wanted == FFont ? nullptr : wanted;
    MeasureLineHeight();
    FCaretWidth = IsBold(ShownFont()) ? 2 : 1;
    if (focused) CreateEditCaret();
}

void TSaNumEdit::SetFont(HFONT Value) {
    FFont = Value;
    if (!Handle()) {
        FCaretWidth = IsBold(FFont) ? 2 : 1;
        return;
    }
    FontChanged();
}

void TSaNumEdit::SetEnabled(bool Value) {
    if (!Handle()) {
        FEnabled = Value;
        return;
    }
    EnableWindow(Handle(), Value ? TRUE : FALSE);  // WM_ENABLE does the rest
    FEnabled = Value;
}

void TSaNumEdit::SetVisible(bool Value) {
    FVisible = Value;
    if (Handle()) ShowWindow(Handle(), Value ? SW_SHOW : SW_HIDE);
}

void TSaNumEdit::SetTabStop(bool Value) {
    FTabStop = Value;
    if (!Handle()) return;
    LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
    style = Value ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
    SetWindowLongPtrW(Handle(), GWL_STYLE, style);
}

// ---- Measuring and sizing ------------------------------------------------

int TSaNumEdit::MeasureExtent(const std::wstring& Text) const {
    if (!Handle()) return 0;
    ui::WindowDC dc(Handle());
    ui::SelectGuard font(dc, FMeasuredFont ? FMeasuredFont : ShownFont());
    RECT r{0, 0, 0, 0};
    // No DT_NOPREFIX: an "&" in a mark is a prefix here as in the painting.
    DrawTextW(dc, Text.c_str(), static_cast<int>(Text.size()), &r, DT_CALCRECT);
    return r.right - r.left;
}

void TSaNumEdit::MeasureLineHeight() {
    if (!Handle()) return;
    ui::WindowDC dc(Handle());
    ui::SelectGuard font(dc, ShownFont());
    SIZE size{};
    GetTextExtentPoint32W(dc, L"M", 1, &size);
    SetLineHeight(size.cy);
}

void TSaNumEdit::AdjustHeight() {
    if (!AutoSize() || !Handle()) return;
    RECT window, client;
    GetWindowRect(Handle(), &window);
    GetClientRect(Handle(), &client);
    const int frame = (window.bottom - window.top) - client.bottom;
    SetWindowPos(Handle(), nullptr, 0, 0, window.right - window.left,
                 LineHeight() + TopMargin() + BottomMargin() + frame, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TSaNumEdit::AdjustWidth() {
    // Sizing to the widest number is a form designer's service; there is none at run time.
}

// ---- Painting ------------------------------------------------------------

void TSaNumEdit::Invalidate() {
    FitFont();
    if (Handle()) InvalidateRect(Handle(), nullptr, TRUE);
}

void TSaNumEdit::FillBackground(HDC Dc) {
    RECT client;
    GetClientRect(Handle(), &client);
    ui::Brush brush(CreateSolidBrush(ColorToRGB(FColor)));
    FillRect(Dc, &client, brush.get());
}

void TSaNumEdit::Paint(HDC Dc) {
    COLORREF fill = ColorToRGB(FColor);
    COLORREF text = ColorToRGB(FFontColor);
    if (SelLength() != 0) {
        fill = GetSysColor(COLOR_HIGHLIGHT);
        text = GetSysColor(COLOR_HIGHLIGHTTEXT);
    }
    if (!FEnabled) {
        fill = ColorToRGB(FColor);
        text = ColorToRGB(DisabledColor());
    }
    ui::SelectGuard font(Dc, ShownFont());
    SetTextColor(Dc, text);

    RECT left = ToRECT(LeftMarkRect());
    const TRect numberRect = NumberRect();
    FTextRect = numberRect;
    RECT number = ToRECT(numberRect);
    RECT right = ToRECT(RightMarkRect());
    RECT area = number;
    if (!LeftMark().empty()) area.left = left.left;
    if (!RightMark().empty()) area.right = right.right;
    const std::wstring s = FormatNumber(ValueText());

    ui::Brush brush(CreateSolidBrush(fill));
    FillRect(Dc, &area, brush.get());
    const int oldMode = SetBkMode(Dc, TRANSPARENT);
    if (!LeftMark().empty() && !s.empty())
        DrawTextW(Dc, LeftMark().c_str(), static_cast<int>(LeftMark().size()), &left, DT_SINGLELINE);
    DrawTextW(Dc, s.c_str(), static_cast<int>(s.size()), &number, DT_SINGLELINE);
    if (!RightMark().empty() && !s.empty())
        DrawTextW(Dc, RightMark().c_str(), static_cast<int>(RightMark().size()), &right, DT_SINGLELINE);
    SetBkMode(Dc, oldMode);
}

void TSaNumEdit::PaintWindow() {
    // Every repaint request erases; the erase and the paint are drawn in one go
    // off screen, so that typing does not flicker.
    FErasing = false;
    const ui::PaintDC dc(Handle());
    FErasing = true;
    RECT client;
    GetClientRect(Handle(), &client);
    if (client.right > 0 && client.bottom > 0) {
        ui::MemoryDC memory(dc);
        ui::Bitmap bitmap(CreateCompatibleBitmap(dc, client.right, client.bottom));
        if (memory && bitmap) {
            ui::SelectGuard select(memory, bitmap.get());
            FillBackground(memory);
            Paint(memory);
            BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
        } else {
            FillBackground(dc);
            Paint(dc);
        }
    }
}

// ---- Caret ---------------------------------------------------------------

void TSaNumEdit::CreateEditCaret() {
    if (!Handle()) return;
    CreateCaret(Handle(), nullptr, FCaretWidth, LineHeight());
    UpdateCaret();
}

void TSaNumEdit::UpdateCaret() {
    if (!Focused()) return;
    const TPoint p = CaretPoint();
    ShowCaret(Handle());
    SetCaretPos(p.X, p.Y);
    // The composition window of an input method stands at the caret, in our font.
    if (HIMC context = ImmGetContext(Handle())) {
        COMPOSITIONFORM form{};
        form.dwStyle = CFS_POINT;
        form.ptCurrentPos = POINT{p.X, p.Y};
        ImmSetCompositionWindow(context, &form);
        LOGFONTW lf{};
        if (GetObjectW(FFont, sizeof lf, &lf)) ImmSetCompositionFontW(context, &lf);
        ImmReleaseContext(Handle(), context);
    }
}

void TSaNumEdit::DestroyEditCaret() {
    if (!Handle()) return;
    HideCaret(Handle());
    DestroyCaret();
}

// ---- Notifications -------------------------------------------------------

void TSaNumEdit::FontChanged() {
    const bool focused = Focused();
    if (focused) DestroyEditCaret();
    MeasureLineHeight();
    AdjustHeight();
    AdjustWidth();
    FCaretWidth = IsBold(FFont) ? 2 : 1;
    Invalidate();
    if (focused) CreateEditCaret();
}

void TSaNumEdit::EnabledChanged() { Invalidate(); }

void TSaNumEdit::ErrorSound() { FBeeper(); }

void TSaNumEdit::FocusControl() {
    if (Handle() && !Focused()) ::SetFocus(Handle());
}

bool TSaNumEdit::PostFocusMove(bool Previous) {
    const HWND form = Handle() ? GetAncestor(Handle(), GA_ROOT) : nullptr;
    if (!form || form == Handle()) return false;
    PostMessageW(form, WM_NEXTDLGCTL, Previous ? ~static_cast<WPARAM>(0) : 0, 0);
    return true;
}

// ---- Focus ---------------------------------------------------------------

void TSaNumEdit::SetFocusMessage() {
    // Coming back with the whole window is no enter: the control stayed the
    // form's active control.
    if (!FEntered && !FRecreating) {
        FEntered = true;
        DoEnter();
    }
    CreateEditCaret();
}

void TSaNumEdit::KillFocusMessage(HWND NewFocus) {
    DestroyEditCaret();
    // Only a move to another control of the same form is an exit; losing the
    // activation of the whole window is not.
    if (FRecreating || !FEntered || !NewFocus || NewFocus == Handle()) return;
    if (GetAncestor(NewFocus, GA_ROOT) != GetAncestor(Handle(), GA_ROOT)) return;
    FEntered = false;
    DoExit();
}

void TSaNumEdit::DoEnter() {
    if (OnEnter) OnEnter(*this);
    FocusEntered();
}

void TSaNumEdit::DoExit() {
    if (OnExit) OnExit(*this);  // still sees a lone "-"
    FocusExited();
}

// ---- Mouse ---------------------------------------------------------------

LRESULT TSaNumEdit::ButtonDown(UINT Message, WPARAM WParam, LPARAM LParam) {
    const LRESULT result = Default(Message, WParam, LParam);
    // A press of any button anywhere on the control, border included, focuses it.
    if (!Focused()) ::SetFocus(Handle());
    const int x = GET_X_LPARAM(LParam), y = GET_Y_LPARAM(LParam);
    switch (Message) {
    case WM_LBUTTONDOWN:
        SetCapture(Handle());
        FClicked = true;
        MouseDown(mbLeft, MouseShift(WParam), x, y);
        break;
    case WM_RBUTTONDOWN: MouseDown(mbRight, MouseShift(WParam), x, y); break;
    case WM_MBUTTONDOWN: MouseDown(mbMiddle, MouseShift(WParam), x, y); break;
    default: break;  // the non-client presses only focus
    }
    return result;
}

void TSaNumEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (!FDoubleClicked && Button == mbLeft) {
        // Only while this program is in the foreground does the press move the
        // form's focus; the selection goes either way.
        DWORD foreground = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
        if (foreground == GetCurrentThreadId()) FocusControl();
        Deselect();
    }
    if (OnMouseDown) OnMouseDown(*this, Button, Shift, X, Y);
    FDoubleClicked = false;
}

void TSaNumEdit::DblClick() {
    SelectAll();
    if (OnDblClick) OnDblClick(*this);
    FDoubleClicked = true;
}

void TSaNumEdit::MouseMove(TShiftState Shift, int X, int Y) {
    // Dragging across the number selects all of it; there is no partial selection.
    if ((Shift & ssLeft) && X >= FTextRect.Left && X <= FTextRect.Right) SelectAll();
    if (OnMouseMove) OnMouseMove(*this, Shift, X, Y);
}

void TSaNumEdit::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseUp) OnMouseUp(*this, Button, Shift, X, Y);
}

void TSaNumEdit::Click() {
    if (OnClick) OnClick(*this);
}

// ---- Keys ----------------------------------------------------------------

void TSaNumEdit::DoKeyDown(std::uint16_t& Key, TShiftState Shift) {
    if (OnKeyDown) OnKeyDown(*this, Key, Shift);
    if (Key != 0) KeyDown(Key, Shift);
}

void TSaNumEdit::DoKeyPress(wchar_t& Key) {
    if (OnKeyPress) OnKeyPress(*this, Key);
    KeyPress(Key);  // a character the owner set to 0 is refused
}

void TSaNumEdit::DoKeyUp(std::uint16_t& Key, TShiftState Shift) {
    if (OnKeyUp) OnKeyUp(*this, Key, Shift);
}

LRESULT TSaNumEdit::KeyDownMessage(UINT Message, WPARAM WParam, LPARAM LParam) {
    std::uint16_t key = static_cast<std::uint16_t>(WParam);
    DoKeyDown(key, KeyShift(LParam));
    if (key == 0) return 0;
    return Default(Message, key, LParam);
}

LRESULT TSaNumEdit::KeyUpMessage(UINT Message, WPARAM WParam, LPARAM LParam) {
    std::uint16_t key = static_cast<std::uint16_t>(WParam);
    DoKeyUp(key, KeyShift(LParam));
    if (key == 0) return 0;
    return Default(Message, key, LParam);
}

LRESULT TSaNumEdit::CharMessage(WPARAM WParam) {
    wchar_t key = static_cast<wchar_t>(WParam);
    DoKeyPress(key);
    return 0;
}

// ---- Clipboard -----------------------------------------------------------

bool TSaNumEdit::TClipboard::HasText() {
    return IsClipboardFormatAvailable(CF_UNICODETEXT) || IsClipboardFormatAvailable(CF_TEXT);
}

std::optional<std::wstring> TSaNumEdit::TClipboard::GetText() {
    if (!OpenClipboardRetrying(FOwner.Handle())) return std::nullopt;
    ClipboardCloser closer;
    // The system hands plain CF_TEXT over in this form too.
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (!data) return std::nullopt;
    const auto* text = static_cast<const wchar_t*>(GlobalLock(data));
    if (!text) return std::nullopt;
    const std::size_t capacity = GlobalSize(data) / sizeof(wchar_t);
    std::wstring result(text, std::find(text, text + capacity, L'\0'));
    GlobalUnlock(data);
    return result;
}

void TSaNumEdit::TClipboard::SetText(const std::wstring& Text) {
    if (!OpenClipboardRetrying(FOwner.Handle())) return;
    ClipboardCloser closer;
    GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, (Text.size() + 1) * sizeof(wchar_t)));
    if (!memory) return;
    auto* buffer = static_cast<wchar_t*>(GlobalLock(memory.get()));
    if (!buffer) return;
    std::copy(Text.begin(), Text.end(), buffer);
    buffer[Text.size()] = L'\0';
    GlobalUnlock(memory.get());
    EmptyClipboard();
    // Readers that ask for CF_TEXT get it converted to the ANSI code page.
    if (SetClipboardData(CF_UNICODETEXT, memory.get())) memory.release();
}

// ---- Context menu --------------------------------------------------------

void TSaNumEdit::ShowContextMenu(LPARAM Position) {
    POINT at{GET_X_LPARAM(Position), GET_Y_LPARAM(Position)};
    if (Position == -1) {  // from the keyboard: at the caret's line
        const TPoint caret = CaretPoint();
        at = POINT{std::max(caret.X, 0), caret.Y + LineHeight()};
        ClientToScreen(Handle(), &at);
    }
    const HMENU menu = FPopupMenu;
    const bool own = menu == FEditMenu.get();
    if (own) {
        TEditMenuItems& items = EditMenuItems();
        EditMenuPopup(items);
        for (const TEditMenuItem& item : items) {
            if (item.Tag == mtSeparator1 || item.Tag == mtSeparator2) continue;
            EnableMenuItem(menu, static_cast<UINT>(item.Tag), MF_BYPOSITION | (item.Enabled ? MF_ENABLED : MF_GRAYED));
        }
    }
    const UINT command = static_cast<UINT>(TrackPopupMenu(
        menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, 0, Handle(), nullptr));
    if (!command || !Handle()) return;
    if (own) {
        RunCommand(command);
    } else {
        SendMessageW(GetParent(Handle()), WM_COMMAND, MAKEWPARAM(command, 0), 0);
    }
}

void TSaNumEdit::RunCommand(UINT Command) {
    if (Command < EditMenuCommand(mtUndo) || Command > EditMenuCommand(mtSelectAll)) return;
    const int tag = static_cast<int>(Command - EditMenuCommand(mtUndo));
    // A command that comes as a message bypasses the menu's enabling: a
    // read-only control still only copies and selects.
    if (ReadOnly() && tag != mtCopy && tag != mtSelectAll) return;
    EditMenuClick(EditMenuItems()[static_cast<std::size_t>(tag)]);
}

// ---- Messages ------------------------------------------------------------

LRESULT TSaNumEdit::GetTextMessage(WPARAM WParam, LPARAM LParam) {
    Default(WM_GETTEXT, WParam, LParam);
    auto* buffer = reinterpret_cast<wchar_t*>(LParam);
    if (WParam == 0 || !buffer) return 0;
    // The value as typed, cut to the caller's buffer, NUL included.
    const std::wstring& value = ValueText();
    const std::size_t count = std::min<std::size_t>(value.size(), WParam - 1);
    std::copy_n(value.data(), count, buffer);
    buffer[count] = L'\0';
    return static_cast<LRESULT>(count);
}

LRESULT TSaNumEdit::HandleMessage(UINT Message, WPARAM WParam, LPARAM LParam) {
    switch (Message) {
    case WM_SIZE: {
        const LRESULT result = Default(Message, WParam, LParam);
        SetClientSize(LOWORD(LParam), HIWORD(LParam));
        RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        if (Focused()) UpdateCaret();
        return result;
    }
    case WM_SETFOCUS: {
        const LRESULT result = Default(Message, WParam, LParam);
        SetFocusMessage();
        return result;
    }
    case WM_KILLFOCUS: {
        const LRESULT result = Default(Message, WParam, LParam);
        KillFocusMessage(reinterpret_cast<HWND>(WParam));
        return result;
    }
    case WM_SETTEXT: {
        Default(Message, WParam, LParam);
        const auto* text = reinterpret_cast<const wchar_t*>(LParam);
        SetText(text ? std::wstring(text) : std::wstring());  // does nothing for the current value
        return 0;
    }
    case WM_GETTEXT: return GetTextMessage(WParam, LParam);
    case WM_GETTEXTLENGTH:
        // The window text is the value, whatever text was last stored.
        return static_cast<LRESULT>(ValueText().size());
    case WM_GETDLGCODE: {
        Default(Message, WParam, LParam);
        LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
        if (EnterFocusMove()) code |= DLGC_WANTALLKEYS;
        return code;
    }
    case WM_IME_CHAR:
        // Full-width digits, minus and full stop reach the key handling as ASCII.
        return Default(Message, NarrowNumberChar(static_cast<wchar_t>(WParam)), LParam);
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: return ButtonDown(Message, WParam, LParam);
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: {
        const LRESULT result = Default(Message, WParam, LParam);
        const TMouseButton button = Message == WM_LBUTTONDBLCLK   ? mbLeft
                                    : Message == WM_RBUTTONDBLCLK ? mbRight
                                                                  : mbMiddle;
        if (button == mbLeft) {
            SetCapture(Handle());
            DblClick();
        }
        MouseDown(button, MouseShift(WParam) | ssDouble, GET_X_LPARAM(LParam), GET_Y_LPARAM(LParam));
        return result;
    }
    case WM_MOUSEMOVE: MouseMove(MouseShift(WParam), GET_X_LPARAM(LParam), GET_Y_LPARAM(LParam)); return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        const int x = GET_X_LPARAM(LParam), y = GET_Y_LPARAM(LParam);
        if (Message == WM_LBUTTONUP) {
            const bool clicked = FClicked;
            FClicked = false;
            if (GetCapture() == Handle()) ReleaseCapture();
            if (clicked) {
                RECT client;
                GetClientRect(Handle(), &client);
                if (PtInRect(&client, POINT{x, y})) Click();
            }
        }
        const TMouseButton button = Message == WM_LBUTTONUP ? mbLeft : Message == WM_RBUTTONUP ? mbRight : mbMiddle;
        MouseUp(button, MouseShift(WParam), x, y);
        return Default(Message, WParam, LParam);  // the right release brings WM_CONTEXTMENU
    }
    case WM_CAPTURECHANGED:
        // Another window took the mouse, or nobody has it now: the press that
        // was waiting for its release is no click any more.
        if (reinterpret_cast<HWND>(LParam) != Handle()) FClicked = false;
        return Default(Message, WParam, LParam);
    case WM_CONTEXTMENU:
        if (!FPopupMenu) return Default(Message, WParam, LParam);
        ShowContextMenu(LParam);
        return 0;
    case WM_COMMAND: RunCommand(LOWORD(WParam)); return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: return KeyDownMessage(Message, WParam, LParam);
    case WM_KEYUP:
    case WM_SYSKEYUP: return KeyUpMessage(Message, WParam, LParam);
    case WM_CHAR: return CharMessage(WParam);
    case WM_SETFONT:
        FFont = reinterpret_cast<HFONT>(WParam);
        FontChanged();
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(FFont);
    case WM_ENABLE:
        FEnabled = WParam != 0;
        EnabledChanged();
        return 0;
    case WM_ERASEBKGND:
        if (FErasing) FillBackground(reinterpret_cast<HDC>(WParam));
        return 1;
    case WM_PAINT: PaintWindow(); return 0;
    case WM_PRINTCLIENT:
        if (LParam & PRF_ERASEBKGND) FillBackground(reinterpret_cast<HDC>(WParam));
        Paint(reinterpret_cast<HDC>(WParam));
        return 0;
    default: return Window::HandleMessage(Message, WParam, LParam);
    }
}
