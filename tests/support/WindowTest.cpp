#include "tests/support/WindowTest.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/Files.h"
#include "ui/Gdi.h"

namespace testing_support {

namespace {

void RemoveTree(const std::wstring& path) {
    std::wstring from = path + L'\0';  // double NUL ends the list
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationW(&op);
}
}  // namespace

TempFolder::TempFolder() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    static int counter = 0;
    path_ = std::wstring(base) + L"pelmora-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter);
    RemoveTree(path_);
    CreateDirectoryW(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() { RemoveTree(path_); }

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

void WriteAnsiFile(const std::wstring& path, const std::wstring& text) {
    int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    WriteBytes(path, bytes);
}

std::wstring ReadSettingsText(const std::wstring& path) {
    std::string bytes = platform::ReadFileBytes(path).value_or("");
    if (bytes.rfind("\xFF\xFE", 0) == 0)
        return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
    int size = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), size);
    return text;
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void PressTab(HWND focus, bool shift) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    PostMessageW(focus, WM_KEYDOWN, VK_TAB, 1);
    Pump();
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
}

void SendKey(UINT virtualKey, wchar_t character) {
    SendMessageW(GetFocus(), WM_KEYDOWN, virtualKey, 1);
    if (character) SendMessageW(GetFocus(), WM_CHAR, character, 1);
    SendMessageW(GetFocus(), WM_KEYUP, virtualKey, static_cast<LPARAM>(0xC0000001));
    Pump();
}

void SendChord(UINT modifier, UINT virtualKey, wchar_t character) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[modifier] = 0x80;
    SetKeyboardState(keys);
    SendKey(virtualKey, character);
    keys[modifier] = 0;
    SetKeyboardState(keys);
}

void TypeKeys(const std::wstring& text) {
    for (wchar_t ch : text) {
        // The main row's keys, whatever layout the prefix has.
        UINT key = ch >= L'0' && ch <= L'9' ? ch
                   : ch == L'-'             ? VK_OEM_MINUS
                   : ch == L'.'             ? VK_OEM_PERIOD
                                            : LOBYTE(VkKeyScanW(ch));
        SendKey(key, ch);
    }
}

