// Keyboard editing, clipboard, undo, context menu, focus and property setters
// of the numeric entry control.
#include "ProbeModel.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using Start = std::function<void(TProbeModel&)>;

// Starting values and settings of a row.
Start Value(const wchar_t* Text) {
    return [Text](TProbeModel& m) { m.SetText(Text); };
}
Start With(Start A, Start B) {
    return [A, B](TProbeModel& m) {
        A(m);
        B(m);
    };
}
Start Clip(const wchar_t* Text) {
    return [Text](TProbeModel& m) { m.Clipboard.Content = Text; };
}
const Start kReadOnly = [](TProbeModel& m) { m.SetReadOnly(true); };
const Start kImageCopy = [](TProbeModel& m) {
    m.SetImageCopy(true);
    m.SetLeftMark(L"\u00A5");
};
Start Limits(int IntegerLength, int DecimalLength) {
    return [=](TProbeModel& m) {
        m.SetIntegerLength(IntegerLength);
        m.SetDecimalLength(DecimalLength);
    };
}
// The register's entry field: 13 digits, no decimals, the yen mark, and digits
// refused once the display text no longer fits.
const Start kRegisterField = [](TProbeModel& m) {
    m.SetIntegerLength(13);
    m.SetDecimalLength(0);
    m.SetLeftMark(L"\u00A5");
    m.SetOptions({eoArrowUp, eoArrowDown, eoORInputStop});
};
// Room for exactly Width pixels of display text (8 pixels a character).
Start Room(int Width) {
    return [=](TProbeModel& m) {
        m.SetOptions({eoORInputStop});
        m.SetLeftMark(L"\u00A5");
        m.SetClientSize(Width + 8, 20);
    };
}

struct KeyRow {
    const char* Name;
    Start Begin;
    const char* Keys;
    const wchar_t* Text;
    const wchar_t* Display;
    bool Selected;
    const wchar_t* UndoText;
    int Changes, Beeps;
    const wchar_t* Clipboard;  // nullptr: the clipboard holds no text
};

