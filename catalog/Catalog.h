#pragma once
// The shop's product file (Pelmora-products.csv beside the settings file) as
// the register looks products up in it: one product a row, code, name, unit
// price (tax included) and department number, under a header row, as a
// spreadsheet saves it. Rows that do not read are told with the row number the
// spreadsheet shows and left out. The program never writes the file.
// Windows-free: Shift_JIS comes in through a function the platform gives.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "sale/Department.h"

namespace catalog {

constexpr size_t kMaxProducts = 100'000;
constexpr size_t kMaxProductName = 32;  // characters
constexpr size_t kMaxCodeDigits = 13;
extern const wchar_t kProductFileName[];  // "Pelmora-products.csv"

// Codes compare as numbers: a spreadsheet that drops a code's leading zeros,
// or an entry field that does, still finds it.
using Code = std::uint64_t;

struct Product {
    Code code = 0;
    std::int64_t price = 0;
    std::uint32_t nameAt = 0;  // in the catalog's names
    std::uint8_t nameLength = 0;
    std::uint8_t department = 0;
    std::uint8_t digits = 0;  // of the code as the file writes it, leading zeros included
};

// A row the file has that is not used: its row number and why.
struct Fault {
    std::int64_t row = 0;
    std::wstring what;
};

class Catalog {
public:
    const Product* Find(Code code) const;
    std::wstring Name(const Product& product) const;
    // The code as the file writes it: "0202100" keeps its zeros.
    static std::string CodeText(const Product& product);
    size_t Size() const { return products_.size(); }
    bool Empty() const { return products_.empty(); }
    // The memory it holds, for the figures.
    size_t Bytes() const;

private:
    friend struct Reader;
    std::vector<Product> products_;  // by code
    std::wstring names_;
};

struct ReadResult {
    Catalog catalog;
    std::vector<Fault> faults;  // in the file's order
};

// The file's bytes: UTF-8 with or without the byte-order mark, or Shift_JIS
// (bytes that do not read as UTF-8), decoded by shiftJis; CRLF, LF or CR;
// quoted fields with commas, quotes and line ends. departmentExists: whether
// the shop has department n.
ReadResult ReadProducts(std::string_view bytes, const std::function<std::wstring(std::string_view)>& shiftJis,
                        const std::function<bool(int)>& departmentExists);

// The faults as one message for the operator, at most a screenful of rows; empty for none.
std::wstring FaultsMessage(const std::vector<Fault>& faults);

}  // namespace catalog
