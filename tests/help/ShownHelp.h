#pragma once
// What the help window shows, for the tests of the help commands.
#include <stdexcept>
#include <string>

#include "help/HelpWindow.h"

namespace testing_support {

// The open help window; a test that expected one fails when there is none.
inline help::HelpWindow& OpenHelpWindow() {
    help::HelpWindow* window = help::HelpWindow::Existing();
    if (!window) throw std::runtime_error("no help window");
    return *window;
}

// The name of the topic the help window shows.
inline std::wstring ShownTopicName() {
    const help::HelpWindow& window = OpenHelpWindow();
    return window.Topics().at(static_cast<size_t>(window.CurrentTopic())).name;
}

}  // namespace testing_support