const KeyRow kKeys[] = {
    // Typing.
    {"leading zeros", Value(L""), "0 0 5", L"5", L"5", false, L"0", 3, 0, nullptr},
    {"point first", Value(L""), ".", L"0.", L"0.", false, L"", 1, 0, nullptr},
    {"sign then digit", Value(L""), "- 5", L"-5", L"-5", false, L"-", 2, 0, nullptr},
    {"sign toggles", Value(L""), "- 5 -", L"5", L"5", false, L"-5", 3, 0, nullptr},
    {"sign then point", Value(L""), "- .", L"-0.", L"-0.", false, L"-", 2, 0, nullptr},
    {"decimals", Value(L""), "1 2 3 4 . 5", L"1234.5", L"1,234.5", false, L"1234.", 6, 0, nullptr},
    {"second point", Value(L"1.5"), ".", L"1.5", L"1.5", false, L"", 0, 1, nullptr},
    {"14th digit", Limits(13, 0), "1 2 3 4 5 6 7 8 9 0 1 2 3 4", L"1234567890123", L"1,234,567,890,123", false,
     L"123456789012", 13, 1, nullptr},
    {"3rd decimal", Limits(9, 2), "1 . 2 3 4", L"1.23", L"1.23", false, L"1.2", 4, 1, nullptr},
    {"sign is no digit", Limits(3, 0), "- 1 2 3 4", L"-123", L"-123", false, L"-12", 4, 1, nullptr},
    {"no integer digits", Limits(0, 3), "5 . 5", L"0.5", L"0.5", false, L"0.", 2, 1, nullptr},
    {"no point allowed", Limits(9, 0), "1 .", L"1", L"1", false, L"", 1, 1, nullptr},
    {"no minus allowed", [](TProbeModel& m) { m.SetMinus(false); }, "5 -", L"5", L"5", false, L"", 1, 1, nullptr},
    {"letters and Ctrl+Z", Value(L"12"), "a + ^Z NUL", L"12", L"12", false, L"", 0, 4, nullptr},
    {"quiet refusal", With(Value(L"12"), [](TProbeModel& m) { m.SetErrorBeep(false); }), "a", L"12", L"12", false, L"",
     0, 0, nullptr},
    // The register's field: Enter and the keypad's command keys are refused; its minus toggles.
    {"register commands", With(kRegisterField, Value(L"1200")), "ENTER + * / .", L"1200",
     L"\u00A5"
     L"1,200",
     false, L"", 0, 5, nullptr},
    {"register minus", With(kRegisterField, Value(L"1200")), "-", L"-1200",
     L"\u00A5"
     L"-1,200",
     false, L"1200", 1, 0, nullptr},
    // Width stop: "¥12,345" is 57 pixels wide, "¥123,456" 65.
    {"width stops digit", Room(60), "1 2 3 4 5 6", L"12345",
     L"\u00A5"
     L"12,345",
     false, L"1234", 5, 1, nullptr},
    {"width stops point, sign", With(Room(60), Value(L"12345")), ". -", L"12345",
     L"\u00A5"
     L"12,345",
     false, L"", 0, 2, nullptr},
    {"point measured without 0", Room(20), ".", L"0.",
     L"\u00A5"
     L"0.",
     false, L"", 1, 0, nullptr},
    // Deleting.
    {"backspace decimal", Value(L"12.5"), "BS", L"12", L"12", false, L"12.5", 1, 0, nullptr},
    {"backspace sign", Value(L"-5"), "BS", L"-", L"-", false, L"-5", 1, 0, nullptr},
    {"backspace zero", Value(L"100"), "BS", L"10", L"10", false, L"100", 1, 0, nullptr},
    {"backspace empty", Value(L""), "BS DEL", L"", L"", false, L"", 0, 0, nullptr},
    {"delete key", Value(L"0.5"), "DEL", L"0", L"0", false, L"0.5", 1, 0, nullptr},
    // The whole text selected.
    {"digit replaces", Value(L"1234"), "^A 7", L"7", L"7", false, L"", 1, 0, nullptr},
    {"undo after replace", Value(L"1234"), "^A 7 M:UNDO", L"", L"", false, L"7", 2, 0, nullptr},
    {"point replaces", Value(L"1234"), "S-LEFT .", L"0.", L"0.", false, L"", 1, 0, nullptr},
    {"sign replaces", Value(L"1234"), "^A -", L"-", L"-", false, L"", 1, 0, nullptr},
    {"backspace clears", Value(L"1234"), "^A BS", L"", L"", false, L"1234", 0, 0, nullptr},
    {"refused after clearing", With(Limits(0, 0), Value(L"-")), "^A 5", L"", L"", false, L"-", 0, 1, nullptr},
    {"keys that deselect", Value(L"12"), "^A HOME", L"12", L"12", false, L"", 0, 0, nullptr},
    {"Ctrl+Shift+A", Value(L"12"), "^+A", L"12", L"12", false, L"", 0, 0, nullptr},
    {"Shift+Up", Value(L"12"), "^A S-UP", L"12", L"12", true, L"", 0, 0, nullptr},
    // Read-only: edits are swallowed without a beep; selecting and copying work.
    {"read-only edits", With(Value(L"12"), kReadOnly), "5 . - a ENTER BS DEL", L"12", L"12", false, L"", 0, 0, nullptr},
    {"read-only selected", With(With(Value(L"12"), kReadOnly), Clip(L"9")), "^A ^V ^X BS 5", L"12", L"12", true, L"", 0,
     0, L"9"},
    {"read-only copy", With(Value(L"12"), kReadOnly), "^A ^C", L"12", L"12", true, L"", 0, 0, L"12"},
    // Clipboard.
    {"copy unselected", With(Value(L"12"), Clip(L"x")), "^C M:COPY", L"12", L"12", false, L"", 0, 0, L"x"},
    {"copy after focus", Value(L"12"), "FOCUS ^C", L"12", L"12", true, L"", 0, 0, L"12"},
    {"copy value", With(Value(L"1234"), [](TProbeModel& m) { m.SetLeftMark(L"\u00A5"); }), "^A ^C", L"1234",
     L"\u00A5"
     L"1,234",
     true, L"", 0, 0, L"1234"},
    {"copy as shown", With(Value(L"1234"), kImageCopy), "^A M:COPY", L"1234",
     L"\u00A5"
     L"1,234",
     true, L"", 0, 0,
     L"\u00A5"
     L"1,234"},
    {"cut", Value(L"12"), "^A ^X", L"", L"", false, L"12", 1, 0, L"12"},
    {"cut unselected", Value(L"12"), "^X M:CUT", L"12", L"12", false, L"", 0, 0, nullptr},
    {"menu delete", Value(L"12"), "M:ALL M:DEL", L"", L"", false, L"12", 0, 0, nullptr},
    {"paste appends", With(Value(L"12"), Clip(L"34")), "^V", L"1234", L"1,234", false, L"12", 1, 0, L"34"},
    {"paste replaces", With(Value(L"12"), Clip(L"34")), "^A M:PASTE", L"34", L"34", false, L"12", 1, 0, L"34"},
    {"paste mark over selection",
     With(Value(L"12"), Clip(L"\u00A5"
                             L"5")),
     "^A ^V", L"", L"", false, L"12", 1, 0,
     L"\u00A5"
     L"5"},
    {"paste mark after value",
     With(Value(L"12"), Clip(L"\u00A5"
                             L"5")),
     "^V", L"12", L"12", false, L"12", 1, 0,
     L"\u00A5"
     L"5"},
    {"paste sign inside", Clip(L"12-5"), "^V", L"12", L"12", false, L"", 1, 0, L"12-5"},
    {"paste full width", Clip(L"\uFF11\uFF12\uFF13"), "^V", L"123", L"123", false, L"", 1, 0, L"\uFF11\uFF12\uFF13"},
    {"paste too long", With(Value(L"12"), Clip(L"1234567890")), "^A ^V", L"", L"", false, L"12", 1, 0, L"1234567890"},
    {"paste zeros", With(Value(L"0"), Clip(L"05")), "^V", L"5", L"5", false, L"0", 1, 0, L"05"},
    {"paste without text", Value(L"12"), "^V", L"12", L"12", false, L"", 0, 0, nullptr},
    {"paste ignores width", With(Room(20), Clip(L"123456")), "^V", L"123456",
     L"\u00A5"
     L"123,456",
     false, L"", 1, 0, L"123456"},
    // Undo.
    {"undo nothing", Value(L"12"), "M:UNDO", L"12", L"12", false, L"", 0, 0, nullptr},
    {"undo selects", Value(L"12"), "3 M:UNDO", L"12", L"12", true, L"123", 2, 0, nullptr},
    {"undo twice", Value(L"12"), "3 M:UNDO M:UNDO", L"123", L"123", true, L"12", 3, 0, nullptr},
    {"no undo key", Value(L"12"), "3 ^Z", L"123", L"123", false, L"12", 1, 1, nullptr},
    // Focus.
    {"lone minus left", Value(L"-"), "EXIT", L"", L"", false, L"", 0, 0, nullptr},
    {"lone minus kept", With(Value(L"-"), [](TProbeModel& m) { m.SetOptions({eoMinusOnly}); }), "EXIT", L"-", L"-",
     false, L"", 0, 0, nullptr},
    {"minus zero left", Value(L"-0"), "EXIT", L"-0", L"-0", false, L"", 0, 0, nullptr},
    {"selection hidden", Value(L"12"), "FOCUS EXIT", L"12", L"12", false, L"", 0, 0, nullptr},
    {"selection kept", With(Value(L"12"), [](TProbeModel& m) { m.SetHideSelection(false); }), "FOCUS EXIT", L"12",
     L"12", true, L"", 0, 0, nullptr},
    {"no auto select", With(Value(L"12"), [](TProbeModel& m) { m.SetAutoSelect(false); }), "FOCUS", L"12", L"12", false,
     L"", 0, 0, nullptr},
    {"select all empty", With(Value(L""), Clip(L"x")), "^A ^X", L"", L"", false, L"", 0, 0, L"x"},
};

