// The TSaNumEdit window under real messages: layout and caret measured with the
// font's own metrics, focus through the form, mouse, keys as the keypad sends
// them, window-text messages, clipboard, context menu and painted pixels.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "numedit/SaNumEdit.h"
#include "tests/support/WindowTest.h"
#include "ui/Form.h"
#include "ui/Controls.h"

using testing_support::ClipboardText;
using testing_support::Pump;
using testing_support::PutClipboardText;

namespace {

int Extent(HFONT font, const std::wstring& text) {
    ui::WindowDC dc(nullptr);
    ui::SelectGuard select(dc, font);
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT);
    return r.right - r.left;
}

int MeasureOf(HFONT font, const std::wstring& text) { return text.empty() ? 0 : Extent(font, text) + 1; }

int LineHeightOf(HFONT font) {
    ui::WindowDC dc(nullptr);
    ui::SelectGuard select(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, L"M", 1, &size);
    return size.cy;
}

RECT ClientOf(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    return r;
}

// A form with a button, the control under test and another button, in tab order.
class TestForm : public testing_support::TestForm {
public:
    explicit TestForm(int clientWidth = 117, int clientHeight = 25) : testing_support::TestForm(400, 300) {
        before = ui::CreateControl(L"BUTTON", L"before", WS_TABSTOP, 0, 0, 60, 20, Handle(), 1, nullptr);
        // The 3-D edge takes two pixels on each side.
        edit.Create(Handle(), 2, 20, 40, clientWidth + 4, clientHeight + 4, font.get());
        after = ui::CreateControl(L"BUTTON", L"after", WS_TABSTOP, 0, 200, 60, 20, Handle(), 3, nullptr);
        Show();
        SetFocus(before);
        Pump();
    }
    ui::Font font = ui::MakeFont(ui::kFontFace, 15);
    ui::Font bold = ui::MakeFont(ui::kFontFace, 15, true);
    HWND before = nullptr, after = nullptr;
    TSaNumEdit edit;
};

class NumEditTest : public testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TestForm>();
        edit().SetBeeper([this] { ++beeps; });
        edit().OnChange = [this](TSaNumEditModel&) { ++changes; };
    }
    void TearDown() override {
        form.reset();
        Pump();
    }
    TSaNumEdit& edit() { return form->edit; }
    HWND handle() { return form->edit.Handle(); }
    HFONT font() { return form->font.get(); }
    void Focus() {
        SetFocus(handle());
        Pump();
    }

    // One keystroke as the keyboard delivers it: key-down, character, key-up.
    void Press(UINT vk, wchar_t ch = 0, TShiftState shift = 0) {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_SHIFT] = (shift & ssShift) ? 0x80 : 0;
        keys[VK_CONTROL] = (shift & ssCtrl) ? 0x80 : 0;
        SetKeyboardState(keys);
        // Sent, not posted: Wine's TranslateMessage would add a second character.
        SendMessageW(handle(), WM_KEYDOWN, vk, 1);
        if (ch) SendMessageW(handle(), WM_CHAR, ch, 1);
        SendMessageW(handle(), WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001));
        Pump();
        keys[VK_SHIFT] = keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
    }
    void Click(UINT down, UINT up, int x = 0, int y = 0) {
        PostMessageW(handle(), down, down == WM_LBUTTONDOWN || down == WM_LBUTTONDBLCLK ? MK_LBUTTON : 0,
                     MAKELPARAM(x, y));
        if (up) PostMessageW(handle(), up, 0, MAKELPARAM(x, y));
        Pump();
    }

    std::unique_ptr<TestForm> form;
    int beeps = 0;
    int changes = 0;
};

GUITHREADINFO Gui() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetCurrentThreadId(), &info);
    return info;
}

// Closes any menu as soon as it waits for input, so that a test can open one.
class MenuCloser {
public:
    MenuCloser() { hook_ = SetWindowsHookExW(WH_CALLWNDPROC, Hook, nullptr, GetCurrentThreadId()); }
    ~MenuCloser() { UnhookWindowsHookEx(hook_); }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && message->message == WM_ENTERIDLE) EndMenu();
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    HHOOK hook_;
};

