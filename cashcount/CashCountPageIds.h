#pragma once
// Control IDs of the cash count page, named after its widgets.

namespace cashcount::ids {

enum Id : int {
    // The cash count page
    StringGrid2 = 600,
    SaNumEdit2,
    Label20,
    Label21,
    Label11,
    Button7,  // "記録から": the expected cash of the journal as the computed amount
};

}  // namespace cashcount::ids
