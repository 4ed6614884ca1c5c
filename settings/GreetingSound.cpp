#include "settings/GreetingSound.h"

#include <mmsystem.h>

#include "ui/App.h"
#include "platform/SystemFunction.h"

namespace settings {

bool PlayWithSystem(const void* wave, UINT flags) {
    // The sound library is loaded at the first greeting, not at start.
    static const auto play = platform::SystemFunction<decltype(&sndPlaySoundW)>(L"winmm.dll", "sndPlaySoundW");
    return play && play(static_cast<const wchar_t*>(wave), flags) != FALSE;
}

namespace {

HRSRC FindGreeting(Greeting greeting) {
    // Resource names are matched without regard to case.
    return FindResourceW(ui::App().Instance(), GreetingResourceName(greeting), RT_RCDATA);
}

}  // namespace

const void* GreetingWave(Greeting greeting) {
    HRSRC found = FindGreeting(greeting);
    if (!found) return nullptr;
    HGLOBAL loaded = LoadResource(ui::App().Instance(), found);
    return loaded ? LockResource(loaded) : nullptr;
}

DWORD GreetingWaveSize(Greeting greeting) {
    HRSRC found = FindGreeting(greeting);
    return found ? SizeofResource(ui::App().Instance(), found) : 0;
}

void PlayGreeting(const SoundPlayer& player, Greeting greeting, UINT flags) {
    const void* wave = GreetingWave(greeting);
    if (!wave) return;
    // The result does not matter: an unheard greeting changes nothing.
    player(wave, flags);
}

}  // namespace settings
