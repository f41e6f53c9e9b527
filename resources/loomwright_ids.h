// Identifiers shared by the composer's resources and its code.
#pragma once

#define IDR_MAINMENU 100
#define IDD_ABOUT 200
#define IDC_ABOUT_PRODUCT 201
#define IDC_ABOUT_VERSION 202
#define IDC_ABOUT_ICON 203
// File, Check: the findings
#define IDD_CHECK 210
#define IDC_CHECK_LIST 211
// F10 and F9 of the stepping items
#define IDR_STEPKEYS 220

// File
#define IDM_NEW 1001
#define IDM_OPEN 1002
#define IDM_SAVE 1003
#define IDM_SAVEAS 1004
#define IDM_LOADTEXT 1005
#define IDM_TEST 1006
#define IDM_EXIT 1007
#define IDM_CHECK 1008
#define IDM_STEP 1009
#define IDM_TESTHERE 1010
#define IDM_BREAKPOINT 1011
// Edit: the eight page items, in page order, then Paste script
#define IDM_PAGE_FIRST 1100
#define IDM_PAGE_LAST 1107
#define IDM_PASTESCRIPT 1110
// Help
#define IDM_CONTENTS 1200
#define IDM_ABOUT 1201
