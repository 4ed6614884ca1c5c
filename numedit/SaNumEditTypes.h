// Types declared beside TSaNumEdit, shared by its Windows-free model and its
// window. Nothing here may need <windows.h>: the names avoid the platform's
// macros (VK_*, RECT, ...) so that both can be included in either order.
#pragma once

#include <cstdint>
#include <initializer_list>

enum TAlignment : std::uint8_t { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };
enum TVertAlignment : std::uint8_t { taTopJustify = 0, taBottomJustify = 1, taVCenter = 2 };
enum TBorderStyle : std::uint8_t { bsNone = 0, bsSingle = 1 };

enum TSaNumEditOption : std::uint8_t {
    eoMinusOnly = 0,
    eoArrowUp = 1,
    eoArrowDown = 2,
    eoAutoWidthSize = 3,
    eoORInputStop = 4,
};

// A set of options held in one byte, bit n for the option of ordinal n, so that
// the byte is the same as the one a stored form carries.
class TSaNumEditOptions {
public:
    constexpr TSaNumEditOptions() = default;
    constexpr TSaNumEditOptions(std::initializer_list<TSaNumEditOption> Members) {
        for (TSaNumEditOption m : Members) FBits |= Bit(m);
    }
    static constexpr TSaNumEditOptions FromBits(std::uint8_t Bits) {
        TSaNumEditOptions s;
        s.FBits = Bits;
        return s;
    }
    constexpr std::uint8_t Bits() const { return FBits; }
    constexpr bool Contains(TSaNumEditOption m) const { return (FBits & Bit(m)) != 0; }
    friend constexpr bool operator==(TSaNumEditOptions a, TSaNumEditOptions b) { return a.FBits == b.FBits; }
    friend constexpr bool operator!=(TSaNumEditOptions a, TSaNumEditOptions b) { return a.FBits != b.FBits; }

private:
    static constexpr std::uint8_t Bit(TSaNumEditOption m) { return static_cast<std::uint8_t>(1u << m); }
    std::uint8_t FBits = 0;
};
static_assert(sizeof(TSaNumEditOptions) == 1, "the option set is one byte");

// Colours as 32-bit values: the top bit set names a system colour by its index.
using TColor = std::uint32_t;
constexpr TColor clWindow = 0x80000005;
constexpr TColor clGrayText = 0x80000011;

// Client coordinates in pixels; Right and Bottom are exclusive.
struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    friend bool operator==(const TRect& a, const TRect& b) {
        return a.Left == b.Left && a.Top == b.Top && a.Right == b.Right && a.Bottom == b.Bottom;
    }
};
struct TPoint {
    int X = 0, Y = 0;
    friend bool operator==(const TPoint& a, const TPoint& b) { return a.X == b.X && a.Y == b.Y; }
};

// The platform's virtual-key codes of the keys the control handles itself.
enum TVirtualKey : std::uint16_t {
    vkBack = 0x08,
    vkReturn = 0x0D,
    vkPrior = 0x21,
    vkNext = 0x22,
    vkEnd = 0x23,
    vkHome = 0x24,
    vkLeft = 0x25,
    vkUp = 0x26,
    vkRight = 0x27,
    vkDown = 0x28,
    vkDelete = 0x2E,
    vkA = 0x41,
    vkC = 0x43,
    vkV = 0x56,
    vkX = 0x58,
};

// Modifier keys held with a key; the control compares the whole set.
enum TShiftFlag : std::uint8_t { ssShift = 1, ssAlt = 2, ssCtrl = 4 };
using TShiftState = std::uint8_t;
