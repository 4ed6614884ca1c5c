#include "sale/Sale.h"

#include <algorithm>

#include "common/MessageText.h"
#include "common/WholeNumber.h"

namespace regi {

const wchar_t kNotARealNumber[] = L"'%s' は浮動小数点数ではありません";
const wchar_t kCancelQuestion[] = L"この取引を中止しますか?";
const wchar_t kCancelPaidQuestion[] =
    L"この取引を中止しますか?\r\n受け取った支払いは返したものとして記録されます｡"
    L"カードなどの支払いは手で取り消して下さい｡";
const wchar_t kAboveDue[] = L"現金以外の支払いではお釣りを出せません｡\r\n残りは %s です｡";
const wchar_t kNegativeTender[] =
    L"現金以外の支払いは 1 円以上の金額で受けます｡\r\n合計がマイナスの取引 (返金) は 0 [/] "
    L"で精算すると、返金額が「釣　銭」に出ます｡";
const wchar_t kLinesPaid[] = L"支払いを受けた取引の明細は変えられません｡\r\nやり直すには F8 で取引を中止して下さい｡";
const wchar_t kDrawerInSale[] = L"取引の途中ではドロアを開けられません｡\r\n精算するか F8 で中止してから開けて下さい｡";
const std::wstring kGridFull =
    common::FormatMessageText(L"1回の売上に入れられるのは%s行までです｡\r\nこの売上を精算してから次の行を打って下さい｡",
                              std::to_wstring(kMaxLines));

const wchar_t kRateUnreadable[] =
    L"「%s」は税率として読めないため、税を計算できません。\r\n"
    L"設定のページで 0 から 99 までの整数にしてください（税をかけないときは空欄）。";
const wchar_t kNoSuchDepartment[] = L"部門 %s はありません｡\r\n設定の「部門」にある番号を打って下さい｡";
const wchar_t kNothingToDiscount[] = L"値引する行がありません｡\r\n行を打ってから値引して下さい｡";
const wchar_t kSettledDiscount[] = L"精算した取引は値引できません｡";
const wchar_t kDiscountNotPositive[] = L"値引は 1 円以上の金額で打って下さい｡";
const wchar_t kPercentOutside[] = L"割引は 1 から 99 までの % で打って下さい (打たれたのは %s)｡";
const wchar_t kDiscountAboveLine[] = L"値引が行の金額 %s を超えています｡";
const wchar_t kNegativeLineDiscount[] = L"金額が 0 以下の行は値引できません｡";
const wchar_t kSecondDiscount[] = L"この行はもう値引してあります｡\r\nやり直すには F3 で行を取り消して下さい｡";
const wchar_t kSecondSubtotalDiscount[] =
    L"この取引はもう小計値引してあります｡\r\nやり直すには F3 で小計値引を取り消して下さい｡";
const wchar_t kBelowZero[] = L"値引で合計 %s がマイナスになります｡";
const wchar_t kUnknownProduct[] = L"登録されていない商品です｡\r\nコード: %s";
const wchar_t kWrongCheckDigit[] =
    L"コード %s はチェックデジットが違います｡\r\nもう一度読み取るか、打ち直して下さい｡";
const wchar_t kWrongPriceCheckDigit[] =
    L"インストアコード %s は価格のチェックデジットが違います｡\r\n"
    L"ラベルを確かめ、設定の「商品」にあるインストアコードの形がラベルプリンターと同じか見て下さい｡";
const wchar_t kStandardRateBox[] = L"消費税率は";
const wchar_t kReducedRateBox[] = L"軽減税率は";

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

std::optional<Entry::Real> ReadReal(const std::wstring& text) {
    Entry::Real value;
    size_t i = 0;
    if (i < text.size() && text[i] == L'-') {
        value.negative = true;
        ++i;
    }
    bool digits = false;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        digits = true;
        if (value.whole < 1'000'000'000'000'000) value.whole = value.whole * 10 + (text[i] - L'0');
    }
    if (i < text.size() && text[i] == L'.') {
        for (++i; i < text.size() && IsDigit(text[i]); ++i) {
            digits = true;
            if (text[i] != L'0') value.fraction = true;
        }
    }
    if (!digits || i != text.size()) return std::nullopt;
    return value;
}

Outcome Failed(Refusal refusal, const std::wstring& refused = L"") {
    Outcome outcome;
    outcome.refusal = refusal;
    outcome.refused = refused;
    return outcome;
}

// The entry as a whole number within limit, as the line and quantity commands
// take it: a text that is no number says so, one beyond the limit does
// nothing, and a number with a fraction, which no cell could hold, says so.
struct Keyed {
    std::optional<std::int64_t> value;
    Outcome refusal;
};
Keyed ReadKeyed(const Entry& entry, std::int64_t limit) {
    if (!entry.real) return {std::nullopt, Failed(Refusal::NotARealNumber, entry.typed)};
    if (entry.real->Outside(limit)) return {std::nullopt, Outcome{}};
    if (!entry.whole) return {std::nullopt, Failed(Refusal::NotAnInteger, entry.typed)};
    return {entry.whole, Outcome{}};
}

// The refusal when a class the lines have needs a rate whose box does not read.
Outcome UnreadableRate(const std::vector<LineRecord>& lines, const Rates& rates) {
    for (const LineRecord& line : lines) {
        const Rate* rate = line.taxClass == TaxClass::Standard  ? &rates.standard
                           : line.taxClass == TaxClass::Reduced ? &rates.reduced
                                                                : nullptr;
        // The message names the box and its text: 「消費税率は」の「1O」.
        if (rate && !rate->percent) return Failed(Refusal::RateUnreadable, rate->box + L"」の「" + rate->text);
    }
    return Outcome{};
}

// A discount's yen or percent as keyed: a whole number of at least 1, and a
// percent at most kMaxPercentOff; nothing without an entry.
Keyed ReadDiscount(DiscountKind kind, const Entry& entry) {
    if (entry.Empty()) return {std::nullopt, Outcome{}};
    if (!entry.real) return {std::nullopt, Failed(Refusal::NotARealNumber, entry.typed)};
    bool percent = kind == DiscountKind::Percent;
    if (entry.real->negative || (entry.whole && *entry.whole < 1) || (percent && entry.real->Above(kMaxPercentOff)))
        return {std::nullopt, percent ? Failed(Refusal::PercentOutside, entry.typed)
                                      : Failed(Refusal::DiscountNotPositive)};
    if (entry.real->Above(kMaxSaleTotal)) return {std::nullopt, Failed(Refusal::OutOfRange, entry.typed)};
    if (!entry.whole) return {std::nullopt, Failed(Refusal::NotAnInteger, entry.typed)};
    return {entry.whole, Outcome{}};
}

}  // namespace

