#pragma once
// The help commands. Current Windows has no viewer for the program's old help
// file, so the program shows its own help window with the help text compiled
// into it. The call reads like the platform's help call it stands in for.
#include <windows.h>

#include <string>

namespace help {

// Carries out one help command: HELP_COMMAND with the macro "CONTENTS()" shows
// the contents, HELP_KEY opens the keyword search with data as the keyword,
// HELP_HELPONHELP shows how to use help, HELP_CONTEXT the topic with that
// context number, HELP_QUIT closes the help window. An empty help file name
// does nothing.
void ShowHelp(HWND owner, const std::wstring& helpFile, UINT command, ULONG_PTR data);

}  // namespace help
