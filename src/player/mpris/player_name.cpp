#include "player/mpris/player_name.h"

#include <algorithm>
#include <array>

namespace morvane::mpris {
namespace {

// Columns, a Chinese character taking two: "Strawberry", "Clementine" and
// "Quod Libet" fit beside "处于播放状态".
constexpr std::size_t kColumns = 10;

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c; }

bool StartsWithIgnoringCase(std::u16string_view text, std::u16string_view lower_start)
{
    return text.size() > lower_start.size() &&
           std::ranges::equal(text.substr(0, lower_start.size()), lower_start, {}, Lower);
}

bool EndsWithIgnoringCase(std::u16string_view text, std::u16string_view lower_end)
{
    return text.size() > lower_end.size() &&
           std::ranges::equal(text.substr(text.size() - lower_end.size()), lower_end, {}, Lower);
}

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

std::u16string_view Trimmed(std::u16string_view text)
{
    while (!text.empty() && text.front() == u' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
    return text;
}

// A last word that is a version: "1.4.0rc1", "v0.35".
std::u16string_view WithoutVersion(std::u16string_view name)
{
    const auto space = name.rfind(u' ');
    if (space == std::u16string_view::npos) return name;
    const std::u16string_view word = name.substr(space + 1);
    const bool version = !word.empty() && (IsDigit(word[0]) || (word.size() > 1 && Lower(word[0]) == u'v' && IsDigit(word[1])));
    return version ? Trimmed(name.substr(0, space)) : name;
}

std::size_t Columns(char16_t c) { return c >= 0x1100 && (c < 0xD800 || c > 0xDFFF) ? 2 : 1; }

} // namespace

std::u16string ShortName(std::u16string_view identity)
{
    std::u16string_view name = WithoutVersion(Trimmed(identity));
    // The vendor before a browser's name, and its release channel after it,
    // which is then the package's name ("firefox-esr") and gets its capital back.
    bool package_name = false;
    for (const std::u16string_view vendor : {u"mozilla ", u"google "}) {
        if (StartsWithIgnoringCase(name, vendor)) {
            name.remove_prefix(vendor.size());
            package_name = true;
        }
    }
    for (const std::u16string_view channel : {u"-esr", u" esr"}) {
        if (EndsWithIgnoringCase(name, channel)) {
            name.remove_suffix(channel.size());
            package_name = true;
        }
    }
    // What kind of program it is, which the state line need not say.
    for (const std::u16string_view kind : {u" media player", u" music player", u" video player", u" player"}) {
        if (EndsWithIgnoringCase(name, kind)) {
            name.remove_suffix(kind.size());
            break;
        }
    }
    std::u16string shown(name);
    if (package_name && !shown.empty() && shown[0] >= u'a' && shown[0] <= u'z') shown[0] -= u'a' - u'A';

    std::size_t columns = 0;
    for (const char16_t c : shown) columns += Columns(c);
    if (columns <= kColumns) return shown;
    // Room for the "…"; never half of a surrogate pair.
    std::size_t kept = 0;
    for (columns = 0; kept < shown.size() && columns + Columns(shown[kept]) < kColumns; ++kept)
        columns += Columns(shown[kept]);
    if (kept > 0 && shown[kept - 1] >= 0xD800 && shown[kept - 1] <= 0xDBFF) --kept;
    return shown.substr(0, kept) + u'…';
}

} // namespace morvane::mpris
