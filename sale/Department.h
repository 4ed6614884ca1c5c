#pragma once
// The shop's departments (部門): what each line was sold as, by number, with
// its name and tax class. ENTER, F2 and + ring the departments of their classes
// (number 0), named as the receipts always named them until the shop names
// them. Windows-free.
#include <optional>
#include <string>
#include <vector>

#include "sale/SaleRecord.h"

namespace regi {

constexpr int kMaxDepartment = 99;            // numbers 1 to 99
constexpr size_t kMaxDepartmentName = 16;     // characters
constexpr int kClassDepartment = 0;           // the department of a line's class (ENTER, F2, +)

struct Department {
    int number = kClassDepartment;
    std::wstring name;
    TaxClass taxClass = TaxClass::Standard;
    bool operator==(const Department& other) const {
        return number == other.number && name == other.name && taxClass == other.taxClass;
    }
};

struct Departments {
    // The shop's departments 1 to kMaxDepartment, each number once.
    std::vector<Department> named;
    // The names the shop gave the departments of the classes, by the class's
    // value; empty: the class's own item name (商品, ※商品, 非課税商品).
    std::wstring classNames[3];

    const Department* Find(int number) const;
    // Whether the shop named any department, its classes' included.
    bool InUse() const;
    // A line's name on the receipt and the reports: its department's, or for
    // number 0 (or one no longer named) its class's department's; "※" before
    // it on a reduced-rate line.
    std::wstring NameOf(int number, TaxClass taxClass) const;
    // A line's name: the product's (name, when it has one), marked "※" as
    // its department's would be; else its department's (NameOf).
    std::wstring LineName(const LineRecord& line, const std::wstring& name) const;
};

// Why a department as typed cannot be named; empty when it can: a number
// outside 1 to 99, an empty name or one of more than kMaxDepartmentName characters.
std::wstring DepartmentProblem(const Department& department);

}  // namespace regi
