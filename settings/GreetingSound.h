#pragma once
// The greetings as sound resources of the program, played from memory with
// sndPlaySound, or by whatever player the window is given (tests record).
#include <windows.h>

#include <functional>

#include "settings/Greeting.h"

namespace settings {

// Plays a WAVE image held in memory with sndPlaySound's flags; true when played.
using SoundPlayer = std::function<bool(const void* wave, UINT flags)>;

// The system's player: sndPlaySound, loaded at the first greeting.
bool PlayWithSystem(const void* wave, UINT flags);

// The bytes of the greeting's resource in the program's image, which live as long
// as the program, as asynchronous playback needs; null when it is missing.
const void* GreetingWave(Greeting greeting);
DWORD GreetingWaveSize(Greeting greeting);

// Plays the greeting with flags (SND_MEMORY, with SND_ASYNC or without). A
// computer without a sound device refuses; the greeting is then simply not heard.
void PlayGreeting(const SoundPlayer& player, Greeting greeting, UINT flags);

}  // namespace settings
