#pragma once

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

// The first 12 characters (all of them when the entry is shorter).
std::u16string_view EntryStamp(std::u16string_view entry);
// An entry has a note whenever its length is not exactly 12.
bool EntryHasNote(std::u16string_view entry);
// Everything after the first 16 characters; empty for shorter entries.
std::u16string_view EntryNote(std::u16string_view entry);
// stamp + separator + note.
std::u16string MakeEntry(std::u16string_view stamp, std::u16string_view note);

} // namespace morvane
