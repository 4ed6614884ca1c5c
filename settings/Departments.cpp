#include "settings/Departments.h"

#include <algorithm>
#include <set>

#include "common/MessageText.h"
#include "settings/ProfileValues.h"

namespace settings {

namespace {

const wchar_t kNoClass[] = L"区分（standard・reduced・exempt のどれか）がありません｡";
const wchar_t kNumberTwice[] = L"部門 %s は上の行にもあります｡";
const wchar_t kNameTwice[] = L"%s の名前は上の行にもあります｡";

std::wstring Trimmed(const std::wstring& text) {
    size_t first = text.find_first_not_of(L" \t\u3000");
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(L" \t\u3000") - first + 1);
}

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return text;
}

// "standard" as the key of a class's name: "Standard".
std::wstring ClassKey(regi::TaxClass taxClass) {
    std::wstring word = ClassWord(taxClass);
    word[0] = static_cast<wchar_t>(word[0] - L'a' + L'A');
    return word;
}

// A department's value from the right: the class, or the class and then the
// chord, and the name before them, which may hold commas of its own.
std::optional<DepartmentRow> ReadValue(int number, const std::wstring& value) {
    std::vector<std::wstring> fields;
    size_t start = 0;
    for (size_t comma; (comma = value.find(L',', start)) != std::wstring::npos; start = comma + 1)
        fields.push_back(value.substr(start, comma - start));
    fields.push_back(value.substr(start));
    for (size_t chordFields : {size_t{0}, size_t{1}}) {
        if (fields.size() < 1 + chordFields) break;
        std::optional<regi::TaxClass> taxClass = ReadClassWord(fields[fields.size() - 1 - chordFields]);
        if (!taxClass) continue;
        std::wstring name;
        for (size_t i = 0; i + 1 + chordFields < fields.size(); ++i) name += (i ? L"," : L"") + fields[i];
        return DepartmentRow{{number, Trimmed(name), *taxClass}, chordFields ? Trimmed(fields.back()) : L""};
    }
    return std::nullopt;
}

std::wstring RowLine(const DepartmentRow& row) {
    std::wstring line =
        std::to_wstring(row.department.number) + L"=" + row.department.name + L"," + ClassWord(row.department.taxClass);
    if (!row.chord.empty()) line += L"," + row.chord;
    return line;
}

}  // namespace

std::wstring ClassWord(regi::TaxClass taxClass) {
    const char* record = regi::NamesOf(taxClass).record;
    return std::wstring(record, record + std::char_traits<char>::length(record));
}

std::optional<regi::TaxClass> ReadClassWord(const std::wstring& text) {
    std::wstring word = Lower(Trimmed(text));
    for (regi::TaxClass taxClass : {regi::TaxClass::Exempt, regi::TaxClass::Standard, regi::TaxClass::Reduced})
        if (word == ClassWord(taxClass)) return taxClass;
    return std::nullopt;
}

regi::Departments DepartmentTable::Departments() const {
    regi::Departments departments;
    for (const DepartmentRow& row : rows) departments.named.push_back(row.department);
    for (int c = 0; c < 3; ++c) departments.classNames[c] = classNames[c];
    return departments;
}

std::map<int, std::wstring> DepartmentTable::Chords() const {
    std::map<int, std::wstring> chords;
    for (const DepartmentRow& row : rows)
        if (!row.chord.empty()) chords[row.department.number] = row.chord;
    return chords;
}

std::map<int, std::wstring> DepartmentTable::Names() const {
    std::map<int, std::wstring> names;
    for (const DepartmentRow& row : rows) names[row.department.number] = row.department.name;
    return names;
}

const DepartmentRow* DepartmentTable::Find(int number) const {
    for (const DepartmentRow& row : rows)
        if (row.department.number == number) return &row;
    return nullptr;
}

