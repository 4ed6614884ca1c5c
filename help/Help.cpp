#include "help/Help.h"

#include "help/HelpWindow.h"

namespace help {

const wchar_t kHelpFile[] = L"Pelmora.hlp";
const wchar_t kContentsHelpFile[] = L"PELMORA.hlp";
const wchar_t kStartupHelpFile[] = L"C:\\Program Files\\Pelmora\\PELMORA.HLP";

namespace {
std::wstring& CurrentHelpFile() {
    static std::wstring file;
    return file;
}
}  // namespace

const std::wstring& HelpFile() { return CurrentHelpFile(); }

void SetHelpFile(std::wstring file) { CurrentHelpFile() = std::move(file); }

void ShowHelp(HWND /*owner*/, const std::wstring& helpFile, UINT command, ULONG_PTR data) {
    if (helpFile.empty()) return;
    if (command == HELP_QUIT) {
        if (HelpWindow* window = HelpWindow::Existing()) window->Close();
        return;
    }
    HelpWindow& window = HelpWindow::Instance();
    window.SetHelpFile(helpFile);
    const auto& topics = window.Topics();
    switch (command) {
    case HELP_KEY:
    case HELP_PARTIALKEY: {
        auto keyword = reinterpret_cast<const wchar_t*>(data);
        window.ShowSearch(keyword ? keyword : L"");
        break;
    }
    case HELP_HELPONHELP: window.ShowTopic(FindByName(topics, L"helponhelp")); break;
    case HELP_CONTEXT: window.ShowTopic(FindByContext(topics, static_cast<int>(data))); break;
    default:
        // HELP_COMMAND carries the macro "CONTENTS()", the only one the program
        // sends; the contents is also the answer to anything not understood.
        window.ShowTopic(FindByName(topics, L"contents"));
        break;
    }
}

void ShowContents(HWND owner) { ShowHelp(owner, HelpFile(), HELP_COMMAND, reinterpret_cast<ULONG_PTR>(L"CONTENTS()")); }

void ShowSearch(HWND owner) { ShowHelp(owner, HelpFile(), HELP_KEY, reinterpret_cast<ULONG_PTR>(L"")); }

void ShowHelpOnHelp(HWND owner) { ShowHelp(owner, HelpFile(), HELP_HELPONHELP, 0); }

}  // namespace help
