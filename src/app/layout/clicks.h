#pragma once

#include <array>

#include "app/form1.h"
#include "app/layout/control_ids.h"

namespace morvane::layout {

// Which of Form1's handlers each button's click runs, for both front ends.
struct Click {
    int id;
    void (Form1::*handler)();
};

inline constexpr std::array<Click, 20> kClicks{{
    {IDC_C_END, &Form1::C_end_Click},
    {IDC_C_PLAY, &Form1::C_Play_Click},
    {IDC_C_PAUSE, &Form1::C_pause_Click},
    {IDC_C_STOP, &Form1::C_stop_Click},
    {IDC_C_PRE, &Form1::C_Pre_Click},
    {IDC_C_NEXT, &Form1::C_next_Click},
    {IDC_COMMAND1, &Form1::Command1_Click},
    {IDC_COMMAND2, &Form1::Command2_Click},
    {IDC_COMMAND4, &Form1::Command4_Click},
    {IDC_COMMAND5, &Form1::Command5_Click},
    {IDC_COMMAND6, &Form1::Command6_Click},
    {IDC_COMMAND7, &Form1::Command7_Click},
    {IDC_COMMAND9, &Form1::Command9_Click},
    {IDC_COMMAND3, &Form1::Command3_Click},
    {IDC_C_UP, &Form1::C_up_Click},
    {IDC_C_DOWN, &Form1::C_down_Click},
    {IDC_C_CLEAR, &Form1::C_clear_Click},
    {IDC_C_SORT, &Form1::C_sort_Click},
    {IDC_C_SAVE, &Form1::C_Save_Click},
    {IDC_C_LOAD, &Form1::C_Load_Click},
}};

} // namespace morvane::layout
