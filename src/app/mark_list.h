#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/char_widths.h"
#include "app/ports/controls.h"

namespace morvane {

// The mark list: its entries, the one selection, the entry bound and the
// width of every entry, for the horizontal extent. The list box only shows
// it and keeps no copy.
class MarkList {
public:
    MarkList(ListBox& view, int bound);

    int Count() const { return static_cast<int>(entries_.size()); }
    int Bound() const { return bound_; }
    // Text of entry `index`; any other position gives empty text.
    std::u16string Text(int index) const;
    const std::vector<std::u16string>& Entries() const { return entries_; }
    // Grows with every change of the entries, so that a change is noticed
    // without comparing them.
    std::uint64_t Revision() const { return revision_; }

    // false at the bound, outside 0..Count(), or when the view refuses.
    bool Insert(int index, const std::u16string& text);
    // false when `index` names no entry, or the view refuses.
    bool Remove(int index);
    // Replaces the whole content, cut to the bound and to what the view took.
    void Assign(std::vector<std::u16string> entries);
    // The same entries in another order: the widths stay as they are.
    void Reorder(std::vector<std::u16string> entries);

    // The entry selected, as the selection handler hands it over (-1 for
    // none); the list highlights it.
    void RecordSelection(int index)
    {
        selection_ = index;
        highlighted_ = index >= 0;
    }
    // The position last selected, for 修改, ↑, ↓ and 排序. It outlives its
    // highlight: a new content or the entry's removal takes the highlight
    // away, but the position stays. nullopt when it names no entry.
    std::optional<int> Selection() const;
    // The entry the list highlights, for 删除 and the jump; -1 for none.
    int Highlighted() const { return highlighted_ ? selection_ : -1; }

    // The widest entry plus a margin, for the view's horizontal extent.
    int Extent();
    // The view's font has changed: every width is measured again.
    void ForgetWidths()
    {
        char_widths_.Forget();
        widths_.reset();
    }

private:
    void CountWidth(const std::u16string& entry);
    void UncountWidth(const std::u16string& entry);
    // 0 for an entry the view cannot measure.
    int WidthOf(const std::u16string& entry) { return char_widths_.Width(entry).value_or(0); }

    ListBox& view_;
    CharWidths char_widths_{view_};
    int bound_;
    std::vector<std::u16string> entries_;
    int selection_ = -1;
    bool highlighted_ = false;
    std::uint64_t revision_ = 0;
    // How many entries have each width in the view's font; nullopt until
    // measured, so only a list that shows its extent is measured.
    std::optional<std::map<int, int>> widths_;
};

} // namespace morvane
