// Value text, formatting, measuring and layout of the numeric entry control.
#include "ProbeModel.h"

#include <gtest/gtest.h>

namespace {

// Any text through Sanitize, and through assignment to Text (which also drops
// leading zeros), under the given limits.
struct SanitizeRow {
    const wchar_t* In;
    bool Minus;
    int IntegerLength, DecimalLength;
    const wchar_t* Sanitized;
    const wchar_t* Assigned;
};

const SanitizeRow kSanitize[] = {
    {L"", true, 9, 3, L"", L""},
    {L"-", true, 9, 3, L"-", L"-"},
    {L"0", true, 9, 3, L"0", L"0"},
    {L".", true, 9, 3, L".", L"0."},
    {L"-.", true, 9, 3, L"-.", L"-0."},
    {L".5", true, 9, 3, L".5", L"0.5"},
    {L".5", true, 9, 0, L"", L""},
    {L"0012", true, 9, 3, L"0012", L"12"},
    {L"000", true, 9, 3, L"000", L"0"},
    {L"1,234", true, 9, 3, L"1234", L"1234"},
    {L"1.2.3", true, 9, 3, L"1.2", L"1.2"},
    {L"--5", true, 9, 3, L"-", L"-"},
    {L"12-3", true, 9, 3, L"12", L"12"},
    {L"12abc", true, 9, 3, L"12", L"12"},
    {L"12 34", true, 9, 3, L"12", L"12"},
    {L"12.34567", true, 9, 3, L"12.345", L"12.345"},
    {L"12.34567", true, 9, 0, L"12", L"12"},
    {L"12.", true, 9, 3, L"12.", L"12."},
    {L"123456789", true, 9, 3, L"123456789", L"123456789"},
    {L"1234567890", true, 9, 3, L"", L""},
    {L"1234567890.5", true, 9, 3, L"", L""},
    {L"-123456789", true, 9, 3, L"-123456789", L"-123456789"},
    {L"-5", false, 9, 3, L"", L""},
    {L"5-", false, 9, 3, L"5", L"5"},
    {L"\uFF11\uFF12\uFF13", true, 9, 3, L"123", L"123"},
    {L"\uFF11\uFF0C\uFF12\uFF13\uFF14", true, 9, 3, L"1234", L"1234"},
    {L"\uFF11,\uFF12\uFF13\uFF14\uFF0C\uFF15", true, 9, 3, L"12345", L"12345"},
    {L"\uFF0D\uFF15\uFF0E\uFF10", true, 9, 3, L"-5.0", L"-5.0"},
    {L"\u2212\uFF17", true, 9, 3, L"-7", L"-7"},
    {L"\uFF0C-5", true, 9, 3, L"-5", L"-5"},  // the full-width comma is gone before the sign rule
    {L",-5", true, 9, 3, L"", L""},           // an ASCII comma is not, so the sign is not first
    {L"12\u3042"
     L"3",
     true, 9, 3, L"12", L"12"},
    {L"1\U0001F600"
     L"2",
     true, 9, 3, L"1", L"1"},
    {L"\u00A5"
     L"123",
     true, 9, 3, L"", L""},  // a yen mark in front is not taken off
    {L"\\123", true, 9, 3, L"", L""},
    {L" 123", true, 9, 3, L"", L""},
    {L"+5", true, 9, 3, L"", L""},
    {L"a12", true, 9, 3, L"", L""},
    {L"-", true, 0, 0, L"-", L"-"},
    {L"5", true, 0, 3, L"", L""},
};

TEST(NumTextTest, SanitizeAndAssignment) {
    for (const SanitizeRow& r : kSanitize) {
        TProbeModel m;
        m.SetMinus(r.Minus);
        m.SetIntegerLength(r.IntegerLength);
        m.SetDecimalLength(r.DecimalLength);
        EXPECT_EQ(m.Sanitize(r.In), r.Sanitized) << "in: " << testing::PrintToString(std::wstring(r.In));
        m.SetText(r.In);
        EXPECT_EQ(m.Text(), r.Assigned) << "in: " << testing::PrintToString(std::wstring(r.In));
        EXPECT_EQ(m.Changes, 0);
        EXPECT_FALSE(m.CanUndo());
    }
}

// Typed through an input method, full-width digits, minus and full stop
// arrive as ASCII; a full-width comma stays what it is and is refused.
TEST(NumTextTest, NarrowNumberChar) {
    EXPECT_EQ(NarrowNumberChar(0xFF15), L'5');
    EXPECT_EQ(NarrowNumberChar(0xFF10), L'0');
    EXPECT_EQ(NarrowNumberChar(0xFF19), L'9');
    EXPECT_EQ(NarrowNumberChar(0xFF0D), L'-');
    EXPECT_EQ(NarrowNumberChar(0x2212), L'-');
    EXPECT_EQ(NarrowNumberChar(0xFF0E), L'.');
    EXPECT_EQ(NarrowNumberChar(0xFF0C), wchar_t(0xFF0C));
    EXPECT_EQ(NarrowNumberChar(0xFF1A), wchar_t(0xFF1A));
    EXPECT_EQ(NarrowNumberChar(L'7'), L'7');
}

TEST(NumTextTest, NormalizeZeros) {
    const std::pair<const wchar_t*, const wchar_t*> rows[] = {
        {L"007", L"7"},   {L"000", L"0"},       {L"00.5", L"0.5"}, {L".", L"0."},
        {L"-00", L"-0"},  {L"-", L"-"},         {L"", L""},        {L"0", L"0"},
        {L"100", L"100"}, {L"0.0", L"0.0"},     {L"-.5", L"-0.5"}, {L"-007.50", L"-7.50"},
        {L"0.", L"0."},   {L"10.05", L"10.05"}, {L"-0", L"-0"},
    };
    TProbeModel m;
    for (const auto& [in, out] : rows) EXPECT_EQ(m.NormalizeZeros(in), out) << testing::PrintToString(std::wstring(in));
}

TEST(NumTextTest, GroupThousandsAndSplit) {
    TProbeModel m;
    EXPECT_EQ(m.GroupThousands(L"1234567"), L"1,234,567");
    EXPECT_EQ(m.GroupThousands(L"123456"), L"123,456");
    EXPECT_EQ(m.GroupThousands(L"1234"), L"1,234");
    EXPECT_EQ(m.GroupThousands(L"123"), L"123");
    EXPECT_EQ(m.GroupThousands(L""), L"");

    const std::pair<const wchar_t*, TValueParts> rows[] = {
        {L"-12.5", {L"-", L"12", L".", L"5"}}, {L"12", {L"", L"12", L"", L""}}, {L"-", {L"-", L"", L"", L""}},
        {L"12.", {L"", L"12", L".", L""}},     {L"", {L"", L"", L"", L""}},     {L"-0.", {L"-", L"0", L".", L""}},
    };
    for (const auto& [in, want] : rows) {
        const TValueParts p = m.SplitValue(in);
        EXPECT_EQ(p.Sign + L"|" + p.Integer + L"|" + p.Point + L"|" + p.Decimals,
                  want.Sign + L"|" + want.Integer + L"|" + want.Point + L"|" + want.Decimals);
        EXPECT_EQ(m.JoinParts(p), in);
    }
}

// Formatting options of one row.
struct Look {
    bool Comma = true, DecimalFixed = false, IntegerFixed = false;
    int DecimalLength = 3;
    const wchar_t* LeftMark = L"\u00A5";
    const wchar_t* RightMark = L"";
    bool Minus = true;
    int IntegerLength = 9;
};

void Apply(TSaNumEditModel& m, const Look& l) {
    m.SetComma(l.Comma);
    m.SetDecimalFixed(l.DecimalFixed);
    m.SetIntegerFixed(l.IntegerFixed);
    m.SetDecimalLength(l.DecimalLength);
    m.SetLeftMark(l.LeftMark);
    m.SetRightMark(l.RightMark);
    m.SetMinus(l.Minus);
    m.SetIntegerLength(l.IntegerLength);
}

Look DecFixed() {
    Look l;
    l.DecimalFixed = true;
    return l;
}
Look IntFixed() {
    Look l;
    l.IntegerFixed = true;
    return l;
}
Look NoComma() {
    Look l;
    l.Comma = false;
    l.LeftMark = L"";
    return l;
}
Look Unmarked() {
    Look l;
    l.LeftMark = L"";
    return l;
}

TEST(NumTextTest, FormatDisplay) {
    Look yenDecFixed0 = DecFixed();
    yenDecFixed0.DecimalLength = 0;
    Look withUnit = Unmarked();
    withUnit.RightMark = L"\u5186";
    const struct {
        const wchar_t* Value;
        Look L;
        const wchar_t* Display;
    } rows[] = {
        {L"1234567", Look(),
         L"\u00A5"
         L"1,234,567"},
        {L"-1234.5", Look(),
         L"\u00A5"
         L"-1,234.5"},
        {L"-1234.5", DecFixed(),
         L"\u00A5"
         L"-1,234.500"},
        {L"12.", Look(),
         L"\u00A5"
         L"12."},
        {L"-", Look(),
         L"\u00A5"
         L"-"},
        {L"", Look(), L""},
        {L"", DecFixed(),
         L"\u00A5"
         L"0.000"},
        {L"", IntFixed(),
         L"\u00A5"
         L"0"},
        {L"-", IntFixed(),
         L"\u00A5"
         L"-0"},
        {L"1234567", NoComma(), L"1234567"},
        {L"0.5", DecFixed(),
         L"\u00A5"
         L"0.500"},
        {L"1.23456", DecFixed(),
         L"\u00A5"
         L"1.234"},  // more decimals than shown, as after an undo
        {L"12", yenDecFixed0,
         L"\u00A5"
         L"12"},
        {L"1234", withUnit, L"1,234\u5186"},
        {L"", withUnit, L""},
    };
    for (const auto& r : rows) {
        TProbeModel m;
        Apply(m, r.L);
        EXPECT_EQ(m.FormatDisplay(r.Value), r.Display) << testing::PrintToString(std::wstring(r.Value));
    }
}

TEST(NumTextTest, AssignedTextIsShownFormatted) {
    TProbeModel m;
    m.SetText(L"1,234");
    EXPECT_EQ(m.Text(), L"1234");
    EXPECT_EQ(m.DisplayText(), L"1,234");
    m.SetText(L".");
    EXPECT_EQ(m.DisplayText(), L"0.");
    m.SetDecimalFixed(true);
    EXPECT_EQ(m.DisplayText(), L"0.000");

    TProbeModel fixedEmpty;
    fixedEmpty.SetIntegerFixed(true);
    fixedEmpty.SetLeftMark(L"\u00A5");
    fixedEmpty.SetRightMark(L"\u5186");
    EXPECT_EQ(fixedEmpty.Text(), L"");
    EXPECT_EQ(fixedEmpty.DisplayText(),
              L"\u00A5"
              L"0\u5186");
}

TEST(NumTextTest, AssigningTheCurrentValueDoesNothing) {
    TProbeModel m;
    m.SetText(L"12");
    m.Log.clear();
    m.SetText(L"12");
    EXPECT_TRUE(m.Log.empty());
    m.SetText(L"0012");  // differs as text, so it is taken in and shown again
    EXPECT_EQ(m.Log, (std::vector<std::string>{"repaint", "caret"}));
}

TEST(NumTextTest, TemplateSampleAndTypedText) {
    Look bothFixed = IntFixed();
    bothFixed.DecimalFixed = true;
    Look intFixedNoMinus = IntFixed();
    intFixedNoMinus.Minus = false;
    intFixedNoMinus.DecimalLength = 0;
    Look decFixed0 = DecFixed();
    decFixed0.DecimalLength = 0;
    Look small = NoComma();
    small.Minus = false;
    small.IntegerLength = 3;
    small.DecimalLength = 0;
    // TypedWidth at 8 pixels a character: the extent of the typed text plus 1.
    const struct {
        const wchar_t* Value;
        Look L;
        const wchar_t* Template;
        const wchar_t* Sample;
        int Typed;
    } rows[] = {
        {L"12.5", Look(), L"12.5", L"-000,000,000.000", 33},
        {L"", Look(), L"", L"-000,000,000.000", 0},
        {L"-", Look(), L"-", L"-000,000,000.000", 9},
        {L"1234.5", Look(), L"1,234.5", L"-000,000,000.000", 57},
        {L"12.5", IntFixed(), L"-000,000,000.5", L"-000,000,000.000", 33},
        {L"", IntFixed(), L"-000,000,000", L"-000,000,000.000", 9},
        {L"12", DecFixed(), L"12.000", L"-000,000,000.000", 17},
        {L"", DecFixed(), L"0.000", L"-000,000,000.000", 9},
        {L"12", decFixed0, L"12.", L"-000,000,000.", 17},
        {L"", bothFixed, L"-000,000,000.000", L"-000,000,000.000", 9},
        {L"5", intFixedNoMinus, L"000,000,000", L"000,000,000.", 9},
        {L"12", small, L"12", L"000.", 17},
    };
    for (const auto& r : rows) {
        TProbeModel m;
        Apply(m, r.L);
        m.SetText(r.Value);
        EXPECT_EQ(m.TemplateText(), r.Template) << testing::PrintToString(std::wstring(r.Value));
        EXPECT_EQ(m.SampleText(), r.Sample) << testing::PrintToString(std::wstring(r.Value));
        EXPECT_EQ(m.TypedWidth(r.Value), r.Typed) << testing::PrintToString(std::wstring(r.Value));
    }
}

TEST(NumTextTest, MeasuringAndAvailableWidth) {
    TProbeModel m;
    m.SetLeftMark(L"\u00A5");
    EXPECT_EQ(m.MeasureText(L""), 0);
    EXPECT_EQ(m.MeasureText(L"12"), 17);
    EXPECT_EQ(m.DisplayWidth(L"1234"), 49);  // "¥1,234"
    EXPECT_EQ(m.DisplayWidth(L""), 0);       // no marks around an empty number

    m.SetClientSize(117, 16);
    EXPECT_EQ(m.AvailableWidth(), 117 - 2 - 2 - 4);  // sunken edge
    m.SetCtl3D(false);
    EXPECT_EQ(m.AvailableWidth(), 117 - 2 - 2 - 2);  // flat border
    m.SetBorderStyle(bsNone);
    EXPECT_EQ(m.AvailableWidth(), 117 - 2 - 2 - 2);
    m.SetCtl3D(true);
    EXPECT_EQ(m.AvailableWidth(), 117 - 2 - 2 - 2);

    m.SetBorderStyle(bsSingle);
    m.SetClientSize(4 + 4 + 49, 16);  // exactly wide enough for "¥1,234"
    EXPECT_TRUE(m.FitsWidth(L"1234"));
    EXPECT_FALSE(m.FitsWidth(L"12345"));

    TSaNumEditModel unmeasured;  // before the window supplies a font, nothing has width
    EXPECT_EQ(unmeasured.MeasureText(L"123"), 0);
}

// A client area of 117 x 25, margins 2, line height 15; the number "1,234"
// measures 31 (extent 30 at 6 pixels a character), the yen mark 12.
struct LayoutRow {
    TAlignment Align;
    TVertAlignment VAlign;
    int RightMargin;
    const wchar_t* LeftMark;
    const wchar_t* RightMark;
    TRect LeftMarkR, NumberR, RightMarkR;
    TPoint Caret;
};

const LayoutRow kLayout[] = {
    {taRightJustify, taVCenter, 2, L"", L"", {83, 5, 83, 20}, {83, 5, 114, 20}, {114, 5, 114, 20}, {113, 5}},
    {taLeftJustify, taVCenter, 2, L"", L"", {2, 5, 2, 20}, {2, 5, 33, 20}, {33, 5, 33, 20}, {32, 5}},
    // The block is 31 wide, an odd width: the right mark's place starts one
    // pixel left of the number field's right edge.
    {taCenter, taVCenter, 2, L"", L"", {43, 5, 43, 20}, {43, 5, 74, 20}, {73, 5, 73, 20}, {73, 5}},
    {taRightJustify, taTopJustify, 2, L"", L"", {83, 2, 83, 17}, {83, 2, 114, 17}, {114, 2, 114, 17}, {113, 2}},
    {taRightJustify, taBottomJustify, 2, L"", L"", {83, 8, 83, 23}, {83, 8, 114, 23}, {114, 8, 114, 23}, {113, 8}},
    {taRightJustify, taVCenter, 0, L"\u00A5", L"", {73, 5, 85, 20}, {85, 5, 116, 20}, {116, 5, 116, 20}, {115, 5}},
    {taLeftJustify, taTopJustify, 2, L"\u00A5", L"%", {2, 2, 14, 17}, {14, 2, 45, 17}, {45, 2, 52, 17}, {44, 2}},
    {taCenter, taVCenter, 2, L"\u00A5", L"%", {33, 5, 45, 20}, {45, 5, 76, 20}, {76, 5, 83, 20}, {75, 5}},
};

TEST(NumTextTest, LayoutWorkedExamples) {
    for (const LayoutRow& r : kLayout) {
        TProbeModel m;
        m.SetMeasureFunc([](const std::wstring& t) { return t == L"\u00A5" ? 11 : 6 * static_cast<int>(t.size()); });
        m.SetClientSize(117, 25);
        m.SetLineHeight(15);
        m.SetAlignment(r.Align);
        m.SetVertAlignment(r.VAlign);
        m.SetRightMargin(r.RightMargin);
        m.SetLeftMark(r.LeftMark);
        m.SetRightMark(r.RightMark);
        m.SetText(L"1234");
        EXPECT_EQ(m.LeftMarkRect(), r.LeftMarkR) << int(r.Align) << int(r.VAlign);
        EXPECT_EQ(m.NumberRect(), r.NumberR) << int(r.Align) << int(r.VAlign);
        EXPECT_EQ(m.TemplateRect(), r.NumberR) << "without fixed options the field is the number";
        EXPECT_EQ(m.RightMarkRect(), r.RightMarkR) << int(r.Align) << int(r.VAlign);
        EXPECT_EQ(m.CaretPoint(), r.Caret) << int(r.Align) << int(r.VAlign);
    }
}

TEST(NumTextTest, LayoutOfEmptyAndFixedValues) {
    TProbeModel m;  // 8 pixels a character, client 200 x 20
    m.SetLineHeight(15);
    m.SetLeftMark(L"\u00A5");
    // Empty: everything has no width at the right end, and the marks take no room.
    EXPECT_EQ(m.LeftMarkRect(), (TRect{197, 2, 197, 17}));
    EXPECT_EQ(m.NumberRect(), (TRect{197, 2, 197, 17}));
    EXPECT_EQ(m.CaretPoint(), (TPoint{196, 2}));

    // DecimalFixed: 12 is shown as 12.000 and the caret stands after the 12.
    m.SetDecimalFixed(true);
    m.SetText(L"12");
    const TRect number = m.NumberRect();
    EXPECT_EQ(number.Right - number.Left, 49);
    EXPECT_EQ(m.CaretPoint().X, number.Left + 16);
    // A typed point: the caret stands right after it.
    m.SetDecimalFixed(false);
    PressKeys(m, ".");
    EXPECT_EQ(m.CaretPoint().X, m.NumberRect().Right - 1);

    // IntegerFixed, left-justified: the field is as wide as "-000,000,000" and
    // stays put while digits are typed; the number stands at its right end.
    TProbeModel f;
    f.SetLineHeight(15);
    f.SetAlignment(taLeftJustify);
    f.SetLeftMark(L"\u00A5");
    f.SetIntegerFixed(true);
    for (const wchar_t* v : {L"", L"5", L"12345"}) {
        f.SetText(v);
        EXPECT_EQ(f.TemplateRect(), (TRect{11, 2, 108, 17}));
        EXPECT_EQ(f.NumberRect().Right, 108);
    }
}

}  // namespace
