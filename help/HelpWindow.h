#pragma once
// The help window: a keyword box and the list of matching topics on the left,
// the chosen topic's text on the right. One window serves every help command.
// It is a form: Tab and Shift+Tab go round its three parts, and the focus comes
// back to where it was when the window is active again.
#include <string>
#include <vector>

#include "help/HelpTopics.h"
#include "ui/Form.h"
#include "ui/Gdi.h"

namespace help {

enum HelpWindowId : int {
    HelpKeywordLabel = 100,
    HelpKeyword,
    HelpTopicList,
    HelpText,
};

class HelpWindow : public ui::Form {
public:
    static HelpWindow& Instance();
    static HelpWindow* Existing();  // null while no help window is open

    void ShowTopic(int index);
    void ShowSearch(const std::wstring& keyword);
    void Close();

    const std::vector<Topic>& Topics() const { return topics_; }
    int CurrentTopic() const { return current_; }
    const std::wstring& HelpFile() const { return helpFile_; }
    void SetHelpFile(const std::wstring& file) { helpFile_ = file; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HelpWindow();
    void Open();
    void Layout(int width, int height);
    void FillList(const std::wstring& keyword);
    void Bring();

    std::vector<Topic> topics_;
    friend void SetKeyList(std::wstring text);
    std::vector<int> listed_;  // topic index of each list row
    int current_ = -1;
    std::wstring helpFile_;
    ui::Font font_;
    HWND keyword_ = nullptr, list_ = nullptr, text_ = nullptr;
};

}  // namespace help
