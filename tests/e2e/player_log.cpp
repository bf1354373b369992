#include "player_log.h"

#include <windows.h>

namespace e2e {

std::vector<std::string> Player_log::lines() const
{
    std::vector<std::string> result;
    // The player keeps the file open for writing while we read.
    const HANDLE file = CreateFileW(path_.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return result;
    std::string bytes;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0)
        bytes.append(chunk, got);
    CloseHandle(file);

    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1) {
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        result.push_back(std::move(line));
    }
    return result;
}

std::vector<std::string> Player_log::lines_since(std::size_t mark) const
{
    std::vector<std::string> all = lines();
    if (mark >= all.size())
        return {};
    return std::vector<std::string>(all.begin() + static_cast<std::ptrdiff_t>(mark), all.end());
}

std::vector<std::string> Player_log::commands_since(std::size_t mark) const
{
    std::vector<std::string> result;
    for (std::string& line : lines_since(mark))
        if (!is_tick_query(line))
            result.push_back(std::move(line));
    return result;
}

bool is_tick_query(const std::string& line)
{
    return line == "1024 0 104" || line == "1024 0 105" || line == "1024 1 105"
           || line.rfind("13 64000 ", 0) == 0;
}

std::string joined(const std::vector<std::string>& lines)
{
    if (lines.empty())
        return "(none)";
    std::string text;
    for (const std::string& line : lines)
        text += (text.empty() ? "\"" : ", \"") + line + "\"";
    return text;
}

}  // namespace e2e