void DepartmentTable::Put(const DepartmentRow& row) {
    Remove(row.department.number);
    auto place = std::find_if(rows.begin(), rows.end(), [&](const DepartmentRow& other) {
        return other.department.number > row.department.number;
    });
    rows.insert(place, row);
}

void DepartmentTable::Remove(int number) {
    rows.erase(std::remove_if(rows.begin(), rows.end(),
                              [number](const DepartmentRow& row) { return row.department.number == number; }),
               rows.end());
}

DepartmentTable ReadDepartmentTable(const std::wstring& lines) {
    DepartmentTable table;
    std::set<int> numbers, named;  // the departments and the classes' lines read so far
    size_t start = 0;
    while (start < lines.size()) {
        size_t end = std::min(lines.find(L'\n', start), lines.size());
        const std::wstring line = lines.substr(start, end - start);
        start = end + 1;
        std::wstring trimmed = Trimmed(line);
        if (trimmed.empty() || trimmed[0] == L';') continue;  // a blank line or a comment
        size_t equals = trimmed.find(L'=');
        std::wstring key = Trimmed(trimmed.substr(0, std::min(equals, trimmed.size())));
        std::wstring value = equals == std::wstring::npos ? L"" : Trimmed(trimmed.substr(equals + 1));
        auto unused = [&](std::wstring problem) { table.unused.push_back({line, std::move(problem)}); };
        if (std::optional<regi::TaxClass> taxClass = ReadClassWord(key)) {
            // A class's name: empty is its own item name, too long is refused like a department's.
            std::wstring problem = value.empty() ? L"" : regi::DepartmentProblem({1, value, *taxClass});
            if (problem.empty() && !named.insert(static_cast<int>(*taxClass)).second)
                problem = common::FormatMessageText(kNameTwice, ClassKey(*taxClass));
            if (!problem.empty())
                unused(problem);
            else
                table.classNames[static_cast<int>(*taxClass)] = value;
            continue;
        }
        int number = ReadTypedNumber(key, regi::kMaxDepartment).value_or(-1);
        std::optional<DepartmentRow> row = ReadValue(number, value);
        std::wstring problem = regi::DepartmentProblem(row ? row->department : regi::Department{number, L"?"});
        if (problem.empty() && !row) problem = kNoClass;
        if (problem.empty() && numbers.count(number))
            problem = common::FormatMessageText(kNumberTwice, std::to_wstring(number));
        if (!problem.empty()) {
            unused(problem);
            continue;
        }
        numbers.insert(number);
        table.rows.push_back(*row);
    }
    std::sort(table.rows.begin(), table.rows.end(),
              [](const DepartmentRow& a, const DepartmentRow& b) { return a.department.number < b.department.number; });
    return table;
}

std::wstring DepartmentTableText(const DepartmentTable& table) {
    std::vector<std::wstring> lines;
    for (regi::TaxClass taxClass : {regi::TaxClass::Standard, regi::TaxClass::Reduced, regi::TaxClass::Exempt})
        if (!table.classNames[static_cast<int>(taxClass)].empty())
            lines.push_back(ClassKey(taxClass) + L"=" + table.classNames[static_cast<int>(taxClass)]);
    for (const DepartmentRow& row : table.rows) lines.push_back(RowLine(row));
    for (const DepartmentTable::Unused& unused : table.unused) lines.push_back(unused.line);
    std::wstring text;
    for (const std::wstring& line : lines) text += (text.empty() ? L"" : L"\n") + line;
    return text;
}

std::wstring UnusedDepartmentsMessage(const DepartmentTable& table) {
    if (table.unused.empty()) return {};
    std::wstring message =
        L"設定ファイルの [Departments] に読めない行があります。これらの行は使わずに始めます。"
        L"「店の設定」の「部門」で入れ直すか、ファイルを直してください:\r\n";
    for (const DepartmentTable::Unused& unused : table.unused)
        message += L"\u3000" + unused.line + L"\u3000→ " + unused.problem + L"\r\n";
    return message;
}

}  // namespace settings
