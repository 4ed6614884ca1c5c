#include "help/HelpWindow.h"

#include "help/Help.h"

#include <memory>

#include "ui/App.h"
#include "ui/Controls.h"

namespace help {

namespace {

const wchar_t kClass[] = L"PelmoraHelp";

std::wstring LoadHelpSource() {
    HRSRC resource = FindResourceW(nullptr, L"HELPTEXT", MAKEINTRESOURCEW(10));  // RT_RCDATA
    if (!resource) return std::wstring();
    HGLOBAL loaded = LoadResource(nullptr, resource);
    auto bytes = static_cast<const char*>(LockResource(loaded));
    int size = static_cast<int>(SizeofResource(nullptr, resource));
    if (!bytes || size <= 0) return std::wstring();
    int length = MultiByteToWideChar(CP_UTF8, 0, bytes, size, nullptr, 0);
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes, size, text.data(), length);
    return text;
}

std::wstring& KeyList() {
    static std::wstring list;
    return list;
}

// The help text with the register's key list in place of its mark.
std::vector<Topic> LoadTopics() {
    std::wstring source = LoadHelpSource();
    const std::wstring mark = L"{{keys}}";
    size_t at = source.find(mark);
    if (at != std::wstring::npos) source.replace(at, mark.size(), KeyList());
    return ParseTopics(source);
}

std::unique_ptr<HelpWindow>& Slot() {
    static std::unique_ptr<HelpWindow> window;
    return window;
}

}  // namespace

HelpWindow::HelpWindow() : topics_(LoadTopics()) {}

void SetKeyList(std::wstring text) {
    if (text == KeyList()) return;
    KeyList() = std::move(text);
    // A help window made before shows the new list from its next topic on.
    if (Slot()) Slot()->topics_ = LoadTopics();
}

HelpWindow& HelpWindow::Instance() {
    auto& slot = Slot();
    if (!slot) slot.reset(new HelpWindow());
    if (!slot->Handle()) slot->Open();
    return *slot;
}

HelpWindow* HelpWindow::Existing() {
    auto& slot = Slot();
    return slot && slot->Handle() ? slot.get() : nullptr;
}

void HelpWindow::Open() {
    RegisterClassOnce(kClass, 0, LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                      LoadIconW(ui::App().Instance(), L"MAINICON"));
    // Wide enough that every line of the help stands whole in the text: the
    // rates line it shows as the shop settings show it is the longest.
    Create(kClass, L"Pelmora ヘルプ", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, CW_USEDEFAULT,
           CW_USEDEFAULT, 780, 540, nullptr, nullptr);
    font_ = ui::MakeFont(ui::kFontFace, 15);
    HWND self = Handle();
    ui::CreateLabel(self, HelpKeywordLabel, L"キーワード:", 8, 10, font_.get());
    keyword_ = ui::CreateControl(L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP, 8, 30, 200, 24, self, HelpKeyword,
                                 font_.get(), WS_EX_CLIENTEDGE);
    list_ = ui::CreateControl(L"LISTBOX", L"", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP, 8, 62, 200,
                              400, self, HelpTopicList, font_.get(), WS_EX_CLIENTEDGE);
    text_ = ui::CreateControl(L"EDIT", L"", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP, 216,
                              8, 480, 480, self, HelpText, font_.get(), WS_EX_CLIENTEDGE);
    RECT client;
    GetClientRect(self, &client);
    Layout(client.right, client.bottom);
    FillList(L"");
}

void HelpWindow::Layout(int width, int height) {
    const int listWidth = 200;
    if (list_) MoveWindow(list_, 8, 62, listWidth, height > 70 ? height - 70 : 0, TRUE);
    if (text_)
        MoveWindow(text_, 16 + listWidth, 8, width > 224 + listWidth ? width - 24 - listWidth : 0,
                   height > 16 ? height - 16 : 0, TRUE);
}

void HelpWindow::FillList(const std::wstring& keyword) {
    listed_ = Search(topics_, keyword);
    SendMessageW(list_, LB_RESETCONTENT, 0, 0);
    for (int index : listed_)
        SendMessageW(list_, LB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(topics_[static_cast<size_t>(index)].title.c_str()));
    for (size_t row = 0; row < listed_.size(); ++row)
        if (listed_[row] == current_) SendMessageW(list_, LB_SETCURSEL, row, 0);
}

void HelpWindow::Bring() {
    ShowWindow(Handle(), IsIconic(Handle()) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(Handle());
}

void HelpWindow::ShowTopic(int index) {
    if (index < 0 || index >= static_cast<int>(topics_.size())) index = FindByName(topics_, L"contents");
    if (index < 0) return;
    current_ = index;
    const Topic& topic = topics_[static_cast<size_t>(index)];
    SetWindowTextW(text_, (topic.title + L"\r\n\r\n" + topic.body).c_str());
    FillList(ui::GetText(keyword_));
    Bring();
    SetFocus(text_);
}

void HelpWindow::ShowSearch(const std::wstring& keyword) {
    SetWindowTextW(keyword_, keyword.c_str());  // refills the list through EN_CHANGE
    FillList(keyword);
    Bring();
    SetFocus(keyword_);
    SendMessageW(keyword_, EM_SETSEL, keyword.size(), keyword.size());
}

void HelpWindow::Close() { DestroyWindow(Handle()); }

LRESULT HelpWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE: Layout(LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == HelpKeyword && HIWORD(wParam) == EN_CHANGE) {
            FillList(ui::GetText(keyword_));
        } else if (LOWORD(wParam) == HelpTopicList && HIWORD(wParam) == LBN_SELCHANGE) {
            LRESULT row = SendMessageW(list_, LB_GETCURSEL, 0, 0);
            if (row >= 0 && row < static_cast<LRESULT>(listed_.size())) {
                ShowTopic(listed_[static_cast<size_t>(row)]);
                SetFocus(list_);
            }
        }
        return 0;
    case WM_NCDESTROY:
        keyword_ = list_ = text_ = nullptr;
        current_ = -1;
        break;
    }
    return Form::HandleMessage(message, wParam, lParam);
}

}  // namespace help
