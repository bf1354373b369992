#include "player_checks.h"

#include <algorithm>
#include <cwchar>

#include "harness.h"
#include "standin_protocol.h"
#include "window_access.h"

namespace e2e {

namespace {

// Long enough for a second message to follow the first on a loaded machine.
constexpr DWORD settle_ms = 300;
constexpr DWORD arrive_ms = 5000;
constexpr int plain_tick_queries = 2;

bool is_title_read(const std::string& line)
{
    return line.rfind("13 64000 ", 0) == 0;
}

std::optional<int> ask(HWND player, UINT msg)
{
    const auto answer = send(player, msg);
    if (!answer)
        return std::nullopt;
    return static_cast<int>(*answer);
}

}  // namespace

std::string jump_line(int ms)
{
    return "1024 " + std::to_string(ms) + " 106";
}

bool sent_exactly(const Player_log& log, std::size_t mark, const std::string& expected,
                  std::vector<std::string>& seen)
{
    const auto arrived = [&] {
        seen = log.commands_since(mark);
        return std::find(seen.begin(), seen.end(), expected) != seen.end();
    };
    if (!poll_until(arrived, arrive_ms))
        return false;
    Sleep(settle_ms);
    seen = log.commands_since(mark);
    return seen.size() == 1 && seen.front() == expected;
}

bool sent_nothing(const Player_log& log, std::size_t mark, std::vector<std::string>& seen)
{
    Sleep(settle_ms);
    seen = log.commands_since(mark);
    return seen.empty();
}

std::vector<int> position_queries_per_tick(const std::vector<std::string>& lines)
{
    std::vector<int> ticks;
    bool in_tick = false;
    int queries = 0;
    for (const std::string& line : lines) {
        if (is_title_read(line)) {
            if (in_tick)
                ticks.push_back(queries);
            in_tick = true;
            queries = 0;
        } else if (line == "1024 0 105") {
            ++queries;
        }
    }
    return ticks;
}

bool one_tick_with_extra_queries(const Player_log& log, std::size_t mark, int extra, std::string& detail)
{
    const auto seen = [&] {
        // From the title read before the mark, so the tick under way at the
        // mark, where a click lands, counts too.
        std::vector<std::string> lines = log.lines();
        std::size_t from = std::min(mark, lines.size());
        while (from > 0 && !is_title_read(lines[from - 1]))
            --from;
        lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(from == 0 ? 0 : from - 1));
        const std::vector<int> ticks = position_queries_per_tick(lines);
        const auto marked = std::find(ticks.begin(), ticks.end(), plain_tick_queries + extra);
        // A plain tick after it shows the extra queries did not spill over.
        const bool found = marked != ticks.end() && marked + 1 != ticks.end();
        const auto odd = std::count_if(ticks.begin(), ticks.end(),
                                       [](int queries) { return queries != plain_tick_queries; });
        detail = std::to_string(ticks.size()) + " ticks; position queries of those that were not plain:";
        for (const int queries : ticks)
            if (queries != plain_tick_queries) {
                detail += ' ';
                detail += std::to_string(queries);
            }
        return found && odd == 1;
    };
    if (!poll_until(seen, arrive_ms))
        return false;
    Sleep(settle_ms);
    return seen();
}

std::optional<int> standin_position_ms(HWND player)
{
    return ask(player, STANDIN_GET_POSITION_MS);
}

std::optional<int> standin_state(HWND player)
{
    return ask(player, STANDIN_GET_STATE);
}

std::optional<int> standin_track(HWND player)
{
    return ask(player, STANDIN_GET_TRACK);
}

bool standin_reaches(HWND player, int position_ms)
{
    return poll_until([&] { return standin_position_ms(player) == position_ms; }, arrive_ms);
}

std::wstring short_time(int seconds)
{
    wchar_t text[32];
    std::swprintf(text, 32, L"[%03d:%02d]", seconds / 60, seconds % 60);
    return text;
}

std::wstring stamp(int ms)
{
    wchar_t text[32];
    std::swprintf(text, 32, L"[%03d:%02d:%03d]", ms / 60000, ms / 1000 % 60, ms % 1000);
    return text;
}

std::wstring mark_line(int mark_ms, int position_ms)
{
    return stamp(mark_ms) + L"<==>" + stamp(position_ms);
}

}  // namespace e2e
