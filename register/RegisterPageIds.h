#pragma once
// Control IDs of the register page, named after its widgets, and the IDs of
// its commands in the main window's "レジ(&R)" menu.

namespace regi::ids {

enum Id : int {
    // The register page
    StringGrid1 = 500,
    SaNumEdit1,
    Bevel1,
    Label1,
    Label2,
    Label3,
    Label4,
    Label5,
    Label6,
    Label7,
    Label8,
    Label9,
    Label10,
    Label13,
    Label14,
    Label15,
    Label16,
    Label17,
    Label18,
    Label19,

    // The register menu: each item runs its key's command
    RegiEnter = 250,
    RegiReduced,
    RegiExempt,
    RegiQuantity,
    RegiVoid,
    RegiClearEntry,
    RegiCancel,
    RegiSettle,
    RegiClear,
    RegiTender1,  // the other tenders, one item each while offered
    RegiTender2,
    RegiTender3,
    RegiTender4,
    RegiDrawer,  // opens the cash drawer, no sale
    RegiDepartment,
    RegiLineYenOff,
    RegiLinePercentOff,
    RegiSubtotalYenOff,
    RegiSubtotalPercentOff,
    RegiPreset1,  // the discounts set ahead, one item each while set
    RegiPreset2,
    RegiPreset3,
    RegiPreset4,
    RegiReturn,   // 返品: against the sale whose number is keyed, else without a receipt
    RegiProduct,  // the product whose code is keyed (PLU)
};

}  // namespace regi::ids
