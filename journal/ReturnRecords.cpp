#include "journal/ReturnRecords.h"

#include "common/Error.h"
#include "common/MessageText.h"

namespace journal {

namespace {

const wchar_t kIncompleteSale[] = L"No.%s の売上は記録の一部が読めないため、返品できません｡";

}  // namespace

std::vector<Record> ReturnRecords(const regi::ReturnRecord& giveBack) {
    std::vector<Record> records;
    for (const regi::ReturnLine& line : giveBack.lines) {
        Record record;
        record.kind = Kind::ReturnLine;
        record.sale = giveBack.sale;
        record.line = line.line;
        SetLine(record, line.record);
        record.subtotal = line.refund;
        records.push_back(record);
    }
    for (const regi::TenderPaid& paid : giveBack.tenders) {
        Record record;
        record.kind = Kind::Refund;
        record.sale = giveBack.sale;
        record.line = paid.tender;
        record.total = paid.amount;
        records.push_back(record);
    }
    Record record;
    record.kind = Kind::Return;
    record.sale = giveBack.sale;
    record.lines = static_cast<std::int64_t>(giveBack.lines.size());
    SetTaxes(record, giveBack.taxes);
    record.change = giveBack.Cash();
    record.note = giveBack.saleTime;
    records.push_back(record);
    return records;
}

ReturnableSale Returnable(const std::optional<FoundSale>& found, std::int64_t number) {
    const std::wstring keyed = std::to_wstring(number);
    if (!found) throw common::Error(common::FormatMessageText(regi::kNoSuchSale, keyed));
    if (found->cancelled) throw common::Error(common::FormatMessageText(regi::kCancelledSale, keyed));
    if (!found->complete) throw common::Error(common::FormatMessageText(kIncompleteSale, keyed));
    ReturnableSale returnable{found->sale, {}};
    for (const Record& record : found->later) {
        if (record.kind == Kind::ReturnLine && record.line >= 1 &&
            record.line <= static_cast<std::int64_t>(found->sale.lines.size()))
            returnable.returned.lines.push_back({static_cast<int>(record.line),
                                                 found->sale.lines[static_cast<size_t>(record.line - 1)],
                                                 record.subtotal});
        if (record.kind == Kind::Refund)
            returnable.returned.tenders.push_back({static_cast<int>(record.line), record.total});
    }
    if (regi::AllReturned(found->sale, returnable.returned))
        throw common::Error(common::FormatMessageText(regi::kAllReturned, keyed));
    return returnable;
}

regi::ReturnRecord ReturnOf(const std::vector<Record>& records) {
    regi::ReturnRecord giveBack;
    for (const Record& record : records) {
        if (record.kind == Kind::ReturnLine)
            giveBack.lines.push_back({static_cast<int>(record.line), LineOf(record), record.subtotal});
        if (record.kind == Kind::Refund) giveBack.tenders.push_back({static_cast<int>(record.line), record.total});
        if (record.kind != Kind::Return) continue;
        giveBack.number = record.sequence;
        giveBack.time = record.time;
        giveBack.sale = record.sale;
        giveBack.saleTime = record.note;
        giveBack.taxes = TaxesOf(record);
    }
    return giveBack;
}

}  // namespace journal
