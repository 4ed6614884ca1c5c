// The Windows-free heart of TSaNumEdit: value text, formatting, layout
// arithmetic and the calculator-style editing (digits appended at the end, the
// sign toggled at the front, an all-or-nothing selection, one-level undo).
//
// How the window uses it. The window class TSaNumEdit derives from
// TSaNumEditModel (an owner that prefers composition derives a small adapter).
//  - It feeds the model: SetClientSize on every WM_SIZE, SetLineHeight after a
//    font change, SetCtl3D; KeyDown/KeyPress after the owner's OnKeyDown/
//    OnKeyPress with the key as the owner left it (0 = handled); FocusEntered
//    after OnEnter, FocusExited after OnExit; SetText for Text and WM_SETTEXT;
//    EditMenuPopup on opening the context menu (then it copies the items'
//    Enabled flags into the real menu) and EditMenuClick on a chosen item.
//  - It supplies text measuring with SetMeasureFunc: the width DrawText
//    reports for a text with DT_CALCRECT in the control's font. MeasureText
//    adds the extra pixel and answers 0 for an empty text.
//  - It supplies the clipboard with SetClipboard (plain text only).
//  - It receives notifications by overriding the hooks below (repaint request,
//    window re-creation, error beep, focus move to the parent form, focus for
//    the menu) and the virtual operations that need a window: CreateEditCaret,
//    UpdateCaret, DestroyEditCaret, AdjustHeight and AdjustWidth. UpdateCaret
//    is called after every change the caret could follow, focused or not; the
//    window decides whether it has a caret to move. The model never sizes the
//    window: AdjustHeight is the window's, and AdjustWidth only ever acts in a
//    form designer, which this program does not have.
//  - OnChange is raised by the model itself, after an edit by the user.
#pragma once

#include "numedit/SaNumEditTypes.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <utility>

// The clipboard in its plain-text form.
class TTextClipboard {
public:
    virtual ~TTextClipboard() = default;
    virtual bool HasText() = 0;
    virtual std::optional<std::wstring> GetText() = 0;
    virtual void SetText(const std::wstring& Text) = 0;
};

// A value text taken apart: "-", the integer digits, ".", the decimals.
struct TValueParts {
    std::wstring Sign, Integer, Point, Decimals;
};

// The built-in context menu; an item's tag is its index.
enum TEditMenuTag { mtUndo = 0, mtSeparator1, mtCut, mtCopy, mtPaste, mtDelete, mtSeparator2, mtSelectAll };
struct TEditMenuItem {
    int Tag;
    const wchar_t* Caption;
    bool Enabled;
};
using TEditMenuItems = std::array<TEditMenuItem, 8>;

// The ASCII form of a full-width digit, minus or full stop (and of the minus
// sign U+2212); any other character comes back unchanged. Used for typed
// IME characters and for text that comes in from outside.
wchar_t NarrowNumberChar(wchar_t C);

class TSaNumEditModel {
public:
    using TNotifyEvent = std::function<void(TSaNumEditModel& Sender)>;
    using TMeasureFunc = std::function<int(const std::wstring& Text)>;

    TSaNumEditModel() = default;
    TSaNumEditModel(const TSaNumEditModel&) = delete;
    TSaNumEditModel& operator=(const TSaNumEditModel&) = delete;

