#include "about/ShellOpen.h"

#include <shellapi.h>

#include "platform/SystemFunction.h"

namespace about {

namespace {

const wchar_t* OrNull(const std::optional<std::wstring>& text) { return text ? text->c_str() : nullptr; }

}  // namespace

void ShellOpen(const ShellRequest& request) {
    // The shell is loaded the first time a link is followed, not at start.
    static const auto shellExecute =
        platform::SystemFunction<decltype(&ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
    if (!shellExecute) return;
    shellExecute(request.owner, request.operation.c_str(), request.target.c_str(), OrNull(request.parameters),
                 OrNull(request.folder), request.show);
}

}  // namespace about
