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
    GroupBox6,  // receipts
    Label24,
    Label25,
    Label26,
    Label27,
    Label28,
    Edit5,
    Edit6,
    Edit7,
    ComboBox1,
    ComboBox2,
    Edit8,
    Button6,
    GroupBox7,  // the rate changes entered ahead
    ListBox1,
    Label29,
    Edit9,   // a change's day
    Edit10,  // its standard rate
    Label30,
    Edit11,     // its reduced rate
    Button8,    // adds it
    Button9,    // removes the change chosen in ListBox1
    Label31,    // the rates in force and the next change
    GroupBox8,  // the other tenders
    CheckBox4,
    Label32,  // the tenders' keys, one label each
    Label33,
    Label34,
    Label35,
    Edit12,  // the tenders' names, one edit each
    Edit13,
    Edit14,
    Edit15,
    Label36,  // the paper the receipt printer will use
    Label37,
    ComboBox3,  // how the cash drawer is opened
    CheckBox5,  // the paper is cut after each slip
};

}  // namespace settings::ids