    // The class's own virtual operations, in the order of its table of virtual
    // operations, so that a descendant can replace any one of them.
    virtual void SetText(const std::wstring& Value);
    virtual std::wstring GetText() const;
    virtual void CreateEditCaret() {}
    virtual void UpdateCaret() {}
    virtual void DestroyEditCaret() {}
    virtual void AdjustHeight() {}
    virtual void AdjustWidth() {}
    virtual void DeleteLast();
    virtual void InsertDigit(wchar_t& Key);
    virtual void InsertPoint(wchar_t& Key);
    virtual void ToggleSign(wchar_t& Key);
    virtual bool FitsWidth(const std::wstring& Value) const;
    virtual int DisplayWidth(const std::wstring& Value) const;
    virtual int TypedWidth(const std::wstring& Value) const;
    virtual std::wstring FormatDisplay(const std::wstring& Value) const;
    virtual std::wstring FormatNumber(const std::wstring& Value) const;
    virtual int AvailableWidth() const;
    virtual void SwapUndo();
    virtual void SaveUndo();
    virtual std::wstring Sanitize(const std::wstring& Text) const;
    virtual std::wstring NormalizeZeros(const std::wstring& Value) const;
    virtual TValueParts SplitValue(const std::wstring& Value) const;
    virtual std::wstring JoinParts(const TValueParts& Parts) const;
    virtual std::wstring GroupThousands(const std::wstring& Digits) const;
    virtual int TemplateWidth() const;
    virtual std::wstring TemplateText() const;
    virtual std::wstring SampleText() const;
    virtual int MeasureText(const std::wstring& Text) const;
    virtual TRect LeftMarkRect() const;
    virtual TRect TemplateRect() const;
    virtual TRect NumberRect() const;
    virtual TRect RightMarkRect() const;
    virtual TPoint CaretPoint() const;
    virtual void EditMenuPopup(TEditMenuItems& Sender);
    virtual void EditMenuClick(const TEditMenuItem& Sender);

    virtual ~TSaNumEditModel() = default;

    // Selection, clipboard and undo.
    void SelectAll();
    void Deselect();
    void ClearValue();
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    void Undo();

    // Events from the window.
    void KeyDown(std::uint16_t& Key, TShiftState Shift);
    void KeyPress(wchar_t& Key);
    void FocusEntered();
    void FocusExited();

    // What the window supplies and reports.
    void SetMeasureFunc(TMeasureFunc Measure) { FMeasure = std::move(Measure); }
    void SetClipboard(TTextClipboard* Clipboard) { FClipboard = Clipboard; }
    void SetClientSize(int Width, int Height) {
        FClientWidth = Width;
        FClientHeight = Height;
    }
    void SetLineHeight(int Height) { FLineHeight = Height; }
    void SetCtl3D(bool Value);

    TNotifyEvent OnChange;

    // Properties.
    std::wstring Text() const { return GetText(); }
    TAlignment Alignment() const { return FAlignment; }
    bool ArrowFocusMove() const { return FArrowFocusMove; }
    bool AutoSelect() const { return FAutoSelect; }
    bool AutoSize() const { return FAutoSize; }
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    int BottomMargin() const { return FBottomMargin; }
    bool Comma() const { return FComma; }
    bool DecimalFixed() const { return FDecimalFixed; }
    int DecimalLength() const { return FDecimalLength; }
    TColor DisabledColor() const { return FDisabledColor; }
    bool EnterFocusMove() const { return FEnterFocusMove; }
    bool ErrorBeep() const { return FErrorBeep; }
    bool HideSelection() const { return FHideSelection; }
    bool ImageCopy() const { return FImageCopy; }
    bool IntegerFixed() const { return FIntegerFixed; }
    int IntegerLength() const { return FIntegerLength; }
    int LeftMargin() const { return FLeftMargin; }
    const std::wstring& LeftMark() const { return FLeftMark; }
    bool Minus() const { return FMinus; }
    TSaNumEditOptions Options() const { return FOptions; }
    bool ReadOnly() const { return FReadOnly; }
    int RightMargin() const { return FRightMargin; }
    const std::wstring& RightMark() const { return FRightMark; }
    int TopMargin() const { return FTopMargin; }
    TVertAlignment VertAlignment() const { return FVertAlignment; }

