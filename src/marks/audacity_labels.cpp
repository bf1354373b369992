// Audacity label tracks: "start<TAB>end<TAB>text" a line, times in seconds.

#include <algorithm>
#include <string>

#include "marks/format_parts.h"
#include "text/utf8.h"

namespace morvane::mark_formats {

namespace {

// "12.300000": Audacity writes six decimals.
std::string Seconds(std::int32_t ms)
{
    std::string text = std::to_string(ms / 1000) + '.';
    const std::string millis = std::to_string(ms % 1000);
    return text + std::string(3 - millis.size(), '0') + millis + "000";
}

// Decimal seconds, '.' or (as Audacity once wrote in some locales) ','
// before the fraction, to the nearest millisecond.
std::optional<std::int64_t> ParseSeconds(std::u16string_view text)
{
    const bool negative = text.starts_with(u'-');
    if (negative) text.remove_prefix(1);
    const std::u16string_view whole = TakeDigits(text);
    if (whole.empty()) return std::nullopt;
    std::int64_t ms = DigitsValue(whole) * 1000;
    if (text.starts_with(u'.') || text.starts_with(u',')) {
        text.remove_prefix(1);
        const std::u16string_view fraction = TakeDigits(text);
        if (fraction.empty()) return std::nullopt;
        std::int64_t scale = 100;
        for (std::size_t k = 0; k < 3 && k < fraction.size(); ++k, scale /= 10) ms += (fraction[k] - u'0') * scale;
        if (fraction.size() > 3 && fraction[3] >= u'5') ++ms;
    }
    if (!text.empty()) return std::nullopt;
    return negative ? -ms : ms;
}

struct Label {
    std::optional<std::int64_t> start_ms;
    std::optional<std::int64_t> end_ms;
    std::u16string_view text;
};

Label SplitLabel(std::u16string_view line)
{
    const std::size_t tab = line.find(u'\t');
    if (tab == std::u16string_view::npos) return {};
    // A point label without text may end after its end time.
    const std::size_t text_tab = line.find(u'\t', tab + 1);
    Label label{ParseSeconds(line.substr(0, tab)), ParseSeconds(line.substr(tab + 1, text_tab - tab - 1)), {}};
    if (text_tab != std::u16string_view::npos) label.text = line.substr(text_tab + 1);
    return label;
}

} // namespace

Written WriteLabels(const Placed& placed)
{
    std::string out;
    for (const PlacedMark& mark : placed.marks) {
        // A tab or a line break in the text would start a field or a label.
        std::u16string text;
        for (const std::u16string_view line : NoteLines(mark.note)) {
            if (!text.empty()) text += u' ';
            text += line;
        }
        std::replace(text.begin(), text.end(), u'\t', u' ');
        const std::string time = Seconds(mark.ms);
        out += time + '\t' + time + '\t' + ToUtf8(text) + '\n';
    }
    return {out, placed.left_out};
}

bool LooksLikeLabel(std::u16string_view line)
{
    const Label label = SplitLabel(line);
    return label.start_ms && label.end_ms;
}

Read ReadLabels(const Lines& lines)
{
    Read read;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        // A line starting with '\' holds the frequencies of the label above.
        if (IsBlank(lines[i]) || lines[i].starts_with(u'\\')) continue;
        const Label label = SplitLabel(lines[i]);
        if (!AddMark(read, i + 1, label.start_ms, label.end_ms, label.text)) return read;
    }
    return read;
}

} // namespace morvane::mark_formats