Command TenderCommand(int tender) { return static_cast<Command>(static_cast<int>(Command::Tender1) + tender - 1); }

int TenderOf(Command command) {
    int tender = static_cast<int>(command) - static_cast<int>(Command::Tender1) + 1;
    return tender >= 1 && tender <= kMaxTenders ? tender : 0;
}

Command PresetCommand(int preset) { return static_cast<Command>(static_cast<int>(Command::Preset1) + preset - 1); }

int PresetOf(Command command) {
    int preset = static_cast<int>(command) - static_cast<int>(Command::Preset1) + 1;
    return preset >= 1 && preset <= kMaxPresets ? preset : 0;
}

struct TSale::Priced {
    TaxTotals totals;
    std::optional<Discount> subtotal;
    ClassAmounts parts{0, 0, 0};
    Outcome refusal;
};

TSale::Priced TSale::Price(const std::vector<LineRecord>& lines, const std::optional<Discount>& subtotal,
                           const Rates& rates) const {
    Priced priced;
    priced.refusal = UnreadableRate(lines, rates);
    if (priced.refusal.Refused()) return priced;
    if (subtotal) {
        const ClassAmounts net = NetPerClass(lines);
        const std::int64_t total = net[0] + net[1] + net[2];
        priced.subtotal = subtotal;
        priced.subtotal->amount = DiscountYen(subtotal->kind, subtotal->keyed, total);
        // The total never goes below 0.
        if (total <= 0 || priced.subtotal->amount > total) {
            priced.refusal = Failed(Refusal::BelowZero, FormatMoney(total));
            return priced;
        }
        priced.parts = SplitDiscount(priced.subtotal->amount, net);
    }
    priced.totals =
        SumTaxes(lines, rates.standard.percent.value_or(0), rates.reduced.percent.value_or(0), priced.parts);
    return priced;
}

