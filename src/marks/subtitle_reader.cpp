// SRT and WebVTT cues back to marks: blocks between blank lines, each an
// optional identifier (SRT's number), a time line and the text.

#include <algorithm>
#include <array>
#include <utility>

#include "marks/format_parts.h"
#include "text/utf8.h"

namespace morvane::mark_formats {

namespace {

constexpr std::u16string_view kArrow = u"-->";

bool HasArrow(std::u16string_view line) { return line.find(kArrow) != std::u16string_view::npos; }

// "[-]H:MM:SS,mmm" or "[-]MM:SS.mmm", hours of any length, either separator.
std::optional<std::int64_t> ParseClock(std::u16string_view text)
{
    const bool negative = text.starts_with(u'-');
    if (negative) text.remove_prefix(1);
    std::array<std::u16string_view, 3> fields;
    std::size_t count = 0;
    for (;;) {
        fields[count++] = TakeDigits(text);
        if (count == 3 || !text.starts_with(u':')) break;
        text.remove_prefix(1);
    }
    if (count < 2 || !(text.starts_with(u'.') || text.starts_with(u','))) return std::nullopt;
    text.remove_prefix(1);
    const std::u16string_view millis = TakeDigits(text);
    const std::u16string_view hours = count == 3 ? fields[0] : u"0";
    const std::u16string_view minutes = fields[count - 2];
    const std::u16string_view seconds = fields[count - 1];
    if (!text.empty() || millis.size() != 3 || hours.empty() || minutes.size() != 2 || seconds.size() != 2)
        return std::nullopt;
    if (DigitsValue(minutes) > 59 || DigitsValue(seconds) > 59) return std::nullopt;
    const std::int64_t ms =
        ((DigitsValue(hours) * 60 + DigitsValue(minutes)) * 60 + DigitsValue(seconds)) * 1000 + DigitsValue(millis);
    return negative ? -ms : ms;
}

// The character a reference between '&' and ';' stands for; nullopt for
// names this reader does not know, which then stay as written.
std::optional<char32_t> Reference(std::u16string_view name)
{
    static constexpr std::pair<std::u16string_view, char32_t> kNamed[] = {
        {u"amp", U'&'}, {u"lt", U'<'}, {u"gt", U'>'}, {u"quot", U'"'}, {u"apos", U'\''},
        {u"nbsp", 0xA0}, {u"lrm", 0x200E}, {u"rlm", 0x200F}};
    for (const auto& [known, c] : kNamed)
        if (name == known) return c;
    if (!name.starts_with(u'#')) return std::nullopt;
    name.remove_prefix(1);
    const bool hex = name.starts_with(u'x') || name.starts_with(u'X');
    if (hex) name.remove_prefix(1);
    if (name.empty() || name.size() > 7) return std::nullopt;
    char32_t value = 0;
    for (const char16_t c : name) {
        const int digit = c >= u'0' && c <= u'9'           ? c - u'0'
                          : hex && c >= u'a' && c <= u'f' ? c - u'a' + 10
                          : hex && c >= u'A' && c <= u'F' ? c - u'A' + 10
                                                          : -1;
        if (digit < 0) return std::nullopt;
        value = value * (hex ? 16 : 10) + digit;
    }
    const bool usable = value != 0 && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
    return usable ? value : 0xFFFD;
}

// WebVTT cue text as plain text: tags (<i>, <c.x>, <v Name>, <00:01.000>)
// dropped, since a literal '<' is written as "&lt;". A '<' that no '>'
// closes is kept as written rather than losing the rest of the note.
std::u16string PlainText(std::u16string_view text)
{
    std::u16string out;
    bool closes = true;  // once no '>' is left, none is looked for again: linear
    while (!text.empty()) {
        if (text[0] == u'<' && closes) {
            const std::size_t end = text.find(u'>');
            closes = end != std::u16string_view::npos;
            if (closes) {
                text.remove_prefix(end + 1);
                continue;
            }
        }
        // No reference is longer than "&#1114111;"; a bound keeps this linear.
        const std::size_t semicolon = text[0] == u'&' ? text.substr(0, 10).find(u';') : std::u16string_view::npos;
        if (semicolon != std::u16string_view::npos) {
            if (const auto c = Reference(text.substr(1, semicolon - 1))) {
                AppendUtf16(out, *c);
                text.remove_prefix(semicolon + 1);
                continue;
            }
        }
        out += text[0];
        text.remove_prefix(1);
    }
    return out;
}

// Cue settings (WebVTT) or coordinates (some SRT) may follow the end time.
bool ReadCue(Read& read, const Lines& lines, std::size_t first, std::size_t end, bool web_vtt)
{
    const std::size_t time_line = HasArrow(lines[first]) ? first : first + 1;
    if (time_line >= end || !HasArrow(lines[time_line])) return Refuse(read, first + 1, u"的字幕没有时间行");

    const std::u16string_view times = lines[time_line];
    const std::size_t arrow = times.find(kArrow);
    const std::u16string_view after = Trim(times.substr(arrow + kArrow.size()));
    const auto start_ms = ParseClock(Trim(times.substr(0, arrow)));
    const auto end_ms = ParseClock(after.substr(0, after.find_first_of(u" \t")));

    std::u16string text;
    for (std::size_t i = time_line + 1; i < end; ++i) {
        if (i > time_line + 1) text += u' ';
        text += lines[i];
    }
    return AddMark(read, time_line + 1, start_ms, end_ms, web_vtt ? PlainText(text) : text);
}

// Blocks WebVTT has besides cues.
bool IsAside(std::u16string_view line)
{
    for (const std::u16string_view word : {u"NOTE", u"STYLE", u"REGION"})
        if (line.starts_with(word) && (line.size() == word.size() || line[word.size()] == u' ' ||
                                       line[word.size()] == u'\t'))
            return !HasArrow(line);
    return false;
}

} // namespace

Read ReadSubtitles(const Lines& lines, bool web_vtt)
{
    Read read;
    // WebVTT's header runs to the first blank line; a time line in it starts
    // the first cue all the same.
    std::size_t i = 0;
    if (web_vtt) {
        i = 1;
        while (i < lines.size() && !IsBlank(lines[i]) && !HasArrow(lines[i])) ++i;
    }
    while (i < lines.size()) {
        if (IsBlank(lines[i])) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < lines.size() && !IsBlank(lines[end])) ++end;
        if (!(web_vtt && IsAside(lines[i])) && !ReadCue(read, lines, i, end, web_vtt)) return read;
        i = end;
    }
    return read;
}

} // namespace morvane::mark_formats