TEST(NumEditKeysTest, KeySequences) {
    for (const KeyRow& r : kKeys) {
        TProbeModel m;
        r.Begin(m);
        m.Changes = 0;
        PressKeys(m, r.Keys);
        SCOPED_TRACE(r.Name);
        EXPECT_EQ(m.Text(), r.Text);
        EXPECT_EQ(m.DisplayText(), r.Display);
        EXPECT_EQ(m.SelLength() != 0, r.Selected);
        EXPECT_EQ(m.SelStart(), 0);
        EXPECT_EQ(m.UndoText(), r.UndoText);
        EXPECT_EQ(m.Changes, r.Changes);
        EXPECT_EQ(m.Beeps, r.Beeps);
        EXPECT_EQ(m.Clipboard.Content, r.Clipboard ? std::optional<std::wstring>(r.Clipboard) : std::nullopt);
    }
}

// What becomes of the key itself: 0 once handled (or refused).
TEST(NumEditKeysTest, KeysHandledOrPassedOn) {
    const struct {
        std::uint16_t Vk;
        TShiftState Shift;
        bool ReadOnly;
        bool Handled;
    } downs[] = {
        {vkLeft, 0, false, true},          {vkEnd, 0, true, true},
        {vkLeft, ssShift, true, true},     {vkA, ssCtrl, true, true},
        {vkC, ssCtrl, true, true},         {vkV, ssCtrl, false, true},
        {vkV, ssCtrl, true, false},        {vkX, ssCtrl, true, false},
        {vkBack, 0, false, true},          {vkBack, 0, true, false},
        {vkDelete, ssShift, false, false}, {vkHome, ssShift, false, false},
        {0x5A, ssCtrl, false, false},      {vkA, ssCtrl | ssShift, false, false},
        {vkReturn, 0, false, false},       {vkUp, 0, true, true},
        {vkLeft, ssAlt, false, false},
    };
    for (const auto& d : downs) {
        TProbeModel m;
        m.SetReadOnly(d.ReadOnly);
        std::uint16_t key = d.Vk;
        m.KeyDown(key, d.Shift);
        EXPECT_EQ(key == 0, d.Handled) << "vk " << d.Vk << " shift " << int(d.Shift) << " read-only " << d.ReadOnly;
    }

    const struct {
        wchar_t Char;
        bool ReadOnly, EnterFocusMove, ParentForm;
        wchar_t After;
        int Beeps;
        const char* Move;
    } presses[] = {
        {L'5', false, false, true, 0, 0, ""}, {L'a', false, false, true, 0, 1, ""},
        {L'a', true, false, true, 0, 0, ""},  {1, false, false, true, 0, 0, ""},
        {22, false, false, true, 0, 0, ""},   {26, false, false, true, 0, 1, ""},
        {13, false, false, true, 0, 1, ""},   {13, false, true, true, 0, 0, "focus-next"},
        {13, false, true, false, 13, 0, ""},  {13, true, true, true, 0, 0, ""},
        {0, false, false, true, 0, 1, ""},
    };
    for (const auto& p : presses) {
        TProbeModel m;
        m.SetReadOnly(p.ReadOnly);
        m.SetEnterFocusMove(p.EnterFocusMove);
        m.HasParentForm = p.ParentForm;
        wchar_t c = p.Char;
        m.KeyPress(c);
        SCOPED_TRACE(testing::Message() << "char " << int(p.Char));
        EXPECT_EQ(c, p.After);
        EXPECT_EQ(m.Beeps, p.Beeps);
        EXPECT_EQ(m.Has("focus-next"), std::string(p.Move) == "focus-next");
    }
}