void TSale::Take(const Priced& priced) {
    totals_ = priced.totals;
    subtotalDiscount_ = priced.subtotal;
    subtotalParts_ = priced.parts;
}

std::vector<SaleRow> TSale::Rows() const {
    std::vector<SaleRow> rows;
    for (int i = 0; i < LineCount(); ++i) {
        rows.push_back({i, false});
        if (lines_[static_cast<size_t>(i)].record.discount) rows.push_back({i, true});
    }
    if (subtotalDiscount_) rows.push_back({-1, true});
    return rows;
}

int TSale::RowCount() const {
    int count = LineCount() + (subtotalDiscount_ ? 1 : 0);
    for (const SaleLine& line : lines_) count += line.record.discount ? 1 : 0;
    return count;
}

Rate::Rate(std::int64_t value) : percent(value), text(std::to_wstring(value)) {}

Rate Rate::Read(const std::wstring& text, const wchar_t* box) {
    Rate rate;
    rate.percent = ReadRate(text);
    rate.text = text;
    rate.box = box;
    return rate;
}

std::wstring Outcome::Message() const {
    const wchar_t* pattern = nullptr;
    switch (refusal) {
    case Refusal::None: return L"";
    case Refusal::NotARealNumber: pattern = kNotARealNumber; break;
    case Refusal::NotAnInteger: pattern = kNotAnInteger; break;
    case Refusal::OutOfRange: pattern = kOutOfRange; break;
    case Refusal::LinesPaid: pattern = kLinesPaid; break;
    case Refusal::GridFull: pattern = kGridFull.c_str(); break;
    case Refusal::AboveDue: pattern = kAboveDue; break;
    case Refusal::NegativeTender: pattern = kNegativeTender; break;
    case Refusal::RateUnreadable: pattern = kRateUnreadable; break;
    case Refusal::NoSuchDepartment: pattern = kNoSuchDepartment; break;
    case Refusal::NothingToDiscount: pattern = kNothingToDiscount; break;
    case Refusal::SettledDiscount: pattern = kSettledDiscount; break;
    case Refusal::DiscountNotPositive: pattern = kDiscountNotPositive; break;
    case Refusal::PercentOutside: pattern = kPercentOutside; break;
    case Refusal::DiscountAboveLine: pattern = kDiscountAboveLine; break;
    case Refusal::NegativeLineDiscount: pattern = kNegativeLineDiscount; break;
    case Refusal::SecondDiscount: pattern = kSecondDiscount; break;
    case Refusal::SecondSubtotalDiscount: pattern = kSecondSubtotalDiscount; break;
    case Refusal::BelowZero: pattern = kBelowZero; break;
    case Refusal::UnknownProduct: pattern = kUnknownProduct; break;
    case Refusal::WrongCheckDigit: pattern = kWrongCheckDigit; break;
    case Refusal::WrongPriceCheckDigit: pattern = kWrongPriceCheckDigit; break;
    }
    return common::FormatMessageText(pattern, refused);
}

Rates Rates::FromTexts(const std::wstring& standardText, const std::wstring& reducedText, bool enterReduced,
                       std::vector<std::wstring> tenderNames) {
    return Rates(Rate::Read(standardText, kStandardRateBox), Rate::Read(reducedText, kReducedRateBox), enterReduced,
                 std::move(tenderNames));
}

bool Rates::Offers(int tender) const {
    return tender >= 1 && tender <= kMaxTenders && static_cast<size_t>(tender) <= tenders.size() &&
           !tenders[static_cast<size_t>(tender - 1)].empty();
}

Entry::Entry(std::wstring text)
    : typed(std::move(text)),
      real(ReadReal(typed)),
      whole(common::ParseWholeNumber(typed, common::PlusSign::Refused)) {}

std::int64_t TSale::Due() const {
    std::int64_t due = totals_.Total();
    for (const TenderPaid& paid : paid_) due -= paid.amount;  // each at most what was due then
    return due;
}

std::wstring TSale::TenderName(int tender) const { return regi::TenderName(tenderNames_, tender); }

SaleState TSale::State() const {
    if (change_) return SaleState::Settled;
    return lines_.empty() ? SaleState::Empty : SaleState::Open;
}

std::optional<std::int64_t> TSale::KnownSalesTotal() const {
    if (recorder.salesTotal)
        if (std::optional<std::int64_t> journaled = recorder.salesTotal()) return journaled;
    return unjournaledTotal_;
}

