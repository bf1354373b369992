#include "marks/formats.h"

#include "marks/format_parts.h"
#include "marks/mark_file.h"
#include "text/utf8.h"

namespace morvane::mark_formats {

namespace {

// Subtitle files come from anywhere: UTF-8 when the whole file is, else the
// code page (Chinese subtitles are often GBK). A line that still is not
// UTF-8 is read in the code page alone, as the mark file does.
Lines TextLines(std::string_view bytes, const CodePage& code_page)
{
    const bool utf8 = mark_file::ReadsAsUtf8(bytes, mark_file::Encoding::Utf8);
    if (bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
    Lines lines;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find_first_of("\r\n");
        const std::string_view line = bytes.substr(0, end);
        std::optional<std::u16string> text;
        if (utf8) text = FromUtf8(line);
        lines.push_back(text ? std::move(*text) : code_page.ToText(line));
        if (end == std::string_view::npos) break;
        bytes.remove_prefix(bytes.substr(end, 2) == "\r\n" ? end + 2 : end + 1);
    }
    return lines;
}

bool IsNumber(std::u16string_view line)
{
    line = Trim(line);
    return !TakeDigits(line).empty() && line.empty();
}

std::optional<Format> Detect(const Lines& lines)
{
    if (lines.empty()) return std::nullopt;
    const std::u16string_view first = lines[0];
    if (first.starts_with(u"WEBVTT") && (first.size() == 6 || first[6] == u' ' || first[6] == u'\t'))
        return Format::WebVtt;
    std::size_t i = 0;
    while (i < lines.size() && IsBlank(lines[i])) ++i;
    if (i + 1 < lines.size() && IsNumber(lines[i]) && lines[i + 1].find(u"-->") != std::u16string::npos)
        return Format::Srt;
    if (i < lines.size() && LooksLikeLabel(lines[i])) return Format::AudacityLabels;
    return std::nullopt;
}

} // namespace

Written WriteMarks(Format format, const std::vector<std::u16string>& entries, std::int32_t track_ms)
{
    const Placed placed = PlaceInTime(entries);
    if (format == Format::AudacityLabels) return WriteLabels(placed);
    return WriteSubtitles(placed, format == Format::WebVtt, track_ms);
}

Read ReadMarks(std::string_view bytes, const CodePage& code_page)
{
    // Binary (UTF-16 among it) is left to the mark-file check, which names it.
    if (bytes.find('\0') != std::string_view::npos) return {};
    const Lines lines = TextLines(bytes, code_page);
    const std::optional<Format> format = Detect(lines);
    if (!format) return {};
    Read read = *format == Format::AudacityLabels ? ReadLabels(lines)
                                                   : ReadSubtitles(lines, *format == Format::WebVtt);
    read.format = format;
    return read;
}

} // namespace morvane::mark_formats