using Picture = testing_support::ClientPicture;

bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != 0; }

}  // namespace

// ---- Construction, creation parameters, layout ---------------------------

TEST_F(NumEditTest, ConstructionAndParentSteps) {
    TSaNumEdit fresh;
    EXPECT_EQ(fresh.Handle(), nullptr);
    EXPECT_EQ(fresh.LineHeight(), 0);
    EXPECT_EQ(fresh.PopupMenu(), fresh.EditMenu());
    const wchar_t* captions[] = {L"元に戻す(&U)", L"", L"切り取り(&T)",  L"コピー(&C)", L"貼り付け(&P)",
                                 L"削除(&D)",     L"", L"すべて選択(&A)"};
    ASSERT_EQ(GetMenuItemCount(fresh.EditMenu()), 8);
    for (int i = 0; i < 8; ++i) {
        wchar_t caption[64] = L"";
        GetMenuStringW(fresh.EditMenu(), i, caption, 64, MF_BYPOSITION);
        EXPECT_STREQ(caption, captions[i]) << i;
        EXPECT_EQ(GetMenuItemID(fresh.EditMenu(), i), TSaNumEdit::EditMenuCommand(i));
        EXPECT_EQ((GetMenuState(fresh.EditMenu(), i, MF_BYPOSITION) & MF_SEPARATOR) != 0, i == 1 || i == 6) << i;
    }

    fresh.Create(form->Handle(), 9, 200, 10);
    RECT window;
    GetWindowRect(fresh.Handle(), &window);
    EXPECT_EQ(window.right - window.left, 121);
    EXPECT_EQ(window.bottom - window.top, 20);
    EXPECT_EQ(fresh.Color(), clWindow);
    EXPECT_EQ(GetDlgCtrlID(fresh.Handle()), 9);
    EXPECT_EQ(GetClassLongPtrW(fresh.Handle(), GCL_STYLE) & (CS_HREDRAW | CS_VREDRAW), 0u);
    EXPECT_EQ(GetClassLongPtrW(fresh.Handle(), GCLP_HCURSOR),
              reinterpret_cast<LONG_PTR>(LoadCursor(nullptr, IDC_IBEAM)));
    EXPECT_TRUE(GetWindowLongW(fresh.Handle(), GWL_STYLE) & WS_TABSTOP);

    // The line height is the font's "M"; auto size makes the client that plus the margins.
    EXPECT_EQ(edit().LineHeight(), LineHeightOf(font()));
    edit().SetAutoSize(false);
    edit().SetAutoSize(true);
    EXPECT_EQ(ClientOf(handle()).bottom, LineHeightOf(font()) + 4);
}