TEST(NumEditKeysTest, ArrowsMoveTheFocus) {
    const struct {
        const char* Key;
        bool ArrowFocusMove;
        TSaNumEditOptions Options;
        bool ReadOnly;
        const char* Move;
    } rows[] = {
        {"UP", true, {eoArrowUp, eoArrowDown}, false, "focus-prev"},
        {"DOWN", true, {eoArrowUp, eoArrowDown}, false, "focus-next"},
        {"DOWN", true, {eoArrowUp, eoArrowDown}, true, "focus-next"},
        {"UP", false, {eoArrowUp, eoArrowDown}, false, nullptr},
        {"UP", true, {eoArrowDown}, false, nullptr},
        {"DOWN", true, {eoArrowUp}, false, nullptr},
        {"S-UP", true, {eoArrowUp, eoArrowDown}, false, nullptr},
    };
    for (const auto& r : rows) {
        TProbeModel m;
        m.SetText(L"12");
        m.SelectAll();
        m.SetArrowFocusMove(r.ArrowFocusMove);
        m.SetOptions(r.Options);
        m.SetReadOnly(r.ReadOnly);
        PressKeys(m, r.Key);
        SCOPED_TRACE(r.Key);
        EXPECT_EQ(m.Has("focus-prev"), r.Move && std::string(r.Move) == "focus-prev");
        EXPECT_EQ(m.Has("focus-next"), r.Move && std::string(r.Move) == "focus-next");
    }
}

