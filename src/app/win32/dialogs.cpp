#include <windows.h>

#include <commdlg.h>

#include <array>
#include <cstring>
#include <cwchar>

#include "app/win32/text.h"
#include "app/win32/window_port.h"

namespace morvane::win32 {
namespace {

constexpr DWORD kPathBytes = 255;

// Pairs of display text and pattern, each ended by a NUL, and the empty
// pair that ends the list. A code page without the Chinese text shows the
// pattern alone.
std::string Filter(bool save, const CodePage& code_page)
{
    std::string filter;
    const auto add = [&](std::u16string_view text, std::u16string_view pattern) {
        const std::string ansi_pattern(pattern.begin(), pattern.end());
        filter += code_page.ToAnsi(text).value_or(ansi_pattern) + '\0' + ansi_pattern + '\0';
    };
    for (const FileFilter& type : kFileFilters) add(type.text, type.pattern);
    if (!save) add(kAllFilesText, kAllFilesPattern);
    return filter + '\0';
}

} // namespace

std::optional<Window::ChosenFile> ChooseMarkFile(FileDialog kind, HINSTANCE instance, HWND owner,
                                                    const CodePage& code_page, const std::u16string& folder_text)
{
    const bool save = kind == FileDialog::Save;
    const std::string filter = Filter(save, code_page);
    const std::optional<std::string> title = code_page.ToAnsi(save ? u"保存记录文件" : u"打开记录文件");
    // Empty when the folder cannot be written in the code page: the dialog
    // then starts where it likes.
    const std::string folder = code_page.ToAnsi(folder_text).value_or(std::string());

    // Empty buffers: the dialog then offers no default name.
    std::array<char, kPathBytes> path{};
    std::array<char, kPathBytes> name{};

    OPENFILENAMEA record{};
    record.lStructSize = sizeof(record);
    record.hwndOwner = owner;
    record.hInstance = instance;
    record.lpstrFilter = filter.c_str();
    record.nFilterIndex = 1;
    record.lpstrFile = path.data();
    record.nMaxFile = kPathBytes;
    record.lpstrFileTitle = name.data();
    record.nMaxFileTitle = kPathBytes;
    record.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    record.lpstrTitle = title ? title->c_str() : nullptr;
    record.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR |
                   (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);

    const BOOL chosen = save ? GetSaveFileNameA(&record) : GetOpenFileNameA(&record);
    if (chosen == FALSE) return std::nullopt;
    path.back() = '\0';
    Window::ChosenFile file{code_page.ToText(std::string_view(path.data(), std::strlen(path.data())))};
    // nFilterIndex counts the types from 1; "every file" has no type.
    if (record.nFilterIndex >= 1 && record.nFilterIndex <= kFileFilters.size())
        file.type = kFileFilters[record.nFilterIndex - 1].type;
    return file;
}

std::optional<std::u16string> ChooseRecording(HWND owner)
{
    std::u16string patterns;
    for (const std::u16string_view pattern : kRecordingPatterns)
        patterns += (patterns.empty() ? u"" : u";") + std::u16string(pattern);
    std::u16string filter = std::u16string(kRecordingsText) + u'\0' + patterns + u'\0' +
                            std::u16string(kAllFilesText) + u'\0' + std::u16string(kAllFilesPattern) + u'\0' + u'\0';
    std::array<wchar_t, 32768> path{};
    OPENFILENAMEW record{};
    record.lStructSize = sizeof(record);
    record.hwndOwner = owner;
    record.lpstrFilter = Wide(filter);
    record.nFilterIndex = 1;
    record.lpstrFile = path.data();
    record.nMaxFile = static_cast<DWORD>(path.size());
    record.lpstrTitle = L"选择要分句的录音";
    record.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR;
    if (GetOpenFileNameW(&record) == FALSE) return std::nullopt;
    path.back() = L'\0';
    return FromWide(path.data(), std::wcslen(path.data()));
}

} // namespace morvane::win32
