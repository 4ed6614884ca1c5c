#pragma once
// Tests that print say which printers the machine has, so that none depends on
// the machine's printers or prints on them. Header only: the support library
// itself knows no receipts.
#include <string>
#include <utility>
#include <vector>

#include "receipt/Printing.h"
#include "ui/Error.h"

namespace testing_support {

// While it lives there is no printer: the list is empty and every job is
// refused as the system refuses a job without a printer.
class NoPrinters {
public:
    NoPrinters()
        : previous_(receipt::SetPrinters(
              {[] { return std::vector<std::wstring>{}; },
               [](const receipt::Settings&, int) -> receipt::JobDC { throw ui::Error(receipt::kNoPrinter); },
               [](const std::wstring&) -> std::vector<receipt::PaperOffer> { throw ui::Error(receipt::kNoPrinter); },
               [](const std::wstring&, const std::string&, const std::wstring&) {
                   throw ui::Error(receipt::kNoPrinter);
               }})) {}
    ~NoPrinters() { receipt::SetPrinters(std::move(previous_)); }
    NoPrinters(const NoPrinters&) = delete;
    NoPrinters& operator=(const NoPrinters&) = delete;

private:
    receipt::Printers previous_;
};

}  // namespace testing_support
