// Resource and control ids, shared by launcher.rc and the C++ code.
#pragma once

// Bitmaps
#define IDB_MENU_PICTURE 123     // main menu picture, 367 x 256, 256 colours
#define IDB_CREDITS_PICTURE 117  // credits picture, 575 x 52, 256 colours
#define IDI_LAUNCHER 1           // application icon

// The dialog manager's OK and Cancel buttons, IDOK and IDCANCEL of
// <windows.h> (Win32Ui.cpp checks them), and the results of a dialog they end.
#define IDC_OK 1
#define IDC_CANCEL 2

// Main menu "IDD_MAINDLG"
#define IDC_MAIN_PRACTICE 1002
#define IDC_MAIN_SINGLEMATCH 1000
#define IDC_MAIN_NEWLEAGUE 1001
#define IDC_MAIN_LOADLEAGUE 3
#define IDC_MAIN_DEMO 8
#define IDC_MAIN_CREDITS 5
#define IDC_MAIN_DIRECTX 4
#define IDC_MAIN_LICENCE 6
#define IDC_MAIN_WEBSITE 7
#define IDC_MAIN_CANCEL 2

// Create-league dialog "IDD_CREATELEAGUE"
#define IDC_LEAGUE_NAME 1003
#define IDC_LEAGUE_PLAYERS 1002
#define IDC_LEAGUE_ROUNDS 1006
#define IDC_LEAGUE_VOKS 1008
#define IDC_LEAGUE_LIVES 1010
#define IDC_LEAGUE_NAME_LABEL 1004
#define IDC_LEAGUE_PLAYERS_LABEL 1005
#define IDC_LEAGUE_ROUNDS_LABEL 1007
#define IDC_LEAGUE_VOKS_LABEL 1009
#define IDC_LEAGUE_LIVES_LABEL 1011

// Input box "IDD_INPUTBOX"
#define IDC_INPUT_EDIT 1006
#define IDC_INPUT_PROMPT 1007

// Credits "IDD_CREDITS"
#define IDC_CREDITS_COLUMN1 1011
#define IDC_CREDITS_COLUMN2 1012
#define IDC_CREDITS_COLUMN3 1013

// The message a second launcher posts to the first one (WM_USER + 32).
#define VOK_PEER_MESSAGE 0x420
