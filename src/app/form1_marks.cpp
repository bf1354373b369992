// The mark list by hand: record, note edit, delete, moves, clear, the
// selection, the tooltip and the horizontal extent.

#include <map>
#include <string>
#include <vector>

#include "app/form1.h"
#include "stamps/entry.h"
#include "stamps/stamps.h"

namespace morvane {

namespace {

const std::u16string kNotePrompt = u"请输入注释";
const std::u16string kEditPrompt = u"添加或修改注释";

// Room beside the widest entry, in pixels.
constexpr int kExtentMargin = 10;

// The largest width counted; 0 for an empty list.
int Widest(const std::map<int, int>& widths)
{
    return widths.empty() ? 0 : widths.rbegin()->first;
}

} // namespace

bool Form1::Select_Entry(int index)
{
    if (!ui_.List1.Select(index)) return false;
    List1_Click();
    return true;
}

std::optional<int> Form1::Selected_Position() const
{
    // Only List1_Click writes sel_Index, so it is plain decimal text; five
    // digits cover every position of the list.
    if (sel_Index_.empty() || sel_Index_.size() > 5) return std::nullopt;
    int value = 0;
    for (char16_t c : sel_Index_) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + (c - u'0');
    }
    if (value >= ui_.List1.Count()) return std::nullopt;
    return value;
}

void Form1::Show_Count()
{
    text1_.Set(Decimal_Text(ui_.List1.Count()));
}

void Form1::List1_Click()
{
    sel_Index_ = Decimal_Text(ui_.List1.Selected());
}

void Form1::Command7_Click()
{
    // No tick and no hot key may run until the entry is in, the prompt
    // included, so typing the note drives nothing.
    ui_.Timer1.Stop();
    const Waiting_Handler waiting(*this);
    // The stamp is the position at the click, before the player is paused.
    const std::u16string stamp = Format_Ms(ui_.player.Get_Position_Ms());

    std::u16string entry = stamp;
    if (ui_.c1.Checked()) {
        const bool pause = ui_.c2.Checked();
        if (pause) ui_.player.Cmd_Pause();
        entry = Make_Entry(stamp, ui_.window.Prompt(kNotePrompt, u"", u""));
        // Keys typed into the note were pressed since the last sample; they
        // are the note's, not commands for the player.
        Forget_Hot_Keys();
        if (pause) ui_.player.Cmd_Play();
    }
    // At the bound the entry is not taken and the recording ends quietly;
    // the player has been set playing again above either way.
    const bool added = ui_.List1.Add(entry);
    if (added) {
        Show_Count();
        Select_Entry(ui_.List1.Count() - 1);
    }
    ui_.Timer1.Start();
    if (!added) return;
    Extent_Added(entry);
    Update_Extent();
    ui_.List1.Focus();
}

void Form1::Command9_Click()
{
    // The position is read once: a keypad-0 recording while the prompt is
    // open moves sel_Index, but the answer belongs to the entry read here.
    const Waiting_Handler waiting(*this);
    const std::optional<int> p = Selected_Position();
    if (!p) return;
    const std::u16string old_entry = ui_.List1.Text(*p);

    if (!old_entry.empty()) {
        std::u16string old_note;
        if (old_entry.size() != kStampLength) {
            // Neither a bare stamp nor stamp + separator: not an entry this
            // edit understands.
            if (old_entry.size() < kNoteStart) return;
            old_note = Entry_Note(old_entry);
        }
        const std::u16string answer = ui_.window.Prompt(kEditPrompt, kEditPrompt, old_note);
        // Recording only appends, so entry p is still the one read; should
        // anything else have changed it, the answer is dropped.
        if (ui_.List1.Text(*p) != old_entry) return;

        const std::u16string new_entry = Make_Entry(Entry_Stamp(old_entry), answer);
        if (!ui_.List1.Remove(*p)) return;
        Extent_Removed(old_entry);
        if (!ui_.List1.Insert(*p, new_entry)) return;
        Extent_Added(new_entry);
    }
    Select_Entry(*p);
    Update_Extent();
}

void Form1::Command3_Click()
{
    const int index = ui_.List1.Selected();
    const std::u16string gone = ui_.List1.Text(index);
    if (!ui_.List1.Remove(index)) return;
    Extent_Removed(gone);
    ui_.List1.Redraw();

    const int count = ui_.List1.Count();
    if (count == 0) {
        // The extent keeps its value when the list becomes empty.
        Show_Count();
        return;
    }
    Select_Entry(index == count ? index - 1 : index);
    Update_Extent();
    Show_Count();
}

// Both moves take the entry out before putting it back one place further,
// so they also work on a list at its bound (right after a removal the
// insert cannot meet it).
void Form1::C_up_Click()
{
    if (ui_.List1.Count() == 0) return;
    const std::optional<int> s = Selected_Position();
    if (!s || *s == 0) return;

    const std::u16string entry = ui_.List1.Text(*s);
    if (!ui_.List1.Remove(*s)) return;
    if (!ui_.List1.Insert(*s - 1, entry)) return;
    Select_Entry(*s - 1);
    ui_.List1.Redraw();
    Show_Count();
}

void Form1::C_down_Click()
{
    if (ui_.List1.Count() == 0) return;
    const std::optional<int> s = Selected_Position();
    if (!s || *s == ui_.List1.Count() - 1) return;

    const std::u16string entry = ui_.List1.Text(*s);
    if (!ui_.List1.Remove(*s)) return;
    if (!ui_.List1.Insert(*s + 1, entry)) return;
    Select_Entry(*s + 1);
    ui_.List1.Redraw();
}

void Form1::C_clear_Click()
{
    // sel_Index keeps its value: it is only ever written by a selection.
    ui_.List1.Clear();
    Show_Count();
    Update_Extent();
}

void Form1::List1_MouseMove(bool button_down, int x, int y)
{
    // While a button is down (a drag, a selection) the tooltip stays put.
    if (button_down) return;
    const int r = ui_.List1.ItemFromPoint(x, y);
    ui_.List1.SetTooltip(r >= 0 && r < ui_.List1.Count() ? ui_.List1.Text(r) : std::u16string());
}

void Form1::Update_Extent()
{
    // Not known, or the list changed behind this bookkeeping: measure again.
    if (!widths_ || widths_count_ != ui_.List1.Count()) {
        Measure_Extent(ui_.List1.Entries());
        return;
    }
    ui_.List1.SetHorizontalExtent(Widest(*widths_) + kExtentMargin);
}

void Form1::List1_FontChanged()
{
    widths_.reset();
    Update_Extent();
}

void Form1::Measure_Extent(const std::vector<std::u16string>& entries)
{
    widths_.emplace();
    for (const auto& entry : entries) ++(*widths_)[ui_.List1.TextWidth(entry)];
    widths_count_ = static_cast<int>(entries.size());
    ui_.List1.SetHorizontalExtent(Widest(*widths_) + kExtentMargin);
}

void Form1::Extent_Added(const std::u16string& entry)
{
    if (!widths_) return;
    ++(*widths_)[ui_.List1.TextWidth(entry)];
    ++widths_count_;
}

void Form1::Extent_Removed(const std::u16string& entry)
{
    if (!widths_) return;
    const auto width = widths_->find(ui_.List1.TextWidth(entry));
    if (width == widths_->end()) {
        widths_.reset();  // an entry never counted: the widths are unknown
        return;
    }
    if (--width->second == 0) widths_->erase(width);
    --widths_count_;
}

} // namespace morvane
