#pragma once
// The shop's departments as the settings file keeps them: the [Departments]
// section, one line a department ("12=パン,reduced" or, with the key a POS
// keyboard sends for it, "12=パン,reduced,Ctrl+F9") and one a name of the
// departments ENTER, F2 and + ring ("Standard=雑貨"). A line that does not
// read is not used and stays in the file as it was, for the shop to put right.
// Windows-free.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "sale/Department.h"

namespace settings {

// A department the shop set, with the key chord of its own as typed
// ("Ctrl+F9"; empty: none). The register's key map decides whether the chord
// may be used (regi::KeyMap).
struct DepartmentRow {
    regi::Department department;
    std::wstring chord;
};

struct DepartmentTable {
    std::vector<DepartmentRow> rows;  // by number, each number once
    std::wstring classNames[3];       // by the class's value; empty: the class's own item name
    // A line that did not read, as it was, and what is wrong with it.
    struct Unused {
        std::wstring line, problem;
    };
    std::vector<Unused> unused;

    regi::Departments Departments() const;
    // Each department's number with the chord it was given, and with its name.
    std::map<int, std::wstring> Chords() const;
    std::map<int, std::wstring> Names() const;
    const DepartmentRow* Find(int number) const;
    // Puts row in the place of its number's, or among the others by number.
    void Put(const DepartmentRow& row);
    void Remove(int number);
};

// The section's lines, "\n" between them, as the table uses them. The first
// line of a number counts; a later one of the same number is unused.
DepartmentTable ReadDepartmentTable(const std::wstring& lines);
// The section's lines for a table the shop edited: the class names given, the
// departments, then the unused lines as they were.
std::wstring DepartmentTableText(const DepartmentTable& table);
// What the start says of the unused lines, all of them in one message; empty for none.
std::wstring UnusedDepartmentsMessage(const DepartmentTable& table);

// The word of a class in the settings file ("standard", "reduced", "exempt"),
// and the class of such a word in any case.
std::wstring ClassWord(regi::TaxClass taxClass);
std::optional<regi::TaxClass> ReadClassWord(const std::wstring& text);

}  // namespace settings