int TSale::Row() const { return std::min(RowCount(), kRows - 1); }

std::vector<LineRecord> TSale::Lines() const {
    std::vector<LineRecord> lines;
    lines.reserve(lines_.size());
    for (const SaleLine& line : lines_) lines.push_back(line.record);
    return lines;
}

void TSale::Restore(const std::vector<LineRecord>& lines, const Rates& rates, const std::vector<TenderPaid>& paid,
                    const std::optional<Discount>& subtotalDiscount) {
    if (State() != SaleState::Empty || lines.empty()) return;
    for (const LineRecord& line : lines) {
        if (RowCount() + (line.discount ? 2 : 1) > kRows) break;
        lines_.push_back({line, std::to_wstring(line.unitPrice), std::to_wstring(line.quantity)});
    }
    // The lines come back whatever the rates: with a rate that does not read,
    // the amounts show and the next command says what is wrong.
    std::optional<Discount> subtotal = RowCount() < kRows ? subtotalDiscount : std::nullopt;
    Priced priced = Price(Lines(), subtotal, rates);
    if (priced.refusal.refusal == Refusal::RateUnreadable) priced = Price(Lines(), subtotal, Rates(0, 0));
    if (priced.refusal.Refused()) priced = Price(Lines(), std::nullopt, Rates(0, 0));
    Take(priced);
    tenderNames_ = rates.tenders;
    for (const TenderPaid& p : paid) {
        if (p.amount <= 0 || p.amount >= Due()) break;
        paid_.push_back(p);
    }
}

Outcome TSale::Run(Command command, const Entry& entry, const Rates& rates) {
    Outcome outcome;
    switch (command) {
    case Command::ClearEntry:
        armedDepartment_ = kClassDepartment;
        outcome.acted = true;
        return outcome;
    case Command::NextCustomer: return State() == SaleState::Settled ? Clear() : outcome;
    // Corrections act on an open sale, with or without a keyed number.
    case Command::Void:
        if (State() != SaleState::Open) return outcome;
        return paid_.empty() ? Void(entry, rates) : Failed(Refusal::LinesPaid);
    case Command::Cancel: outcome.askCancel = State() == SaleState::Open; return outcome;
    default: break;
    }
    if (int tender = TenderOf(command)) return rates.Offers(tender) ? Pay(tender, entry, rates) : outcome;
    if (int preset = PresetOf(command)) {
        if (static_cast<size_t>(preset) > rates.presets.size() || rates.presets[preset - 1].keyed <= 0) return outcome;
        const Discount& set = rates.presets[static_cast<size_t>(preset - 1)];
        return LineDiscount(set.kind, entry, set.keyed, rates);
    }
    switch (command) {
    case Command::LineYenOff: return LineDiscount(DiscountKind::Yen, entry, std::nullopt, rates);
    case Command::LinePercentOff: return LineDiscount(DiscountKind::Percent, entry, std::nullopt, rates);
    case Command::SubtotalYenOff: return WholeSaleDiscount(DiscountKind::Yen, entry, rates);
    case Command::SubtotalPercentOff: return WholeSaleDiscount(DiscountKind::Percent, entry, rates);
    default: break;
    }
    if (entry.Empty()) return outcome;
    TaxClass enterClass = rates.enterMakesReduced ? TaxClass::Reduced : TaxClass::Standard;
    TaxClass otherClass = rates.enterMakesReduced ? TaxClass::Standard : TaxClass::Reduced;
    switch (command) {
    case Command::EnterLine: return NewLine(enterClass, entry, rates);
    case Command::OtherLine: return NewLine(otherClass, entry, rates);
    case Command::ExemptLine: return NewLine(TaxClass::Exempt, entry, rates);
    case Command::Quantity: return Quantity(entry, rates);
    case Command::Settle: return Settle(entry, rates);
    case Command::ArmDepartment: return Arm(entry, rates);
    default: return outcome;
    }
}

Outcome TSale::RunDepartment(int number, const Entry& entry, const Rates& rates) {
    if (entry.Empty() || State() == SaleState::Settled) return Outcome{};
    const Department* department = rates.departments.Find(number);
    if (!department) return Failed(Refusal::NoSuchDepartment, std::to_wstring(number));
    return NewLine(department->taxClass, entry, rates, number);
}

