#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace morvane::qt {

// MainForm speaks UTF-16 and so does QString: both ways are plain copies.
inline QString ToQString(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::u16string ToText(const QString& text)
{
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
}

} // namespace morvane::qt
