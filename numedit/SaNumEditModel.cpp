// Editing, keys, clipboard, undo, context menu and properties of TSaNumEdit.
#include "numedit/SaNumEditModel.h"

#include "numedit/SaNumEditValue.h"

#include <utility>

using valuetext::DecimalCount;
using valuetext::HasPoint;
using valuetext::HasSign;
using valuetext::IntegerDigitCount;

namespace {
// Stores Value when it differs; true when it did.
template <class T>
bool Assign(T& Field, const T& Value) {
    if (Field == Value) return false;
    Field = Value;
    return true;
}
}  // namespace

// ---- Value changes -------------------------------------------------------

void TSaNumEditModel::StoreValue(std::wstring Value) {
    FValueText = std::move(Value);
    FDisplayText = FormatDisplay(FValueText);
}

// The end of every accepted edit by the user.
void TSaNumEditModel::Accept(std::wstring Value) {
    SaveUndo();
    StoreValue(std::move(Value));
    Invalidate();
    UpdateCaret();
    Change();
}

void TSaNumEditModel::Refuse(wchar_t& Key) {
    if (FErrorBeep) ErrorSound();
    Key = 0;
}

void TSaNumEditModel::Change() {
    if (OnChange) OnChange(*this);
}

void TSaNumEditModel::SetText(const std::wstring& Value) {
    // Assigned text is no edit by the user: no OnChange, no undo snapshot, and
    // no width check, so the owner can always show what it computed.
    if (Value == FValueText) return;
    StoreValue(NormalizeZeros(Sanitize(Value)));
    Invalidate();
    UpdateCaret();
}

void TSaNumEditModel::InsertDigit(wchar_t& Key) {
    if (FReadOnly) {
        Key = 0;
        return;
    }
    if (Selected()) ClearValue();
    const bool typingDecimals = FDecimalLength > 0 && HasPoint(FValueText);
    if (typingDecimals ? DecimalCount(FValueText) >= FDecimalLength : IntegerDigitCount(FValueText) >= FIntegerLength)
        return Refuse(Key);
    std::wstring t = NormalizeZeros(FValueText + Key);
    if (FOptions.Contains(eoORInputStop) && !FitsWidth(t)) return Refuse(Key);
    Key = 0;
    Accept(std::move(t));
}

void TSaNumEditModel::InsertPoint(wchar_t& Key) {
    if (FReadOnly) {
        Key = 0;
        return;
    }
    if (FDecimalLength == 0) return Refuse(Key);
    if (Selected()) ClearValue();
    if (HasPoint(FValueText)) return Refuse(Key);
    // Measured before the "0" of an empty integer part is put in front.
    const std::wstring t = FValueText + L'.';
    if (FOptions.Contains(eoORInputStop) && !FitsWidth(t)) return Refuse(Key);
    Key = 0;
    Accept(NormalizeZeros(t));
}

void TSaNumEditModel::ToggleSign(wchar_t& Key) {
    if (FReadOnly) {
        Key = 0;
        return;
    }
    if (!FMinus) return Refuse(Key);
    if (Selected()) ClearValue();
    std::wstring t;
    if (HasSign(FValueText)) {
        t = FValueText.substr(1);  // taking the sign off never widens the text
    } else {
        t = L'-' + FValueText;
        if (FOptions.Contains(eoORInputStop) && !FitsWidth(t)) return Refuse(Key);
    }
    Key = 0;
    Accept(std::move(t));
}

void TSaNumEditModel::DeleteLast() {
    if (FReadOnly || FValueText.empty()) return;
    if (Selected()) {
        ClearValue();
        return;
    }
    std::wstring t = FValueText;
    t.pop_back();
    if (!t.empty() && t.back() == L'.') t.pop_back();
    Accept(std::move(t));
}

// ---- Selection, clipboard, undo ------------------------------------------

void TSaNumEditModel::SelectAll() {
    FSelStart = 0;
    FSelLength = static_cast<int>(FDisplayText.size());
    Invalidate();
}

void TSaNumEditModel::Deselect() {
    FSelStart = 0;
    FSelLength = 0;
    Invalidate();
}

void TSaNumEditModel::SaveUndo() {
    FUndoText = FValueText;
    FCanUndo = true;
}

void TSaNumEditModel::SwapUndo() {
    std::swap(FValueText, FUndoText);
    FCanUndo = true;
}

