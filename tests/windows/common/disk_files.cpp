#include "disk_files.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace morvane::e2e {

namespace fs = std::filesystem;

std::wstring OutPath(const std::wstring& file)
{
    wchar_t dir[MAX_PATH];
    const DWORD n = GetEnvironmentVariableW(L"E2E_OUT", dir, MAX_PATH);
    const std::wstring folder = n > 0 && n < MAX_PATH ? std::wstring(dir, n) : L"out\\e2e";
    std::error_code ignored;
    fs::create_directories(folder, ignored);
    return folder + L"\\" + file;
}

bool FreshFolder(const std::wstring& folder)
{
    std::error_code error;
    fs::create_directories(folder, error);
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        // A test may have left a file read-only.
        SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        fs::remove_all(entry.path(), error);
    }
    return fs::is_directory(folder, error) && NamesIn(folder).empty();
}

std::optional<std::string> ReadBytes(const std::wstring& path)
{
    std::ifstream file(fs::path(path), std::ios::binary);
    if (!file) return std::nullopt;
    std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (file.bad()) return std::nullopt;
    return bytes;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes)
{
    std::ofstream file(fs::path(path), std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    return !file.fail();
}

std::vector<std::wstring> NamesIn(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) names.push_back(entry.path().filename().wstring());
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<std::string> MarkFileBytes(const std::vector<std::wstring>& entries, bool utf8)
{
    const UINT code_page = utf8 ? CP_UTF8 : 936;
    // UTF-8 takes no default-character flag.
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    std::string bytes = utf8 ? "\xEF\xBB\xBF" : "";
    for (const std::wstring& entry : entries) {
        BOOL lossy = FALSE;
        const int length = static_cast<int>(entry.size());
        const int size = WideCharToMultiByte(code_page, flags, entry.data(), length, nullptr, 0, nullptr,
                                             utf8 ? nullptr : &lossy);
        std::string line(static_cast<std::size_t>(std::max(size, 0)), '\0');
        WideCharToMultiByte(code_page, flags, entry.data(), length, line.data(), size, nullptr, utf8 ? nullptr : &lossy);
        if ((size <= 0 && length > 0) || lossy) return std::nullopt;
        bytes += line + "\r\n";
    }
    return bytes;
}

} // namespace morvane::e2e
