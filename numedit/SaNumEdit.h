// TSaNumEdit: the self-drawn, calculator-style numeric entry field. A child
// window of its own (its own painting, caret and context menu) around the
// Windows-free model TSaNumEditModel, which holds the value, the formatting,
// the layout arithmetic and the editing rules.
//
// Making one, as the form does:
//   TSaNumEdit SaNumEdit1;
//   SaNumEdit1.Create(page, form1::SaNumEdit1, 364, 324, 210, 40, bigBoldFont);
//   SaNumEdit1.SetAutoSize(false);  // keep the 40 pixels
//   SaNumEdit1.SetColor(16566268);
//   SaNumEdit1.SetIntegerLength(13); ...; SaNumEdit1.SetText(L"");
//   SaNumEdit1.OnKeyUp = [this](TSaNumEdit&, std::uint16_t& Key, TShiftState) { ... };
// Create runs the parent steps (font, LineHeight, auto height, Color :=
// clWindow) and then applies the given bounds, as a stored form's bounds win.
// Properties may be set before or after Create; a Color set before Create
// counts as the stored colour and wins over clWindow. The font is not owned: the
// form keeps it alive as long as the control. Without a font, Create takes the
// parent's (WM_GETFONT), else the system's GUI font.
//
// Events are plain members; key events receive the key by reference and
// setting it to 0 marks it handled. OnChange (from the model, sender
// TSaNumEditModel&) is raised after each edit by the user, never by SetText or
// WM_SETTEXT. OnKeyUp receives every release unchanged.
//
// Tests: SetBeeper records the error beep instead of sounding it. Send key
// messages rather than post them: Wine's TranslateMessage turns a posted
// WM_KEYDOWN of Enter, +, -, *, / or . into a second WM_CHAR.
//
// Window messages: WM_GETTEXT/WM_GETTEXTLENGTH read the value text, WM_SETTEXT
// assigns it (answering 0), WM_SETFONT/WM_GETFONT set and read the font,
// WM_COMMAND with EditMenuCommand(tag) runs a context-menu item.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "numedit/SaNumEditModel.h"
#include "ui/Gdi.h"
#include "ui/Window.h"

enum TMouseButton : std::uint8_t { mbLeft = 0, mbRight = 1, mbMiddle = 2 };

// Mouse buttons and the double click in a shift state, beside Shift, Alt, Ctrl.
constexpr TShiftState ssLeft = 8;
constexpr TShiftState ssRight = 16;
constexpr TShiftState ssMiddle = 32;
constexpr TShiftState ssDouble = 64;

// System colours as TColor (top bit set, COLOR_ index in the low byte).
constexpr TColor clWindowText = 0x80000008;
constexpr TColor clHighlight = 0x8000000D;
constexpr TColor clHighlightText = 0x8000000E;

class TSaNumEdit : public ui::Window, public TSaNumEditModel {
public:
    using TSenderEvent = std::function<void(TSaNumEdit& Sender)>;
    using TKeyEvent = std::function<void(TSaNumEdit& Sender, std::uint16_t& Key, TShiftState Shift)>;
    using TKeyPressEvent = std::function<void(TSaNumEdit& Sender, wchar_t& Key)>;
    using TMouseEvent = std::function<void(TSaNumEdit& Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
    using TMouseMoveEvent = std::function<void(TSaNumEdit& Sender, TShiftState Shift, int X, int Y)>;

    // The control without its window yet: 121 x 20, tab stop, the built-in
    // context menu EditMenu as its popup menu.
    TSaNumEdit();
    ~TSaNumEdit() override;

    // Makes the window as a child of Parent with the control ID Id.
    void Create(HWND Parent, int Id, int Left, int Top, int Width = 121, int Height = 20, HFONT Font = nullptr);

    int Id() const { return FId; }
    bool Focused() const;

    // Inherited properties of the windowed control.
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    HFONT Font() const { return FFont; }
    void SetFont(HFONT Value);  // the font-changed notification
    // Smaller fonts of the same face, largest first (owned by the caller): a
    // number too wide for the field in its font is drawn in the largest of
    // them that holds it, and the width limit of eoORInputStop is the smallest's.
    void SetFittingFonts(std::vector<HFONT> Fonts);
    HFONT ShownFont() const { return FShownFont ? FShownFont : FFont; }
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool Value);
    // Ctl3D() and SetCtl3D(bool) come from the model; changing it re-creates the
    // window when the border is single.

