#include "app/main_form.h"

#include <algorithm>

#include "app/layout/clicks.h"
#include "stamps/stamps.h"
#include "text/utf8.h"

namespace morvane {

MainForm::MainForm(const MainFormParts& parts)
    : ui_(parts),
      marks_(parts.list_box, parts.count_line, parts.window, parts.entry_bound),
      mark_files_(parts.window, parts.files, parts.code_page, parts.mark_files, parts.player, marks_),
      practice_(parts.player, parts.window, parts.poll_clock, parts.files, marks_.List()),
      poll_timer_(parts.poll_clock),
      state_line_(parts.state_line),
      time_line_(parts.time_line),
      mark_line_(parts.mark_line),
      seek_time_(parts.seek_time)
{
}

bool MainForm::Form_Load()
{
    mark_text_ = u"[000:00:000]";
    marks_.ShowCount();
    ui_.player.Refresh();
    if (ui_.player.FindPlayer() == 0) {
        ui_.window.ShowInfo(ui_.player.NotFoundMessage(), u"提示");
        return false;
    }
    return true;
}

void MainForm::End_Click()
{
    // Ends at once: nothing is asked and the list is not saved.
    ui_.window.Quit();
}

bool MainForm::Window_EnterPress(int focused_id)
{
    // The window has no default button: Enter is the focused button's click.
    const auto click = std::ranges::find(layout::kClicks, focused_id, &layout::Click::id);
    if (click == layout::kClicks.end()) return false;
    (this->*click->handler)();
    return true;
}

// --- mark list

void MainForm::Record_Click()
{
    // No tick and no hot key may run until the entry is in, the prompt
    // included, so typing the note drives nothing.
    poll_timer_.Disable();
    const WaitingHandler waiting(*this);
    // The stamp is the position at the click, before the player is paused.
    const std::int32_t position_ms = ui_.player.GetExactPositionMs();
    std::u16string entry = FormatMs(position_ms);
    if (ui_.ask_note.Checked()) {
        const bool pause = ui_.pause_for_note.Checked();
        if (pause) ui_.player.CmdPause();
        entry = marks_.WithNote(entry);
        // Keys typed into the note were pressed since the last sample; they
        // are the note's, not commands for the player.
        ForgetHotKeys();
        if (pause) {
            // The rewind of a resume after typing, as after any pause.
            practice_.Repetition().RewindFrom(position_ms, ui_.poll_clock.NowMs());
            ui_.player.CmdPlay();
        }
    }
    // At the bound the entry is not taken and the recording ends quietly;
    // the player has been set playing again above either way.
    const bool added = marks_.Append(entry);
    poll_timer_.Enable();
    if (added) marks_.ShowAppended();
}

void MainForm::Edit_Note_Click()
{
    const WaitingHandler waiting(*this);
    marks_.EditNote();
}

void MainForm::Delete_Click() { marks_.Delete(); }
void MainForm::Move_Up_Click() { marks_.MoveUp(); }
void MainForm::Move_Down_Click() { marks_.MoveDown(); }
void MainForm::Clear_Click() { marks_.Clear(); }
void MainForm::Mark_List_Click(int index) { marks_.List().RecordSelection(index); }
void MainForm::Mark_List_MouseMove(bool button_down, int x, int y) { marks_.ShowTooltip(button_down, x, y); }
void MainForm::UpdateExtent() { marks_.UpdateExtent(); }
void MainForm::Mark_List_FontChanged() { marks_.FontChanged(); }
void MainForm::Sort_Click() { marks_.Sort(); }

void MainForm::Save_Click()
{
    const WaitingHandler waiting(*this);
    mark_files_.Save();
}

void MainForm::Load_Click()
{
    const WaitingHandler waiting(*this);
    mark_files_.Load();
}

// --- practice

std::u16string MainForm::UseSettings(std::u16string path, std::string text)
{
    return practice_.UseSettings(std::move(path), std::move(text));
}

void MainForm::Mark_List_RightClick(int index)
{
    const WaitingHandler waiting(*this);
    if (const int id = ui_.window.ShowMenu(Mark_List_ContextMenu(index)); id != 0) Context_Menu_Click(id);
}

std::vector<MenuItem> MainForm::Mark_List_ContextMenu(int index)
{
    menu_index_ = index;
    return practice_.Menu(index);
}

void MainForm::Context_Menu_Click(int id)
{
    if (!practice_.Choose(id)) Repeat_Passage_Click(menu_index_);
}

void MainForm::Repeat_Passage_Click(int index)
{
    if (marks_.SelectEntry(index)) practice_.RepeatEntry(index);
}

void MainForm::Stop_Repeat_Click() { practice_.StopRepeat(); }
void MainForm::Loop_Click() { practice_.Loop(); }
void MainForm::Previous_Mark_Click() { practice_.PreviousMark(); }
void MainForm::Next_Mark_Click() { practice_.NextMark(); }
void MainForm::Slower_Click() { practice_.Slower(); }
void MainForm::Faster_Click() { practice_.Faster(); }
void MainForm::Speed_Click(double rate) { practice_.ChangeSpeed(rate); }

void MainForm::Passes_Click(std::optional<int> passes)
{
    practice_.ChangeSetting(settings::Setting::Passes, passes ? settings::Value(*passes) : std::nullopt);
}

void MainForm::Gap_Click(int ms) { practice_.ChangeSetting(settings::Setting::Gap, ms / 1000.0); }
void MainForm::Rewind_Click(int ms) { practice_.ChangeSetting(settings::Setting::Rewind, ms / 1000.0); }
void MainForm::Step_Click(int ms) { practice_.ChangeSetting(settings::Setting::Step, ms / 1000.0); }

} // namespace morvane
