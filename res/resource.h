// Resource and control identifiers shared by the code and the resource scripts.
#pragma once

#define IDR_MAINFRAME           128
#define IDD_MAINDLG             128
#define IDD_MAINDLG_WIN10       129
#define IDS_TITLE               128
#define IDS_ADMIN_TITLE         192
#define IDS_VERB_RESIZE         256
#define IDS_VERB_RESIZE_RUNAS   257
#define IDM_ABOUTBOX            0x0110
#define IDS_ABOUTBOX            0x0110
#define IDS_COLUMN_TITLE        512
#define IDS_COLUMN_WIDTH        513
#define IDS_COLUMN_HEIGHT       514
#define IDS_COLUMN_X            515
#define IDS_COLUMN_Y            516
#define IDR_REGISTRY            128
#define IDR_DLGINIT             128
#define RT_DLGINIT_TYPE         240

#define ID_REFRESH              288

#define IDC_APPLY               1000
#define IDC_RESTORE             1001
#define IDC_DISPLAY             1002
#define IDC_WINDOWS             1003
#define IDC_RETICLE             1004
#define IDC_WIDTH               1010
#define IDC_HEIGHT              1020
#define IDC_X                   1030
#define IDC_Y                   1040
#define IDC_WIDTH_SPIN          1050
#define IDC_HEIGHT_SPIN         1051
#define IDC_X_SPIN              1052
#define IDC_Y_SPIN              1053
#define IDC_ANCHOR_CENTER       1060
#define IDC_ANCHOR_TOP          1061
#define IDC_ANCHOR_BOTTOM       1062
#define IDC_ANCHOR_LEFT         1063
#define IDC_ANCHOR_TOPLEFT      1064
#define IDC_ANCHOR_BOTTOMLEFT   1065
#define IDC_ANCHOR_RIGHT        1066
#define IDC_ANCHOR_TOPRIGHT     1067
#define IDC_ANCHOR_BOTTOMRIGHT  1068

#define IDC_STATIC              (-1)
