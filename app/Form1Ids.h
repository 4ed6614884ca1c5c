#pragma once
// Control and command IDs of the main window, named after its widgets, so that
// code and tests say Edit2 rather than a number.

namespace form1 {

enum Id : int {
    // Frame
    ToolBar1 = 100,
    PageControl1,
    StatusBar1,
    TabSheet1,
    TabSheet2,
    TabSheet3,

    // Commands of the menu and the tool bar
    Exit1 = 200,
    Contents1,
    SearchforHelpOn1,
    HowtoUseHelp1,
    About1,
    SpeedButton1,
    SpeedButton2,
    SpeedButton3,
    File1,
    Help2,

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

    // Timers of the main window: the greeting and the clock
    Timer1 = 400,
    Timer2,

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

    // The cash count page
    StringGrid2 = 600,
    SaNumEdit2,
    Label20,
    Label21,
    Label11,
    Button7,  // "記録から": the expected cash of the journal as the computed amount
    // The File menu's daily close
    TakeX = 700,
    TakeZ,
};

}  // namespace form1
