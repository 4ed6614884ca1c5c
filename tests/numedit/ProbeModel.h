// The model with the window's side replaced by recorders, and a key driver
// that sends what the keyboard sends for a key.
#pragma once

#include "numedit/SaNumEditModel.h"

#include <optional>
#include <sstream>
#include <string>
#include <vector>

class TMemoryClipboard : public TTextClipboard {
public:
    std::optional<std::wstring> Content;
    bool HasText() override { return Content.has_value(); }
    std::optional<std::wstring> GetText() override { return Content; }
    void SetText(const std::wstring& Text) override { Content = Text; }
};

// Records every notification the window would get, in order.
class TProbeModel : public TSaNumEditModel {
public:
    TProbeModel() {
        SetClipboard(&Clipboard);
        OnChange = [this](TSaNumEditModel&) { ++Changes; };
        MeasureFixed(8);
        SetClientSize(200, 20);
    }
    // Every character CharWidth pixels wide, as a fixed-pitch font measures.
    void MeasureFixed(int CharWidth) {
        SetMeasureFunc([CharWidth](const std::wstring& t) { return CharWidth * static_cast<int>(t.size()); });
    }
    bool Has(const std::string& Entry) const {
        for (const std::string& e : Log)
            if (e == Entry) return true;
        return false;
    }

    TMemoryClipboard Clipboard;
    std::vector<std::string> Log;
    int Changes = 0;
    int Beeps = 0;
    bool HasParentForm = true;

    void UpdateCaret() override { Log.push_back("caret"); }
    void AdjustHeight() override { Log.push_back("height"); }
    void AdjustWidth() override { Log.push_back("width"); }

protected:
    void Invalidate() override { Log.push_back("repaint"); }
    void RecreateWnd() override { Log.push_back("recreate"); }
    void ErrorSound() override {
        ++Beeps;
        Log.push_back("beep");
    }
    bool PostFocusMove(bool Previous) override {
        if (!HasParentForm) return false;
        Log.push_back(Previous ? "focus-prev" : "focus-next");
        return true;
    }
    void FocusControl() override { Log.push_back("focus"); }
};

// Sends one key as key-down and key-press. Tokens: a printable character
// (digits, "-" and "." as on the keypad), BS, DEL, ENTER, NUL (a character the
// owner set to 0), LEFT, RIGHT, HOME, END, PGUP, PGDN, UP, DOWN, S-LEFT, S-UP,
// ^A ^C ^V ^X ^Z (Ctrl), ^+A (Ctrl+Shift), the menu items M:UNDO M:CUT M:COPY
// M:PASTE M:DEL M:ALL, and FOCUS / EXIT for gaining and losing the focus.
inline void PressKey(TSaNumEditModel& m, const std::string& k) {
    struct Named {
        const char* Token;
        std::uint16_t Vk;
        TShiftState Shift;
        int Char;  // -1: the key makes no character
    };
    static const Named named[] = {
        {"BS", vkBack, 0, 8},
        {"DEL", vkDelete, 0, -1},
        {"ENTER", vkReturn, 0, 13},
        {"LEFT", vkLeft, 0, -1},
        {"RIGHT", vkRight, 0, -1},
        {"HOME", vkHome, 0, -1},
        {"END", vkEnd, 0, -1},
        {"PGUP", vkPrior, 0, -1},
        {"PGDN", vkNext, 0, -1},
        {"UP", vkUp, 0, -1},
        {"DOWN", vkDown, 0, -1},
        {"S-LEFT", vkLeft, ssShift, -1},
        {"S-UP", vkUp, ssShift, -1},
        {"^A", vkA, ssCtrl, 1},
        {"^C", vkC, ssCtrl, 3},
        {"^V", vkV, ssCtrl, 22},
        {"^X", vkX, ssCtrl, 24},
        {"^Z", 0x5A, ssCtrl, 26},
        {"^+A", vkA, ssCtrl | ssShift, 1},
        {"NUL", 0, 0, 0},
    };
    static const std::pair<const char*, int> menu[] = {{"M:UNDO", mtUndo},  {"M:CUT", mtCut},
                                                       {"M:COPY", mtCopy},  {"M:PASTE", mtPaste},
                                                       {"M:DEL", mtDelete}, {"M:ALL", mtSelectAll}};
    if (k == "FOCUS") return m.FocusEntered();
    if (k == "EXIT") return m.FocusExited();
    for (const auto& [token, tag] : menu)
        if (k == token) return m.EditMenuClick(m.EditMenuItems()[tag]);
    for (const Named& n : named) {
        if (k != n.Token) continue;
        std::uint16_t vk = n.Vk;
        if (vk) m.KeyDown(vk, n.Shift);
        wchar_t c = static_cast<wchar_t>(n.Char);
        if (n.Char >= 0) m.KeyPress(c);
        return;
    }
    // A character key: the keypad's codes for its own keys, the letter's code else.
    const char c = k.at(0);
    std::uint16_t vk = c == '-'   ? 0x6D
                       : c == '.' ? 0x6E
                       : c == '+' ? 0x6B
                       : c == '*' ? 0x6A
                       : c == '/' ? 0x6F
                                  : static_cast<std::uint16_t>(c >= 'a' && c <= 'z' ? c - 32 : c);
    m.KeyDown(vk, 0);
    wchar_t ch = static_cast<wchar_t>(c);
    m.KeyPress(ch);
}

inline void PressKeys(TSaNumEditModel& m, const std::string& Keys) {
    std::istringstream in(Keys);
    for (std::string k; in >> k;) PressKey(m, k);
}
