#pragma once
// How values of the settings file read and write, and the placement rules that
// use them. No Windows here: the file itself is reached through the platform.
#include <optional>
#include <string>

namespace settings {

// An integer value: hexadecimal after "0x"/"0X" when the text is longer than
// two characters, else decimal with an optional sign; anything else, or a
// number beyond 32 bits, gives fallback.
int ReadIntegerText(const std::wstring& text, int fallback);
// A boolean is an integer: any non-zero value is true.
bool ReadBooleanText(const std::wstring& text, bool fallback);
std::wstring IntegerText(int value);
std::wstring BooleanText(bool value);
// A small whole number as a person types it: digits in half or full width,
// blanks around them. Nothing for anything else, or above max.
std::optional<int> ReadTypedNumber(const std::wstring& text, int max);

// Keeps a window reachable: an edge further than 50 pixels short of the
// screen's right or bottom is pulled back to it. Negative positions stay.
struct Position {
    int top;
    int left;
};
Position KeepOnScreen(Position position, int screenWidth, int screenHeight);

// The settings file beside the program: its path with the extension ".ini".
std::wstring SettingsPathBeside(const std::wstring& programPath);

// The base font of a window in points for the screen's pixels per inch: both
// choices give a font 15 pixels high on the screens of their time.
int BaseFontPoints(int pixelsPerInch);
int PointsToPixels(int points, int pixelsPerInch);

}  // namespace settings
