#pragma once
// The help commands. Current Windows has no viewer for the program's old help
// file, so the program shows its own help window with the help text compiled
// into it. The call reads like the platform's help call it stands in for.
#include <windows.h>

#include <string>

namespace help {

// The application's help file name, which the help commands pass on: empty
// until start-up sets it to kStartupHelpFile; the commands that name their own
// file set it before they call.
const std::wstring& HelpFile();
void SetHelpFile(std::wstring file);

// The program's help file, by the names the help commands have always passed:
// F1 and the keyword search name it kHelpFile, the menu's contents command in
// capitals, and "How to use help", when it is the first help command of a run,
// passes a fixed absolute path to it. File names are blind to case: all three
// name the one file.
extern const wchar_t kHelpFile[];
extern const wchar_t kContentsHelpFile[];
extern const wchar_t kStartupHelpFile[];

// Carries out one help command: HELP_COMMAND with the macro "CONTENTS()" shows
// the contents, HELP_KEY opens the keyword search with data as the keyword,
// HELP_HELPONHELP shows how to use help, HELP_CONTEXT the topic with that
// context number, HELP_QUIT closes the help window. An empty help file name
// does nothing.
void ShowHelp(HWND owner, const std::wstring& helpFile, UINT command, ULONG_PTR data);

// The register's keys as the help's key list shows them (one line each), in
// place of the mark "{{keys}}" in the help text.
void SetKeyList(std::wstring text);

// The help menu's commands on the application's help file: the contents, the
// keyword search, how to use help.
void ShowContents(HWND owner);
void ShowSearch(HWND owner);
void ShowHelpOnHelp(HWND owner);

}  // namespace help
