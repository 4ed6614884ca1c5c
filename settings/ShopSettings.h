#pragma once
// The shop-settings window: a property sheet over the main window with the
// shop's settings that the settings page has no room for, one page each:
// レシートとプリンター (receipts, printer, drawer and cutter), 現金以外の支払い
// (the other tenders), 税率の変更 (the rate changes entered ahead), キー
// (the chords a POS keyboard sends for the register's commands), 部門 (the
// departments, with their own keys), 値引 (the discounts set ahead) and 商品
// (the product file as read, and the layout of the in-store price codes).
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "common/DateTime.h"
#include "settings/Settings.h"

namespace settings {

// The messages for a rate change that cannot be added; "%s" stands for the text.
extern const wchar_t kBadChangeDay[];
extern const wchar_t kChangeDayNotAhead[];
extern const wchar_t kBadChangeRate[];
extern const std::wstring kTooManyChanges;

struct ShopSettingsHooks {
    std::function<std::vector<std::wstring>()> printers;  // 選ぶ's menu; throws when there are none
    // What the printer (empty: the default one) prints a roll of paperWidth mm on.
    std::function<std::wstring(const std::wstring& printer, int paperWidth)> paperNote;
    common::Clock clock;  // today, for a rate change entered ahead
    // The product file: its place, what was read of it and its faults; the
    // reading again that the page's button asks for, which returns when done.
    std::function<std::wstring()> productFile, productStatus, productFaults;
    std::function<void()> reloadProducts;
};

// Shows the window modally over owner with values' shop settings. OK puts
// what was edited into values and returns true; Cancel, Escape and the close
// box return false and leave values as they were.
bool EditShopSettings(HWND owner, Settings& values, const ShopSettingsHooks& hooks);

}  // namespace settings
