#pragma once
// The shop-settings window's pages and their controls. The resource file's
// dialog templates use these too, and the resource compiler reads only macros.

// The pages, as dialog templates
#define IDD_SHOP_RECEIPT 3000
#define IDD_SHOP_TENDERS 3001
#define IDD_SHOP_RATES 3002
#define IDD_SHOP_KEYS 3003
#define IDD_SHOP_DEPARTMENTS 3004
#define IDD_SHOP_DISCOUNTS 3005
#define IDD_SHOP_PRODUCTS 3006

// レシートとプリンター: who issues receipts, when and where they print, on
// what paper, and the drawer and cutter of the receipt printer
#define IDC_SHOP_NAME 3010
#define IDC_SHOP_ADDRESS 3011
#define IDC_REGISTRATION_NUMBER 3012
#define IDC_PRINT_MODE 3013
#define IDC_PAPER_WIDTH 3014
#define IDC_PRINTER 3015
#define IDC_CHOOSE_PRINTER 3016
#define IDC_PAPER_NOTE 3017
#define IDC_DRAWER 3018
#define IDC_CUT_PAPER 3019

// 現金以外の支払い: the switch, then each tender's key and name
#define IDC_TENDERS_ON 3030
#define IDC_TENDER_KEY1 3031
#define IDC_TENDER_NAME1 3035

// 税率の変更: the changes' days, a change's day and rates, add and remove,
// and the line of the rates in force with the next change
#define IDC_RATE_CHANGES 3050
#define IDC_CHANGE_DAY 3051
#define IDC_CHANGE_STANDARD 3052
#define IDC_CHANGE_REDUCED 3053
#define IDC_ADD_CHANGE 3054
#define IDC_REMOVE_CHANGE 3055
#define IDC_RATES_LINE 3056

// キー: the register's commands with their keys, the chord typed for the one
// chosen, and the buttons that give it and take it away
#define IDC_KEY_COMMANDS 3070
#define IDC_KEY_CHORD 3071
#define IDC_GIVE_KEY 3072
#define IDC_TAKE_KEY_AWAY 3073

// 部門: the departments with their numbers, names, classes and keys, the
// fields of the one to add or change, and the names of the lines ENTER, F2
// and + make, in the order of their keys
#define IDC_DEPARTMENTS 3090
#define IDC_DEPARTMENT_NUMBER 3091
#define IDC_DEPARTMENT_NAME 3092
#define IDC_DEPARTMENT_CLASS 3093
#define IDC_DEPARTMENT_CHORD 3094
#define IDC_PUT_DEPARTMENT 3095
#define IDC_REMOVE_DEPARTMENT 3096
#define IDC_KEY_LINE_NAME1 3097

// 値引: each preset's key, kind, value and name
#define IDC_PRESET_KEY1 3110
#define IDC_PRESET_KIND1 3114
#define IDC_PRESET_VALUE1 3118
#define IDC_PRESET_LABEL1 3122

// 商品: the product file's place and what was read of it, its faults, the
// button that reads it again, and the in-store codes' layout
#define IDC_PRODUCTS_FILE 3130
#define IDC_PRODUCTS_STATUS 3131
#define IDC_PRODUCTS_FAULTS 3132
#define IDC_RELOAD_PRODUCTS 3133
#define IDC_INSTORE_LAYOUT 3134
