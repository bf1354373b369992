#pragma once

#include <array>

#include "app/main_form.h"
#include "app/layout/control_ids.h"

namespace morvane::layout {

// Which of MainForm's handlers each button's click runs, for both front ends.
struct Click {
    int id;
    void (MainForm::*handler)();
};

inline constexpr std::array<Click, 20> kClicks{{
    {IDC_END, &MainForm::End_Click},
    {IDC_PLAY, &MainForm::Play_Click},
    {IDC_PAUSE, &MainForm::Pause_Click},
    {IDC_STOP, &MainForm::Stop_Click},
    {IDC_PREVIOUS, &MainForm::Previous_Click},
    {IDC_NEXT, &MainForm::Next_Click},
    {IDC_BACK, &MainForm::Back_Click},
    {IDC_FORWARD, &MainForm::Forward_Click},
    {IDC_MARK, &MainForm::Mark_Click},
    {IDC_REPEAT, &MainForm::Repeat_Click},
    {IDC_JUMP, &MainForm::Jump_Click},
    {IDC_RECORD, &MainForm::Record_Click},
    {IDC_EDIT_NOTE, &MainForm::Edit_Note_Click},
    {IDC_DELETE, &MainForm::Delete_Click},
    {IDC_MOVE_UP, &MainForm::Move_Up_Click},
    {IDC_MOVE_DOWN, &MainForm::Move_Down_Click},
    {IDC_CLEAR, &MainForm::Clear_Click},
    {IDC_SORT, &MainForm::Sort_Click},
    {IDC_SAVE, &MainForm::Save_Click},
    {IDC_LOAD, &MainForm::Load_Click},
}};

} // namespace morvane::layout
