// Randomized checks with a fixed seed, so that a failure reproduces: the value
// text rules hold for any incoming text and after any sequence of keys.
#include "ProbeModel.h"

#include <gtest/gtest.h>

#include <random>

namespace {

struct Limits {
    bool Minus;
    int IntegerLength, DecimalLength;
};

// Why Value breaks the rules of a value text under L, or empty when it keeps
// them. Normalized: no leading zeros and no empty integer part before a point.
std::string Fault(const std::wstring& Value, const Limits& L, bool Normalized) {
    if (Value.empty()) return "";
    std::size_t i = 0;
    if (Value[0] == L'-') {
        if (!L.Minus) return "sign not allowed";
        i = 1;
    }
    const std::size_t intStart = i;
    while (i < Value.size() && Value[i] >= L'0' && Value[i] <= L'9') ++i;
    const std::wstring integer = Value.substr(intStart, i - intStart);
    bool point = false;
    std::size_t decimals = 0;
    if (i < Value.size() && Value[i] == L'.') {
        if (L.DecimalLength == 0) return "point not allowed";
        point = true;
        for (++i; i < Value.size() && Value[i] >= L'0' && Value[i] <= L'9'; ++i) ++decimals;
    }
    if (i != Value.size()) return "stray character";
    if (decimals > static_cast<std::size_t>(L.DecimalLength)) return "too many decimals";
    // Where no integer digit is allowed, the "0" put in front of a point stays
    // when the point is deleted again: a lone zero counts as no digit.
    const bool loneZero = integer == L"0" && L.IntegerLength == 0;
    if (integer.size() > static_cast<std::size_t>(L.IntegerLength) && !loneZero) return "too many integer digits";
    if (Normalized && integer.size() > 1 && integer[0] == L'0') return "leading zero";
    if (Normalized && integer.empty() && point) return "empty integer part before the point";
    return "";
}

std::wstring Show(const std::wstring& s) { return std::wstring(L"\"") + s + L"\""; }

// Random texts: ASCII, full-width, mixed, now and then long.
class TextMaker {
public:
    explicit TextMaker(std::mt19937& Rng) : FRng(Rng) {}

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(FRng); }

    void AppendChar(std::wstring& s) {
        static const wchar_t kOdd[] = {L',',   L'.',   L'-',   L'+',   L' ',   L'a',   L'\\',  0x00A5, 0xFF0C,
                                       0xFF0D, 0xFF0E, 0x2212, 0x3042, 0x0000, 0x007F, 0x0080, 0xFFFF};
        switch (Pick(6)) {
        case 0:
        case 1: s += static_cast<wchar_t>(L'0' + Pick(10)); break;
        case 2: s += static_cast<wchar_t>(0xFF10 + Pick(10)); break;
        case 3: s += kOdd[Pick(sizeof kOdd / sizeof kOdd[0])]; break;
        case 4: s += static_cast<wchar_t>(Pick(0x80)); break;
        default:
            if (Pick(4) == 0) {  // beyond the basic plane: one unit here, a surrogate pair on Windows
                const std::uint32_t cp = 0x1F600 + Pick(64);
                if (sizeof(wchar_t) == 2) {
                    s += static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10));
                    s += static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
                } else {
                    s += static_cast<wchar_t>(cp);
                }
            } else {
                s += static_cast<wchar_t>(0x80 + Pick(0xFF80));
            }
        }
    }

    std::wstring Any() {
        std::wstring s;
        const int n = Pick(10) == 0 ? 20 + Pick(300) : Pick(16);
        for (int i = 0; i < n; ++i) AppendChar(s);
        return s;
    }

    // A well-formed value within L.
    std::wstring Valid(const Limits& L) {
        std::wstring v;
        if (L.Minus && Pick(3) == 0) v += L'-';
        const int digits = Pick(L.IntegerLength + 1);
        for (int i = 0; i < digits; ++i)
            v += static_cast<wchar_t>(L'0' + (i == 0 && digits > 1 ? 1 + Pick(9) : Pick(10)));
        if (L.DecimalLength > 0 && Pick(2) == 0) {
            if (digits == 0 && L.IntegerLength > 0) v += L'0';  // with no integer digit allowed, ".5" stands for 0.5
            v += L'.';
            for (int i = Pick(L.DecimalLength + 1); i > 0; --i) v += static_cast<wchar_t>(L'0' + Pick(10));
        }
        return v;
    }

    // Value dressed as it may arrive from outside: full-width digits, commas
    // between the characters, and something after it that ends the number.
    std::wstring Dressed(const std::wstring& Value) {
        static const wchar_t kEnders[] = {L'a', L' ', L'+', L'\\', 0x00A5, 0x3042, L'*'};
        std::wstring s;
        for (std::size_t i = 0; i < Value.size(); ++i) {
            const wchar_t c = Value[i];
            s += (c >= L'0' && c <= L'9' && Pick(2)) ? static_cast<wchar_t>(0xFF10 + (c - L'0')) : c;
            if (Pick(4) == 0) s += Pick(2) ? wchar_t(0xFF0C) : L',';
        }
        if (Pick(2)) {
            s += kEnders[Pick(sizeof kEnders / sizeof kEnders[0])];
            s += Any();
        }
        return s;
    }

