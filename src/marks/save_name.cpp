#include "marks/mark_file.h"

namespace morvane::save_name {

namespace {

char16_t AsciiLower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool EndsIn(std::u16string_view name, std::u16string_view extension)
{
    if (name.size() < extension.size()) return false;
    const auto tail = name.substr(name.size() - extension.size());
    for (std::size_t k = 0; k < extension.size(); ++k)
        if (AsciiLower(tail[k]) != AsciiLower(extension[k])) return false;
    return true;
}

} // namespace

std::u16string TargetName(std::u16string_view chosen, std::u16string_view extension)
{
    std::u16string target(chosen);
    if (!EndsIn(chosen, extension)) target += extension;
    return target;
}

} // namespace morvane::save_name
