#include "app/Services.h"

#include "platform/Clock.h"

Services SystemServices() {
    return {platform::SystemNow, receipt::SystemPrinters(), settings::PlayWithSystem,    TSaNumEdit::SystemBeep,
            about::ShellOpen,    about::RunPictureDialog,   history::SystemFileChooser()};
}
