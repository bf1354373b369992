#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "app/fitted_text.h"
#include "app/ports/controls.h"

namespace morvane {

// A text box together with what it shows: writing the same text again does
// not reach the control, so the fast tick costs nothing when nothing moved.
class ShownText {
public:
    explicit ShownText(TextBox& box) : box_(box) {}

    void Set(std::u16string text)
    {
        if (Unchanged(text)) return;
        box_.SetText(text);
        text_ = std::move(text);
    }
    // `name` followed by `rest`, cut to the box by FittedText; measured only
    // when the text changes.
    void SetFitted(std::u16string_view name, std::u16string_view rest)
    {
        std::u16string text = std::u16string(name).append(rest);
        if (Unchanged(text)) return;
        box_.SetText(FittedText(name, rest, box_));
        text_ = std::move(text);
    }

private:
    // false the first time, so every box is written once.
    bool Unchanged(const std::u16string& text)
    {
        if (shown_ && text == text_) return true;
        shown_ = true;
        return false;
    }

    TextBox& box_;
    std::u16string text_;
    bool shown_ = false;
};

} // namespace morvane