TEST_F(NumEditTest, BorderStylesRecreateTheWindowInItsPlace) {
    struct Case {
        TBorderStyle border;
        bool ctl3d;
        bool wsBorder, clientEdge;
        int frame;  // the pixels the border takes off each side in AvailableWidth
    } cases[] = {{bsSingle, true, false, true, 2}, {bsSingle, false, true, false, 1}, {bsNone, false, false, false, 1}};
    for (const Case& c : cases) {
        edit().SetCtl3D(c.ctl3d);
        edit().SetBorderStyle(c.border);
        Pump();
        HWND h = handle();
        ASSERT_TRUE(IsWindow(h));
        EXPECT_EQ((GetWindowLongW(h, GWL_STYLE) & WS_BORDER) != 0, c.wsBorder);
        EXPECT_EQ((GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0, c.clientEdge);
        EXPECT_EQ(edit().AvailableWidth(), ClientOf(h).right - 4 - 2 * c.frame);
        EXPECT_EQ(GetWindow(h, GW_HWNDPREV), form->before) << "the tab order stays";
        EXPECT_EQ(GetDlgCtrlID(h), 2);
    }
}

TEST_F(NumEditTest, LayoutFollowsTheFontsMetrics) {
    // Client 117 x 25, margins 2, as the worked example; the widths are the font's.
    ASSERT_EQ(ClientOf(handle()).right, 117);
    edit().SetAutoSize(false);
    SetWindowPos(handle(), nullptr, 0, 0, 121, 29, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_EQ(ClientOf(handle()).bottom, 25);
    edit().SetText(L"1234");
    const int n = MeasureOf(font(), L"1,234");
    const int h = LineHeightOf(font());
    struct Case {
        TAlignment align;
        TVertAlignment vert;
        int left, top;
    } cases[] = {
        {taRightJustify, taVCenter, 117 - 2 - 1 - n, 2 + (25 - h - 4) / 2},
        {taLeftJustify, taTopJustify, 2, 2},
        {taCenter, taBottomJustify, 2 + 113 / 2 - n / 2, 25 - h - 2},
    };
    for (const Case& c : cases) {
        edit().SetAlignment(c.align);
        edit().SetVertAlignment(c.vert);
        Picture picture(handle());  // the paint stores TextRect
        const TRect expected{c.left, c.top, c.left + n, c.top + h};
        EXPECT_EQ(edit().NumberRect(), expected) << c.align;
        EXPECT_EQ(edit().TextRect(), expected) << c.align;
    }

    // A left mark of its own width in front, right margin 0.
    edit().SetAlignment(taRightJustify);
    edit().SetRightMargin(0);
    edit().SetLeftMark(L"¥");
    const int lw = MeasureOf(font(), L"¥");
    const int x0 = 117 - 0 - 1 - (n + lw);
    EXPECT_EQ(edit().LeftMarkRect().Left, x0);
    EXPECT_EQ(edit().LeftMarkRect().Right, x0 + lw);
    EXPECT_EQ(edit().NumberRect().Left, x0 + lw);
    EXPECT_EQ(edit().NumberRect().Right, 116);
    EXPECT_EQ(edit().MeasureText(L""), 0);
    EXPECT_EQ(edit().MeasureText(L"a&b"), MeasureOf(font(), L"ab")) << "& is a prefix";
}

TEST_F(NumEditTest, CaretStandsBehindTheTypedText) {
    Focus();
    GUITHREADINFO gui = Gui();
    EXPECT_EQ(gui.hwndCaret, handle());
    EXPECT_EQ(gui.rcCaret.right - gui.rcCaret.left, 1);
    EXPECT_EQ(gui.rcCaret.bottom - gui.rcCaret.top, edit().LineHeight());
    POINT p;
    GetCaretPos(&p);
    EXPECT_EQ(p.x, ClientOf(handle()).right - 4) << "empty value: one pixel left of the field's right edge";
    EXPECT_EQ(p.y, edit().NumberRect().Top);

    // With DecimalFixed the filling zeros stand right of the caret.
    edit().SetDecimalFixed(true);
    Press(VK_NUMPAD1, L'1');
    Press(VK_NUMPAD2, L'2');
    Press(VK_DECIMAL, L'.');
    ASSERT_EQ(edit().Text(), L"12.");
    GetCaretPos(&p);
    EXPECT_EQ(p.x, edit().NumberRect().Left + MeasureOf(font(), L"12.") - 1);

    // A bold font while focused: the caret is made again, 2 pixels wide.
    edit().SetFont(form->bold.get());
    gui = Gui();
    EXPECT_EQ(gui.hwndCaret, handle());
    EXPECT_EQ(gui.rcCaret.right - gui.rcCaret.left, 2);
    EXPECT_EQ(edit().CaretWidth(), 2);
    GetCaretPos(&p);
    EXPECT_EQ(p.x, edit().NumberRect().Left + MeasureOf(form->bold.get(), L"12.") - 1);

    SetFocus(form->after);
    Pump();
    EXPECT_EQ(Gui().hwndCaret, nullptr) << "no caret without the focus";
}

TEST_F(NumEditTest, ResizingRepaintsAtOnceAndMovesTheCaret) {
    Focus();
    SetWindowPos(handle(), nullptr, 0, 0, 204, 29, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(edit().ClientWidth(), 200);
    EXPECT_FALSE(GetUpdateRect(handle(), nullptr, FALSE)) << "painted before WM_SIZE returned";
    POINT p;
    GetCaretPos(&p);
    EXPECT_EQ(p.x, 200 - 4);
}

// ---- Window messages -----------------------------------------------------

TEST_F(NumEditTest, DialogCodeAndWindowText) {
    EXPECT_EQ(SendMessageW(handle(), WM_GETDLGCODE, 0, 0), 0x81);
    edit().SetEnterFocusMove(true);
    EXPECT_EQ(SendMessageW(handle(), WM_GETDLGCODE, 0, 0), 0x85);

    edit().SetText(L"12345");
    wchar_t buffer[8] = L"xxxxxxx";
    EXPECT_EQ(SendMessageW(handle(), WM_GETTEXT, 4, reinterpret_cast<LPARAM>(buffer)), 3);
    EXPECT_STREQ(buffer, L"123");
    EXPECT_EQ(buffer[4], L'x');
    EXPECT_EQ(SendMessageW(handle(), WM_GETTEXT, 0, reinterpret_cast<LPARAM>(buffer)), 0);
    char ansi[8] = "";
    EXPECT_EQ(SendMessageA(handle(), WM_GETTEXT, 8, reinterpret_cast<LPARAM>(ansi)), 5);
    EXPECT_STREQ(ansi, "12345");
    EXPECT_EQ(ui::GetText(handle()), L"12345");

    // The current value again: nothing happens, not even a repaint.
    UpdateWindow(handle());
    EXPECT_EQ(SendMessageW(handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"12345")), 0);
    EXPECT_FALSE(GetUpdateRect(handle(), nullptr, FALSE));
    EXPECT_EQ(SendMessageW(handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"1,234")), 0);
    EXPECT_EQ(edit().Text(), L"1234");
    EXPECT_EQ(edit().DisplayText(), L"1,234");
    EXPECT_TRUE(GetUpdateRect(handle(), nullptr, FALSE));
    SendMessageA(handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("\x82\x50\x82\x51"));  // full-width 1 2, Shift-JIS
    EXPECT_EQ(edit().Text(), L"12");
    EXPECT_EQ(changes, 0);
    EXPECT_FALSE(edit().CanUndo());
}

TEST_F(NumEditTest, ImeCharactersInFullWidth) {
    Focus();
    edit().SetText(L"1");
    SendMessageA(handle(), WM_IME_CHAR, 0x8254, 1);  // full-width five in Shift-JIS
    Pump();
    EXPECT_EQ(edit().Text(), L"15");
    SendMessageW(handle(), WM_IME_CHAR, 0xFF16, 1);  // full-width six
    SendMessageW(handle(), WM_IME_CHAR, 0xFF0E, 1);  // full-width full stop
    Pump();
    EXPECT_EQ(edit().Text(), L"156.");
    EXPECT_EQ(beeps, 0);
    SendMessageA(handle(), WM_IME_CHAR, 0x8143, 1);  // full-width comma: refused
    SendMessageW(handle(), WM_IME_CHAR, 0xFF0C, 1);
    Pump();
    EXPECT_EQ(edit().Text(), L"156.");
    EXPECT_GE(beeps, 2);
    SendMessageW(handle(), WM_IME_CHAR, 0xFF0D, 1);  // full-width minus
    Pump();
    EXPECT_EQ(edit().Text(), L"-156.");
}

// ---- Focus and mouse -----------------------------------------------------

TEST_F(NumEditTest, PostedClickFocusesThroughTheFormWithExitAndEnter) {
    // A second control that the focus leaves, holding a lone minus.
    TSaNumEdit first;
    first.Create(form->Handle(), 4, 200, 40);
    std::vector<std::wstring> seen;
    first.OnExit = [&](TSaNumEdit& sender) { seen.push_back(L"exit " + sender.Text()); };
    edit().OnEnter = [&](TSaNumEdit&) { seen.push_back(L"enter"); };
    edit().OnClick = [&](TSaNumEdit&) { seen.push_back(L"click"); };
    SetFocus(first.Handle());
    Pump();
    first.SetText(L"-");
    edit().SetText(L"123");

    Click(WM_LBUTTONDOWN, WM_LBUTTONUP);  // as the register arms its entry field
    EXPECT_EQ(GetFocus(), handle());
    EXPECT_EQ(Gui().hwndCaret, handle());
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"exit -", L"enter", L"click"}));
    EXPECT_EQ(first.Text(), L"") << "a lone minus is emptied after OnExit";
    EXPECT_EQ(edit().SelLength(), 0) << "the press clears what the enter step selected";

    // Losing the whole window's activation is no exit, and coming back no enter.
    SetFocus(nullptr);
    SetFocus(handle());
    Pump();
    EXPECT_EQ(seen.size(), 3u);

    // With eoMinusOnly the lone minus stays.
    first.SetOptions({eoMinusOnly});
    SetFocus(first.Handle());
    first.SetText(L"-");
    SetFocus(handle());
    Pump();
    EXPECT_EQ(first.Text(), L"-");
}