void TSaNumEditModel::Undo() {
    // The earlier value comes back as it was, even if the limits have changed
    // since; a second Undo swaps back.
    if (!FCanUndo) return;
    SwapUndo();
    FDisplayText = FormatDisplay(FValueText);
    SelectAll();
    UpdateCaret();
    Change();
}

void TSaNumEditModel::ClearValue() {
    SaveUndo();
    StoreValue(std::wstring());
    Deselect();
    UpdateCaret();
}

void TSaNumEditModel::CopyToClipboard() {
    if (!Selected() || !FClipboard) return;
    FClipboard->SetText(FImageCopy ? FDisplayText : FValueText);
}

void TSaNumEditModel::CutToClipboard() {
    if (!Selected()) return;
    CopyToClipboard();
    ClearValue();
    Change();
}

void TSaNumEditModel::PasteFromClipboard() {
    if (!FClipboard) return;
    const std::optional<std::wstring> s = FClipboard->GetText();
    if (!s) return;
    SaveUndo();
    // Without a selection the pasted text is appended, as if it were typed.
    StoreValue(NormalizeZeros(Sanitize(Selected() ? *s : FValueText + *s)));
    Deselect();
    UpdateCaret();
    Change();
}

// ---- Keys and focus ------------------------------------------------------

void TSaNumEditModel::KeyDown(std::uint16_t& Key, TShiftState Shift) {
    if (Shift == ssShift && (Key == vkLeft || Key == vkRight)) {
        SelectAll();
        Key = 0;
        return;
    }
    if (Shift == ssCtrl && Key == vkA) {
        SelectAll();
        Key = 0;
        return;
    }
    if (Shift == ssCtrl && Key == vkC) {
        CopyToClipboard();
        Key = 0;
        return;
    }
    if (Shift == 0) {
        switch (Key) {
        case vkPrior:
        case vkNext:
        case vkEnd:
        case vkHome:
        case vkLeft:
        case vkRight:
            Deselect();
            Key = 0;
            return;
        case vkUp:
        case vkDown: {
            // There is no caret movement; Up and Down may move the focus instead.
            const bool up = Key == vkUp;
            Deselect();
            Key = 0;
            if (FArrowFocusMove && FOptions.Contains(up ? eoArrowUp : eoArrowDown)) PostFocusMove(up);
            return;
        }
        default: break;
        }
    }
    if (FReadOnly) return;
    if (Shift == ssCtrl && Key == vkV) {
        PasteFromClipboard();
        Key = 0;
    } else if (Shift == ssCtrl && Key == vkX) {
        CutToClipboard();
        Key = 0;
    } else if (Shift == 0 && (Key == vkBack || Key == vkDelete)) {
        DeleteLast();
        Key = 0;
    }
}

void TSaNumEditModel::KeyPress(wchar_t& Key) {
    if (FReadOnly) {
        Key = 0;
        return;
    }
    switch (Key) {
    case 1:
    case 3:
    case 8:
    case 22:
    case 24:  // Ctrl+A, Ctrl+C, Backspace, Ctrl+V, Ctrl+X: done at key-down
        Key = 0;
        return;
    case 13:
        if (!FEnterFocusMove) break;
        if (PostFocusMove(false)) Key = 0;
        return;
    case L'-': ToggleSign(Key); return;
    case L'.': InsertPoint(Key); return;
    default:
        if (Key >= L'0' && Key <= L'9') {
            InsertDigit(Key);
            return;
        }
        break;
    }
    Refuse(Key);
}

void TSaNumEditModel::FocusEntered() {
    if (FAutoSelect) SelectAll();
}

void TSaNumEditModel::FocusExited() {
    // A sign with no digits is no number; the owner saw it in OnExit already.
    if (FValueText == L"-" && !FOptions.Contains(eoMinusOnly)) {
        StoreValue(std::wstring());
        Invalidate();
    }
    if (FHideSelection) Deselect();
}

// ---- Context menu --------------------------------------------------------

void TSaNumEditModel::EditMenuPopup(TEditMenuItems& Sender) {
    FocusControl();
    const bool editable = !FReadOnly;
    const bool selected = Selected();
    Sender[mtUndo].Enabled = FCanUndo && editable;
    Sender[mtCut].Enabled = selected && editable;
    Sender[mtCopy].Enabled = selected;
    Sender[mtPaste].Enabled = editable && FClipboard && FClipboard->HasText();
    Sender[mtDelete].Enabled = selected && editable;
    Sender[mtSelectAll].Enabled = !selected && !FValueText.empty();
}