CodeLine LineOfCode(const CodeRing& ring, const Departments& departments) {
    switch (ring.kind) {
    case CodeRing::Kind::Unknown: return {std::nullopt, Failed(Refusal::UnknownProduct, ring.shown)};
    case CodeRing::Kind::WrongCheckDigit: return {std::nullopt, Failed(Refusal::WrongCheckDigit, ring.shown)};
    case CodeRing::Kind::WrongPriceCheckDigit:
        return {std::nullopt, Failed(Refusal::WrongPriceCheckDigit, ring.shown)};
    case CodeRing::Kind::Product: break;
    }
    const ProductLine& product = ring.product;
    // The shop may have taken the department away since the file was read.
    const Department* department = departments.Find(product.department);
    if (!department) return {std::nullopt, Failed(Refusal::NoSuchDepartment, std::to_wstring(product.department))};
    LineRecord line{department->taxClass, product.price, 1, product.price, product.department};
    line.product = product.code;
    line.name = product.name;
    return {line, Outcome{}};
}

Outcome TSale::RunCode(const CodeRing& ring, const Rates& rates) {
    if (State() == SaleState::Settled) return Outcome{};
    const CodeLine rung = LineOfCode(ring, rates.departments);
    if (!rung.line) return rung.refusal;
    armedDepartment_ = kClassDepartment;  // a product goes to its own department
    return NewLine(rung.line->taxClass, Entry(std::to_wstring(rung.line->unitPrice)), rates, rung.line->department,
                   &ring.product);
}

Outcome TSale::Arm(const Entry& entry, const Rates& rates) {
    if (State() == SaleState::Settled) return Outcome{};
    if (!paid_.empty()) return Failed(Refusal::LinesPaid);
    if (!entry.whole || !rates.departments.Find(static_cast<int>(std::clamp<std::int64_t>(*entry.whole, -1, 100))))
        return Failed(Refusal::NoSuchDepartment, entry.typed);
    armedDepartment_ = static_cast<int>(*entry.whole);
    Outcome outcome;
    outcome.acted = true;
    return outcome;
}

Outcome TSale::NewLine(TaxClass taxClass, const Entry& entry, const Rates& rates, int department,
                       const ProductLine* product) {
    if (State() == SaleState::Settled) return Outcome{};
    if (!paid_.empty()) return Failed(Refusal::LinesPaid);
    // An armed department takes the line whichever key rang it, in its own class.
    if (department == kClassDepartment && armedDepartment_ != kClassDepartment) {
        const Department* armed = rates.departments.Find(armedDepartment_);
        if (!armed) return Failed(Refusal::NoSuchDepartment, std::to_wstring(armedDepartment_));
        department = armed->number;
        taxClass = armed->taxClass;
    }
    Keyed price = ReadKeyed(entry, kMaxPrice);
    if (!price.value) return price.refusal;
    // A full grid refuses the line and says why; the entry stays for later.
    if (RowCount() == kRows) return Failed(Refusal::GridFull);
    std::vector<LineRecord> lines = Lines();
    lines.push_back({taxClass, *price.value, 1, *price.value, department});
    if (product) {
        lines.back().product = product->code;
        lines.back().name = product->name;
    }
    Priced priced = Price(lines, subtotalDiscount_, rates);
    if (priced.refusal.Refused()) return priced.refusal;
    lines_.push_back({lines.back(), entry.typed, L"1"});
    Take(priced);
    armedDepartment_ = kClassDepartment;
    Outcome outcome;
    outcome.acted = true;
    return outcome;
}

// A discount off the last line: as keyed, or a preset's (the entry then stays).
Outcome TSale::LineDiscount(DiscountKind kind, const Entry& entry, std::optional<std::int64_t> preset,
                            const Rates& rates) {
    if (State() == SaleState::Empty) return Failed(Refusal::NothingToDiscount);
    if (State() == SaleState::Settled) return Failed(Refusal::SettledDiscount);
    if (!paid_.empty()) return Failed(Refusal::LinesPaid);
    Keyed keyed{preset, Outcome{}};
    if (!preset) keyed = ReadDiscount(kind, entry);
    if (!keyed.value) return keyed.refusal;
    std::vector<LineRecord> lines = Lines();
    LineRecord& last = lines.back();
    if (last.subtotal <= 0) return Failed(Refusal::NegativeLineDiscount);
    if (last.discount) return Failed(Refusal::SecondDiscount);
    if (kind == DiscountKind::Yen && *keyed.value > last.subtotal)
        return Failed(Refusal::DiscountAboveLine, FormatMoney(last.subtotal));
    if (RowCount() == kRows) return Failed(Refusal::GridFull);
    last.discount = Discount{kind, *keyed.value, DiscountYen(kind, *keyed.value, last.subtotal)};
    Priced priced = Price(lines, subtotalDiscount_, rates);
    if (priced.refusal.Refused()) return priced.refusal;
    lines_.back().record = last;
    Take(priced);
    Outcome outcome;
    outcome.acted = true;
    outcome.entryStays = preset.has_value();
    return outcome;
}

