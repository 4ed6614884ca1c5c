#pragma once
// The windows of a return (返品). Against a sale: its lines, all picked at
// first, the lines gone back before shown as such; a line's number and Enter
// pick or leave it, Num * gives everything back in cash, Enter on no number
// records. Without a receipt: prices keyed as in a sale, Enter, F2 and Num +
// making lines of their classes (or of the department keyed), F3 taking the
// last one away, Enter on no price recording; Enter also rings a product's
// code, keyed or scanned. Escape leaves, recording nothing.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
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

    // What digits keyed or scanned ring, as on the register (see catalog::ReadCode).
    using ReadCode = std::function<std::optional<regi::CodeRing>(std::string_view digits, bool productKey)>;

    // rates: today's, ENTER's class and the departments; readCode, when
    // given, lets Enter ring a product by its code.
    explicit TReturnEntryWindow(regi::Rates rates, ReadCode readCode = {});
    const std::optional<regi::ReturnRecord>& Result() const { return result_; }
    // The price keyed as a line of its class (or of the department keyed),
    // or with Enter a product's code as its line; raises common::Error for a
    // price, department or code that does not read.
    void AddLine(regi::TaxClass taxClass, bool enter);

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
    ReadCode readCode_;
    std::vector<regi::LineRecord> lines_;
    std::optional<regi::ReturnRecord> result_;
    ui::Font font_;
};

// A rate's percent, or common::Error in the operator's words when its box does not read.
std::int64_t PercentOf(const regi::Rate& rate);

}  // namespace journal
