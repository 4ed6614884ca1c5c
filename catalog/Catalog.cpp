#include "catalog/Catalog.h"

#include <algorithm>

#include "catalog/CheckDigit.h"
#include "common/Utf8.h"
#include "sale/Money.h"

namespace catalog {

const wchar_t kProductFileName[] = L"Pelmora-products.csv";

const Product* Catalog::Find(Code code) const {
    auto found = std::lower_bound(products_.begin(), products_.end(), code,
                                  [](const Product& product, Code c) { return product.code < c; });
    return found != products_.end() && found->code == code ? &*found : nullptr;
}

std::wstring Catalog::Name(const Product& product) const { return names_.substr(product.nameAt, product.nameLength); }

std::string Catalog::CodeText(const Product& product) {
    std::string text = std::to_string(product.code);
    if (text.size() < product.digits) text.insert(0, product.digits - text.size(), '0');
    return text;
}

size_t Catalog::Bytes() const {
    return sizeof *this + products_.capacity() * sizeof(Product) + names_.capacity() * sizeof(wchar_t);
}

namespace {

// One row's fields, unquoted.
using Fields = std::vector<std::wstring>;

// Splits text into rows of fields as a spreadsheet writes CSV: a quoted field
// may hold commas, doubled quotes and line ends; rows end in CRLF, LF or CR.
class CsvRows {
public:
    explicit CsvRows(std::wstring_view text) : text_(text) {}
    // The next row, false at the end.
    bool Next(Fields& fields) {
        fields.clear();
        if (at_ >= text_.size()) return false;
        std::wstring field;
        bool quoted = false;
        while (at_ < text_.size()) {
            wchar_t c = text_[at_++];
            if (quoted) {
                if (c != L'"')
                    field += c;
                else if (at_ < text_.size() && text_[at_] == L'"')
                    field += text_[at_++];
                else
                    quoted = false;
            } else if (c == L'"') {
                quoted = true;
            } else if (c == L',') {
                fields.push_back(std::move(field));
                field.clear();
            } else if (c == L'\r' || c == L'\n') {
                if (c == L'\r' && at_ < text_.size() && text_[at_] == L'\n') ++at_;
                break;
            } else {
                field += c;
            }
        }
        fields.push_back(std::move(field));
        return true;
    }

private:
    std::wstring_view text_;
    size_t at_ = 0;
};

std::wstring Trimmed(const std::wstring& text) {
    size_t first = text.find_first_not_of(L" \t\u3000");
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(L" \t\u3000") - first + 1);
}

// Full-width digits as ASCII; nothing for a text that has anything else.
std::string Digits(const std::wstring& text) {
    std::string digits;
    for (wchar_t c : text) {
        if (c >= L'\uFF10' && c <= L'\uFF19') c = static_cast<wchar_t>(L'0' + (c - L'\uFF10'));
        if (c < L'0' || c > L'9') return {};
        digits += static_cast<char>(c);
    }
    return digits;
}

std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

std::wstring Grouped(std::int64_t n) { return regi::GroupedDigits(n); }

}  // namespace

