#pragma once

#include <string>
#include <utility>

#include "app/ports/controls.h"

namespace morvane {

// A text box together with what it shows: writing the same text again does
// not reach the control, so the fast tick costs nothing when nothing moved.
class ShownText {
public:
    explicit ShownText(TextBox& box) : box_(box) {}

    void Set(std::u16string text)
    {
        if (shown_ && text == text_) return;
        box_.SetText(text);
        text_ = std::move(text);
        shown_ = true;
    }

private:
    TextBox& box_;
    std::u16string text_;
    bool shown_ = false;
};

} // namespace morvane
