#include "app/ini/ini_lines.h"

#include <algorithm>

#include "text/names.h"

namespace morvane::ini {
namespace {

constexpr std::size_t kQuotedBytes = 40;  // of a faulty line's text, in the message
constexpr std::size_t kListedProblems = 20;

} // namespace

std::string Quoted(std::string_view text)
{
    if (text.size() <= kQuotedBytes) return "“" + std::string(text) + "”";
    std::size_t end = kQuotedBytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return "“" + std::string(text.substr(0, end)) + "…”";
}

void ForEachLine(std::string_view text, std::string_view form, std::vector<Problem>& problems,
                 const std::function<void(const Line&)>& take)
{
    int line_number = 0;
    for (std::size_t start = text.starts_with("\xEF\xBB\xBF") ? 3 : 0; start <= text.size();) {
        const auto end = std::min(text.find('\n', start), text.size());
        const std::string_view whole = text.substr(start, end - start);
        const std::string_view line = TrimSpaces(whole);
        const std::size_t line_start = start;
        start = end + 1;
        ++line_number;
        if (line.empty() || line[0] == ';' || line[0] == '#' || line[0] == '[') continue;
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) {
            problems.push_back({line_number, "应写成“" + std::string(form) + "”，而不是" + Quoted(line)});
            continue;
        }
        take({line_number, TrimSpaces(line.substr(0, equals)), TrimSpaces(line.substr(equals + 1)),
              line_start + whole.find('='), end - (whole.ends_with('\r') ? 1 : 0)});
    }
}

std::string ProblemsMessage(std::string_view heading_before, std::string_view heading_after,
                            std::vector<Problem> problems)
{
    if (problems.empty()) return {};
    std::ranges::stable_sort(problems, {}, &Problem::line);
    std::string message = std::string(heading_before) + std::to_string(problems.size()) + std::string(heading_after);
    for (std::size_t i = 0; i < std::min(problems.size(), kListedProblems); ++i)
        message += "\n第 " + std::to_string(problems[i].line) + " 行：" + problems[i].text;
    if (problems.size() > kListedProblems) message += "\n……";
    return message;
}

} // namespace morvane::ini
