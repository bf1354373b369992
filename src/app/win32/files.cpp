#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <utility>

#include "app/capped_read.h"
#include "app/win32/system_ports.h"
#include "app/win32/text.h"

namespace morvane::win32 {
namespace {

constexpr DWORD kChunk = 1 << 20;

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    bool Close()
    {
        if (!Valid()) return true;
        const BOOL closed = CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        return closed != FALSE;
    }

private:
    HANDLE handle_;
};

// The system's own words for an error it has no kind here; the code alone
// when it has none.
FileError SystemMessage(DWORD error)
{
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
        0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::u16string text = length > 0 ? FromWide(buffer, length) : std::u16string();
    if (buffer != nullptr) LocalFree(buffer);
    while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ')) text.pop_back();
    if (text.empty()) return {FileError::Kind::UnnamedError, {}, static_cast<std::int64_t>(error)};
    return {FileError::Kind::SystemWords, std::move(text)};
}

// The kind of the last failure.
FileError Reason(DWORD error, bool writing)
{
    using enum FileError::Kind;
    switch (error) {
    case ERROR_FILE_NOT_FOUND: return {NotFound};
    case ERROR_PATH_NOT_FOUND: return {writing ? FolderNotFound : NotFound};
    case ERROR_ACCESS_DENIED: return {NoAccess};
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return {InUse};
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return {DiskFull};
    case ERROR_WRITE_PROTECT: return {WriteProtected};
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE: return {BadName};
    default: return SystemMessage(error);
    }
}

std::wstring FolderOf(const std::wstring& path)
{
    const auto slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return L".";
    if (slash == 0 || path[slash - 1] == L':') return path.substr(0, slash + 1);  // a root keeps its slash
    return path.substr(0, slash);
}

std::optional<FileError> WriteAll(HANDLE file, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD part = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, kChunk));
        DWORD written = 0;
        if (WriteFile(file, bytes.data() + done, part, &written, nullptr) == FALSE) return Reason(GetLastError(), true);
        if (written == 0) return FileError{FileError::Kind::DiskFull};
        done += written;
    }
    if (FlushFileBuffers(file) == FALSE) return Reason(GetLastError(), true);
    return std::nullopt;
}

} // namespace

Files::ReadResult DiskFiles::ReadAll(const std::u16string& path, std::size_t max_bytes)
{
    ReadResult result;
    FileHandle file(CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.Valid()) {
        result.error = Reason(GetLastError(), false);
        return result;
    }
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file.Get(), &size) == FALSE) {
        result.error = Reason(GetLastError(), false);
        return result;
    }
    return ReadCapped(static_cast<std::uint64_t>(size.QuadPart), max_bytes,
                      [&file](char* buffer, std::size_t size, ReadResult& read) -> std::optional<std::size_t> {
                          DWORD got = 0;
                          const DWORD part = static_cast<DWORD>(std::min<std::size_t>(size, MAXDWORD));
                          if (ReadFile(file.Get(), buffer, part, &got, nullptr) != FALSE) return got;
                          read.error = Reason(GetLastError(), false);
                          return std::nullopt;
                      });
}

bool DiskFiles::MakeFolder(const std::u16string& path)
{
    std::u16string folder = path;
    while (folder.size() > 3 && (folder.back() == u'\\' || folder.back() == u'/')) folder.pop_back();
    const int made = SHCreateDirectoryExW(nullptr, Wide(folder), nullptr);
    return made == ERROR_SUCCESS || made == ERROR_ALREADY_EXISTS || made == ERROR_FILE_EXISTS;
}

bool DiskFiles::Exists(const std::u16string& path) { return GetFileAttributesW(Wide(path)) != INVALID_FILE_ATTRIBUTES; }

bool DiskFiles::ReadOnly(const std::u16string& path)
{
    const DWORD attributes = GetFileAttributesW(Wide(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

std::optional<FileError> DiskFiles::WriteReplacing(const std::u16string& path, const std::string& bytes)
{
    const std::wstring target(Wide(path));
    // The new text goes to a file of its own beside the target first, so
    // the target changes only by the final rename, whole or not at all.
    wchar_t temp[MAX_PATH] = {};
    if (GetTempFileNameW(FolderOf(target).c_str(), L"mrv", 0, temp) == 0) return Reason(GetLastError(), true);

    std::optional<FileError> failure;
    {
        FileHandle file(CreateFileW(temp, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Valid()) failure = Reason(GetLastError(), true);
        else failure = WriteAll(file.Get(), bytes);
        if (!failure && !file.Close()) failure = Reason(GetLastError(), true);
    }
    if (!failure && MoveFileExW(temp, target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == FALSE)
        failure = Reason(GetLastError(), true);
    if (failure) DeleteFileW(temp);
    return failure;
}

} // namespace morvane::win32
