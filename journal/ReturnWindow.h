#pragma once
// The windows of a return (返品). Against a sale: its lines, all picked at
// first, the lines gone back before shown as such; a line's number and Enter
// pick or leave it, Num * gives everything back in cash, Enter on no number
// records. Without a receipt: prices keyed as in a sale, Enter, F2 and Num +
// making lines of their classes (or of the department keyed), F3 taking the
// last one away, Enter on no price recording. Escape leaves, recording nothing.
#include <optional>
#include <string>
#include <vector>

#include "sale/Department.h"
#include "sale/Return.h"
#include "sale/Sale.h"
#include "ui/Gdi.h"
#include "ui/ModalWindow.h"

namespace journal {

class TReturnWindow : public ui::ModalWindow {
public:
    enum Id : int { SaleLabel = 100, LineList, LineLabel, LineEdit, CashCheck, TotalLabel, ReturnButton, CancelButton };

    TReturnWindow(regi::SaleRecord sale, regi::Returned before, regi::Departments departments,
                  std::vector<std::wstring> tenderNames);
    // The return as picked; nothing while it was not recorded with the button.
    const std::optional<regi::ReturnRecord>& Result() const { return result_; }
    const std::vector<int>& Picked() const { return picked_; }
    // Picks the line or leaves it; raises common::Error for a line the sale
    // has not or that went back before.
    void Toggle(int line);

protected:
    HWND FirstFocus() const override { return Control(LineEdit); }
    void Place(HWND owner) override;
    bool TakeKey(const MSG& msg) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool TakeReturnKey(const MSG& msg);
    regi::RefundTo RefundTo() const;
    void Refresh();
    void Record();

    regi::SaleRecord sale_;
    regi::Returned before_;
    regi::Departments departments_;
    std::vector<std::wstring> tenderNames_;
    std::vector<int> picked_;
    std::optional<regi::ReturnRecord> result_;
    ui::Font font_;
};

class TReturnEntryWindow : public ui::ModalWindow {
public:
    enum Id : int {
        PriceLabel = 100, PriceEdit, DepartmentLabel, DepartmentEdit, LineList, TotalLabel, ReturnButton, CancelButton
    };

    // rates: today's, ENTER's class and the departments.
    explicit TReturnEntryWindow(regi::Rates rates);
    const std::optional<regi::ReturnRecord>& Result() const { return result_; }
    // The price keyed as a line of its class (or of the department keyed);
    // raises common::Error for a price or department that does not read.
    void AddLine(regi::TaxClass taxClass);

protected:
    HWND FirstFocus() const override { return Control(PriceEdit); }
    void Place(HWND owner) override;
    bool TakeKey(const MSG& msg) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool TakeEntryKey(const MSG& msg);
    void Refresh();
    void Record();

    regi::Rates rates_;
    std::vector<regi::LineRecord> lines_;
    std::optional<regi::ReturnRecord> result_;
    ui::Font font_;
};

// A rate's percent, or common::Error in the operator's words when its box does not read.
std::int64_t PercentOf(const regi::Rate& rate);

}  // namespace journal