TEST_F(NumEditTest, AutoSelectAndHideSelection) {
    edit().SetText(L"42");
    Focus();
    EXPECT_NE(edit().SelLength(), 0) << "AutoSelect";
    SetFocus(form->after);
    Pump();
    EXPECT_EQ(edit().SelLength(), 0) << "HideSelection";

    edit().SetHideSelection(false);
    edit().SetAutoSelect(false);
    Focus();
    EXPECT_EQ(edit().SelLength(), 0);
    Press('A', 1, ssCtrl);
    SetFocus(form->after);
    Pump();
    EXPECT_NE(edit().SelLength(), 0) << "the highlight remains";
    Picture picture(handle());
    EXPECT_NE(picture.Bounds(GetSysColor(COLOR_HIGHLIGHT)).right, 0);
}

TEST_F(NumEditTest, DoubleClickSelectsAndASingleClickClears) {
    edit().SetText(L"987");
    edit().SetAutoSelect(false);
    int doubles = 0;
    edit().OnDblClick = [&](TSaNumEdit&) { ++doubles; };
    Click(WM_LBUTTONDOWN, WM_LBUTTONUP, 80, 10);
    Click(WM_LBUTTONDBLCLK, WM_LBUTTONUP, 80, 10);
    EXPECT_EQ(doubles, 1);
    EXPECT_NE(edit().SelLength(), 0);
    EXPECT_FALSE(edit().DoubleClicked()) << "cleared by the mouse-down of the same message";
    Click(WM_LBUTTONDOWN, WM_LBUTTONUP, 80, 10);
    EXPECT_EQ(edit().SelLength(), 0);

    // Dragging with the left button across the number selects all of it.
    Picture painted(handle());
    const TRect text = edit().TextRect();
    PostMessageW(handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(text.Left - 1, 0));
    Pump();
    EXPECT_EQ(edit().SelLength(), 0);
    PostMessageW(handle(), WM_MOUSEMOVE, 0, MAKELPARAM(text.Right, 0));
    Pump();
    EXPECT_EQ(edit().SelLength(), 0) << "button not held";
    PostMessageW(handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(text.Right, 0));
    Pump();
    EXPECT_NE(edit().SelLength(), 0);
}

