#include "app/win32/program_folder.h"

#include <windows.h>

#include <vector>

#include "app/program.h"
#include "app/win32/text.h"

namespace morvane::win32 {
namespace {

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

std::u16string Text(const std::wstring& text) { return FromWide(text.c_str(), text.size()); }

} // namespace

std::wstring ProgramFolder()
{
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            std::wstring file(path.data(), length);
            const auto slash = file.find_last_of(L"\\/");
            if (slash == std::wstring::npos) return {};
            return file.substr(0, slash + 1);
        }
        path.resize(path.size() * 2);
    }
}

std::u16string UserDataFolder() { return Text(RoamingFolder()); }

std::u16string UserConfigFolder()
{
    const std::wstring beside = ProgramFolder();
    if (!beside.empty()) {
        const std::wstring keys = beside + Wide(std::u16string(kKeysFileName));
        if (GetFileAttributesW(keys.c_str()) != INVALID_FILE_ATTRIBUTES || CanWriteIn(beside)) return Text(beside);
    }
    return Text(RoamingFolder());
}

} // namespace morvane::win32
