#include "player_log.h"

#include <windows.h>

#include "disk_files.h"
#include "process.h"

namespace morvane::e2e {

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
    const auto tick_query = [](const std::string& line) {
        return line == "1024 0 104" || line == "1024 0 105" || line == "1024 1 105" || line.rfind("13 64000 ", 0) == 0;
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