TEST_F(NumEditTest, APressIsNoClickOnceAnotherWindowTakesTheMouse) {
    int clicks = 0;
    edit().OnClick = [&](TSaNumEdit&) { ++clicks; };
    Click(WM_LBUTTONDOWN, WM_LBUTTONUP, 10, 10);
    ASSERT_EQ(clicks, 1);
    // The capture goes to another window (a drag elsewhere), or back to nobody
    // (the user switches programs); the release that follows clicks nothing.
    for (bool otherWindow : {true, false}) {
        Click(WM_LBUTTONDOWN, 0, 10, 10);
        ASSERT_EQ(GetCapture(), handle());
        if (otherWindow) SetCapture(form->before);
        ReleaseCapture();
        Click(WM_LBUTTONUP, 0, 10, 10);
        EXPECT_EQ(clicks, 1) << (otherWindow ? "capture taken" : "capture released");
    }
    Click(WM_LBUTTONDOWN, WM_LBUTTONUP, 10, 10);
    EXPECT_EQ(clicks, 2);
}

TEST_F(NumEditTest, RightPressFocusesWithoutTouchingTheSelection) {
    edit().SetText(L"5");
    edit().SetAutoSelect(false);
    for (bool selected : {false, true}) {
        SetFocus(form->before);
        Pump();
        if (selected) edit().SelectAll();
        Click(WM_RBUTTONDOWN, 0);
        EXPECT_EQ(GetFocus(), handle());
        EXPECT_EQ(edit().SelLength() != 0, selected);
    }
    SetFocus(form->before);
    Pump();
    SendMessageW(handle(), WM_NCLBUTTONDOWN, HTBORDER, 0);
    EXPECT_EQ(GetFocus(), handle()) << "the border takes presses too";
}

