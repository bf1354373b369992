// Marks as SRT or WebVTT cues: each runs from its mark to the next later one.

#include <cstdio>
#include <string>

#include "marks/format_parts.h"
#include "text/utf8.h"

namespace morvane::mark_formats {

namespace {

// "HH:MM:SS,mmm" (SRT) or "HH:MM:SS.mmm" (WebVTT).
std::string Clock(std::int64_t ms, char separator)
{
    char text[40];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld%c%03lld", static_cast<long long>(ms / 3'600'000),
                  static_cast<long long>(ms / 60'000 % 60), static_cast<long long>(ms / 1000 % 60), separator,
                  static_cast<long long>(ms % 1000));
    return text;
}

std::int64_t LastEnd(std::int64_t start_ms, std::int32_t track_ms)
{
    const std::int64_t end = start_ms + kLastCueMs;
    // A length at or before the mark is wrong; the cue still needs a length.
    return track_ms > start_ms && track_ms < end ? track_ms : end;
}

// WebVTT reads '&' and '<' as markup, and '>' in "-->" ends the cue. SRT has
// no escapes, yet players read "<b>" or "<i>" in it as tags and "-->" as a
// time line: there the angle brackets become their full-width forms, which
// a reader of Chinese sees as the same signs.
std::u16string Escaped(std::u16string_view line, bool web_vtt)
{
    std::u16string out;
    for (const char16_t c : line) {
        if (web_vtt && c == u'&') out += u"&amp;";
        else if (c == u'<') out += web_vtt ? u"&lt;" : u"\uFF1C";
        else if (c == u'>') out += web_vtt ? u"&gt;" : u"\uFF1E";
        else out += c;
    }
    return out;
}

// The note's lines, blank ones dropped since a blank line ends the cue; the
// stamp when nothing is left, as a cue must show something.
std::string CueText(const PlacedMark& mark, bool web_vtt)
{
    std::vector<std::u16string_view> lines = NoteLines(mark.note);
    if (lines.empty()) lines.push_back(mark.stamp);
    std::string out;
    for (const std::u16string_view line : lines) out += ToUtf8(Escaped(line, web_vtt)) + '\n';
    return out;
}

} // namespace

Written WriteSubtitles(const Placed& placed, bool web_vtt, std::int32_t track_ms)
{
    const std::vector<PlacedMark>& marks = placed.marks;
    // From the back, so each cue knows the next later time.
    std::vector<std::int64_t> ends(marks.size());
    std::optional<std::int64_t> later;
    for (std::size_t i = marks.size(); i-- > 0;) {
        if (i + 1 < marks.size() && marks[i + 1].ms > marks[i].ms) later = marks[i + 1].ms;
        ends[i] = later ? *later : LastEnd(marks[i].ms, track_ms);
    }

    std::string out = web_vtt ? "WEBVTT\n\n" : std::string(kUtf8Bom);
    const char separator = web_vtt ? '.' : ',';
    for (std::size_t i = 0; i < marks.size(); ++i) {
        if (!web_vtt) out += std::to_string(i + 1) + '\n';
        out += Clock(marks[i].ms, separator) + " --> " + Clock(ends[i], separator) + '\n';
        out += CueText(marks[i], web_vtt) + '\n';
    }
    return {out, placed.left_out};
}

} // namespace morvane::mark_formats