Outcome TSale::WholeSaleDiscount(DiscountKind kind, const Entry& entry, const Rates& rates) {
    if (State() == SaleState::Empty) return Failed(Refusal::NothingToDiscount);
    if (State() == SaleState::Settled) return Failed(Refusal::SettledDiscount);
    if (!paid_.empty()) return Failed(Refusal::LinesPaid);
    Keyed keyed = ReadDiscount(kind, entry);
    if (!keyed.value) return keyed.refusal;
    if (subtotalDiscount_) return Failed(Refusal::SecondSubtotalDiscount);
    if (RowCount() == kRows) return Failed(Refusal::GridFull);
    Priced priced = Price(Lines(), Discount{kind, *keyed.value, 0}, rates);
    if (priced.refusal.Refused()) return priced.refusal;
    Take(priced);
    Outcome outcome;
    outcome.acted = true;
    return outcome;
}

Outcome TSale::Quantity(const Entry& entry, const Rates& rates) {
    if (State() == SaleState::Empty) return Outcome{};
    Keyed quantity = ReadKeyed(entry, kMaxQuantity);
    if (!quantity.value) return quantity.refusal;
    if (State() == SaleState::Settled) return Outcome{};
    if (!paid_.empty()) return Failed(Refusal::LinesPaid);
    std::vector<LineRecord> lines = Lines();
    LineRecord& last = lines.back();
    last.quantity = *quantity.value;
    last.subtotal = last.unitPrice * last.quantity;  // both within their limits
    // A percent off follows the new subtotal; yen off must still fit in it.
    if (last.discount) {
        if (last.subtotal <= 0) return Failed(Refusal::NegativeLineDiscount);
        if (last.discount->amount > last.subtotal && last.discount->kind == DiscountKind::Yen)
            return Failed(Refusal::DiscountAboveLine, FormatMoney(last.subtotal));
        last.discount->amount = DiscountYen(last.discount->kind, last.discount->keyed, last.subtotal);
    }
    Priced priced = Price(lines, subtotalDiscount_, rates);
    if (priced.refusal.Refused()) return priced.refusal;
    lines_.back().record = last;
    lines_.back().keyedQuantity = entry.typed;
    Take(priced);
    Outcome outcome;
    outcome.acted = true;
    return outcome;
}

Outcome TSale::Settle(const Entry& entry, const Rates& rates) {
    if (!entry.real) return Failed(Refusal::NotARealNumber, entry.typed);
    if (entry.real->Above(kMaxTendered)) return Outcome{};
    if (!entry.whole) return Failed(Refusal::NotAnInteger, entry.typed);
    if (State() == SaleState::Empty) return Outcome{};
    // Below the register's limits the change could not be computed.
    if (*entry.whole < -kMaxTendered) return Failed(Refusal::OutOfRange, entry.typed);
    std::int64_t change = *entry.whole - Due();
    if (change < 0 || State() == SaleState::Settled) return Outcome{};
    Outcome outcome = Finish(*entry.whole, change, paid_, rates);
    outcome.entryStays = outcome.acted;
    return outcome;
}

