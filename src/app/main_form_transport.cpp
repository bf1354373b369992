#include <cstdint>
#include <limits>

#include "app/main_form.h"
#include "stamps/entry.h"
#include "stamps/stamps.h"

namespace morvane {

namespace {

constexpr std::int32_t kStepMs = 2000;

// position + delta without overflow. A real player never reports a position
// near the ends of the 32-bit range; if one did, the target stops at the end
// rather than wrapping round to the other side of the track.
std::int32_t StepFrom(std::int32_t position_ms, std::int32_t delta_ms)
{
    const std::int64_t target = static_cast<std::int64_t>(position_ms) + delta_ms;
    if (target > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    if (target < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(target);
}

} // namespace

void MainForm::Play_Click() { ui_.player.CmdPlay(); }
void MainForm::Pause_Click() { ui_.player.CmdPause(); }
void MainForm::Stop_Click() { ui_.player.CmdStop(); }
void MainForm::Previous_Click() { ui_.player.CmdPrev(); }
void MainForm::Next_Click() { ui_.player.CmdNext(); }

// The steps go to the player unbounded: near the start the target is
// negative, and the player decides what that means.
void MainForm::Back_Click()
{
    ui_.player.JumpToMs(StepFrom(ui_.player.GetPositionMs(), -kStepMs));
}

void MainForm::Forward_Click()
{
    ui_.player.JumpToMs(StepFrom(ui_.player.GetPositionMs(), kStepMs));
}

void MainForm::Mark_Click()
{
    // Two queries: the shown stamp comes from the first, the repeat target
    // from the second.
    const std::int32_t shown_ms = ui_.player.GetPositionMs();
    const std::int32_t target_ms = ui_.player.GetPositionMs();
    mark_ms_ = target_ms;
    mark_text_ = FormatMs(shown_ms);
}

void MainForm::Repeat_Click() { ui_.player.JumpToMs(mark_ms_); }

void MainForm::Jump_Click()
{
    // A 16-bit value times 1000 always fits 32 bits.
    ui_.player.JumpToMs(static_cast<std::int32_t>(ui_.seek_bar.Value()) * 1000);
}

void MainForm::Seek_Bar_Change()
{
    if (auto shown = FormatSec(DecimalText(ui_.seek_bar.Value()))) seek_time_.Set(*shown.value);
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
    const std::u16string entry = mark_list_.Text(mark_list_.Highlighted());
    if (auto ms = ParseStamp(EntryStamp(entry))) ui_.player.JumpToMs(*ms.value);
}

} // namespace morvane