private:
    std::mt19937& FRng;
};

TEST(NumEditRandomTest, AnyTextBecomesAValueText) {
    std::mt19937 rng(20240603);
    TextMaker make(rng);
    for (int n = 0; n < 100000; ++n) {
        const Limits l{make.Pick(2) == 1, make.Pick(16), make.Pick(6)};
        TProbeModel m;
        m.SetMinus(l.Minus);
        m.SetIntegerLength(l.IntegerLength);
        m.SetDecimalLength(l.DecimalLength);

        if (n % 2 == 0) {
            const std::wstring text = make.Any();
            const std::wstring sanitized = m.Sanitize(text);
            const std::wstring value = m.NormalizeZeros(sanitized);
            ASSERT_EQ(Fault(sanitized, l, false), "") << Show(text) << " -> " << Show(sanitized) << " case " << n;
            ASSERT_EQ(Fault(value, l, true), "") << Show(text) << " -> " << Show(value) << " case " << n;
            ASSERT_EQ(m.NormalizeZeros(value), value) << Show(value);
            if (l.IntegerLength > 0) {
                ASSERT_EQ(m.Sanitize(value), value) << Show(value);
            }
        } else {
            // A value survives being dressed up as outside text.
            const std::wstring value = make.Valid(l);
            const std::wstring text = make.Dressed(value);
            ASSERT_EQ(m.NormalizeZeros(m.Sanitize(text)), m.NormalizeZeros(value))
                << Show(text) << " from " << Show(value) << " case " << n;
        }
    }
}

// One random step of the user or the owner.
void RandomStep(TProbeModel& m, TextMaker& make) {
    static const char* const kKeys[] = {"0",     "1",  "5",    "9",   ".",    "-",    "BS", "DEL",
                                        "ENTER", "a",  "^A",   "^C",  "^V",   "^X",   "^Z", "S-LEFT",
                                        "HOME",  "UP", "DOWN", "NUL", "EXIT", "FOCUS"};
    switch (make.Pick(11)) {
    case 0:
        m.EditMenuPopup(m.EditMenuItems());
        for (int i = 0; i < 3; ++i) {  // only an item the menu enables can be clicked
            const TEditMenuItem& item = m.EditMenuItems()[make.Pick(8)];
            if (item.Enabled) {
                m.EditMenuClick(item);
                break;
            }
        }
        break;
    case 1: m.Clipboard.Content = make.Pick(2) ? make.Any() : make.Valid({true, 6, 2}); break;
    default: PressKey(m, kKeys[make.Pick(sizeof kKeys / sizeof kKeys[0])]); break;
    }
}

TEST(NumEditRandomTest, KeySequencesKeepTheInvariants) {
    std::mt19937 rng(77031);
    TextMaker make(rng);
    for (int run = 0; run < 2000; ++run) {
        const Limits l{make.Pick(4) != 0, make.Pick(14), make.Pick(5)};
        TProbeModel m;
        m.SetMinus(l.Minus);
        m.SetIntegerLength(l.IntegerLength);
        m.SetDecimalLength(l.DecimalLength);
        m.SetComma(make.Pick(2));
        m.SetIntegerFixed(make.Pick(4) == 0);
        m.SetDecimalFixed(make.Pick(4) == 0);
        m.SetLeftMark(make.Pick(2) ? L"\u00A5" : L"");
        m.SetOptions(TSaNumEditOptions::FromBits(static_cast<std::uint8_t>(make.Pick(32))));
        m.SetHideSelection(make.Pick(2));
        m.SetClientSize(20 + make.Pick(150), 20);
        const bool readOnly = make.Pick(8) == 0;
        m.SetReadOnly(readOnly);

        bool couldUndo = false;
        for (int step = 0; step < 50; ++step) {
            const std::wstring before = m.Text();
            const int changesBefore = m.Changes;
            const bool ownerStep = make.Pick(12) == 0;  // assigned text reaches a read-only control too
            if (ownerStep)
                m.SetText(make.Pick(2) ? make.Any() : make.Valid({true, 6, 2}));
            else
                RandomStep(m, make);
            SCOPED_TRACE(testing::Message() << "run " << run << " step " << step);
            ASSERT_EQ(Fault(m.Text(), l, true), "") << Show(before) << " -> " << Show(m.Text());
            ASSERT_EQ(m.DisplayText(), m.FormatDisplay(m.Text()));
            ASSERT_EQ(m.SelStart(), 0);
            ASSERT_TRUE(m.CanUndo() || !couldUndo) << "CanUndo went back to False";
            couldUndo = m.CanUndo();
            if (readOnly && !ownerStep) {
                // Only the lone-minus rule on leaving changes a read-only value.
                ASSERT_TRUE(m.Text() == before || (before == L"-" && m.Text().empty())) << Show(before);
                ASSERT_EQ(m.Changes, changesBefore);
            }
        }
    }
}

}  // namespace