    // The context menu that pops up on a right click: EditMenu until another is
    // assigned (its commands go to the parent as WM_COMMAND); nullptr: none.
    HMENU PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(HMENU Value) { FPopupMenu = Value; }
    HMENU EditMenu() const { return FEditMenu.get(); }
    static constexpr UINT EditMenuCommand(int Tag) { return 0x7F00u + static_cast<UINT>(Tag); }

    // State shown for tests and owners.
    int CaretWidth() const { return FCaretWidth; }
    const TRect& TextRect() const { return FTextRect; }
    bool DoubleClicked() const { return FDoubleClicked; }

    // The COLORREF a TColor stands for.
    static COLORREF ColorToRGB(TColor Color);

    // Paints into Dc what WM_PAINT shows, without the background erase.
    void Paint(HDC Dc);

    // The error beep: the system's (MessageBeep) unless the owner gives
    // another; an empty one brings the system's back.
    using TBeeper = std::function<void()>;
    void SetBeeper(TBeeper Beeper);
    static void SystemBeep();

    // Events.
    TSenderEvent OnClick, OnDblClick, OnEnter, OnExit;
    TKeyEvent OnKeyDown, OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;

    // The model's virtual operations that need the window.
    void CreateEditCaret() override;
    void UpdateCaret() override;
    void DestroyEditCaret() override;
    void AdjustHeight() override;
    void AdjustWidth() override;

protected:
    LRESULT HandleMessage(UINT Message, WPARAM WParam, LPARAM LParam) override;

    // The framework's steps, overridable by a descendant.
    virtual void DoEnter();
    virtual void DoExit();
    virtual void DoKeyDown(std::uint16_t& Key, TShiftState Shift);
    virtual void DoKeyPress(wchar_t& Key);
    virtual void DoKeyUp(std::uint16_t& Key, TShiftState Shift);
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void Click();
    virtual void DblClick();
    virtual void FontChanged();
    virtual void EnabledChanged();

    // The model's hooks.
    void Invalidate() override;
    bool FitsWidth(const std::wstring& Value) const override;
    void RecreateWnd() override;
    void ErrorSound() override;
    void FocusControl() override;
    bool PostFocusMove(bool Previous) override;

private:
    TBeeper FBeeper = SystemBeep;

    class TClipboard : public TTextClipboard {
    public:
        explicit TClipboard(TSaNumEdit& Owner) : FOwner(Owner) {}
        bool HasText() override;
        std::optional<std::wstring> GetText() override;
        void SetText(const std::wstring& Text) override;

    private:
        TSaNumEdit& FOwner;
    };

    void CreateWindowHandle(HWND Parent, int Left, int Top, int Width, int Height);
    void ParentAssigned();
    void MeasureLineHeight();
    int MeasureExtent(const std::wstring& Text) const;
    void FitFont();
    void FillBackground(HDC Dc);
    void PaintWindow();
    void ShowContextMenu(LPARAM Position);
    void RunCommand(UINT Command);
    LRESULT ButtonDown(UINT Message, WPARAM WParam, LPARAM LParam);
    LRESULT KeyDownMessage(UINT Message, WPARAM WParam, LPARAM LParam);
    LRESULT KeyUpMessage(UINT Message, WPARAM WParam, LPARAM LParam);
    LRESULT CharMessage(WPARAM WParam);
    LRESULT GetTextMessage(WPARAM WParam, LPARAM LParam);
    void SetFocusMessage();
    void KillFocusMessage(HWND NewFocus);

    int FId = 0;
    TColor FColor = clWindow;
    bool FColorStored = false;  // set by the owner before the parent steps
    HFONT FFont = nullptr;
    std::vector<HFONT> FFittingFonts;
    HFONT FShownFont = nullptr;             // the fitting font in use; null: FFont
    mutable HFONT FMeasuredFont = nullptr;  // the font MeasureExtent measures with; null: the shown one
    TColor FFontColor = clWindowText;
    bool FEnabled = true;
    bool FVisible = true;
    bool FTabStop = true;
    HMENU FPopupMenu = nullptr;
    ui::Menu FEditMenu;
    int FCaretWidth = 1;
    TRect FTextRect;
    bool FDoubleClicked = false;
    bool FEntered = false;  // the form's active control: enter ran, exit not yet
    bool FRecreating = false;
    bool FClicked = false;  // a left press waits for its release
    bool FErasing = true;   // WM_ERASEBKGND fills; off while WM_PAINT paints it all
    TClipboard FClipboard{*this};
};