void TSaNumEditModel::EditMenuClick(const TEditMenuItem& Sender) {
    switch (Sender.Tag) {
    case mtUndo: Undo(); break;
    case mtCut: CutToClipboard(); break;
    case mtCopy: CopyToClipboard(); break;
    case mtPaste: PasteFromClipboard(); break;
    case mtDelete: ClearValue(); break;
    case mtSelectAll: SelectAll(); break;
    default: break;  // separators
    }
}

// ---- Properties ----------------------------------------------------------
// A setter given the current value does nothing; a negative margin or length
// is ignored. Changing a limit re-applies it to the value, without OnChange.

void TSaNumEditModel::LimitsChanged() {
    FValueText = Sanitize(FValueText);
    FormatChanged();
}

void TSaNumEditModel::FormatChanged() {
    FDisplayText = FormatDisplay(FValueText);
    AdjustWidth();
    Invalidate();
    UpdateCaret();
}

void TSaNumEditModel::SetAlignment(TAlignment Value) {
    if (!Assign(FAlignment, Value)) return;
    Invalidate();
    UpdateCaret();
}

void TSaNumEditModel::SetVertAlignment(TVertAlignment Value) {
    if (!Assign(FVertAlignment, Value)) return;
    Invalidate();
    UpdateCaret();
}

void TSaNumEditModel::SetAutoSelect(bool Value) {
    if (Assign(FAutoSelect, Value)) Invalidate();
}

void TSaNumEditModel::SetDisabledColor(TColor Value) {
    if (Assign(FDisabledColor, Value)) Invalidate();
}

void TSaNumEditModel::SetAutoSize(bool Value) {
    if (!Assign(FAutoSize, Value)) return;
    AdjustHeight();
    AdjustWidth();
    Invalidate();
    UpdateCaret();
}

void TSaNumEditModel::SetBorderStyle(TBorderStyle Value) {
    if (!Assign(FBorderStyle, Value)) return;
    RecreateWnd();
    AdjustHeight();
    AdjustWidth();
    Invalidate();
    UpdateCaret();
}

void TSaNumEditModel::SetCtl3D(bool Value) {
    // Only a single border is drawn differently in the 3-D look.
    if (!Assign(FCtl3D, Value)) return;
    if (FBorderStyle == bsSingle) RecreateWnd();
    AdjustHeight();
    AdjustWidth();
}

void TSaNumEditModel::SetTopMargin(int Value) {
    if (Value < 0 || !Assign(FTopMargin, Value)) return;
    AdjustHeight();
    Invalidate();
    UpdateCaret();
}

void TSaNumEditModel::SetBottomMargin(int Value) {
    if (Value < 0 || !Assign(FBottomMargin, Value)) return;
    AdjustHeight();
    Invalidate();
    UpdateCaret();
}

void TSaNumEditModel::SetLeftMargin(int Value) {
    if (Value < 0 || !Assign(FLeftMargin, Value)) return;
    AdjustWidth();
    Invalidate();
    UpdateCaret();
}

void TSaNumEditModel::SetRightMargin(int Value) {
    if (Value < 0 || !Assign(FRightMargin, Value)) return;
    AdjustWidth();
    Invalidate();
    UpdateCaret();
}

void TSaNumEditModel::SetIntegerLength(int Value) {
    if (Value >= 0 && Assign(FIntegerLength, Value)) LimitsChanged();
}

void TSaNumEditModel::SetDecimalLength(int Value) {
    if (Value >= 0 && Assign(FDecimalLength, Value)) LimitsChanged();
}

void TSaNumEditModel::SetMinus(bool Value) {
    if (Assign(FMinus, Value)) LimitsChanged();
}

void TSaNumEditModel::SetComma(bool Value) {
    if (Assign(FComma, Value)) FormatChanged();
}

void TSaNumEditModel::SetDecimalFixed(bool Value) {
    if (Assign(FDecimalFixed, Value)) FormatChanged();
}

void TSaNumEditModel::SetIntegerFixed(bool Value) {
    if (Assign(FIntegerFixed, Value)) FormatChanged();
}

void TSaNumEditModel::SetLeftMark(const std::wstring& Value) {
    if (Assign(FLeftMark, Value)) FormatChanged();
}

void TSaNumEditModel::SetRightMark(const std::wstring& Value) {
    if (Assign(FRightMark, Value)) FormatChanged();
}
