// The mark list by hand: a new entry and its note, note edits, delete,
// moves, clear, sort, the selection, the tooltip and the horizontal extent.


#include <string>
#include <vector>

#include "app/mark_editor.h"
#include "marks/entry_sort.h"
#include "stamps/entry.h"
#include "stamps/stamps.h"

namespace morvane {

namespace {

const std::u16string kNotePrompt = u"请输入注释";
const std::u16string kEditPrompt = u"添加或修改注释";

} // namespace

bool MarkEditor::SelectEntry(int index)
{
    if (index < 0 || index >= mark_list_.Count() || !list_box_.Select(index)) return false;
    mark_list_.RecordSelection(index);
    return true;
}

void MarkEditor::ShowCount()
{
    count_line_.Set(DecimalText(mark_list_.Count()));
}

std::u16string MarkEditor::WithNote(const std::u16string& stamp)
{
    return MakeEntry(stamp, window_.Prompt(kNotePrompt, u"", u"", static_cast<int>(kMaxNoteLength)));
}

bool MarkEditor::Append(const std::u16string& entry)
{
    if (!mark_list_.Insert(mark_list_.Count(), entry)) return false;
    ShowCount();
    SelectEntry(mark_list_.Count() - 1);
    return true;
}

void MarkEditor::ShowAppended()
{
    UpdateExtent();
    list_box_.Focus();
}

void MarkEditor::EditNote()
{
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
        const std::u16string answer = window_.Prompt(kEditPrompt, kEditPrompt, old_note, static_cast<int>(kMaxNoteLength));
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

void MarkEditor::Delete()
{
    const int index = mark_list_.Highlighted();
    if (!mark_list_.Remove(index)) return;
    list_box_.Redraw();

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
void MarkEditor::MoveUp()
{
    if (mark_list_.Count() == 0) return;
    const std::optional<int> s = mark_list_.Selection();
    if (!s || *s == 0) return;

    const std::u16string entry = mark_list_.Text(*s);
    if (!mark_list_.Remove(*s)) return;
    if (!mark_list_.Insert(*s - 1, entry)) return;
    SelectEntry(*s - 1);
    list_box_.Redraw();
    ShowCount();
}

void MarkEditor::MoveDown()
{
    if (mark_list_.Count() == 0) return;
    const std::optional<int> s = mark_list_.Selection();
    if (!s || *s == mark_list_.Count() - 1) return;

    const std::u16string entry = mark_list_.Text(*s);
    if (!mark_list_.Remove(*s)) return;
    if (!mark_list_.Insert(*s + 1, entry)) return;
    SelectEntry(*s + 1);
    list_box_.Redraw();
}

void MarkEditor::Clear()
{
    // The recorded selection keeps its value: only a selection writes it.
    mark_list_.Assign({});
    ShowCount();
    UpdateExtent();
}

void MarkEditor::ShowTooltip(bool button_down, int x, int y)
{
    // While a button is down (a drag, a selection) the tooltip stays put.
    if (button_down) return;
    list_box_.SetTooltip(mark_list_.Text(list_box_.ItemFromPoint(x, y)));
}

void MarkEditor::UpdateExtent()
{
    list_box_.SetHorizontalExtent(mark_list_.Extent());
}

void MarkEditor::FontChanged()
{
    mark_list_.ForgetWidths();
    UpdateExtent();
}

void MarkEditor::Replace(std::vector<std::u16string> entries)
{
    // The recorded selection stays as it was; nothing is selected until the
    // next click.
    mark_list_.Assign(std::move(entries));
    ShowCount();
    UpdateExtent();
}

void MarkEditor::Sort()
{
    if (mark_list_.Count() == 0) return;
    // The same texts come back, so the count and the extent stay as they are.
    mark_list_.Reorder(entry_sort::SortedEntries(mark_list_.Entries()));
    // The position last recorded as selected is selected again, whichever
    // entry stands there now; without one nothing is selected.
    if (const std::optional<int> position = mark_list_.Selection()) SelectEntry(*position);
}

} // namespace morvane
