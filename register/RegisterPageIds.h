#pragma once
// Control IDs of the register page, named after its widgets.

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
};

}  // namespace regi::ids
