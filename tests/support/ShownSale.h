#pragma once
// A sale together with what the register page shows of it, for the tests that
// read the screen's texts without windows.
#include <string>

#include "register/SaleView.h"

namespace regi {

class ShownSale : public TSale {
public:
    std::wstring Cell(int col, int row) const { return CellText(*this, col, row); }
    std::wstring Caption(Label label) const { return CaptionText(*this, label); }
    std::wstring TaxTip() const { return TaxTipText(*this); }
};

}  // namespace regi
