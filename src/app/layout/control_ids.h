#pragma once

// Identifiers of the main window's controls, one per row of the layout.
// Plain macros so the Windows resource compiler can read them too.

#define IDC_MARKS_FRAME 1001
#define IDC_MARK_LIST 1002
#define IDC_DELETE 1003
#define IDC_EDIT_NOTE 1004
#define IDC_MOVE_UP 1005
#define IDC_MOVE_DOWN 1006
#define IDC_COUNT_LINE 1007
#define IDC_CLEAR 1008
#define IDC_SORT 1009
#define IDC_LOAD 1010
#define IDC_SAVE 1011
#define IDC_END 1012
#define IDC_STATE_LINE 1013
#define IDC_TIME_LINE 1014
#define IDC_PLAYER_FRAME 1015
#define IDC_PREVIOUS 1016
#define IDC_PLAY 1017
#define IDC_PAUSE 1018
#define IDC_STOP 1019
#define IDC_NEXT 1020
#define IDC_REPEAT_FRAME 1021
#define IDC_BACK 1022
#define IDC_FORWARD 1023
#define IDC_MARK 1024
#define IDC_REPEAT 1025
#define IDC_MARK_LINE 1026
#define IDC_RECORD_FRAME 1027
#define IDC_SEEK_BAR 1028
#define IDC_SEEK_TIME 1029
#define IDC_JUMP 1030
#define IDC_RECORD 1031
#define IDC_ASK_NOTE 1032
#define IDC_PAUSE_FOR_NOTE 1033
