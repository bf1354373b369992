#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/entry_list.h"
#include "app/mark_list.h"
#include "app/ports/controls.h"
#include "app/ports/window.h"
#include "app/shown_text.h"

namespace morvane {

// The mark list as the user edits it by hand, with the count and the list
// control kept in step with it.
class MarkEditor final : public EntryList {
public:
    MarkEditor(ListBox& list_box, TextBox& count_line, Window& window, int entry_bound)
        : list_box_(list_box), window_(window), mark_list_(list_box, entry_bound), count_line_(count_line)
    {
    }

    const MarkList& Marks() const { return mark_list_; }
    MarkList& Marks() { return mark_list_; }

    // Highlights the entry and records it as selected, as a user's
    // selection does. false when no such entry.
    bool SelectEntry(int index);
    void ShowCount();
    void UpdateExtent();

    // A new entry stamped `stamp` with the note the user types for it.
    std::u16string WithNote(const std::u16string& stamp);
    // Appends `entry`, shows the count and selects it; false, changing
    // nothing, when the list is at its bound.
    bool Append(const std::u16string& entry);
    // After Append: the extent, and the focus to the list.
    void ShowAppended();

    void EditNote();  // may wait in the prompt
    void Delete();
    void MoveUp();
    void MoveDown();
    void Clear();
    void Sort();
    // `entries` in place of the whole list (a loaded file).
    void Replace(std::vector<std::u16string> entries);
    const std::vector<std::u16string>& Entries() const override { return mark_list_.Entries(); }
    void ReplaceEntries(std::vector<std::u16string> entries) override { Replace(std::move(entries)); }
    // The tooltip for the entry under the mouse.
    void ShowTooltip(bool button_down, int x, int y);
    // The list's font has changed (a new DPI): every width is measured again.
    void FontChanged();

private:
    ListBox& list_box_;
    Window& window_;
    MarkList mark_list_;
    ShownText count_line_;
};

} // namespace morvane
