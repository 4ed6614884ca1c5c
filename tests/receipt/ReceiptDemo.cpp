// The receipt preview with a sample sale, to be looked at by a person (and
// photographed for the README); not part of the program.
#include <windows.h>

#include "receipt/Preview.h"
#include "tests/support/SettledSale.h"
#include "ui/App.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    ui::App().SetTitle(L"Pelmora");
    using regi::TaxClass;
    regi::SaleRecord sale = testing_support::SettledSale({{TaxClass::Reduced, 1080, 1, 1080},
                                                          {TaxClass::Standard, 1100, 1, 1100},
                                                          {TaxClass::Reduced, 198, 3, 594},
                                                          {TaxClass::Exempt, 300, 1, 300},
                                                          {TaxClass::Standard, -100, 1, -100}},
                                                         5000, 128, L"2026-12-08T21:07:56");

    receipt::Settings settings;
    settings.shop = L"青葉商店";
    settings.address = L"東京都千代田区1-2-3 TEL 03-1234-5678";
    settings.registrationNumber = L"T1234567890123";
    settings.paperWidth = 80;
    receipt::TReceiptPreview preview(receipt::ReceiptLines(sale, settings, false), settings, receipt::SystemPrinters());
    preview.ShowModal(nullptr);
    return 0;
}