// ---- Keys ----------------------------------------------------------------

TEST_F(NumEditTest, KeypadAsTheRegisterUsesIt) {
    // SaNumEdit1's settings.
    edit().SetAutoSelect(false);
    edit().SetIntegerLength(13);
    edit().SetDecimalLength(0);
    edit().SetLeftMark(L"¥");
    edit().SetOptions({eoArrowUp, eoArrowDown, eoORInputStop});
    edit().SetRightMargin(0);
    std::vector<std::pair<std::uint16_t, std::wstring>> released;
    edit().OnKeyUp = [&](TSaNumEdit& sender, std::uint16_t& key, TShiftState) {
        released.push_back({key, sender.Text()});
    };
    Click(WM_LBUTTONDOWN, WM_LBUTTONUP);
    for (UINT digit : {1u, 2u, 0u, 0u}) Press(VK_NUMPAD0 + digit, static_cast<wchar_t>(L'0' + digit));
    EXPECT_EQ(edit().Text(), L"1200");
    EXPECT_EQ(edit().DisplayText(), L"¥1,200");
    EXPECT_EQ(beeps, 0);
    EXPECT_EQ(changes, 4);

    struct Refused {
        UINT vk;
        wchar_t ch;
    } refused[] = {{VK_RETURN, L'\r'}, {VK_ADD, L'+'}, {VK_MULTIPLY, L'*'}, {VK_DIVIDE, L'/'}, {VK_DECIMAL, L'.'}};
    for (const Refused& key : refused) {
        released.clear();
        const int before = beeps;
        Press(key.vk, key.ch);
        EXPECT_EQ(beeps, before + 1) << key.vk;
        ASSERT_EQ(released.size(), 1u);
        EXPECT_EQ(released[0].first, key.vk);
        EXPECT_EQ(released[0].second, L"1200");
    }
    Press(VK_SUBTRACT, L'-');
    EXPECT_EQ(edit().Text(), L"-1200");
    Press(VK_SUBTRACT, L'-');
    EXPECT_EQ(edit().Text(), L"1200");
    Press(VK_BACK, 8);
    EXPECT_EQ(edit().Text(), L"120");
    EXPECT_EQ(GetFocus(), handle());
}

