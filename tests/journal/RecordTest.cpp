#include <gtest/gtest.h>

#include <climits>

#include "journal/Record.h"
#include "sale/Department.h"
#include "sale/Money.h"
#include "tests/journal/Rows.h"

using namespace journal;
using namespace journal_test;
using regi::TaxClass;

namespace {

const std::string kTime = "2026-12-08T21:07:56";

Record Numbered(std::int64_t seq, Kind kind) {
    Record r;
    r.sequence = seq;
    r.time = std::wstring(kTime.begin(), kTime.end());
    r.kind = kind;
    return r;
}

struct FormatCase {
    Record record;
    Fields fields;
};

std::vector<FormatCase> EveryKind() {
    std::vector<FormatCase> cases;
    Record line = Numbered(1, Kind::Line);
    line.sale = 7, line.line = 2, line.taxClass = TaxClass::Reduced, line.unitPrice = 540, line.quantity = 3,
    line.subtotal = 1620;
    cases.push_back({line,
                     {{"seq", "1"},
                      {"time", kTime},
                      {"kind", "line"},
                      {"sale", "7"},
                      {"line", "2"},
                      {"class", "reduced"},
                      {"unit price", "540"},
                      {"quantity", "3"},
                      {"subtotal", "1620"}}});
    Record negative = line;
    negative.taxClass = TaxClass::Exempt, negative.unitPrice = -9'999'999, negative.quantity = 999,
    negative.subtotal = -9'989'999'001;
    cases.push_back({negative,
                     {{"seq", "1"},
                      {"time", kTime},
                      {"kind", "line"},
                      {"sale", "7"},
                      {"line", "2"},
                      {"class", "exempt"},
                      {"unit price", "-9999999"},
                      {"quantity", "999"},
                      {"subtotal", "-9989999001"}}});
    Record sale = Numbered(123456789012, Kind::Sale);
    sale.sale = 7, sale.lines = 3, sale.standardRate = 10, sale.standardAmount = 1100, sale.standardTax = 100,
    sale.reducedRate = 8, sale.reducedAmount = 1620, sale.reducedTax = 120, sale.exemptAmount = -300, sale.total = 2420,
    sale.tendered = 5000, sale.change = 2580;
    cases.push_back({sale,
                     {{"seq", "123456789012"},
                      {"time", kTime},
                      {"kind", "sale"},
                      {"sale", "7"},
                      {"lines", "3"},
                      {"standard rate", "10"},
                      {"standard amount", "1100"},
                      {"standard tax", "100"},
                      {"reduced rate", "8"},
                      {"reduced amount", "1620"},
                      {"reduced tax", "120"},
                      {"exempt", "-300"},
                      {"total", "2420"},
                      {"tendered", "5000"},
                      {"change", "2580"}}});
    Record voided = Numbered(9, Kind::Void);
    voided.sale = 8, voided.line = 1, voided.taxClass = TaxClass::Standard, voided.unitPrice = 250, voided.quantity = 2,
    voided.subtotal = 500;
    cases.push_back({voided,
                     {{"seq", "9"},
                      {"time", kTime},
                      {"kind", "void"},
                      {"sale", "8"},
                      {"line", "1"},
                      {"class", "standard"},
                      {"unit price", "250"},
                      {"quantity", "2"},
                      {"subtotal", "500"}}});
    Record cancel = Numbered(10, Kind::Cancel);
    cancel.sale = 8, cancel.lines = 4, cancel.total = -70;
    cases.push_back(
        {cancel,
         {{"seq", "10"}, {"time", kTime}, {"kind", "cancel"}, {"sale", "8"}, {"lines", "4"}, {"total", "-70"}}});
    for (Kind kind : {Kind::X, Kind::Z}) {
        Record report = Numbered(11, kind);
        report.sale = 8, report.lines = 30, report.standardAmount = 11000, report.standardTax = 1000,
        report.reducedAmount = 1080, report.reducedTax = 80, report.exemptAmount = 300, report.total = 12380,
        report.sales = 5, report.voids = 2, report.voidAmount = 750, report.cancels = 1, report.cancelAmount = -70,
        report.negatives = 3, report.negativeAmount = -450, report.cashFloat = 30000, report.expectedCash = 42380;
        Fields fields = {{"seq", "11"},
                         {"time", kTime},
                         {"kind", kind == Kind::X ? "x" : "z"},
                         {"sale", "8"},
                         {"lines", "30"},
                         {"standard amount", "11000"},
                         {"standard tax", "1000"},
                         {"reduced amount", "1080"},
                         {"reduced tax", "80"},
                         {"exempt", "300"},
                         {"total", "12380"},
                         {"sales", "5"},
                         {"voids", "2"},
                         {"void amount", "750"},
                         {"cancels", "1"},
                         {"cancel amount", "-70"},
                         {"negative lines", "3"},
                         {"negative amount", "-450"},
                         {"float", "30000"},
                         {"expected cash", "42380"}};
        if (kind == Kind::Z) {
            report.z = 12;
            fields.push_back({"z", "12"});
        }
        cases.push_back({report, fields});
    }
    // A tender a sale took and one a cancel gave back: the sale, the tender's number and the amount.
    for (Kind kind : {Kind::Tender, Kind::Returned}) {
        Record paid = Numbered(12, kind);
        paid.sale = 9, paid.line = 3, paid.total = 4400;
        cases.push_back({paid,
                         {{"seq", "12"},
                          {"time", kTime},
                          {"kind", kind == Kind::Tender ? "tender" : "returned"},
                          {"sale", "9"},
                          {"line", "3"},
                          {"total", "4400"}}});
    }
    for (Kind kind : {Kind::In, Kind::Out}) {
        Record money = Numbered(13, kind);
        money.total = 5000;
        cases.push_back(
            {money, {{"seq", "13"}, {"time", kTime}, {"kind", kind == Kind::In ? "in" : "out"}, {"total", "5000"}}});
    }
    cases.push_back({Numbered(14, Kind::Drawer), {{"seq", "14"}, {"time", kTime}, {"kind", "drawer"}}});
    return cases;
}

TEST(JournalRecord, TheHeaderNamesEveryColumnOnce) {
    EXPECT_EQ(std::string(kHeader), kColumnNames);
    EXPECT_EQ(std::string(kByteOrderMark), kBom);
}

TEST(JournalRecord, EachKindWritesItsFieldsAndReadsBack) {
    for (const FormatCase& c : EveryKind()) {
        std::string expected = Row(c.fields);
        SCOPED_TRACE(expected);
        EXPECT_EQ(FormatRecord(c.record), expected);
        std::optional<Record> back = ParseRecord(expected);
        ASSERT_TRUE(back);
        EXPECT_EQ(FormatRecord(*back), expected);
        EXPECT_EQ(back->sequence, c.record.sequence);
        EXPECT_TRUE(back->kind == c.record.kind);
        EXPECT_EQ(back->sale, c.record.sale);
        EXPECT_EQ(back->subtotal, c.record.subtotal);
        EXPECT_EQ(back->total, c.record.total);
        EXPECT_EQ(back->z, c.record.z);
    }
}

TEST(JournalRecord, FieldsOtherKindsUseStayEmptyWhateverTheRecordHolds) {
    Record line = EveryKind()[0].record;
    line.tendered = 5000;  // not a line's field
    line.z = 3;
    EXPECT_EQ(FormatRecord(line), Row(EveryKind()[0].fields));
}

TEST(JournalRecord, QuotedFieldsAsSpreadsheetsWriteThemReadTheSame) {
    std::string plain = Row(EveryKind()[0].fields);
    std::string quoted = "\"1\",\"" + kTime + "\",\"line\"" + plain.substr(plain.find(",line") + 5);
    std::optional<Record> back = ParseRecord(quoted);
    ASSERT_TRUE(back);
    EXPECT_EQ(FormatRecord(*back), plain);
}

TEST(JournalRecord, MoneyInAndOutCarryTheirNoteAfterTheLastColumn) {
    Record in = Numbered(3, Kind::In);
    in.total = 5000;
    in.note = L"両替, \"100円\"";
    const std::string bare = Row({{"seq", "3"}, {"time", kTime}, {"kind", "in"}, {"total", "5000"}});
    const std::string noted =
        bare.substr(0, bare.size() - 2) + ",\"\xE4\xB8\xA1\xE6\x9B\xBF, \"\"100\xE5\x86\x86\"\"\"\r\n";
    EXPECT_EQ(FormatRecord(in), noted);
    in.note.clear();
    EXPECT_EQ(FormatRecord(in), bare) << "no note, no field";

    const std::string sale = Row(EveryKind()[2].fields);
    const struct {
        std::string line;
        bool reads;
        std::wstring note;
    } cases[] = {
        {noted, true, L"両替, \"100円\""},
        {bare.substr(0, bare.size() - 2) + ",\r\n", true, L""},  // a spreadsheet's empty column
        {sale.substr(0, sale.size() - 2) + ",\r\n", true, L""},
        {sale.substr(0, sale.size() - 2) + ",x\r\n", false, L""},
        {bare.substr(0, bare.size() - 2) + ",\x97\xBC\x91\xD6\r\n", true, L"\uFFFD\uFFFD\uFFFD\uFFFD"},  // Shift_JIS
        {bare.substr(0, bare.size() - 2) + ",a,\r\n", true, L"a"},    // and the departments' empty column
        {bare.substr(0, bare.size() - 2) + ",a,2\r\n", false, L""},   // money has no department
        {bare.substr(0, bare.size() - 2) + ",a,,\r\n", true, L"a"},   // and the products' empty column
        {bare.substr(0, bare.size() - 2) + ",a,,1\r\n", false, L""},  // money has no product
        {bare.substr(0, bare.size() - 2) + ",a,,,\r\n", true, L"a"},  // and the chain's empty column
        {bare.substr(0, bare.size() - 2) + ",a,,,,\r\n", false, L""},
    };
    for (const auto& c : cases) {
        std::optional<Record> back = ParseRecord(c.line);
        EXPECT_EQ(back.has_value(), c.reads) << c.line;
        if (back) {
            EXPECT_EQ(back->note, c.note) << c.line;
        }
    }
}

TEST(JournalRecord, ANoteIsOneLineOfAtMostFortyCharacters) {
    const struct {
        std::wstring typed, kept;
    } cases[] = {
        {L"  仕入れ 山田商店\u3000", L"仕入れ 山田商店"},
        {L"a\tb\r\nc", L"a b  c"},
        {L" \t ", L""},
        {std::wstring(41, L'円'), std::wstring(40, L'円')},
    };
    for (const auto& c : cases) EXPECT_EQ(CleanNote(c.typed), c.kept);
}

TEST(JournalRecord, JunkAndLinesCutShortReadAsNothing) {
    Fields line = EveryKind()[0].fields;
    auto with = [&](const std::string& name, const std::string& value) {
        Fields changed = line;
        bool found = false;
        for (auto& field : changed)
            if (field.first == name) field.second = value, found = true;
        if (!found) changed.push_back({name, value});
        return Row(changed);
    };
    std::string valid = Row(line);
    const std::string junk[] = {
        "",
        "\r\n",
        std::string(kColumnNames) + "\r\n",
        valid.substr(0, valid.size() - 2),
        valid.substr(0, valid.size() - 2) + ",,,,,\r\n",
        valid.substr(0, valid.size() - 2) + ",,100\r\n",
        valid.substr(valid.find(',') + 1),
        with("seq", "0"),
        with("seq", "-1"),
        with("seq", "abc"),
        with("seq", ""),
        with("time", "2026-12-08T21:07:5x"),
        with("kind", "Line"),
        with("kind", "refund"),
        with("class", "Standard"),
        with("class", "8"),
        with("unit price", " 540"),
        with("unit price", "+540"),
        with("unit price", "5e2"),
        with("unit price", "540.0"),
        with("unit price", "-"),
        with("unit price", "1234567890123456789"),
        with("subtotal", ""),
        with("tendered", "0"),
        with("z", "1"),
        "\"1," + valid.substr(2),
        "\"1\"x" + valid.substr(1),
        "1,\"" + kTime + valid.substr(2 + kTime.size()),
        std::string("\0", 1) + valid,
    };
    for (const std::string& text : junk) EXPECT_FALSE(ParseRecord(text)) << text;
    // A power cut can end a line anywhere; one that leaves all but the LF of
    // CRLF leaves a whole record with a CR line end.
    for (const FormatCase& c : EveryKind()) {
        std::string row = Row(c.fields);
        for (size_t n = 0; n + 1 < row.size(); ++n) EXPECT_FALSE(ParseRecord(row.substr(0, n))) << row.substr(0, n);
    }
}

TEST(JournalRecord, NumbersBeyondWhatTheRegisterWritesReadAsNothing) {
    const std::vector<FormatCase> kinds = EveryKind();
    auto with = [&](size_t kind, const std::string& name, std::int64_t value) {
        Fields changed = kinds[kind].fields;
        for (auto& field : changed)
            if (field.first == name) field.second = N(value);
        return Row(changed);
    };
    struct Case {
        size_t kind;  // in EveryKind's order: line, line, sale, void, cancel, x, z
        const char* field;
        std::int64_t atLimit, beyond;
    };
    const Case cases[] = {
        {0, "unit price", regi::kMaxPrice, regi::kMaxPrice + 1},
        {0, "quantity", -regi::kMaxQuantity, -regi::kMaxQuantity - 1},
        {0, "subtotal", regi::kMaxPrice * regi::kMaxQuantity, regi::kMaxPrice * regi::kMaxQuantity + 1},
        {0, "line", regi::kMaxLines, regi::kMaxLines + 1},
        {0, "line", 1, 0},
        {0, "sale", 1, 0},
        {2, "lines", regi::kMaxLines, regi::kMaxLines + 1},
        {2, "standard amount", regi::kMaxSaleTotal, regi::kMaxSaleTotal + 1},
        {2, "exempt", -regi::kMaxSaleTotal, -regi::kMaxSaleTotal - 1},
        {2, "total", regi::kMaxSaleTotal, regi::kMaxSaleTotal + 1},
        {2, "tendered", regi::kMaxTendered, regi::kMaxTendered + 1},
        {2, "standard rate", INT32_MAX, std::int64_t{INT32_MAX} + 1},
        {3, "unit price", -regi::kMaxPrice, -regi::kMaxPrice - 1},
        {4, "total", -regi::kMaxSaleTotal, -regi::kMaxSaleTotal - 1},
        {4, "lines", 0, -1},
        {5, "sales", 0, -1},
        {6, "z", 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " of " + kinds[c.kind].fields[2].second);
        EXPECT_TRUE(ParseRecord(with(c.kind, c.field, c.atLimit)));
        EXPECT_FALSE(ParseRecord(with(c.kind, c.field, c.beyond)));
    }
}

// A return's seven tax columns are bounded each, as a sale's are.
TEST(JournalRecord, AReturnBeyondWhatTheRegisterWritesReadsAsNothing) {
    Record back = Numbered(20, Kind::Return);
    back.sale = 7, back.lines = 1, back.standardRate = 10, back.reducedRate = 8, back.total = 1100;
    for (auto column : {&Record::standardRate, &Record::reducedRate, &Record::standardAmount, &Record::standardTax,
                        &Record::reducedAmount, &Record::reducedTax, &Record::exemptAmount}) {
        const bool rate = column == &Record::standardRate || column == &Record::reducedRate;
        const std::int64_t limit = rate ? INT32_MAX : regi::kMaxSaleTotal;
        Record changed = back;
        changed.*column = -limit;
        EXPECT_TRUE(ParseRecord(FormatRecord(changed))) << limit;
        changed.*column = -limit - 1;
        EXPECT_FALSE(ParseRecord(FormatRecord(changed))) << limit;
    }
}

TEST(JournalRecord, EveryLineEndASpreadsheetWritesReadsTheSame) {
    std::string plain = Row(EveryKind()[2].fields);
    std::string fields = plain.substr(0, plain.size() - 2);
    for (const char* ending : {"\r\n", "\n", "\r"}) {
        std::optional<Record> back = ParseRecord(fields + ending);
        ASSERT_TRUE(back) << ending;
        EXPECT_EQ(FormatRecord(*back), plain);
    }
    EXPECT_FALSE(ParseRecord(fields));
    EXPECT_EQ(LineEnding("a\r\n"), 2u);
    EXPECT_EQ(LineEnding("a\n"), 1u);
    EXPECT_EQ(LineEnding("a\r"), 1u);
    EXPECT_EQ(LineEnding("a"), 0u);
}

TEST(JournalRecord, TimesInTheFormsASpreadsheetWritesAreKeptInOurs) {
    const std::pair<const char*, const char*> read[] = {
        {"2026-12-08T21:07:56", "2026-12-08T21:07:56"}, {"2026-12-09 03:03:39", "2026-12-09T03:03:39"},
        {"2025/12/10 9:01", "2025-12-10T09:01:00"},     {"2025/12/10 9:01:05", "2025-12-10T09:01:05"},
        {"2025/1/2 0:00", "2025-01-02T00:00:00"},       {"2025-1-2T23:59:59", "2025-01-02T23:59:59"},
        {"2026-12-08T21:07", "2026-12-08T21:07:00"},
    };
    for (const auto& [text, ours] : read) {
        EXPECT_EQ(LocalTime(text).value_or("(none)"), ours) << text;
        Fields fields = EveryKind()[0].fields;
        fields[1].second = text;
        std::optional<Record> record = ParseRecord(Row(fields));
        ASSERT_TRUE(record) << text;
        EXPECT_EQ(record->time, std::wstring(ours, ours + 19));
    }
    for (const char* junk : {"", "2026", "2026-12-08", "2026-12/08 21:07", "2026-13-08 21:07", "2026-12-00 21:07",
                             "2026-12-32 21:07", "2026-12-08 24:00", "2026-12-08 21:60", "2026-12-08 21:7",
                             "2026-12-08 21:07:5", "2026-12-08 21:07:60", "26-12-08 21:07", "2026-12-08  21:07",
                             "2026-12-08 21:07 ", "2026-123-08 21:07", "2026.12.08 21:07", "2026-12-08 121:07"})
        EXPECT_FALSE(LocalTime(junk)) << junk;
}

regi::LineRecord L(TaxClass c, std::int64_t price, std::int64_t quantity) {
    return {c, price, quantity, price * quantity};
}

TEST(OpenSale, LinesComeBackAsTheyWereKept) {
    OpenSale sale{42,
                  {L(TaxClass::Standard, 1100, 1), L(TaxClass::Reduced, 540, 3), L(TaxClass::Exempt, -300, 1),
                   L(TaxClass::Standard, -9'999'999, -999), L(TaxClass::Reduced, 0, 0)}};
    sale.lines[2].department = regi::kMaxDepartment;
    std::string content = FormatOpenSale(sale);
    const std::string start =
        "sale,class,unit price,quantity,subtotal\r\n42,standard,1100,1,1100\r\n42,reduced,540,3,1620\r\n";
    EXPECT_EQ(content.substr(0, start.size()), start);
    std::optional<OpenSale> back = ParseOpenSale(content);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->sale, 42);
    ASSERT_EQ(back->lines.size(), sale.lines.size());
    for (size_t i = 0; i < sale.lines.size(); ++i) {
        EXPECT_TRUE(back->lines[i].taxClass == sale.lines[i].taxClass);
        EXPECT_EQ(back->lines[i].unitPrice, sale.lines[i].unitPrice);
        EXPECT_EQ(back->lines[i].quantity, sale.lines[i].quantity);
        EXPECT_EQ(back->lines[i].subtotal, sale.lines[i].subtotal);
        EXPECT_EQ(back->lines[i].department, sale.lines[i].department);
    }
    EXPECT_TRUE(back->paid.empty()) << "a file from before the tenders reads as unpaid";
    OpenSale full{1, std::vector<regi::LineRecord>(100, L(TaxClass::Standard, 1, 1))};
    EXPECT_TRUE(ParseOpenSale(FormatOpenSale(full)));

