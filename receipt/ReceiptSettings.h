#pragma once
// What a receipt says of the shop that issues it, how it prints, and how the
// drawer on the receipt printer opens: the settings the settings page keeps
// and the receipts use. Windows-free.
#include <functional>
#include <string>
#include <vector>

#include "sale/Department.h"

namespace receipt {

// The two paper rolls receipt printers take, in mm.
constexpr int kNarrowPaper = 58;
constexpr int kWidePaper = 80;

// What a paper roll decides. Anything but 58 mm is taken as 80 mm.
struct Paper {
    int widthMm;       // 58 or 80
    int printWidthMm;  // what a receipt printer prints of it: 48 or 72
    // Characters per line, counting a full-width character as two: 32 or 48
    // (the 12-dot columns of a 203-dpi receipt printer's 384 and 576 dots).
    int columns;
};
Paper PaperFor(int paperWidth);

// When receipts print by themselves; the values are the settings file's.
enum class PrintMode : int {
    Never = 0,      // "しない"
    EverySale = 1,  // "精算のたびに"
    OnRequest = 2,  // "F5 のときだけ"
};
// A stored value as a mode: anything unknown is Never.
PrintMode PrintModeFrom(int value);

// How the cash drawer, plugged into the receipt printer, is opened; the values
// are the settings file's.
enum class DrawerMode : int {
    Never = 0,       // "しない"
    Driver = 1,      // "プリンターのドライバーで": the driver opens it with each job
    EscPosPin2 = 2,  // "ESC/POS で（ピン 2）"
    EscPosPin5 = 3,  // "ESC/POS で（ピン 5）"
    Star = 4,        // "Star で": Star's own line mode
};
// A stored value as a mode: anything unknown is Never.
DrawerMode DrawerModeFrom(int value);

struct Settings {
    std::wstring shop;                // the shop's name, the receipt's first line
    std::wstring address;             // an address or telephone line under it
    std::wstring registrationNumber;  // "T" and 13 digits; empty: the shop is not registered
    PrintMode printMode = PrintMode::Never;
    std::wstring printer;                    // empty: the system's default printer
    int paperWidth = kWidePaper;             // 58 or 80 (mm); anything else is taken as 80
    std::vector<std::wstring> tenders = {};  // the other tenders' names, tender n at n - 1
    regi::Departments departments = {};      // what the lines are named by
    // A product's name by its code, for a line read back from the journal,
    // which keeps the code only; empty when the product file has none.
    std::function<std::wstring(const std::string& code)> productName = {};
    DrawerMode drawer = DrawerMode::Never;
    bool cut = false;  // the printer cuts the paper after each slip

    // True when the registration number has its form: only then is it printed.
    bool Registered() const;
    // A product line's name: as it was rung, or else by its code from the
    // product file; empty for a keyed price.
    std::wstring ProductName(const regi::LineRecord& item) const;
    // A line's name on paper: its product's, or its department's (see Departments::LineName).
    std::wstring ItemName(const regi::LineRecord& item) const { return departments.LineName(item, ProductName(item)); }
    int Columns() const { return PaperFor(paperWidth).columns; }
};

// A registration number of the qualified invoice system: "T" and exactly 13
// ASCII digits. Only the form is checked. For a corporation the digits are its
// corporate number, whose first digit is a check digit, but a sole proprietor
// gets a number of another kind, so a check-digit test would refuse valid
// numbers; whether a number was really issued only the tax office's public
// register can tell.
bool IsRegistrationNumber(const std::wstring& text);
// What the settings field may keep: a registration number, or nothing.
bool IsAcceptableRegistrationNumber(const std::wstring& text);
// The message for a field that holds anything else.
extern const wchar_t kBadRegistrationNumber[];

}  // namespace receipt
