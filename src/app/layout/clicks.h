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
    {IDC_END, &Form1::End_Click},
    {IDC_PLAY, &Form1::Play_Click},
    {IDC_PAUSE, &Form1::Pause_Click},
    {IDC_STOP, &Form1::Stop_Click},
    {IDC_PREVIOUS, &Form1::Previous_Click},
    {IDC_NEXT, &Form1::Next_Click},
    {IDC_BACK, &Form1::Back_Click},
    {IDC_FORWARD, &Form1::Forward_Click},
    {IDC_MARK, &Form1::Mark_Click},
    {IDC_REPEAT, &Form1::Repeat_Click},
    {IDC_JUMP, &Form1::Jump_Click},
    {IDC_RECORD, &Form1::Record_Click},
    {IDC_EDIT_NOTE, &Form1::Edit_Note_Click},
    {IDC_DELETE, &Form1::Delete_Click},
    {IDC_MOVE_UP, &Form1::Move_Up_Click},
    {IDC_MOVE_DOWN, &Form1::Move_Down_Click},
    {IDC_CLEAR, &Form1::Clear_Click},
    {IDC_SORT, &Form1::Sort_Click},
    {IDC_SAVE, &Form1::Save_Click},
    {IDC_LOAD, &Form1::Load_Click},
}};

} // namespace morvane::layout
