#pragma once

// Identifiers of the main window's controls, one per row of the layout.
// Plain macros so the Windows resource compiler can read them too.

#define IDC_FRAME1 1001
#define IDC_LIST1 1002
#define IDC_COMMAND3 1003
#define IDC_COMMAND9 1004
#define IDC_C_UP 1005
#define IDC_C_DOWN 1006
#define IDC_TEXT1 1007
#define IDC_C_CLEAR 1008
#define IDC_C_SORT 1009
#define IDC_C_LOAD 1010
#define IDC_C_SAVE 1011
#define IDC_C_END 1012
#define IDC_TEXT2 1013
#define IDC_TEXT3 1014
#define IDC_FRAME2 1015
#define IDC_C_PRE 1016
#define IDC_C_PLAY 1017
#define IDC_C_PAUSE 1018
#define IDC_C_STOP 1019
#define IDC_C_NEXT 1020
#define IDC_FRAME3 1021
#define IDC_COMMAND1 1022
#define IDC_COMMAND2 1023
#define IDC_COMMAND4 1024
#define IDC_COMMAND5 1025
#define IDC_TEXT4 1026
#define IDC_FRAME4 1027
#define IDC_H1 1028
#define IDC_TEXT5 1029
#define IDC_COMMAND6 1030
#define IDC_COMMAND7 1031
#define IDC_C1 1032
#define IDC_C2 1033
