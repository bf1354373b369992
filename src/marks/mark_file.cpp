#include "marks/mark_file.h"

#include <optional>

#include "text/utf8.h"

namespace morvane::mark_file {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// nullopt when some line has no exact form in the code page.
std::optional<std::string> EncodeAnsi(const std::vector<std::u16string>& lines,
                                       const CodePage& code_page)
{
    std::string out;
    for (const auto& line : lines) {
        auto ansi = code_page.ToAnsi(line);
        // A best-fit substitute would not read back as the same text.
        if (!ansi || code_page.ToText(*ansi) != line) return std::nullopt;
        out += *ansi;
        out += kLineEnd;
    }
    // Such a file would be read back as UTF-8.
    if (out.starts_with(kUtf8Bom)) return std::nullopt;
    return out;
}

std::string EncodeUtf8(const std::vector<std::u16string>& lines)
{
    std::string out(kUtf8Bom);
    for (const auto& line : lines) {
        out += ToUtf8(line);
        out += kLineEnd;
    }
    return out;
}

} // namespace

std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\r');
        lines.push_back(text.substr(0, end));
        if (end == std::string_view::npos) break;
        std::size_t next = end + 1;
        if (next < text.size() && text[next] == '\n') ++next;
        text.remove_prefix(next);
    }
    return lines;
}

std::string_view WithoutBom(std::string_view bytes)
{
    if (bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
    return bytes;
}

std::u16string DecodeLine(std::string_view line, bool utf8, const CodePage& code_page)
{
    std::optional<std::u16string> text;
    if (utf8) text = FromUtf8(line);
    return text ? std::move(*text) : code_page.ToText(line);
}

bool ReadsAsUtf8(std::string_view bytes, Encoding encoding)
{
    if (bytes.starts_with(kUtf8Bom)) return true;
    return encoding == Encoding::Utf8 && FromUtf8(bytes).has_value();
}

std::vector<std::u16string> DecodeLines(std::string_view bytes, const CodePage& code_page, Encoding encoding)
{
    const bool utf8 = ReadsAsUtf8(bytes, encoding);
    std::vector<std::u16string> lines;
    // Line by line, with explicit lengths: a NUL byte cuts nothing short,
    // and a line that is not UTF-8 in a UTF-8 file (added by an ANSI editor,
    // or damaged) is read as ANSI without costing the other lines.
    for (const std::string_view line : SplitLines(WithoutBom(bytes)))
        if (!line.empty()) lines.push_back(DecodeLine(line, utf8, code_page));
    return lines;
}

std::string EncodeLines(const std::vector<std::u16string>& lines, const CodePage& code_page, Encoding encoding)
{
    if (encoding == Encoding::Ansi)
        if (auto ansi = EncodeAnsi(lines, code_page)) return std::move(*ansi);
    return EncodeUtf8(lines);
}

} // namespace morvane::mark_file
