#include "marks/format_parts.h"

#include <algorithm>

#include "marks/mark_file.h"
#include "stamps/entry.h"
#include "stamps/stamps.h"
#include "text/utf8.h"

namespace morvane::mark_formats {

namespace {

// The latest time a stamp reads back: minutes have three places.
constexpr std::int64_t kStampLimitMs = 1000 * 60 * 1000;

} // namespace

Placed PlaceInTime(const std::vector<std::u16string>& entries)
{
    Placed placed;
    for (const std::u16string& entry : entries) {
        // Placed where a jump to it goes; a time before the start is the start.
        const std::optional<std::int32_t> ms = EntryTimeMs(entry);
        if (!ms) {
            ++placed.left_out;
            continue;
        }
        placed.marks.push_back({std::max(*ms, 0), EntryStamp(entry), EntryNote(entry)});
    }
    std::stable_sort(placed.marks.begin(), placed.marks.end(),
                     [](const PlacedMark& a, const PlacedMark& b) { return a.ms < b.ms; });
    return placed;
}

std::vector<std::u16string_view> NoteLines(std::u16string_view note)
{
    std::vector<std::u16string_view> lines;
    while (!note.empty()) {
        const std::size_t end = note.find_first_of(u"\r\n");
        const std::u16string_view line = note.substr(0, end);
        if (!IsBlank(line)) lines.push_back(line);
        if (end == std::u16string_view::npos) break;
        note.remove_prefix(note.substr(end, 2) == u"\r\n" ? end + 2 : end + 1);
    }
    return lines;
}

bool IsBlank(std::u16string_view line) { return Trim(line).empty(); }

std::u16string_view Trim(std::u16string_view text)
{
    const std::size_t first = text.find_first_not_of(u" \t");
    if (first == std::u16string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(u" \t") - first + 1);
}

std::u16string_view TakeDigits(std::u16string_view& text)
{
    std::size_t count = 0;
    while (count < text.size() && text[count] >= u'0' && text[count] <= u'9') ++count;
    const std::u16string_view digits = text.substr(0, count);
    text.remove_prefix(count);
    return digits;
}

std::int64_t DigitsValue(std::u16string_view digits)
{
    // Hours of this size times 3 600 000 still fit in int64.
    constexpr std::int64_t kSaturated = std::int64_t{1} << 40;
    std::int64_t value = 0;
    for (const char16_t c : digits) value = std::min(value * 10 + (c - u'0'), kSaturated);
    return value;
}

bool Refuse(Read& read, std::size_t line, std::u16string_view what)
{
    read.error = u"第 " + CountText(line) + u" 行" + std::u16string(what);
    return false;
}

bool AddMark(Read& read, std::size_t line, std::optional<std::int64_t> start_ms,
              std::optional<std::int64_t> end_ms, std::u16string_view note)
{
    if (!start_ms || !end_ms) return Refuse(read, line, u"的时间格式不正确");
    if (*start_ms < 0 || *end_ms < 0) return Refuse(read, line, u"的时间是负数");
    // Wrapping would put the mark somewhere else; the end is dropped anyway.
    if (*start_ms >= kStampLimitMs) return Refuse(read, line, u"的时间超过 999:59:999，记录容纳不下");
    if (note.size() > kMaxNoteLength)
        return Refuse(read, line, u"的文字超过 " + CountText(kMaxNoteLength) + u" 个字符");

    ++read.in_file;
    if (read.entries.size() >= mark_file::kMaxEntries) return true;
    const std::u16string stamp = FormatMs(static_cast<std::int32_t>(*start_ms));
    // A mark without a note is written showing its stamp.
    read.entries.push_back(note.empty() || note == stamp ? stamp : MakeEntry(stamp, note));
    return true;
}

} // namespace morvane::mark_formats
