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

std::optional<int> standin_position_ms(HWND player)
{
    return ask(player, STANDIN_GET_POSITION_MS);
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
