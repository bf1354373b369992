#include "player_log.h"

#include <windows.h>

#include <algorithm>

#include "disk_files.h"
#include "player/win32/window_classes.h"
#include "process.h"

namespace morvane::e2e {

const std::vector<PlayerKind>& PlayerKinds()
{
    // Winamp's IPC numbers, PotPlayer's remote-control requests (WM_USER with
    // 0x5006 state, 0x5004 position, 0x5002 length) and AIMP's properties
    // (WM_USER + 0x77 with 0x40 state, 0x20 position, 0x30 duration).
    static const std::vector<PlayerKind> kinds = {
        {L"winamp", win32players::kWinampClass, L"Winamp", true, {"1024 0 104", "1024 0 105", "1024 1 105"}, "13 64000 "},
        {L"potplayer", win32players::kPotPlayer64Class, L"PotPlayer", false, {"1024 20486 0", "1024 20484 0", "1024 20482 0"}, "13 64000 "},
        {L"aimp", win32players::kAimpRemoteClass, L"AIMP", true, {"1143 64 0", "1143 32 0", "1143 48 0"}, ""},
    };
    return kinds;
}

std::vector<std::string> PlayerLog::Lines() const
{
    const std::string bytes = ReadBytes(path_).value_or("");
    std::vector<std::string> result;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1)
        result.push_back(bytes.substr(start, end - start - (end > start && bytes[end - 1] == '\r')));
    return result;
}

std::vector<std::string> PlayerLog::LinesSince(std::size_t mark) const
{
    std::vector<std::string> all = Lines();
    return mark >= all.size() ? std::vector<std::string>{}
                              : std::vector<std::string>(all.begin() + static_cast<std::ptrdiff_t>(mark), all.end());
}

std::vector<std::string> PlayerLog::CommandsSince(std::size_t mark) const
{
    // The tick's queries: state, position, length and the title read.
    const auto tick_query = [&](const std::string& line) {
        return std::find(kind_->tick_queries.begin(), kind_->tick_queries.end(), line) != kind_->tick_queries.end() ||
               (!kind_->title_read.empty() && line.rfind(kind_->title_read, 0) == 0);
    };
    std::vector<std::string> result;
    for (std::string& line : LinesSince(mark))
        if (!tick_query(line)) result.push_back(std::move(line));
    return result;
}

std::vector<std::string> PlayerLog::CommandsSettled(std::size_t mark, std::size_t count) const
{
    PollUntil([&] { return CommandsSince(mark).size() >= count; });
    // Long enough for a second message to follow the first on a loaded machine.
    Sleep(300);
    return CommandsSince(mark);
}

} // namespace morvane::e2e
