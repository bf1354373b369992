#include "app/win32/user_keys.h"

#include <windows.h>

#include <memory>
#include <vector>

namespace morvane::win32 {
namespace {

constexpr LONGLONG kLargestKeysFile = 64 * 1024;

std::wstring ProgramFolder()
{
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            std::wstring file(path.data(), length);
            return file.substr(0, file.find_last_of(L"\\/") + 1);
        }
        path.resize(path.size() * 2);
    }
}

bool CanWriteIn(const std::wstring& folder)
{
    const std::wstring probe = folder + L"morvane-write-test.tmp";
    const HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_EXISTS;
    CloseHandle(file);
    return true;
}

std::wstring RoamingFolder()
{
    const DWORD size = GetEnvironmentVariableW(L"APPDATA", nullptr, 0);
    if (size == 0) return {};
    std::wstring folder(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(L"APPDATA", folder.data(), size);
    if (length == 0 || length >= size) return {};
    folder.resize(length);
    return folder + L"\\Morvane\\";
}

} // namespace

std::wstring KeysFilePath()
{
    const std::wstring beside = ProgramFolder();
    if (!beside.empty()) {
        const std::wstring file = beside + L"keys.ini";
        if (GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES || CanWriteIn(beside)) return file;
    }
    const std::wstring roaming = RoamingFolder();
    return roaming.empty() ? std::wstring{} : roaming + L"keys.ini";
}

keys::KeysFile ReadUserKeys()
{
    const std::wstring path = KeysFilePath();
    if (path.empty()) return {};
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return {};
        keys::KeysFile unread;
        unread.problems = "无法读取按键设置文件（错误 " + std::to_string(error) + "）；使用内置按键。";
        return unread;
    }
    const std::unique_ptr<void, decltype(&CloseHandle)> closer(file, &CloseHandle);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart > kLargestKeysFile) {
        keys::KeysFile unread;
        unread.problems = "按键设置文件过大（超过 64 KiB）或无法读取；使用内置按键。";
        return unread;
    }
    std::string text(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!text.empty() && (!ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &read, nullptr) ||
                          read != text.size())) {
        keys::KeysFile unread;
        unread.problems = "无法读取按键设置文件（错误 " + std::to_string(GetLastError()) + "）；使用内置按键。";
        return unread;
    }
    return keys::ParseKeysFile(text);
}

std::wstring WideFromUtf8(const std::string& text)
{
    if (text.empty()) return {};
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length) != length)
        return {};
    return wide;
}

} // namespace morvane::win32
