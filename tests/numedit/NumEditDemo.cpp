// A window full of numeric entry fields in their different looks, to be looked
// at (and typed into) by a person; not part of the program.
#include <windows.h>

#include <memory>
#include <vector>

#include "numedit/SaNumEdit.h"
#include "ui/App.h"
#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/Gdi.h"
#include "ui/MessageLoop.h"

namespace {

class DemoForm : public ui::Form {
public:
    DemoForm() {
        RegisterClassOnce(L"NumEditDemo");
        Create(L"NumEditDemo", L"TSaNumEdit demo", WS_OVERLAPPEDWINDOW, WS_EX_CONTROLPARENT, 20, 20, 600, 520, nullptr,
               nullptr);
        int y = 10;
        auto add = [&](const wchar_t* caption, int width = 200, int height = 23, HFONT font = nullptr) -> TSaNumEdit& {
            ui::CreateLabel(Handle(), 0, caption, 10, y + 4, font_.get());
            edits_.push_back(std::make_unique<TSaNumEdit>());
            TSaNumEdit& edit = *edits_.back();
            edit.Create(Handle(), 100 + static_cast<int>(edits_.size()), 260, y, width, height,
                        font ? font : font_.get());
            y += height + 8;
            return edit;
        };

        TSaNumEdit& one = add(L"SaNumEdit1 (register)", 210, 40, big_.get());
        one.SetAutoSize(false);
        one.SetAutoSelect(false);
        one.SetColor(16566268);
        one.SetIntegerLength(13);
        one.SetDecimalLength(0);
        one.SetLeftMark(L"¥");
        one.SetOptions({eoArrowUp, eoArrowDown, eoORInputStop});
        one.SetRightMargin(0);
        one.SetText(L"1234567");

        TSaNumEdit& two = add(L"SaNumEdit2 (cash count)", 121, 23);
        two.SetColor(16566256);
        two.SetText(L"0");

        add(L"taRightJustify").SetText(L"-1234.5");
        TSaNumEdit& left = add(L"taLeftJustify");
        left.SetAlignment(taLeftJustify);
        left.SetText(L"98765");
        TSaNumEdit& center = add(L"taCenter, marks");
        center.SetAlignment(taCenter);
        center.SetLeftMark(L"¥");
        center.SetRightMark(L"円");
        center.SetText(L"42");
        TSaNumEdit& fixed = add(L"IntegerFixed + DecimalFixed");
        fixed.SetIntegerFixed(true);
        fixed.SetDecimalFixed(true);
        fixed.SetIntegerLength(6);
        fixed.SetText(L"12.5");
        TSaNumEdit& empty = add(L"DecimalFixed, empty");
        empty.SetDecimalFixed(true);
        TSaNumEdit& selected = add(L"selected, marks", 200, 23);
        selected.SetLeftMark(L"¥");
        selected.SetRightMark(L"-");
        selected.SetHideSelection(false);
        selected.SetText(L"31415");
        selected.SelectAll();
        TSaNumEdit& disabled = add(L"disabled");
        disabled.SetText(L"1000");
        disabled.SetEnabled(false);
        TSaNumEdit& readOnly = add(L"ReadOnly");
        readOnly.SetReadOnly(true);
        readOnly.SetText(L"777");
        TSaNumEdit& flat = add(L"Ctl3D off / bsNone");
        flat.SetCtl3D(false);
        flat.SetText(L"1");
        TSaNumEdit& none = add(L"bsNone, taTopJustify", 200, 30);
        none.SetAutoSize(false);
        none.SetBorderStyle(bsNone);
        none.SetVertAlignment(taTopJustify);
        none.SetText(L"2");
        ShowWindow(Handle(), SW_SHOW);
        SetFocus(one.Handle());
    }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_DESTROY) PostQuitMessage(0);
        return Form::HandleMessage(message, wParam, lParam);
    }

private:
    ui::Font font_ = ui::MakeFont(ui::kFontFace, 15);
    ui::Font big_ = ui::MakeFont(ui::kFontFace, 27, true);
    std::vector<std::unique_ptr<TSaNumEdit>> edits_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    ui::App().SetTitle(L"TSaNumEdit demo");
    DemoForm form;
    return ui::RunMessageLoop();
}
