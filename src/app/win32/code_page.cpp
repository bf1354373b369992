#include <windows.h>

#include <climits>

#include "app/win32/system_ports.h"

namespace morvane::win32 {

std::u16string AnsiCodePage::ToText(std::string_view ansi) const
{
    if (ansi.empty() || ansi.size() > INT_MAX) return {};
    const int size = static_cast<int>(ansi.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, nullptr, 0);
    if (length <= 0) return {};
    std::u16string text(static_cast<std::size_t>(length), u'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, reinterpret_cast<wchar_t*>(text.data()), length);
    return text;
}

std::optional<std::string> AnsiCodePage::ToAnsi(std::u16string_view text) const
{
    if (text.empty()) return std::string();
    if (text.size() > INT_MAX / 4) return std::nullopt;
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int size = static_cast<int>(text.size());

    // A UTF-8 system code page holds every character; only broken UTF-16
    // fails. Other code pages report characters they had to replace.
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL replaced = FALSE;
    BOOL* replaced_out = utf8 ? nullptr : &replaced;

    const int length = WideCharToMultiByte(CP_ACP, flags, wide, size, nullptr, 0, nullptr, replaced_out);
    if (length <= 0 || replaced) return std::nullopt;
    std::string ansi(static_cast<std::size_t>(length), '\0');
    if (WideCharToMultiByte(CP_ACP, flags, wide, size, ansi.data(), length, nullptr, replaced_out) != length ||
        replaced)
        return std::nullopt;
    return ansi;
}

} // namespace morvane::win32
