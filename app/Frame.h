#pragma once
// The main window's frame: its menu, its tool bar with the tips of its
// buttons, and its status bar.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "register/KeyTable.h"
#include "ui/Form.h"
#include "ui/Gdi.h"

namespace form1 {

// The menu bar: ファイル with the daily close (greyed until the journal is
// kept), 店の設定 and 終了, レジ with the register's commands, ヘルプ.
HMENU MakeMainMenu();
// The items of レジ that depend on the settings: the presets set after
// 小計割引 and the offered tenders after 預り・釣銭, an item each by its name
// with its key, and at the end 入金 and 出金 while the journal is on.
void ShowOptionalItems(HMENU bar, const regi::ShopNames& names, bool journalOn);

// The tool bar across the top: 終了, ヘルプ and バージョン情報 as pictures, which
// pictures keeps (the tool bar does not own them).
HWND CreateToolBar(HWND parent, ui::ImageList& pictures);
// The tip of a tool-bar button; nullptr for any other id.
const wchar_t* ToolTip(UINT_PTR id);
// Answers a tool tip's or the tool bar's request for a tip; other
// notifications pass untouched.
void AnswerToolTip(NMHDR& header);

// The page control with its tabs Regi, Kinsyu and 設定, and the three sheets
// over its display area, the first one shown.
HWND CreatePageControl(HWND parent, HFONT font, ui::Panel (&sheets)[3]);

// The status bar along the bottom: the clock's panel and an empty one.
HWND CreateStatusBar(HWND parent, ui::Font& font);

constexpr int kToolBarHeight = 29;
constexpr int kStatusBarHeight = 26;

}  // namespace form1