    void SetAlignment(TAlignment Value);
    void SetArrowFocusMove(bool Value) { FArrowFocusMove = Value; }
    void SetAutoSelect(bool Value);
    void SetAutoSize(bool Value);
    void SetBorderStyle(TBorderStyle Value);
    void SetBottomMargin(int Value);
    void SetComma(bool Value);
    void SetDecimalFixed(bool Value);
    void SetDecimalLength(int Value);
    void SetDisabledColor(TColor Value);
    void SetEnterFocusMove(bool Value) { FEnterFocusMove = Value; }
    void SetErrorBeep(bool Value) { FErrorBeep = Value; }
    void SetHideSelection(bool Value) { FHideSelection = Value; }
    void SetImageCopy(bool Value) { FImageCopy = Value; }
    void SetIntegerFixed(bool Value);
    void SetIntegerLength(int Value);
    void SetLeftMargin(int Value);
    void SetLeftMark(const std::wstring& Value);
    void SetMinus(bool Value);
    void SetOptions(TSaNumEditOptions Value) { FOptions = Value; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    void SetRightMargin(int Value);
    void SetRightMark(const std::wstring& Value);
    void SetTopMargin(int Value);
    void SetVertAlignment(TVertAlignment Value);

    // State.
    const std::wstring& ValueText() const { return FValueText; }
    const std::wstring& DisplayText() const { return FDisplayText; }
    const std::wstring& UndoText() const { return FUndoText; }
    bool CanUndo() const { return FCanUndo; }
    int SelStart() const { return FSelStart; }
    int SelLength() const { return FSelLength; }
    int LineHeight() const { return FLineHeight; }
    int ClientWidth() const { return FClientWidth; }
    int ClientHeight() const { return FClientHeight; }
    bool Ctl3D() const { return FCtl3D; }
    TEditMenuItems& EditMenuItems() { return FEditMenuItems; }

protected:
    // Hooks for the window; the model alone has no window to act on.
    virtual void Invalidate() {}    // repaint request
    virtual void RecreateWnd() {}   // the border needs other window styles
    virtual void ErrorSound() {}    // a key was refused and ErrorBeep is on
    virtual void FocusControl() {}  // the menu is opening: take the focus unless the control has it
    // Asks the parent form to move the focus to the previous or the next
    // control; false when there is no parent form to ask.
    virtual bool PostFocusMove(bool /*Previous*/) { return false; }

private:
    struct TBlock;
    TBlock Layout() const;
    bool Selected() const { return FSelLength != 0; }
    void StoreValue(std::wstring Value);
    void Accept(std::wstring Value);
    void Refuse(wchar_t& Key);
    void Change();
    void LimitsChanged();
    void FormatChanged();

    TAlignment FAlignment = taRightJustify;
    bool FArrowFocusMove = false;
    bool FAutoSelect = true;
    bool FAutoSize = true;
    TBorderStyle FBorderStyle = bsSingle;
    int FBottomMargin = 2;
    bool FComma = true;
    bool FDecimalFixed = false;
    int FDecimalLength = 3;
    TColor FDisabledColor = clGrayText;
    bool FEnterFocusMove = false;
    bool FErrorBeep = true;
    bool FHideSelection = true;
    bool FImageCopy = false;
    bool FIntegerFixed = false;
    int FIntegerLength = 9;
    int FLeftMargin = 2;
    std::wstring FLeftMark;
    bool FMinus = true;
    TSaNumEditOptions FOptions{eoArrowUp, eoArrowDown};
    bool FReadOnly = false;
    int FRightMargin = 2;
    std::wstring FRightMark;
    int FTopMargin = 2;
    TVertAlignment FVertAlignment = taVCenter;

    std::wstring FValueText;
    std::wstring FDisplayText;  // FormatDisplay(FValueText); empty for the empty value by default
    std::wstring FUndoText;
    bool FCanUndo = false;
    int FSelStart = 0;
    int FSelLength = 0;
    int FLineHeight = 0;
    int FClientWidth = 0;
    int FClientHeight = 0;
    bool FCtl3D = true;

    TMeasureFunc FMeasure;
    TTextClipboard* FClipboard = nullptr;
    TEditMenuItems FEditMenuItems{{
        {mtUndo, L"元に戻す(&U)", true},
        {mtSeparator1, L"-", true},
        {mtCut, L"切り取り(&T)", true},
        {mtCopy, L"コピー(&C)", true},
        {mtPaste, L"貼り付け(&P)", true},
        {mtDelete, L"削除(&D)", true},
        {mtSeparator2, L"-", true},
        {mtSelectAll, L"すべて選択(&A)", true},
    }};
};
