#include "ui/App.h"

namespace ui {

HINSTANCE Application::Instance() const { return GetModuleHandleW(nullptr); }

Application& App() {
    static Application app;
    return app;
}

}  // namespace ui
