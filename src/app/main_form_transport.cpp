#include <cstdint>

#include "app/main_form.h"
#include "stamps/entry.h"
#include "stamps/stamps.h"

namespace morvane {

void MainForm::Play_Click() { ports_.player.CmdPlay(); }
void MainForm::Pause_Click() { ports_.player.CmdPause(); }
void MainForm::Stop_Click() { ports_.player.CmdStop(); }
void MainForm::Previous_Click() { ports_.player.CmdPrev(); }
void MainForm::Next_Click() { ports_.player.CmdNext(); }

void MainForm::Back_Click() { practice_.StepBy(-practice_.Settings().step_ms); }
void MainForm::Forward_Click() { practice_.StepBy(practice_.Settings().step_ms); }

void MainForm::Mark_Click()
{
    // Two queries: the shown stamp comes from the first, the repeat target
    // from the second.
    const std::int32_t shown_ms = ports_.player.GetExactPositionMs();
    const std::int32_t target_ms = ports_.player.GetPositionMs();
    mark_ms_ = target_ms;
    mark_text_ = FormatMs(shown_ms);
}

void MainForm::Repeat_Click() { ports_.player.JumpToMs(mark_ms_); }

void MainForm::Jump_Click()
{
    // A 16-bit value times 1000 always fits 32 bits.
    ports_.player.JumpToMs(static_cast<std::int32_t>(seek_bar_.Value()) * 1000);
}

void MainForm::Seek_Bar_Change()
{
    if (auto shown = FormatSec(DecimalText(seek_bar_.Value()))) seek_time_.Set(*shown.value);
}

void MainForm::Seek_Bar_Scroll() { Seek_Bar_Change(); }

void MainForm::Mark_List_DblClick() { JumpToEntry(); }

bool MainForm::Mark_List_KeyPress(int char_code)
{
    // Character codes, so letters match in upper case only; the list uses D
    // for the next track.
    switch (char_code) {
    case 13: Mark_List_DblClick(); return true;
    case 68: Next_Click(); return true;
    case 72: Pause_Click(); return true;
    case 80: Play_Click(); return true;
    case 83: Stop_Click(); return true;
    case 85: Previous_Click(); return true;
    default: return false;
    }
}

void MainForm::JumpToEntry()
{
    // No selection reads as empty text. A line that does not start with a
    // stamp (empty, or foreign text loaded from a file) is no jump at all.
    const std::u16string entry = marks_.Marks().Text(marks_.Marks().Highlighted());
    if (auto ms = EntryTimeMs(entry)) ports_.player.JumpToMs(*ms);
}

} // namespace morvane
