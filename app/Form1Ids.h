#pragma once
// Control and command IDs of the main window, named after its widgets, so that
// code and tests say Edit2 rather than a number. Each page names its own
// controls; form1:: reaches them too, since the window holds its pages.
#include "cashcount/CashCountPageIds.h"
#include "register/RegisterPageIds.h"
#include "settings/SettingsPageIds.h"

namespace form1 {

using namespace regi::ids;
using namespace cashcount::ids;
using namespace settings::ids;

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

    // Timers of the main window: the greeting and the clock
    Timer1 = 400,
    Timer2,

    // The File menu's daily close and the shop's settings
    TakeX = 700,
    TakeZ,
    ShopSettings1,
    SaveBooks1,  // the Z's for an accounting program

    // The register menu's cash put into the drawer and taken out, while the journal is on
    MoneyIn = 750,
    MoneyOut,

    // The File menu's sales history, while the journal is on
    SalesHistory = 780,
};

}  // namespace form1
