#include "journal/Export.h"

#include <algorithm>
#include <iterator>

#include "common/Utf8.h"
#include "journal/Chain.h"
#include "sale/Money.h"

namespace journal {

namespace {

const wchar_t kRate[] = L"{rate}";

struct ProgramText {
    const wchar_t* name;
    const wchar_t* key;  // the [Books] keys' prefix of its tax categories
    bool shiftJis;
    const wchar_t* standard;
    const wchar_t* reduced;
    const wchar_t* exempt;
    const wchar_t* outside;
};
// By Program.
const ProgramText kPrograms_[] = {
    {L"弥生会計", L"Yayoi", true, L"課税売上込{rate}%", L"課税売上込軽減{rate}%", L"非課売上", L"対象外"},
    {L"freee", L"Freee", false, L"課税売上{rate}%", L"課税売上{rate}%（軽）", L"非課売上", L"対象外"},
    {L"マネーフォワード", L"MoneyForward", true, L"課税売上 {rate}%", L"課税売上 (軽){rate}%", L"非課税売上",
     L"対象外"},
};
const ProgramText& Of(Program program) { return kPrograms_[static_cast<int>(program)]; }

std::wstring WithRate(const std::wstring& category, std::int64_t rate) {
    std::wstring text = category;
    for (size_t at; (at = text.find(kRate)) != std::wstring::npos;)
        text.replace(at, std::size(kRate) - 1, std::to_wstring(rate));
    return text;
}

// A CSV field: quoted when it holds a comma, a quote or a line end.
std::wstring Field(const std::wstring& text) {
    if (text.find_first_of(L",\"\r\n") == std::wstring::npos) return text;
    std::wstring quoted = L"\"";
    for (wchar_t c : text) quoted += c == L'"' ? std::wstring(L"\"\"") : std::wstring(1, c);
    return quoted + L"\"";
}

std::wstring Row(const std::vector<std::wstring>& fields) {
    std::wstring row;
    for (size_t i = 0; i < fields.size(); ++i) row += (i ? L"," : L"") + Field(fields[i]);
    return row + L"\r\n";
}

std::wstring Number(std::int64_t value) { return std::to_wstring(value); }

// An entry's rows: its i-th debit beside its i-th credit.
struct Pair {
    const EntryLine* debit = nullptr;
    const EntryLine* credit = nullptr;
};
std::vector<Pair> Pairs(const Entry& entry) {
    std::vector<Pair> pairs;
    size_t debits = 0, credits = 0;
    for (const EntryLine& line : entry.lines) {
        size_t& at = line.debit ? debits : credits;
        if (at == pairs.size()) pairs.emplace_back();
        (line.debit ? pairs[at].debit : pairs[at].credit) = &line;
        ++at;
    }
    return pairs;
}

// A side's account, sub-account, tax category, amount and tax, as the programs put them.
struct Side {
    std::wstring account, sub, category, amount, tax;
};
Side SideOf(const EntryLine* line, const wchar_t* emptyAmount) {
    if (!line) return {L"", L"", L"", emptyAmount, L""};
    return {line->account, line->sub, line->category, Number(line->amount), Number(line->tax)};
}

std::wstring YayoiRows(const std::vector<Entry>& entries) {
    std::wstring rows;
    for (const Entry& entry : entries) {
        std::vector<Pair> pairs = Pairs(entry);
        for (size_t i = 0; i < pairs.size(); ++i) {
            // 2000 an entry of one row; a slip's first, middle and last rows 2110, 2100, 2101.
            const wchar_t* flag = pairs.size() == 1       ? L"2000"
                                  : i == 0                ? L"2110"
                                  : i + 1 == pairs.size() ? L"2101"
                                                          : L"2100";
            // A side without an account still has its amount, 0.
            Side d = SideOf(pairs[i].debit, L"0"), c = SideOf(pairs[i].credit, L"0");
            rows += Row({flag,  L"",       L"",   entry.date, d.account,  d.sub,    L"",   d.category, d.amount,
                         d.tax, c.account, c.sub, L"",        c.category, c.amount, c.tax, entry.memo, L"",
                         L"",   L"0",      L"",   L"",        L"0",       L"0",     L"no"});
        }
    }
    return rows;
}

std::wstring FreeeRows(const std::vector<Entry>& entries) {
    std::wstring rows =
        Row({L"日付", L"伝票番号", L"決算整理仕訳", L"借方勘定科目", L"借方補助科目", L"借方税区分", L"借方金額",
             L"借方税額", L"貸方勘定科目", L"貸方補助科目", L"貸方税区分", L"貸方金額", L"貸方税額", L"摘要"});
    for (size_t n = 0; n < entries.size(); ++n)
        for (const Pair& pair : Pairs(entries[n])) {
            Side d = SideOf(pair.debit, L""), c = SideOf(pair.credit, L"");
            rows += Row({entries[n].date, Number(static_cast<std::int64_t>(n) + 1), L"", d.account, d.sub, d.category,
                         d.amount, d.tax, c.account, c.sub, c.category, c.amount, c.tax, entries[n].memo});
        }
    return rows;
}

std::wstring MoneyForwardRows(const std::vector<Entry>& entries) {
    std::wstring rows =
        Row({L"取引No",     L"取引日",         L"借方勘定科目", L"借方補助科目",   L"借方部門",     L"借方取引先",
             L"借方税区分", L"借方インボイス", L"借方金額(円)", L"借方税額",       L"貸方勘定科目", L"貸方補助科目",
             L"貸方部門",   L"貸方取引先",     L"貸方税区分",   L"貸方インボイス", L"貸方金額(円)", L"貸方税額",
             L"摘要",       L"仕訳メモ",       L"タグ",         L"MF仕訳タイプ",   L"決算整理仕訳", L"作成日時",
             L"作成者",     L"最終更新日時",   L"最終更新者"});
    for (size_t n = 0; n < entries.size(); ++n)
        for (const Pair& pair : Pairs(entries[n])) {
            Side d = SideOf(pair.debit, L""), c = SideOf(pair.credit, L"");
            rows += Row({Number(static_cast<std::int64_t>(n) + 1),
                         entries[n].date,
                         d.account,
                         d.sub,
                         L"",
                         L"",
                         d.category,
                         L"",
                         d.amount,
                         d.tax,
                         c.account,
                         c.sub,
                         L"",
                         L"",
                         c.category,
                         L"",
                         c.amount,
                         c.tax,
                         entries[n].memo,
                         L"",
                         L"",
                         L"",
                         L"",
                         L"",
                         L"",
                         L"",
                         L""});
        }
    return rows;
}

// A line on its side, or on the other one for an amount below 0; none for 0.
void Add(std::vector<EntryLine>& lines, bool debit, const std::wstring& account, const std::wstring& sub,
         const std::wstring& category, std::int64_t amount, std::int64_t tax = 0) {
    if (amount == 0 && tax == 0) return;
    if (amount < 0)
        lines.push_back({!debit, account, sub, category, -amount, -tax});
    else
        lines.push_back({debit, account, sub, category, amount, tax});
}

std::wstring DateOf(const std::wstring& time) {
    std::wstring date = time.substr(0, 10);
    std::replace(date.begin(), date.end(), L'-', L'/');
    return date;
}

bool Sound(const std::wstring& value) {
    return !value.empty() && std::none_of(value.begin(), value.end(),
                                          [](wchar_t c) { return c < 0x20 || c == 0x7F || c == L',' || c == L'"'; });
}

}  // namespace

const wchar_t* ProgramName(Program program) { return Of(program).name; }
bool ShiftJisFile(Program program) { return Of(program).shiftJis; }

BookNames DefaultBookNames(Program program) {
    const ProgramText& text = Of(program);
    return {L"現金",       L"売掛金",    L"売上高",   L"事業主借", L"事業主貸",
            text.standard, text.reduced, text.exempt, text.outside};
}

BookNamesRead ReadBookNames(Program program, std::wstring_view lines) {
    BookNamesRead read{DefaultBookNames(program), {}};
    BookNames& n = read.names;
    struct Key {
        std::wstring name;
        std::wstring* value;
        bool rated;
    };
    std::vector<Key> keys = {{L"Cash", &n.cash, false},
                             {L"Receivable", &n.receivable, false},
                             {L"Sales", &n.sales, false},
                             {L"MoneyIn", &n.moneyIn, false},
                             {L"MoneyOut", &n.moneyOut, false}};
    // Another program's categories are read for their form only.
    std::wstring elsewhere[kPrograms][4];
    for (int p = 0; p < kPrograms; ++p) {
        bool mine = p == static_cast<int>(program);
        std::wstring* values[] = {&n.standard, &n.reduced, &n.exempt, &n.outside};
        const wchar_t* names[] = {L"Standard", L"Reduced", L"Exempt", L"Outside"};
        for (int i = 0; i < 4; ++i)
            keys.push_back({kPrograms_[p].key + std::wstring(names[i]), mine ? values[i] : &elsewhere[p][i], i < 2});
    }
    size_t begin = 0;
    while (begin < lines.size()) {
        size_t end = lines.find(L'\n', begin);
        if (end == std::wstring_view::npos) end = lines.size();
        std::wstring line(lines.substr(begin, end - begin));
        begin = end + 1;
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        if (line.empty()) continue;
        size_t equals = line.find(L'=');
        std::wstring name = line.substr(0, equals),
                     value = equals == std::wstring::npos ? L"" : line.substr(equals + 1);
        auto key = std::find_if(keys.begin(), keys.end(), [&](const Key& k) { return k.name == name; });
        const wchar_t* wrong = nullptr;
        if (key == keys.end())
            wrong = L"この名前の設定はありません";
        else if (!Sound(value))
            wrong = L"空か、カンマ・引用符・制御文字を含んでいます";
        else if (key->rated && value.find(kRate) == std::wstring::npos)
            wrong = L"税率の変わり目で誤らないよう、税率の位置に {rate} を入れて下さい";
        if (wrong)
            read.errors.push_back(L"[Books] " + line + L" : " + wrong);
        else
            *key->value = value;
    }
    return read;
}

std::vector<Entry> DayEntries(const ClosedDay& day, const BookNames& names,
                              const std::vector<std::wstring>& tenderNames) {
    const Period& p = day.period;
    const std::wstring date = DateOf(day.time), z = L"精算 No." + Number(day.z);
    std::vector<Entry> entries;
    // Sales less returns, per class and rate.
    std::vector<RateTotal> net = p.taxable;
    for (const RateTotal& back : p.returnTaxable) {
        auto same = std::find_if(net.begin(), net.end(), [&](const RateTotal& r) {
            return r.taxClass == back.taxClass && r.rate == back.rate;
        });
        if (same == net.end()) same = net.insert(net.end(), {back.taxClass, back.rate, 0, 0});
        same->amount -= back.amount;
        same->tax -= back.tax;
    }
    Entry sales{date, L"レジ売上 " + z, {}};
    Add(sales.lines, true, names.cash, L"", names.outside, p.CashTotal() - p.returnCash);
    for (int t = 0; t < regi::kMaxTenders; ++t) {
        std::wstring name = t < static_cast<int>(tenderNames.size()) && !tenderNames[t].empty()
                                ? tenderNames[t]
                                : L"支払い" + Number(t + 1);
        Add(sales.lines, true, names.receivable, name, names.outside, p.tenders[t].amount - p.refunds[t].amount);
    }
    for (const RateTotal& rate : net)
        Add(sales.lines, false, names.sales, L"",
            WithRate(rate.taxClass == regi::TaxClass::Reduced ? names.reduced : names.standard, rate.rate), rate.amount,
            rate.tax);
    Add(sales.lines, false, names.sales, L"", names.exempt, p.exempt - p.returnExempt);
    if (!sales.lines.empty()) entries.push_back(sales);
    if (p.moneyIn > 0)
        entries.push_back({date,
                           L"レジ入金 " + Number(p.moneyIns) + L"件 " + z,
                           {{true, names.cash, L"", names.outside, p.moneyIn, 0},
                            {false, names.moneyIn, L"", names.outside, p.moneyIn, 0}}});
    if (p.moneyOut > 0)
        entries.push_back({date,
                           L"レジ出金 " + Number(p.moneyOuts) + L"件 " + z,
                           {{true, names.moneyOut, L"", names.outside, p.moneyOut, 0},
                            {false, names.cash, L"", names.outside, p.moneyOut, 0}}});
    return entries;
}

std::wstring BookRows(Program program, const std::vector<Entry>& entries) {
    switch (program) {
    case Program::Yayoi: return YayoiRows(entries);
    case Program::Freee: return FreeeRows(entries);
    case Program::MoneyForward: return MoneyForwardRows(entries);
    }
    return {};
}

std::optional<std::vector<ClosedDay>> ReadClosedDays(Storage& storage, const std::wstring& path,
                                                     const std::vector<ByteRange>& partials,
                                                     const std::function<std::wstring(std::string_view)>& decode,
                                                     std::int64_t first, std::int64_t last) {
    std::int64_t size = 0;
    if (!storage.Size(path, size)) return std::nullopt;
    std::vector<ClosedDay> days;
    Period period;
    bool read = ReadForward(storage, path, size, [&](std::string_view line, std::int64_t, std::int64_t offset) {
        bool partial = std::any_of(partials.begin(), partials.end(),
                                   [offset](const ByteRange& r) { return offset >= r.begin && offset < r.end; });
        if (partial) return true;
        std::optional<Record> record =
            decode && !common::IsAscii(line) ? ParseRecord(common::ToUtf8(decode(line))) : ParseRecord(line);
        if (!record) return true;
        if (record->kind != Kind::Z) {
            period.Add(*record);
            return true;
        }
        if (record->z >= first && record->z <= last) days.push_back({record->z, record->time, period});
        period = Period();
        period.Add(*record);
        return record->z < last;
    });
    if (!read) return std::nullopt;
    return days;
}

}  // namespace journal
