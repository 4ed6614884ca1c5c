#pragma once
// Control IDs of the settings page, named after its widgets.

namespace settings::ids {

enum Id : int {
    // The settings page
    GroupBox1 = 300,
    GroupBox2,
    GroupBox3,
    Edit2,
    Label12,
    Button1,
    Button2,
    Button3,
    Button4,
    CheckBox1,
    GroupBox4,  // the reduced rate and the class ENTER makes
    Edit3,
    Label22,
    CheckBox2,
    GroupBox5,  // the sales journal
    CheckBox3,
    Label23,
    Edit4,
    Button5,
    GroupBox9,  // the shop's settings, in a window of their own
    Label38,
    Button10,
};

}  // namespace settings::ids
