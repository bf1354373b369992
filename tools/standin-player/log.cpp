#include "log.h"

#include <cstdint>

namespace standin {

std::optional<MessageLog> MessageLog::Open(const std::wstring& path)
{
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    return MessageLog(file);
}

bool MessageLog::Write(UINT msg, WPARAM wparam, LPARAM lparam)
{
    const auto w = static_cast<std::int32_t>(static_cast<std::uint32_t>(wparam));
    const std::string line = std::to_string(msg) + ' ' + std::to_string(w) + ' '
                             + std::to_string(static_cast<long long>(lparam)) + '\n';
    DWORD written = 0;
    return WriteFile(file_.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr)
           && written == line.size();
}

}  // namespace standin
