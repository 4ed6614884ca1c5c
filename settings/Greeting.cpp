#include "settings/Greeting.h"

namespace settings {

Greeting GreetingForHour(int hour) {
    if (hour >= 4 && hour <= 11) return Greeting::Asa;
    if (hour >= 12 && hour <= 18) return Greeting::Hiru;
    return Greeting::Ban;
}

const wchar_t* GreetingResourceName(Greeting greeting) {
    switch (greeting) {
    case Greeting::Asa: return L"VoxaAsa";
    case Greeting::Hiru: return L"VoxaHiru";
    case Greeting::Ban: break;
    }
    return L"VoxaBan";
}

}  // namespace settings