TEST_F(NumEditTest, OwnersKeyHandlersComeFirst) {
    Focus();
    edit().SetText(L"12");
    edit().OnKeyDown = [](TSaNumEdit&, std::uint16_t& key, TShiftState) {
        if (key == VK_BACK) key = 0;
    };
    Press(VK_BACK, 8);
    EXPECT_EQ(edit().Text(), L"12") << "the owner handled Backspace";
    EXPECT_EQ(beeps, 0);
    // As SaNumEdit2 swallows Enter: the control refuses the 0 with its beep.
    edit().OnKeyPress = [](TSaNumEdit&, wchar_t& key) {
        if (key == L'\r')
            key = 0;
        else if (key == L'a')
            key = L'3';
    };
    Press(VK_RETURN, L'\r');
    EXPECT_EQ(beeps, 1);
    Press('A', L'a');
    EXPECT_EQ(edit().Text(), L"123") << "the owner may replace the character";
    edit().SetReadOnly(true);
    Press(VK_NUMPAD4, L'4');
    EXPECT_EQ(edit().Text(), L"123");
    EXPECT_EQ(beeps, 1) << "read-only swallows without a beep";
}

TEST_F(NumEditTest, ShiftArrowsSelectAndArrowsMoveTheFocus) {
    edit().SetText(L"7");
    edit().SetAutoSelect(false);
    Focus();
    Press(VK_RIGHT, 0, ssShift);
    EXPECT_NE(edit().SelLength(), 0);
    Press(VK_HOME);
    EXPECT_EQ(edit().SelLength(), 0);
    Press(VK_LEFT, 0, ssShift);
    EXPECT_NE(edit().SelLength(), 0);
    Press(VK_DOWN);
    EXPECT_EQ(GetFocus(), handle()) << "ArrowFocusMove is off";
    edit().SetArrowFocusMove(true);
    Press(VK_DOWN);
    EXPECT_EQ(GetFocus(), form->after);
    Focus();
    Press(VK_UP);
    EXPECT_EQ(GetFocus(), form->before);
    Focus();
    edit().SetEnterFocusMove(true);
    Press(VK_RETURN, L'\r');
    EXPECT_EQ(GetFocus(), form->after);
    EXPECT_EQ(beeps, 0);
}

// ---- Clipboard and context menu ------------------------------------------

TEST_F(NumEditTest, ClipboardRoundTrip) {
    edit().SetLeftMark(L"¥");
    edit().SetText(L"1234");
    Focus();  // AutoSelect selects all
    ASSERT_TRUE(PutClipboardText(L"old"));
    for (bool image : {false, true}) {
        edit().SetImageCopy(image);
        Press('C', 3, ssCtrl);
        EXPECT_EQ(ClipboardText(), image ? L"¥1,234" : L"1234");
    }
    EXPECT_EQ(ClipboardText(CF_TEXT), L"\\1,234") << "plain text in the ANSI code page";
    Press('X', 24, ssCtrl);
    EXPECT_EQ(edit().Text(), L"");
    EXPECT_EQ(changes, 1);
    ASSERT_TRUE(PutClipboardText(L"12"));
    Press('V', 22, ssCtrl);
    Press('V', 22, ssCtrl);
    EXPECT_EQ(edit().Text(), L"1212") << "a paste without selection appends";
    Press('A', 1, ssCtrl);
    ASSERT_TRUE(PutClipboardText(L"１２-5"));
    Press('V', 22, ssCtrl);
    EXPECT_EQ(edit().Text(), L"12");
    EXPECT_EQ(edit().SelLength(), 0);
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(beeps, 0);
}

