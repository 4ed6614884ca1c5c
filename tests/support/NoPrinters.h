#pragma once
// Tests that print say which printers the machine has, so that none depends on
// the machine's printers or prints on them. Header only: the support library
// itself knows no receipts.
#include <string>
#include <vector>

#include "receipt/Printing.h"
#include "ui/Error.h"

namespace testing_support {

// No printer at all: the list is empty and every job is refused as the system
// refuses a job without a printer.
inline receipt::Printers NoPrinters() {
    return {[] { return std::vector<std::wstring>{}; },
            [](const receipt::Settings&, int) -> receipt::JobDC { throw ui::Error(receipt::kNoPrinter); },
            [](const std::wstring&) -> std::vector<receipt::PaperOffer> { throw ui::Error(receipt::kNoPrinter); },
            [](const std::wstring&, const std::string&, const std::wstring&) { throw ui::Error(receipt::kNoPrinter); }};
}

}  // namespace testing_support
