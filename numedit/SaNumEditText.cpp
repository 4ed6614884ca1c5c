// Value text, formatting, measuring and layout arithmetic of TSaNumEdit.
#include "numedit/SaNumEditModel.h"

#include "numedit/SaNumEditValue.h"

#include <algorithm>

using valuetext::HasSign;
using valuetext::IntegerDigitCount;

wchar_t NarrowNumberChar(wchar_t C) {
    if (C >= 0xFF10 && C <= 0xFF19) return static_cast<wchar_t>(L'0' + (C - 0xFF10));
    if (C == 0xFF0D || C == 0x2212) return L'-';
    if (C == 0xFF0E) return L'.';
    return C;
}

std::wstring TSaNumEditModel::GetText() const { return FValueText; }

std::wstring TSaNumEditModel::Sanitize(const std::wstring& Text) const {
    // Pass 1: full-width digits, minus and full stop become ASCII, full-width
    // commas vanish, and any other character beyond ASCII ends the text.
    std::wstring narrow;
    narrow.reserve(Text.size());
    for (wchar_t c : Text) {
        if (c == 0xFF0C) continue;
        const wchar_t n = NarrowNumberChar(c);
        if (static_cast<std::uint32_t>(n) > 0x7F) break;
        narrow += n;
    }

    // Pass 2: keep the leading run of usable characters, skipping commas.
    std::wstring result;
    bool point = false;
    for (std::size_t i = 0; i < narrow.size(); ++i) {
        const wchar_t c = narrow[i];
        if (c == L',') continue;
        if (c == L'.') {
            if (FDecimalLength == 0 || point) break;
            point = true;
        } else if (c == L'-') {
            if (!FMinus || i != 0) break;
        } else if (c < L'0' || c > L'9') {
            break;
        }
        result += c;
    }

    // Pass 3: surplus decimals are cut; surplus integer digits empty the value,
    // since cutting them would change its magnitude.
    if (result.empty()) return result;
    const std::size_t dot = result.find(L'.');
    if (dot != std::wstring::npos && result.size() - dot - 1 > static_cast<std::size_t>(FDecimalLength))
        result.resize(dot + 1 + FDecimalLength);
    if (IntegerDigitCount(result) > FIntegerLength) result.clear();
    return result;
}

std::wstring TSaNumEditModel::NormalizeZeros(const std::wstring& Value) const {
    const bool negative = HasSign(Value);
    std::wstring t = negative ? Value.substr(1) : Value;
    const std::size_t integerEnd = std::min(t.find(L'.'), t.size());
    std::size_t zeros = 0;
    while (zeros < integerEnd && t[zeros] == L'0') ++zeros;
    if (zeros > 0) {
        t.erase(0, zeros);
        if (t.empty()) t = L"0";
    }
    if (!t.empty() && t[0] == L'.') t.insert(0, 1, L'0');
    return negative ? L'-' + t : t;
}

TValueParts TSaNumEditModel::SplitValue(const std::wstring& Value) const {
    TValueParts parts;
    const std::size_t start = HasSign(Value) ? 1 : 0;
    if (start) parts.Sign = L"-";
    const std::size_t dot = Value.find(L'.', start);
    if (dot == std::wstring::npos) {
        parts.Integer = Value.substr(start);
    } else {
        parts.Integer = Value.substr(start, dot - start);
        parts.Point = L".";
        parts.Decimals = Value.substr(dot + 1);
    }
    return parts;
}

std::wstring TSaNumEditModel::JoinParts(const TValueParts& Parts) const {
    std::wstring result;
    result.reserve(Parts.Sign.size() + Parts.Integer.size() + Parts.Point.size() + Parts.Decimals.size());
    return result.append(Parts.Sign).append(Parts.Integer).append(Parts.Point).append(Parts.Decimals);
}

std::wstring TSaNumEditModel::GroupThousands(const std::wstring& Digits) const {
    const std::size_t n = Digits.size();
    std::wstring result;
    result.reserve(n + n / 3);
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) result += L',';
        result += Digits[i];
    }
    return result;
}

std::wstring TSaNumEditModel::FormatNumber(const std::wstring& Value) const {
    TValueParts p = SplitValue(Value);
    if (FComma) p.Integer = GroupThousands(p.Integer);
    if (FDecimalFixed) {
        p.Decimals.resize(FDecimalLength, L'0');
        if (FDecimalLength > 0) p.Point = L".";
    }
    if ((FIntegerFixed || FDecimalFixed) && p.Integer.empty()) p.Integer = L"0";
    return JoinParts(p);
}

std::wstring TSaNumEditModel::FormatDisplay(const std::wstring& Value) const {
    const std::wstring number = FormatNumber(Value);
    if (number.empty()) return number;
    std::wstring result;
    result.reserve(FLeftMark.size() + number.size() + FRightMark.size());
    return result.append(FLeftMark).append(number).append(FRightMark);
}

