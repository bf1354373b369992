#include "app/mark_list.h"

#include <utility>

namespace morvane {
namespace {

// Room beside the widest entry, in pixels.
constexpr int kExtentMargin = 10;

} // namespace

MarkList::MarkList(ListBox& view, int bound) : view_(view), bound_(bound) {}

std::u16string MarkList::Text(int index) const
{
    if (index < 0 || index >= Count()) return {};
    return entries_[static_cast<std::size_t>(index)];
}

bool MarkList::Insert(int index, const std::u16string& text)
{
    if (index < 0 || index > Count() || Count() >= bound_) return false;
    if (!view_.Insert(index, text)) return false;
    // The highlighted entry moved on: the position no longer names it.
    if (index <= selection_) highlighted_ = false;
    entries_.insert(entries_.begin() + index, text);
    CountWidth(text);
    ++revision_;
    return true;
}

bool MarkList::Remove(int index)
{
    if (index < 0 || index >= Count()) return false;
    if (!view_.Remove(index)) return false;
    if (index <= selection_) highlighted_ = false;
    UncountWidth(entries_[static_cast<std::size_t>(index)]);
    entries_.erase(entries_.begin() + index);
    ++revision_;
    return true;
}

void MarkList::Assign(std::vector<std::u16string> entries)
{
    if (entries.size() > static_cast<std::size_t>(bound_)) entries.resize(static_cast<std::size_t>(bound_));
    entries.resize(view_.Show(entries));
    entries_ = std::move(entries);
    highlighted_ = false;
    widths_.reset();
    ++revision_;
}

void MarkList::Reorder(std::vector<std::u16string> entries)
{
    entries.resize(view_.Show(entries));
    if (entries.size() != entries_.size()) widths_.reset();
    entries_ = std::move(entries);
    highlighted_ = false;
    ++revision_;
}

std::optional<int> MarkList::Selection() const
{
    if (selection_ < 0 || selection_ >= Count()) return std::nullopt;
    return selection_;
}

int MarkList::Extent()
{
    if (!widths_) {
        widths_.emplace();
        for (const auto& entry : entries_) ++(*widths_)[WidthOf(entry)];
    }
    return (widths_->empty() ? 0 : widths_->rbegin()->first) + kExtentMargin;
}

void MarkList::CountWidth(const std::u16string& entry)
{
    if (widths_) ++(*widths_)[WidthOf(entry)];
}

void MarkList::UncountWidth(const std::u16string& entry)
{
    if (!widths_) return;
    const auto width = widths_->find(WidthOf(entry));
    if (width == widths_->end()) {
        widths_.reset();  // measured in another font: the widths are unknown
        return;
    }
    if (--width->second == 0) widths_->erase(width);
}

} // namespace morvane
