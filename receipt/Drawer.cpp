#include "receipt/Drawer.h"

namespace receipt {

std::string DrawerCommand(regi::DrawerMode mode) {
    using namespace std::string_literals;
    switch (mode) {
    case regi::DrawerMode::EscPosPin2: return "\x1b\x70\x00\x19\xfa"s;
    case regi::DrawerMode::EscPosPin5: return "\x1b\x70\x01\x19\xfa"s;
    case regi::DrawerMode::Star: return "\x07"s;
    case regi::DrawerMode::Never:
    case regi::DrawerMode::Driver: break;
    }
    return {};
}

std::string CutCommand(const Settings& settings) {
    using namespace std::string_literals;
    if (!settings.cut) return {};
    return settings.drawer == regi::DrawerMode::Star ? "\x1b\x64\x03"s : "\x1d\x56\x42\x00"s;
}

bool TookCash(const regi::SaleRecord& sale) { return sale.tenders.empty() || sale.tendered != 0; }

}  // namespace receipt
