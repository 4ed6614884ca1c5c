#pragma once
// Which greeting fits the hour, and the names of the sound resources that hold
// them. No Windows here: playing them is GreetingSound's part.

namespace settings {

enum class Greeting { Asa, Hiru, Ban };  // morning, daytime, evening

// Hours 4 to 11 are morning, 12 to 18 daytime, every other hour (19 to 3) evening.
Greeting GreetingForHour(int hour);

// The name the sound resource is looked up by ("VoxaAsa", "VoxaHiru", "VoxaBan").
const wchar_t* GreetingResourceName(Greeting greeting);

}  // namespace settings