// Enabled items as a string: U(ndo) T (cut) C(opy) P(aste) D(elete) A (select all).
std::string Enabled(const TEditMenuItems& items) {
    std::string s;
    for (int tag : {mtUndo, mtCut, mtCopy, mtPaste, mtDelete, mtSelectAll})
        s += items[tag].Enabled ? "UTCPDA"[s.size()] : '.';
    return s;
}

TEST(NumEditKeysTest, MenuEnabling) {
    const struct {
        const char* Name;
        Start Begin;
        const char* Keys;
        bool ReadOnly;  // made read-only after the keys
        const char* Items;
    } rows[] = {
        {"new control", [](TProbeModel&) {}, "", false, "......"},
        {"value", Value(L"12"), "", false, ".....A"},
        {"value, clipboard text", With(Value(L"12"), Clip(L"")), "", false, "...P.A"},
        {"selected after an edit", With(Value(L"12"), Clip(L"3")), "3 ^A", false, "UTCPD."},
        {"selected empty value", Value(L""), "^A", false, "......"},
        {"read-only selected", With(Value(L"12"), Clip(L"3")), "3 ^A", true, "..C..."},
        {"read-only unselected", With(Value(L"12"), Clip(L"3")), "3", true, ".....A"},
        {"read-only empty", Clip(L"3"), "", true, "......"},
    };
    for (const auto& r : rows) {
        TProbeModel m;
        r.Begin(m);
        PressKeys(m, r.Keys);
        m.SetReadOnly(r.ReadOnly);
        m.Log.clear();
        m.EditMenuPopup(m.EditMenuItems());
        SCOPED_TRACE(r.Name);
        EXPECT_EQ(Enabled(m.EditMenuItems()), r.Items);
        EXPECT_EQ(m.Log.front(), "focus");  // the menu takes the focus first
    }
}

TEST(NumEditKeysTest, UndoBringsBackAValueBeyondNewLimits) {
    TProbeModel m;
    PressKeys(m, "1 2 . 5 6 BS");
    m.SetDecimalLength(1);
    EXPECT_EQ(m.Text(), L"12.5");
    PressKeys(m, "M:UNDO");
    EXPECT_EQ(m.Text(), L"12.56");  // as it was stored, not cut to one decimal
    EXPECT_EQ(m.DisplayText(), L"12.56");
}