TEST_F(NumEditTest, ContextMenuEnablingAndCommands) {
    MenuCloser closer;
    auto enabled = [&](int tag) {
        return !(GetMenuState(edit().EditMenu(), tag, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED));
    };
    edit().SetText(L"12");
    edit().SetReadOnly(true);
    ASSERT_TRUE(PutClipboardText(L"3"));
    SendMessageW(handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(handle()), MAKELPARAM(30, 50));
    Pump();
    EXPECT_EQ(GetFocus(), handle()) << "the opening menu takes the focus";
    EXPECT_NE(edit().SelLength(), 0);
    EXPECT_EQ((std::vector<bool>{enabled(0), enabled(2), enabled(3), enabled(4), enabled(5), enabled(7)}),
              (std::vector<bool>{false, false, true, false, false, false}));
    SendMessageW(handle(), WM_COMMAND, TSaNumEdit::EditMenuCommand(mtDelete), 0);
    EXPECT_EQ(edit().Text(), L"12") << "read-only";

    edit().SetReadOnly(false);
    edit().Deselect();
    SendMessageW(handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(handle()), -1);
    Pump();
    EXPECT_EQ((std::vector<bool>{enabled(0), enabled(2), enabled(3), enabled(4), enabled(5), enabled(7)}),
              (std::vector<bool>{false, false, false, true, false, true}));
    SendMessageW(handle(), WM_COMMAND, TSaNumEdit::EditMenuCommand(mtSelectAll), 0);
    SendMessageW(handle(), WM_COMMAND, TSaNumEdit::EditMenuCommand(mtDelete), 0);
    EXPECT_EQ(edit().Text(), L"");
    EXPECT_EQ(changes, 0) << "Delete raises no OnChange";
    SendMessageW(handle(), WM_COMMAND, TSaNumEdit::EditMenuCommand(mtUndo), 0);
    EXPECT_EQ(edit().Text(), L"12");
    EXPECT_EQ(changes, 1);
    EXPECT_NE(edit().SelLength(), 0);
}

// ---- Painting ------------------------------------------------------------

TEST_F(NumEditTest, HighlightCoversExactlyTheMarksAndTheNumber) {
    const COLORREF color = RGB(252, 199, 252);
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    ASSERT_NE(color, highlight);
    edit().SetColor(16566268);
    edit().SetText(L"-56");
    edit().SetRightMark(L"円");
    edit().SetLeftMark(L"¥");

    Picture plain(handle());
    EXPECT_EQ(plain.At(0, 0), color) << "the erase fills with Color";
    EXPECT_EQ(plain.Bounds(highlight).right, 0);

    edit().SelectAll();
    Picture selected(handle());
    const RECT fill{edit().LeftMarkRect().Left, edit().NumberRect().Top, edit().RightMarkRect().Right,
                    edit().NumberRect().Bottom};
    EXPECT_TRUE(SameRect(selected.Bounds(highlight), fill));
    EXPECT_EQ(selected.At(fill.left - 1, fill.top), color);
    EXPECT_EQ(selected.At(fill.right, fill.bottom - 1), color);

    edit().SetEnabled(false);
    Picture disabled(handle());
    EXPECT_EQ(disabled.Bounds(highlight).right, 0) << "disabled paints no highlight";
    EXPECT_NE(disabled.Bounds(GetSysColor(COLOR_GRAYTEXT)).right, 0);

    // An empty value draws nothing at all, marks included.
    edit().SetEnabled(true);
    edit().SetText(L"");
    Picture empty(handle());
    EXPECT_TRUE(empty.All(color));
}

TEST_F(NumEditTest, BothInstancesOfTheMainWindow) {
    ui::Font big = ui::MakeFont(ui::kFontFace, 27, true);
    TSaNumEdit one, two;
    one.SetAutoSize(false);
    one.SetColor(16566268);  // before Create: stays
    one.Create(form->Handle(), 11, 364, 324, 210, 40, big.get());
    one.SetIntegerLength(13);
    one.SetDecimalLength(0);
    one.SetLeftMark(L"¥");
    two.Create(form->Handle(), 12, 168, 392, 121, 23, font());
    two.SetColor(16566256);
    two.SetText(L"0");
    RECT r;
    GetWindowRect(one.Handle(), &r);
    EXPECT_EQ(r.right - r.left, 210);
    EXPECT_EQ(r.bottom - r.top, 40);
    EXPECT_EQ(one.CaretWidth(), 2);
    EXPECT_EQ(one.Color(), 16566268u);
    EXPECT_EQ(two.Color(), 16566256u);
    GetWindowRect(two.Handle(), &r);
    EXPECT_EQ(r.bottom - r.top, 23);
    EXPECT_EQ(two.DisplayText(), L"0");
    EXPECT_EQ(two.CaretWidth(), 1);
}
