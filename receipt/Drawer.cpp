#include "receipt/Drawer.h"

namespace receipt {

std::string DrawerCommand(DrawerMode mode) {
    using namespace std::string_literals;
    switch (mode) {
    case DrawerMode::EscPosPin2: return "\x1b\x70\x00\x19\xfa"s;
    case DrawerMode::EscPosPin5: return "\x1b\x70\x01\x19\xfa"s;
    case DrawerMode::Star: return "\x07"s;
    case DrawerMode::Never:
    case DrawerMode::Driver: break;
    }
    return {};
}

std::string CutCommand(const Settings& settings) {
    using namespace std::string_literals;
    if (!settings.cut) return {};
    return settings.drawer == DrawerMode::Star ? "\x1b\x64\x03"s : "\x1d\x56\x42\x00"s;
}

bool TookCash(const regi::SaleRecord& sale) { return sale.tenders.empty() || sale.tendered != 0; }

}  // namespace receipt
