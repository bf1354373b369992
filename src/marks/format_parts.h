#pragma once

// What the label and subtitle codecs share; formats.h is their public face.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "marks/formats.h"

namespace morvane::mark_formats {

// An entry placed in time; the views point into the caller's list.
struct PlacedMark {
    std::int32_t ms;
    std::u16string_view stamp;
    std::u16string_view note;
};

struct Placed {
    std::vector<PlacedMark> marks;
    std::size_t left_out = 0;
};

// The entries that begin with a stamp, sorted by time (stable).
Placed PlaceInTime(const std::vector<std::u16string>& entries);
// A note's lines (CR LF, CR and LF each end one) without the blank ones.
std::vector<std::u16string_view> NoteLines(std::u16string_view note);

Written WriteLabels(const Placed& placed);
Written WriteSubtitles(const Placed& placed, bool web_vtt, std::int32_t track_ms);

// A file's lines: line k + 1 is lines[k].
using Lines = std::vector<std::u16string>;

// Empty or only spaces and tabs.
bool IsBlank(std::u16string_view line);
std::u16string_view Trim(std::u16string_view text);
// Removes the leading run of ASCII digits from `text` and returns it.
std::u16string_view TakeDigits(std::u16string_view& text);
// Value of a run of digits, saturated far above any time.
std::int64_t DigitsValue(std::u16string_view digits);

// Adds the mark read at `line`, or refuses the file there; false when
// refused. nullopt times are malformed ones; only the start is kept.
bool AddMark(Read& read, std::size_t line, std::optional<std::int64_t> start_ms,
              std::optional<std::int64_t> end_ms, std::u16string_view note);
// Sets the refusal "第 N 行" + what.
bool Refuse(Read& read, std::size_t line, std::u16string_view what);

bool LooksLikeLabel(std::u16string_view line);
Read ReadLabels(const Lines& lines);
Read ReadSubtitles(const Lines& lines, bool web_vtt);

} // namespace morvane::mark_formats
