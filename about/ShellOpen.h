#pragma once
// The hand-over of a link to the system's shell: the mail program for an
// address, the browser for a web page. Tests hand the windows a recorder instead.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace about {

struct ShellRequest {
    HWND owner = nullptr;
    std::wstring operation;
    std::wstring target;
    std::optional<std::wstring> parameters;  // nothing: passed as a null pointer
    std::optional<std::wstring> folder;
    int show = SW_SHOW;
};

using ShellOpener = std::function<void(const ShellRequest&)>;

// Carries the request out through ShellExecuteW; the result is not looked at.
void ShellOpen(const ShellRequest& request);

}  // namespace about
