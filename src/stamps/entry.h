#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace morvane {

// A mark entry: a 12-character stamp, then, only when it has a note, the
// separator " 注释:" and the note. Everything works by position.
inline constexpr std::size_t kStampLength = 12;
inline constexpr std::u16string_view kNoteSeparator = u" \u6CE8\u91CA:";
inline constexpr std::size_t kNoteStart = kStampLength + 4;
// The longest entry: the note prompt holds notes to this length, and a longer
// line in a mark file is not an entry (the list would also measure it in its
// font on every change).
inline constexpr std::size_t kMaxEntryLength = 32767;
// The longest note: what is left of the longest entry after the separator.
inline constexpr std::size_t kMaxNoteLength = kMaxEntryLength - kNoteStart;

// The first 12 characters (all of them when the entry is shorter).
std::u16string_view EntryStamp(std::u16string_view entry);
// The time an entry stands for: its stamp read as a jump to it reads it,
// leniently (signs, spaces, seconds past 59). nullopt when the entry has no
// time: the jump, practice and the exports all leave such an entry alone.
std::optional<std::int32_t> EntryTimeMs(std::u16string_view entry);
// Everything after the first 16 characters; empty for shorter entries.
std::u16string_view EntryNote(std::u16string_view entry);
// stamp + separator + note.
std::u16string MakeEntry(std::u16string_view stamp, std::u16string_view note);

} // namespace morvane
