// The mark list by hand: record, note edit, delete, moves, clear, the
// selection, the tooltip and the horizontal extent.

#include <string>
#include <vector>

#include "app/main_form.h"
#include "stamps/entry.h"
#include "stamps/stamps.h"

namespace morvane {

namespace {

const std::u16string kNotePrompt = u"请输入注释";
const std::u16string kEditPrompt = u"添加或修改注释";

} // namespace

bool MainForm::SelectEntry(int index)
{
    if (index < 0 || index >= mark_list_.Count() || !ui_.list_box.Select(index)) return false;
    Mark_List_Click(index);
    return true;
}

void MainForm::ShowCount()
{
    count_line_.Set(DecimalText(mark_list_.Count()));
}

void MainForm::Mark_List_Click(int index)
{
    mark_list_.RecordSelection(index);
}

void MainForm::Record_Click()
{
    // No tick and no hot key may run until the entry is in, the prompt
    // included, so typing the note drives nothing.
    poll_timer_.Disable();
    const WaitingHandler waiting(*this);
    // The stamp is the position at the click, before the player is paused.
    const std::int32_t position_ms = ui_.player.GetExactPositionMs();
    const std::u16string stamp = FormatMs(position_ms);

    std::u16string entry = stamp;
    if (ui_.ask_note.Checked()) {
        const bool pause = ui_.pause_for_note.Checked();
        if (pause) ui_.player.CmdPause();
        entry = MakeEntry(stamp, ui_.window.Prompt(kNotePrompt, u"", u"", static_cast<int>(kMaxNoteLength)));
        // Keys typed into the note were pressed since the last sample; they
        // are the note's, not commands for the player.
        ForgetHotKeys();
        if (pause) {
            // The rewind of a resume after typing, as after any pause.
            practice_.RewindFrom(position_ms, ui_.poll_clock.NowMs());
            ui_.player.CmdPlay();
        }
    }
    // At the bound the entry is not taken and the recording ends quietly;
    // the player has been set playing again above either way.
    const bool added = mark_list_.Insert(mark_list_.Count(), entry);
    if (added) {
        ShowCount();
        SelectEntry(mark_list_.Count() - 1);
    }
    poll_timer_.Enable();
    if (!added) return;
    UpdateExtent();
    ui_.list_box.Focus();
}

void MainForm::Edit_Note_Click()
{
    const WaitingHandler waiting(*this);
    // The position is read once: a keypad-0 recording while the prompt is
    // open moves the selection, but the answer belongs to the entry read here.
    const std::optional<int> p = mark_list_.Selection();
    if (!p) return;
    const std::u16string old_entry = mark_list_.Text(*p);

    if (!old_entry.empty()) {
        std::u16string old_note;
        if (old_entry.size() != kStampLength) {
            // Neither a bare stamp nor stamp + separator: not an entry this
            // edit understands.
            if (old_entry.size() < kNoteStart) return;
            old_note = EntryNote(old_entry);
        }
        const std::u16string answer = ui_.window.Prompt(kEditPrompt, kEditPrompt, old_note, static_cast<int>(kMaxNoteLength));
        // Recording only appends, so entry p is still the one read; should
        // anything else have changed it, the answer is dropped.
        if (mark_list_.Text(*p) != old_entry) return;

        const std::u16string new_entry = MakeEntry(EntryStamp(old_entry), answer);
        if (!mark_list_.Remove(*p)) return;
        if (!mark_list_.Insert(*p, new_entry)) return;
    }
    SelectEntry(*p);
    UpdateExtent();
}

void MainForm::Delete_Click()
{
    const int index = mark_list_.Highlighted();
    if (!mark_list_.Remove(index)) return;
    ui_.list_box.Redraw();

    const int count = mark_list_.Count();
    if (count == 0) {
        // The extent keeps its value when the list becomes empty.
        ShowCount();
        return;
    }
    SelectEntry(index == count ? index - 1 : index);
    UpdateExtent();
    ShowCount();
}

// Both moves take the entry out before putting it back one place further,
// so they also work on a list at its bound (right after a removal the
// insert cannot meet it).
void MainForm::Move_Up_Click()
{
    if (mark_list_.Count() == 0) return;
    const std::optional<int> s = mark_list_.Selection();
    if (!s || *s == 0) return;

    const std::u16string entry = mark_list_.Text(*s);
    if (!mark_list_.Remove(*s)) return;
    if (!mark_list_.Insert(*s - 1, entry)) return;
    SelectEntry(*s - 1);
    ui_.list_box.Redraw();
    ShowCount();
}

void MainForm::Move_Down_Click()
{
    if (mark_list_.Count() == 0) return;
    const std::optional<int> s = mark_list_.Selection();
    if (!s || *s == mark_list_.Count() - 1) return;

    const std::u16string entry = mark_list_.Text(*s);
    if (!mark_list_.Remove(*s)) return;
    if (!mark_list_.Insert(*s + 1, entry)) return;
    SelectEntry(*s + 1);
    ui_.list_box.Redraw();
}

void MainForm::Clear_Click()
{
    // The recorded selection keeps its value: only a selection writes it.
    mark_list_.Assign({});
    ShowCount();
    UpdateExtent();
}

void MainForm::Mark_List_MouseMove(bool button_down, int x, int y)
{
    // While a button is down (a drag, a selection) the tooltip stays put.
    if (button_down) return;
    ui_.list_box.SetTooltip(mark_list_.Text(ui_.list_box.ItemFromPoint(x, y)));
}

void MainForm::UpdateExtent()
{
    ui_.list_box.SetHorizontalExtent(mark_list_.Extent());
}

void MainForm::Mark_List_FontChanged()
{
    mark_list_.ForgetWidths();
    UpdateExtent();
}

} // namespace morvane
