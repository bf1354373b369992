#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace morvane::ini {

// One `name = value` line, both sides trimmed; `number` counts from 1.
// `equals_at` and `end_at` are offsets into the whole text given: the '='
// and the end of the line before its CR LF or LF, for a writer that
// replaces the value in place.
struct Line {
    int number = 0;
    std::string_view name;
    std::string_view value;
    std::size_t equals_at = 0;
    std::size_t end_at = 0;
};

// A line that could not be used: its number and what is wrong with it.
struct Problem {
    int line = 0;
    std::string text;
};

// Calls `take` for each `name = value` line of a UTF-8 text (CRLF or LF, an
// optional BOM). Blank lines, lines starting with ';' or '#' and [section]
// headers are passed over; a line without '=' is named in `problems` with
// `form`, the shape the line should have ("动作 = 按键").
void ForEachLine(std::string_view text, std::string_view form, std::vector<Problem>& problems,
                 const std::function<void(const Line&)>& take);

// The start of a user's text in quotes, cut on a UTF-8 character boundary.
std::string Quoted(std::string_view text);

// One message for a message box: the number of faulty lines between the
// two halves of the heading, then the first problems one a line in line
// order, each after its number ("第 3 行："). Empty when there are none.
std::string ProblemsMessage(std::string_view heading_before, std::string_view heading_after,
                            std::vector<Problem> problems);

} // namespace morvane::ini