// Setters: what the window is told, in order. Equal values and negative
// lengths or margins change nothing; no setter raises OnChange.
TEST(NumEditKeysTest, PropertySetters) {
    using Log = std::vector<std::string>;
    const Log paint{"repaint", "caret"};
    const Log format{"width", "repaint", "caret"};
    const struct {
        const char* Name;
        std::function<void(TSaNumEditModel&)> Change;
        Log Want;
    } rows[] = {
        {"Alignment", [](auto& m) { m.SetAlignment(taLeftJustify); }, paint},
        {"Alignment same", [](auto& m) { m.SetAlignment(taRightJustify); }, {}},
        {"VertAlignment", [](auto& m) { m.SetVertAlignment(taTopJustify); }, paint},
        {"AutoSelect", [](auto& m) { m.SetAutoSelect(false); }, {"repaint"}},
        {"AutoSize", [](auto& m) { m.SetAutoSize(false); }, {"height", "width", "repaint", "caret"}},
        {"BorderStyle", [](auto& m) { m.SetBorderStyle(bsNone); }, {"recreate", "height", "width", "repaint", "caret"}},
        {"Ctl3D", [](auto& m) { m.SetCtl3D(false); }, {"recreate", "height", "width"}},
        {"Ctl3D no border",
         [](auto& m) {
             m.SetBorderStyle(bsNone);
             m.SetCtl3D(false);
         },
         {"recreate", "height", "width", "repaint", "caret", "height", "width"}},
        {"TopMargin", [](auto& m) { m.SetTopMargin(0); }, {"height", "repaint", "caret"}},
        {"BottomMargin", [](auto& m) { m.SetBottomMargin(5); }, {"height", "repaint", "caret"}},
        {"TopMargin negative", [](auto& m) { m.SetTopMargin(-1); }, {}},
        {"LeftMargin", [](auto& m) { m.SetLeftMargin(4); }, {"width", "repaint", "caret"}},
        {"RightMargin", [](auto& m) { m.SetRightMargin(0); }, {"width", "repaint", "caret"}},
        {"LeftMargin negative", [](auto& m) { m.SetLeftMargin(-1); }, {}},
        {"IntegerLength", [](auto& m) { m.SetIntegerLength(4); }, format},
        {"IntegerLength negative", [](auto& m) { m.SetIntegerLength(-1); }, {}},
        {"DecimalLength", [](auto& m) { m.SetDecimalLength(0); }, format},
        {"DecimalLength negative", [](auto& m) { m.SetDecimalLength(-3); }, {}},
        {"Minus", [](auto& m) { m.SetMinus(false); }, format},
        {"Comma", [](auto& m) { m.SetComma(false); }, format},
        {"DecimalFixed", [](auto& m) { m.SetDecimalFixed(true); }, format},
        {"IntegerFixed", [](auto& m) { m.SetIntegerFixed(true); }, format},
        {"LeftMark", [](auto& m) { m.SetLeftMark(L"\u00A5"); }, format},
        {"RightMark", [](auto& m) { m.SetRightMark(L"\u5186"); }, format},
        {"RightMark same", [](auto& m) { m.SetRightMark(L""); }, {}},
        {"DisabledColor", [](auto& m) { m.SetDisabledColor(0x000000FF); }, {"repaint"}},
        {"quiet ones",
         [](auto& m) {
             m.SetArrowFocusMove(true);
             m.SetEnterFocusMove(true);
             m.SetErrorBeep(false);
             m.SetHideSelection(false);
             m.SetImageCopy(true);
             m.SetReadOnly(true);
             m.SetOptions({eoORInputStop});
         },
         {}},
    };
    for (const auto& r : rows) {
        TProbeModel m;
        m.SetText(L"-12.5");
        m.Log.clear();
        r.Change(m);
        SCOPED_TRACE(r.Name);
        EXPECT_EQ(m.Log, r.Want);
        EXPECT_EQ(m.Changes, 0);
        EXPECT_EQ(m.DisplayText(), m.FormatDisplay(m.Text()));
    }
}

TEST(NumEditKeysTest, LimitsReappliedToTheValue) {
    const struct {
        const wchar_t* Value;
        std::function<void(TSaNumEditModel&)> Change;
        const wchar_t* Text;
    } rows[] = {
        {L"-5", [](auto& m) { m.SetMinus(false); }, L""},
        {L"12.5", [](auto& m) { m.SetDecimalLength(0); }, L"12"},
        {L"12.345", [](auto& m) { m.SetDecimalLength(1); }, L"12.3"},
        {L"12345", [](auto& m) { m.SetIntegerLength(4); }, L""},
        {L"-1234", [](auto& m) { m.SetIntegerLength(4); }, L"-1234"},
    };
    for (const auto& r : rows) {
        TProbeModel m;
        m.SetText(r.Value);
        r.Change(m);
        EXPECT_EQ(m.Text(), r.Text) << testing::PrintToString(std::wstring(r.Value));
        EXPECT_FALSE(m.CanUndo());
    }
}

TEST(NumEditKeysTest, OptionsAreOneByteAsStored) {
    EXPECT_EQ(TSaNumEditModel().Options().Bits(), 6);
    EXPECT_EQ((TSaNumEditOptions{eoArrowUp, eoArrowDown, eoORInputStop}.Bits()), 22);
    EXPECT_TRUE(TSaNumEditOptions::FromBits(17).Contains(eoMinusOnly));
    EXPECT_TRUE(TSaNumEditOptions::FromBits(17).Contains(eoORInputStop));
    EXPECT_FALSE(TSaNumEditOptions::FromBits(17).Contains(eoArrowUp));
}

}  // namespace
