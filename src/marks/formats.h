#pragma once

// The mark list as Audacity labels, SRT or WebVTT subtitles, and back.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/code_page.h"

namespace morvane::mark_formats {

enum class Format { AudacityLabels, Srt, WebVtt };

// How long the last cue lasts when the track's end does not come sooner.
inline constexpr std::int32_t kLastCueMs = 5000;

struct Written {
    std::string bytes;
    // Entries whose first 12 characters are not a stamp: they have no time.
    std::size_t left_out = 0;
};

// The entries in time order (entries of equal time in list order); the list
// itself is left as it is. Audacity labels are point labels, one per line,
// UTF-8 with LF; SRT is UTF-8 with a byte-order mark, since Windows players
// read a subtitle file without one in the ANSI code page; WebVTT is UTF-8.
// A cue runs to the next later mark: cues of equal time end together, so none
// has zero length. The last ones run kLastCueMs, or to the end of the track
// when `track_ms` (0 = unknown) is nearer.
Written WriteMarks(Format format, const std::vector<std::u16string>& entries, std::int32_t track_ms = 0);

struct Read {
    // nullopt: none of these formats; the bytes may be a mark file.
    std::optional<Format> format;
    // In the file's order, at most mark_file::kMaxEntries of them.
    std::vector<std::u16string> entries;
    // Cues or labels in the file, also those past the cap.
    std::size_t in_file = 0;
    // Why the file is refused, naming the line; empty when it was read.
    std::u16string error;
};

// Detects the format from the content. A file of well-formed UTF-8 (with or
// without a byte-order mark) is read as UTF-8, any other in the code page.
// Each cue or label becomes its start's stamp, plus " 注释:" and its text
// unless that is empty or the stamp itself (how a mark without a note is
// written). Cue lines are joined by a space; WebVTT tags are dropped and its
// character references decoded; SRT text is taken as it is.
Read ReadMarks(std::string_view bytes, const CodePage& code_page);

} // namespace morvane::mark_formats