// An amount for another tender: the entry, or with none all that is due. It
// never gives change, and it settles the sale once nothing is due.
Outcome TSale::Pay(int tender, const Entry& entry, const Rates& rates) {
    if (State() != SaleState::Open) return Outcome{};
    std::int64_t due = Due();
    std::int64_t amount = due;
    if (!entry.Empty()) {
        if (!entry.real) return Failed(Refusal::NotARealNumber, entry.typed);
        if (entry.real->Below(0)) return Failed(Refusal::NegativeTender);
        if (entry.real->Above(kMaxTendered)) return Failed(Refusal::OutOfRange, entry.typed);
        if (!entry.whole) return Failed(Refusal::NotAnInteger, entry.typed);
        amount = *entry.whole;
    }
    // A sale of nothing or less is settled in cash, with `/`.
    if (amount <= 0 || due <= 0) return Outcome{};
    if (amount > due) return Failed(Refusal::AboveDue, FormatMoney(due));
    std::vector<TenderPaid> paid = paid_;
    auto same = std::find_if(paid.begin(), paid.end(), [tender](const TenderPaid& p) { return p.tender == tender; });
    if (same == paid.end())
        paid.push_back({tender, amount});
    else
        same->amount += amount;  // both within what is due
    if (amount == due) return Finish(0, 0, std::move(paid), rates);
    tenderNames_ = rates.tenders;
    paid_ = std::move(paid);
    Outcome outcome;
    outcome.acted = true;
    return outcome;
}

Outcome TSale::Finish(std::int64_t tendered, std::int64_t change, std::vector<TenderPaid> paid, const Rates& rates) {
    SaleRecord record;
    record.lines = Lines();
    Priced priced = Price(record.lines, subtotalDiscount_, rates);
    if (priced.refusal.Refused()) return priced.refusal;
    record.taxes = priced.totals;
    record.subtotalDiscount = priced.subtotal;
    record.subtotalParts = priced.parts;
    record.tendered = tendered;
    record.change = change;
    record.tenders = std::move(paid);
    if (!CheckedAdd(SalesTotal(), record.taxes.Total()))
        return Failed(Refusal::OutOfRange, FormatMoney(record.taxes.Total()));
    // The sale is kept first: a recorder that cannot keep it stops the settlement.
    if (recorder.settling) recorder.settling(record);
    // Not kept by a journal now, so not before either: the total checked above was this one.
    if (!recorder.salesTotal || !recorder.salesTotal())
        unjournaledTotal_ = unjournaledTotal_.value_or(0) + record.taxes.Total();
    tenderNames_ = rates.tenders;
    Take(priced);
    paid_ = record.tenders;
    lastSettled_ = record;
    change_ = change;
    Outcome outcome;
    outcome.acted = true;
    return outcome;
}

Outcome TSale::Void(const Entry& entry, const Rates& rates) {
    Outcome outcome;
    // The discount on the whole sale is the last row: F3 alone takes it back.
    if (entry.Empty() && subtotalDiscount_) {
        Priced priced = Price(Lines(), std::nullopt, rates);
        if (priced.refusal.Refused()) return priced.refusal;
        Take(priced);
        outcome.acted = true;
        return outcome;
    }
    int count = LineCount();
    int number = count;
    if (!entry.Empty()) {
        if (!entry.whole || *entry.whole < 1 || *entry.whole > count) return outcome;
        number = static_cast<int>(*entry.whole);
    }
    std::vector<LineRecord> lines = Lines();
    lines.erase(lines.begin() + (number - 1));
    // The last line gone, the sale goes with its discount.
    Priced priced = Price(lines, lines.empty() ? std::nullopt : subtotalDiscount_, rates);
    if (priced.refusal.Refused()) return priced.refusal;
    if (recorder.voiding) recorder.voiding(number, lines_[static_cast<size_t>(number - 1)].record);
    // The lines below move up and take their new numbers.
    lines_.erase(lines_.begin() + (number - 1));
    outcome.acted = true;
    if (lines_.empty())
        ClearSale();
    else
        Take(priced);
    return outcome;
}

Outcome TSale::Cancel() {
    Outcome outcome;
    if (State() != SaleState::Open) return outcome;
    if (!paid_.empty() && recorder.cancellingPaid)
        recorder.cancellingPaid(Lines(), totals_.Total(), paid_);
    else if (recorder.cancelling)
        recorder.cancelling(Lines(), totals_.Total());
    ClearSale();
    outcome.acted = true;
    return outcome;
}

void TSale::ClearSale() {
    lines_.clear();
    subtotalDiscount_.reset();
    subtotalParts_ = {0, 0, 0};
    armedDepartment_ = kClassDepartment;
    totals_ = TaxTotals();
    change_.reset();
    paid_.clear();
}

Outcome TSale::Clear() {
    Outcome outcome;
    ClearSale();
    outcome.acted = true;
    return outcome;
}

}  // namespace regi
