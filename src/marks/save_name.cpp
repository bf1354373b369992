#include "marks/mark_file.h"

namespace morvane::Save_Name_M {

namespace {

char16_t Ascii_Lower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool Ends_In_Txt(std::u16string_view name)
{
    constexpr std::u16string_view kExtension = u".txt";
    if (name.size() < kExtension.size()) return false;
    const auto tail = name.substr(name.size() - kExtension.size());
    for (std::size_t k = 0; k < kExtension.size(); ++k)
        if (Ascii_Lower(tail[k]) != kExtension[k]) return false;
    return true;
}

} // namespace

std::u16string Target_Name(std::u16string_view chosen)
{
    std::u16string target(chosen);
    if (!Ends_In_Txt(chosen)) target += u".txt";
    return target;
}

} // namespace morvane::Save_Name_M