int TSaNumEditModel::MeasureText(const std::wstring& Text) const {
    // The extra pixel makes a caret placed at the measured width stand just
    // behind the text.
    if (Text.empty() || !FMeasure) return 0;
    return FMeasure(Text) + 1;
}

int TSaNumEditModel::DisplayWidth(const std::wstring& Value) const { return MeasureText(FormatDisplay(Value)); }

bool TSaNumEditModel::FitsWidth(const std::wstring& Value) const { return DisplayWidth(Value) <= AvailableWidth(); }

int TSaNumEditModel::TypedWidth(const std::wstring& Value) const {
    // The number as typed: the filling zeros of DecimalFixed lie right of the caret.
    TValueParts p = SplitValue(Value);
    if (FComma) p.Integer = GroupThousands(p.Integer);
    if ((FIntegerFixed || FDecimalFixed) && p.Integer.empty()) p.Integer = L"0";
    return MeasureText(JoinParts(p));
}

std::wstring TSaNumEditModel::TemplateText() const {
    // The widest the number field must be, so that with the fixed options the
    // field keeps its width while digits are typed.
    TValueParts p = SplitValue(FValueText);
    if (FIntegerFixed) {
        p.Integer.assign(FIntegerLength, L'0');
        if (FMinus) p.Sign = L"-";
    }
    if ((FIntegerFixed || FDecimalFixed) && p.Integer.empty()) p.Integer = L"0";
    if (FDecimalFixed) {
        p.Point = L".";
        p.Decimals.assign(FDecimalLength, L'0');
    }
    if (FComma) p.Integer = GroupThousands(p.Integer);
    return JoinParts(p);
}

int TSaNumEditModel::TemplateWidth() const { return MeasureText(TemplateText()); }

std::wstring TSaNumEditModel::SampleText() const {
    std::wstring integer(FIntegerLength, L'0');
    if (FComma) integer = GroupThousands(integer);
    return (FMinus ? L"-" : L"") + integer + L"." + std::wstring(FDecimalLength, L'0');
}

int TSaNumEditModel::AvailableWidth() const {
    const int border = (FBorderStyle == bsSingle && FCtl3D) ? 2 : 1;
    return FClientWidth - FLeftMargin - FRightMargin - 2 * border;
}

// The block of left mark, number field and right mark, and its line.
struct TSaNumEditModel::TBlock {
    int X0, LW, W, RW, T, Top, Bottom;
};

TSaNumEditModel::TBlock TSaNumEditModel::Layout() const {
    TBlock b{};
    b.W = TemplateWidth();
    // An empty number shows no marks, so they take no room either.
    const bool marks = !FValueText.empty() || FIntegerFixed || FDecimalFixed;
    b.LW = marks ? MeasureText(FLeftMark) : 0;
    b.RW = marks ? MeasureText(FRightMark) : 0;
    b.T = b.W + b.LW + b.RW;
    const int cw = FClientWidth, ch = FClientHeight, h = FLineHeight;
    switch (FAlignment) {
    case taLeftJustify: b.X0 = FLeftMargin; break;
    case taRightJustify: b.X0 = cw - FRightMargin - 1 - b.T; break;
    case taCenter: b.X0 = FLeftMargin + (cw - FLeftMargin - FRightMargin) / 2 - b.T / 2; break;
    }
    switch (FVertAlignment) {
    case taTopJustify: b.Top = FTopMargin; break;
    case taBottomJustify: b.Top = ch - h - FBottomMargin; break;
    case taVCenter: b.Top = FTopMargin + (ch - h - FTopMargin - FBottomMargin) / 2; break;
    }
    b.Bottom = b.Top + h;
    return b;
}

TRect TSaNumEditModel::LeftMarkRect() const {
    const TBlock b = Layout();
    return {b.X0, b.Top, b.X0 + b.LW, b.Bottom};
}

TRect TSaNumEditModel::TemplateRect() const {
    const TBlock b = Layout();
    return {b.X0 + b.LW, b.Top, b.X0 + b.LW + b.W, b.Bottom};
}

TRect TSaNumEditModel::NumberRect() const {
    // The number stands at the right end of its field, whatever the alignment.
    const TBlock b = Layout();
    const int right = b.X0 + b.LW + b.W;
    return {right - MeasureText(FormatNumber(FValueText)), b.Top, right, b.Bottom};
}

TRect TSaNumEditModel::RightMarkRect() const {
    const TBlock b = Layout();
    const int left = FAlignment == taCenter
                         ? FLeftMargin + (FClientWidth - FLeftMargin - FRightMargin) / 2 + b.T / 2 - b.RW
                         : b.X0 + b.LW + b.W;
    return {left, b.Top, left + b.RW, b.Bottom};
}

TPoint TSaNumEditModel::CaretPoint() const {
    const TRect r = NumberRect();
    return {r.Left + TypedWidth(FValueText) - 1, r.Top};
}