struct Reader {
    static ReadResult Read(std::wstring_view text, const std::function<bool(int)>& departmentExists) {
        ReadResult result;
        Catalog& catalog = result.catalog;
        struct Row {
            Product product;
            std::int64_t row;
        };
        std::vector<Row> rows;
        CsvRows csv(text);
        Fields fields;
        std::int64_t number = 0;
        bool tooMany = false;
        auto fault = [&](std::wstring what) { result.faults.push_back({number, std::move(what)}); };
        while (csv.Next(fields)) {
            ++number;
            for (std::wstring& field : fields) field = Trimmed(field);
            bool blank = std::all_of(fields.begin(), fields.end(), [](const std::wstring& f) { return f.empty(); });
            if (blank) continue;
            std::string code = Digits(fields[0]);
            // The header row: the first row whose code is no number.
            if (number == 1 && code.empty()) continue;
            if (fields.size() < 4) {
                fault(L"項目が足りません (コード, 名前, 単価, 部門の 4 つが要ります)");
                continue;
            }
            if (code.empty() || code.size() > kMaxCodeDigits) {
                fault(L"コード「" + fields[0] + L"」は 1 から 13 桁の数字ではありません");
                continue;
            }
            if (IsJanLength(code.size()) && !HasJanCheckDigit(code)) {
                fault(L"コード " + Wide(code) + L" のチェックデジットが違います (" +
                      std::to_wstring(JanCheckDigit(std::string_view(code).substr(0, code.size() - 1))) +
                      L" のはずです)");
                continue;
            }
            const std::wstring& name = fields[1];
            if (name.empty() || name.size() > kMaxProductName) {
                fault(name.empty() ? L"名前がありません"
                                   : L"名前が " + std::to_wstring(kMaxProductName) + L" 文字を超えています");
                continue;
            }
            std::optional<std::int64_t> price = regi::ParseAmount(fields[2]);
            if (!price || *price > regi::kMaxPrice || *price < -regi::kMaxPrice) {
                fault(L"単価「" + fields[2] + L"」は -9,999,999 から 9,999,999 円の金額ではありません");
                continue;
            }
            std::string department = Digits(fields[3]);
            int departmentNumber = department.empty() || department.size() > 2 ? -1 : std::stoi(department);
            if (departmentNumber < 1 || !departmentExists(departmentNumber)) {
                fault(L"部門「" + fields[3] + L"」はありません (設定の「部門」にある番号にして下さい)");
                continue;
            }
            if (rows.size() == kMaxProducts) {
                if (!tooMany) fault(L"商品は " + Grouped(kMaxProducts) + L" 品までです。この行から後は読みません");
                tooMany = true;
                continue;
            }
            Product product;
            product.code = std::stoull(code);
            product.price = *price;
            product.nameAt = static_cast<std::uint32_t>(catalog.names_.size());
            product.nameLength = static_cast<std::uint8_t>(name.size());
            product.department = static_cast<std::uint8_t>(departmentNumber);
            product.digits = static_cast<std::uint8_t>(code.size());
            // Line ends and tabs a cell held are no part of a name on a receipt.
            for (wchar_t c : name) catalog.names_ += c < L' ' ? L' ' : c;
            rows.push_back({product, number});
        }
        // A code given twice is left out both times: which price is right, only the shop knows.
        std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.product.code < b.product.code; });
        std::vector<Fault> twice;
        catalog.products_.reserve(rows.size());
        for (size_t i = 0; i < rows.size();) {
            size_t end = i + 1;
            while (end < rows.size() && rows[end].product.code == rows[i].product.code) ++end;
            if (end - i == 1) {
                catalog.products_.push_back(rows[i].product);
            } else {
                for (size_t k = i; k < end; ++k) {
                    std::wstring others;
                    for (size_t j = i; j < end; ++j)
                        if (j != k) others += (others.empty() ? L"" : L", ") + std::to_wstring(rows[j].row);
                    twice.push_back({rows[k].row, L"コード " + Wide(Catalog::CodeText(rows[k].product)) +
                                                      L" は " + others + L" 行目にもあります (どちらも使いません)"});
                }
            }
            i = end;
        }
        result.faults.insert(result.faults.end(), twice.begin(), twice.end());
        std::stable_sort(result.faults.begin(), result.faults.end(),
                         [](const Fault& a, const Fault& b) { return a.row < b.row; });
        catalog.names_.shrink_to_fit();
        return result;
    }
};

ReadResult ReadProducts(std::string_view bytes, const std::function<std::wstring(std::string_view)>& shiftJis,
                        const std::function<bool(int)>& departmentExists) {
    const std::string_view mark = "\xEF\xBB\xBF";
    std::wstring text;
    if (bytes.substr(0, mark.size()) == mark)
        text = common::FromUtf8(bytes.substr(mark.size()));
    else if (common::IsUtf8(bytes))
        text = common::FromUtf8(bytes);
    else
        text = shiftJis(bytes);
    return Reader::Read(text, departmentExists);
}

std::wstring FaultsMessage(const std::vector<Fault>& faults) {
    if (faults.empty()) return {};
    constexpr size_t kShown = 20;
    std::wstring message = L"商品ファイル (" + std::wstring(kProductFileName) + L") に読めない行が " +
                           std::to_wstring(faults.size()) + L" 行あり、使わずにおきます:\r\n";
    for (size_t i = 0; i < faults.size() && i < kShown; ++i)
        message += L"\u3000" + std::to_wstring(faults[i].row) + L" 行目: " + faults[i].what + L"\r\n";
    if (faults.size() > kShown) message += L"\u3000ほか " + std::to_wstring(faults.size() - kShown) + L" 行\r\n";
    return message + L"ファイルを直して保存すると、読み直します。";
}

}  // namespace catalog
