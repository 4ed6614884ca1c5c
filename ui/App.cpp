#include "ui/App.h"

namespace ui {

HINSTANCE Application::Instance() const { return GetModuleHandleW(nullptr); }

std::wstring Application::ProgramPath() const {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        // A cut-off path fills the buffer: try again with room for more.
        path.resize(path.size() * 2);
    }
}

Application& App() {
    static Application app;
    return app;
}

}  // namespace ui