RECT PlaceInParent(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

ClientPicture::ClientPicture(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    width_ = client.right;
    height_ = client.bottom;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    ui::WindowDC screen(nullptr);
    ui::MemoryDC dc(screen);
    ui::Bitmap bitmap(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return;
    ui::SelectGuard select(dc, bitmap.get());
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(static_cast<HDC>(dc)), PRF_CLIENT | PRF_ERASEBKGND);
    GdiFlush();
    const auto* p = static_cast<const DWORD*>(bits);
    pixels_.assign(p, p + static_cast<size_t>(width_) * static_cast<size_t>(height_));
}

COLORREF ClientPicture::At(int x, int y) const {
    DWORD v = pixels_.at(static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x));
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

bool ClientPicture::All(COLORREF color) const {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            if (At(x, y) != color) return false;
    return true;
}

RECT ClientPicture::Bounds(COLORREF color) const {
    RECT r{width_, height_, 0, 0};
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            if (At(x, y) == color)
                r = RECT{std::min<LONG>(r.left, x), std::min<LONG>(r.top, y), std::max<LONG>(r.right, x + 1),
                         std::max<LONG>(r.bottom, y + 1)};
    return r.right > r.left ? r : RECT{};
}

Frame FrameOf(HWND window) {
    RECT r = PlaceInParent(window);
    return Frame{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void PrintTo(const Frame& frame, std::ostream* out) {
    *out << "(" << frame.left << ", " << frame.top << ") " << frame.width << " x " << frame.height;
}

RECT BoundsOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

TestForm::TestForm(int width, int height) {
    RegisterClassOnce(L"PelmoraTestForm");
    Create(L"PelmoraTestForm", L"test", WS_OVERLAPPEDWINDOW, WS_EX_CONTROLPARENT, 0, 0, width, height, nullptr,
           nullptr);
}

void TestForm::Show() {
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
    Pump();
}

namespace {

bool OpenClipboardWithTries(HWND owner) {
    for (int i = 0; i < 50; ++i) {
        if (OpenClipboard(owner)) return true;
        Pump();
    }
    return false;
}

}  // namespace

std::wstring ClipboardText(UINT format) {
    if (!OpenClipboardWithTries(nullptr)) return L"<busy>";
    std::wstring text;
    if (HANDLE data = GetClipboardData(format)) {
        if (format == CF_TEXT) {
            const char* bytes = static_cast<const char*>(GlobalLock(data));
            for (const char* p = bytes; *p; ++p) text += static_cast<wchar_t>(static_cast<unsigned char>(*p));
        } else {
            text = static_cast<const wchar_t*>(GlobalLock(data));
        }
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

bool PutClipboardText(const std::wstring& text, HWND owner) {
    if (!OpenClipboardWithTries(owner)) return false;
    EmptyClipboard();
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
    return true;
}

ErrorRecorder::ErrorRecorder()
    : previous_(ui::SetErrorDisplay([this](const std::wstring& m) { messages_.push_back(m); })),
      previousNotice_(ui::SetNoticeDisplay([this](const std::wstring& m) { notices_.push_back(m); })) {}

ErrorRecorder::~ErrorRecorder() {
    ui::SetErrorDisplay(previous_);
    ui::SetNoticeDisplay(previousNotice_);
}

namespace {

// The watchers in place, on the one hook that serves them all.
std::vector<ActivationWatcher*>& Watchers() {
    static std::vector<ActivationWatcher*> watchers;
    return watchers;
}
HHOOK activationHook = nullptr;

}  // namespace

ActivationWatcher::ActivationWatcher(std::wstring windowClass, std::function<void(HWND)> onActive)
    : className_(std::move(windowClass)), act_(std::move(onActive)) {
    if (Watchers().empty()) activationHook = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
    Watchers().push_back(this);
}

ActivationWatcher::~ActivationWatcher() {
    Watchers().erase(std::find(Watchers().begin(), Watchers().end(), this));
    if (Watchers().empty()) UnhookWindowsHookEx(std::exchange(activationHook, nullptr));
}

LRESULT CALLBACK ActivationWatcher::Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND window = reinterpret_cast<HWND>(wParam);
        wchar_t name[64] = L"";
        GetClassNameW(window, name, 64);
        // Acting may add or end watchers: each of those in place at first that is still there acts.
        for (ActivationWatcher* watcher : std::vector<ActivationWatcher*>(Watchers())) {
            const auto& now = Watchers();
            if (std::find(now.begin(), now.end(), watcher) != now.end() && watcher->className_ == name)
                watcher->act_(window);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

MessageBoxAnswerer::MessageBoxAnswerer(Answer answer)
    : answer_(answer), watcher_(L"#32770", [this](HWND box) { Respond(box); }) {}

MessageBoxAnswerer::~MessageBoxAnswerer() = default;

void MessageBoxAnswerer::Respond(HWND box) {
    auto text = [](HWND w) {
        wchar_t buffer[512] = L"";
        GetWindowTextW(w, buffer, 512);
        return std::wstring(buffer);
    };
    Seen seen;
    seen.caption = text(box);
    seen.text = text(GetDlgItem(box, 0xFFFF));
    seen.yes = text(GetDlgItem(box, IDYES));
    seen.no = text(GetDlgItem(box, IDNO));
    HWND icon = GetDlgItem(box, 0x0440);
    seen.questionIcon =
        icon && reinterpret_cast<HICON>(SendMessageW(icon, STM_GETICON, 0, 0)) == LoadIconW(nullptr, IDI_QUESTION);
    GetWindowRect(box, &seen.bounds);
    boxes_.push_back(seen);
    switch (answer_) {
    case Answer::Yes: PostMessageW(box, WM_COMMAND, IDYES, 0); break;
    case Answer::No: PostMessageW(box, WM_COMMAND, IDNO, 0); break;
    case Answer::Escape: PostMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0); break;
    case Answer::Enter: PostMessageW(box, WM_KEYDOWN, VK_RETURN, 0); break;
    }
}

}  // namespace testing_support
