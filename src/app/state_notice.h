#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace morvane {

// A short message that the state line shows for a few seconds in place of
// the player's state: why a search for sentences stopped, how many marks
// were loaded.
class StateNotice {
public:
    static constexpr std::int64_t kShownMs = 4000;

    void Show(std::u16string text, std::int64_t now_ms)
    {
        text_ = std::move(text);
        until_ms_ = now_ms + kShownMs;
    }
    // The message while it is shown; nullopt once its time is over.
    std::optional<std::u16string> Current(std::int64_t now_ms) const
    {
        if (text_.empty() || now_ms >= until_ms_) return std::nullopt;
        return text_;
    }

private:
    std::u16string text_;
    std::int64_t until_ms_ = 0;
};

} // namespace morvane
