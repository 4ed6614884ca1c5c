#pragma once
// Control IDs of the about box, named after its widgets.

namespace versionbox {

enum Id : int {
    Bevel1 = 100,
    Image1,
    Image2,
    Label1,
    Label4,
    Label9,
    Label8,
    Label7,
    Label10,
    Label2,
    Label5,
    Label3,
    Button1,
};

}  // namespace versionbox
