#include "stamps/entry.h"

#include "stamps/stamps.h"

namespace morvane {

std::u16string_view EntryStamp(std::u16string_view entry)
{
    return entry.substr(0, kStampLength);
}

std::optional<std::int32_t> EntryTimeMs(std::u16string_view entry)
{
    return ParseStamp(EntryStamp(entry)).value;
}

std::u16string_view EntryNote(std::u16string_view entry)
{
    return entry.size() > kNoteStart ? entry.substr(kNoteStart) : std::u16string_view{};
}

std::u16string MakeEntry(std::u16string_view stamp, std::u16string_view note)
{
    std::u16string entry;
    entry.reserve(stamp.size() + kNoteSeparator.size() + note.size());
    entry.append(stamp).append(kNoteSeparator).append(note);
    return entry;
}

} // namespace morvane
