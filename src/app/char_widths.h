#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/ports/controls.h"

namespace morvane {

// Widths of the list's entries, remembered per character: a loaded list of
// 32 767 entries would otherwise take one measurement each, while most are
// stamps and notes of a few hundred distinct characters.
class CharWidths {
public:
    explicit CharWidths(const ListBox& view) : view_(view) {}

    // The width of `text` in the view's font; nullopt when the view cannot
    // measure it.
    std::optional<int> Width(const std::u16string& text);
    // The view's font has changed.
    void Forget() { widths_.clear(); }

private:
    const ListBox& view_;
    // Each character's width once measured (-1: not yet); empty until the
    // first text made of such characters alone.
    std::vector<int> widths_;
};

} // namespace morvane