    // A partly paid sale keeps what each tender paid, after its lines.
    sale.paid = {{3, 3000}, {1, 1}};
    content = FormatOpenSale(sale);
    EXPECT_EQ(content.substr(content.size() - 39), "sale,tender,amount\r\n42,3,3000\r\n42,1,1\r\n");
    back = ParseOpenSale(content);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->paid, sale.paid);
}

TEST(OpenSale, ADamagedFileRestoresNothing) {
    const std::string header = "sale,class,unit price,quantity,subtotal\r\n";
    std::string hundredAndOne = header;
    for (int i = 0; i < 101; ++i) hundredAndOne += "3,standard,1,1,1\r\n";
    const std::string junk[] = {
        "",
        header,
        "3,standard,100,1,100\r\n",
        header + "3,standard,100,1,100",
        header + "3,standard,100,1,100\n",
        header + "3,standard,100,1,101\r\n",
        header + "3,standard,100,1,100\r\n4,standard,100,1,100\r\n",
        header + "0,standard,100,1,100\r\n",
        header + "3,standard,10000000,1,10000000\r\n",
        header + "3,standard,1,1000,1000\r\n",
        header + "3,Standard,100,1,100\r\n",
        header + "3,standard,100,1\r\n",
        header + "3,standard,100,1,100,\r\n",
        header + "3,standard,1e2,1,100\r\n",
        hundredAndOne,
        header + "sale,tender,amount\r\n3,1,100\r\n",
        header + "3,standard,100,1,100\r\nsale,tender,amount\r\n",
        header + "3,standard,100,1,100\r\nsale,tender,amount\r\n4,1,100\r\n",
        header + "3,standard,100,1,100\r\nsale,tender,amount\r\n3,5,100\r\n",
        header + "3,standard,100,1,100\r\nsale,tender,amount\r\n3,1,0\r\n",
        header + "3,standard,100,1,100\r\nsale,tender,amount\r\n3,1,50\r\n3,1,50\r\n",
        header + "3,standard,100,1,100\r\nsale,tender,amount\r\n3,1,100\r\n3,standard,100,1,100\r\n",
    };
    for (const std::string& content : junk) EXPECT_FALSE(ParseOpenSale(content)) << content;
    // Bytes of every value, and every cut of a sound file that is not at a line end.
    std::string noise;
    std::uint32_t seed = 12345;
    for (int i = 0; i < 4000; ++i) {
        seed = seed * 1103515245 + 12345;
        noise += static_cast<char>(seed >> 24);
        EXPECT_FALSE(ParseOpenSale(header + noise));
    }
    std::string sound = FormatOpenSale({5, {L(TaxClass::Standard, 100, 2), L(TaxClass::Exempt, 30, 1)}});
    for (size_t n = 0; n < sound.size(); ++n) {
        bool lineEnd = n > header.size() && sound.compare(n - 2, 2, "\r\n") == 0;
        if (!lineEnd) {
            EXPECT_FALSE(ParseOpenSale(sound.substr(0, n))) << n;
        }
    }
}

}  // namespace
