#pragma once
// The commands a receipt printer takes as raw bytes: opening the cash drawer
// plugged into it, and cutting the paper. Windows-free.
#include <string>

#include "receipt/Receipt.h"

namespace receipt {

// What opens the drawer in this mode: ESC/POS "ESC p m t1 t2" (pin 2 or 5, a
// 50 ms pulse, 500 ms off), Star line mode's BEL; nothing where the driver
// opens it or no drawer is opened.
std::string DrawerCommand(DrawerMode mode);

// What cuts the paper after a slip, when settings say so: Star line mode's
// "ESC d 3" for a Star printer, else ESC/POS "GS V 66 0" (feed to the cutter,
// partial cut); nothing when it is not cut.
std::string CutCommand(const Settings& settings);

// The sale took cash: it was paid in cash alone, or cash was handed over with
// the other tenders. Only then is the drawer opened, and "お預り" printed.
bool TookCash(const regi::SaleRecord& sale);

}  // namespace receipt
