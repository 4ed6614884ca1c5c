#pragma once
// Journal text written by the tests themselves: rows built by column name in
// the column order spelled out here, and a small shop's sales with their
// totals worked out in the test.
#include <cstdint>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace journal_test {

constexpr const char* kColumnNames =
    "seq,time,kind,sale,line,class,unit price,quantity,subtotal,lines,standard rate,standard amount,"
    "standard tax,reduced rate,reduced amount,reduced tax,exempt,total,tendered,change,sales,voids,"
    "void amount,cancels,cancel amount,negative lines,negative amount,float,expected cash,z";
constexpr const char* kBom = "\xEF\xBB\xBF";

using Fields = std::vector<std::pair<std::string, std::string>>;

inline std::vector<std::string> Columns() {
    std::vector<std::string> names;
    std::stringstream in(kColumnNames);
    for (std::string name; std::getline(in, name, ',');) names.push_back(name);
    return names;
}

// One journal line with CRLF; every column not named is empty.
inline std::string Row(const Fields& fields) {
    std::vector<std::string> names = Columns();
    std::map<std::string, std::string> values;
    for (const auto& field : fields) {
        bool known = false;
        for (const std::string& name : names) known = known || name == field.first;
        if (!known) throw std::logic_error("no column " + field.first);
        values[field.first] = field.second;
    }
    std::string row;
    for (size_t i = 0; i < names.size(); ++i) row += (i ? "," : "") + values[names[i]];
    return row + "\r\n";
}

inline std::string N(std::int64_t value) { return std::to_string(value); }

// The tax contained in tax-inclusive amounts, by its definition: C++ division
// cuts toward zero.
inline std::int64_t Contained(std::int64_t amount, std::int64_t rate) {
    return 100 + rate <= 0 ? 0 : amount * rate / (100 + rate);
}

struct TestLine {
    int taxClass;  // 1 standard, 2 reduced, 0 exempt
    std::int64_t price, quantity;
};
const char* const kClassWords[] = {"exempt", "standard", "reduced"};

// A settled sale's rows as the register writes them, with the figures the
// period should add up: its sum, its amount and tax per class.
struct TestSale {
    std::int64_t sale;
    std::string time;
    std::vector<TestLine> lines;
    std::int64_t standardRate = 10, reducedRate = 8, tendered = 0;

    std::int64_t Amount(int taxClass) const {
        std::int64_t sum = 0;
        for (const TestLine& line : lines)
            if (line.taxClass == taxClass) sum += line.price * line.quantity;
        return sum;
    }
    std::int64_t Total() const { return Amount(0) + Amount(1) + Amount(2); }

    // Rows numbered from seq on; seq ends after the last.
    std::string Rows(std::int64_t& seq) const {
        std::string rows;
        for (size_t i = 0; i < lines.size(); ++i) {
            const TestLine& l = lines[i];
            rows += Row({{"seq", N(seq++)},
                         {"time", time},
                         {"kind", "line"},
                         {"sale", N(sale)},
                         {"line", N(static_cast<std::int64_t>(i) + 1)},
                         {"class", kClassWords[l.taxClass]},
                         {"unit price", N(l.price)},
                         {"quantity", N(l.quantity)},
                         {"subtotal", N(l.price * l.quantity)}});
        }
        rows += Row({{"seq", N(seq++)},
                     {"time", time},
                     {"kind", "sale"},
                     {"sale", N(sale)},
                     {"lines", N(static_cast<std::int64_t>(lines.size()))},
                     {"standard rate", N(standardRate)},
                     {"standard amount", N(Amount(1))},
                     {"standard tax", N(Contained(Amount(1), standardRate))},
                     {"reduced rate", N(reducedRate)},
                     {"reduced amount", N(Amount(2))},
                     {"reduced tax", N(Contained(Amount(2), reducedRate))},
                     {"exempt", N(Amount(0))},
                     {"total", N(Total())},
                     {"tendered", N(tendered)},
                     {"change", N(tendered - Total())}});
        return rows;
    }
};

}  // namespace journal_test
