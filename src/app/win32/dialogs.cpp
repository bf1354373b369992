#include <windows.h>

#include <commdlg.h>

#include <array>
#include <cstring>

#include "app/win32/text.h"
#include "app/win32/window_port.h"

namespace morvane::win32 {
namespace {

constexpr DWORD kPathBytes = 255;

// The folder that holds morvane.exe, in the ANSI code page; empty when it
// cannot be written in it (the dialog then starts where it likes).
std::string Program_Folder(const CodePage& code_page)
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const auto slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos) return {};
    path.resize(slash);
    return code_page.ToAnsi(To_Text(path.c_str(), path.size())).value_or(std::string());
}

} // namespace

std::optional<std::u16string> Choose_Mark_File(File_Dialog kind, HINSTANCE instance, HWND owner,
                                               const CodePage& code_page)
{
    const bool save = kind == File_Dialog::Save;
    // Display text, pattern, and the empty pair that ends the list. A code
    // page without the Chinese text shows the pattern alone.
    const std::string filter = code_page.ToAnsi(u"文本文件(*.txt)").value_or("*.txt") + '\0' + "*.txt" + '\0' + '\0';
    const std::optional<std::string> title = code_page.ToAnsi(save ? u"保存记录文件" : u"打开记录文件");
    const std::string folder = Program_Folder(code_page);

    // Empty buffers: the dialog then offers no default name.
    std::array<char, kPathBytes> path{};
    std::array<char, kPathBytes> name{};

    OPENFILENAMEA record{};
    record.lStructSize = sizeof(record);
    record.hwndOwner = owner;
    record.hInstance = instance;
    record.lpstrFilter = filter.c_str();
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
    return code_page.ToText(std::string_view(path.data(), std::strlen(path.data())));
}

} // namespace morvane::win32
