#include "disk_files.h"

#include <algorithm>

namespace e2e {

namespace {

template <class Visit>
void for_each_name(const std::wstring& folder, Visit visit)
{
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            visit(name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

}  // namespace

bool fresh_folder(const std::wstring& folder)
{
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
    for_each_name(folder, [&](const std::wstring& name, bool is_folder) {
        const std::wstring path = folder + L"\\" + name;
        // A test may have left a file read-only.
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (is_folder)
            RemoveDirectoryW(path.c_str());
        else
            DeleteFileW(path.c_str());
    });
    return names_in(folder).empty();
}

std::optional<std::string> read_bytes(const std::wstring& path)
{
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::string bytes;
    char chunk[65536];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, chunk, sizeof chunk, &got, nullptr) != FALSE) && got > 0)
        bytes.append(chunk, got);
    CloseHandle(file);
    if (!ok)
        return std::nullopt;
    return bytes;
}

bool write_bytes(const std::wstring& path, const std::string& bytes)
{
    const HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    std::size_t done = 0;
    bool ok = true;
    while (ok && done < bytes.size()) {
        const DWORD part = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
        DWORD written = 0;
        ok = WriteFile(file, bytes.data() + done, part, &written, nullptr) != FALSE && written > 0;
        done += written;
    }
    return CloseHandle(file) != FALSE && ok;
}

std::vector<std::wstring> names_in(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    for_each_name(folder, [&](const std::wstring& name, bool) { names.push_back(name); });
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<std::string> encoded(const std::wstring& text, UINT code_page)
{
    if (text.empty())
        return std::string();
    BOOL defaulted = FALSE;
    // UTF-8 takes no default-character flag.
    BOOL* lossy = code_page == CP_UTF8 ? nullptr : &defaulted;
    const DWORD flags = code_page == CP_UTF8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    const int length = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(code_page, flags, text.data(), length, nullptr, 0, nullptr, lossy);
    if (size <= 0)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(code_page, flags, text.data(), length, bytes.data(), size, nullptr, lossy);
    if (defaulted)
        return std::nullopt;
    return bytes;
}

std::optional<std::string> mark_file_bytes(const std::vector<std::wstring>& entries, bool utf8)
{
    std::string bytes = utf8 ? "\xEF\xBB\xBF" : "";
    for (const std::wstring& entry : entries) {
        const auto line = encoded(entry, utf8 ? CP_UTF8 : 936);
        if (!line)
            return std::nullopt;
        bytes += *line + "\r\n";
    }
    return bytes;
}

}  // namespace e2e
