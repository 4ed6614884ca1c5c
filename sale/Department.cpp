#include "sale/Department.h"

#include "common/MessageText.h"

namespace regi {

const Department* Departments::Find(int number) const {
    for (const Department& department : named)
        if (department.number == number) return &department;
    return nullptr;
}

bool Departments::InUse() const {
    return !named.empty() || !classNames[0].empty() || !classNames[1].empty() || !classNames[2].empty();
}

std::wstring Departments::NameOf(int number, TaxClass taxClass) const {
    const std::wstring* name = &classNames[static_cast<int>(taxClass)];
    if (number != kClassDepartment)
        if (const Department* department = Find(number)) name = &department->name;
    if (name->empty()) return NamesOf(taxClass).item;
    return (taxClass == TaxClass::Reduced ? L"※" : L"") + *name;
}

std::wstring Departments::LineName(const LineRecord& line, const std::wstring& name) const {
    if (name.empty()) return NameOf(line.department, line.taxClass);
    return (line.taxClass == TaxClass::Reduced ? L"※" : L"") + name;
}

std::wstring DepartmentProblem(const Department& department) {
    if (department.number < 1 || department.number > kMaxDepartment)
        return common::FormatMessageText(L"部門の番号は 1 から %s までです｡", std::to_wstring(kMaxDepartment));
    if (department.name.find_first_not_of(L" \u3000") == std::wstring::npos) return L"部門の名前がありません｡";
    if (department.name.size() > kMaxDepartmentName)
        return common::FormatMessageText(L"部門の名前は %s 文字までです｡", std::to_wstring(kMaxDepartmentName));
    return L"";
}

}  // namespace regi
