#pragma once

#include <array>
#include <string_view>

namespace morvane {

// The kinds of file the save dialog offers, in the dialog's order; the
// first, the program's own mark file, is the default.
enum class File_Type { Marks, Audacity_Labels, Srt, WebVtt };

struct File_Filter {
    File_Type type;
    std::u16string_view text;       // what the dialog shows
    std::u16string_view pattern;    // what it lists
    std::u16string_view extension;  // what the save adds when the name lacks it
};

inline constexpr std::array<File_Filter, 4> kFileFilters{{
    {File_Type::Marks, u"文本文件(*.txt)", u"*.txt", u".txt"},
    {File_Type::Audacity_Labels, u"Audacity 标签(*.txt)", u"*.txt", u".txt"},
    {File_Type::Srt, u"SRT 字幕(*.srt)", u"*.srt", u".srt"},
    {File_Type::WebVtt, u"WebVTT 字幕(*.vtt)", u"*.vtt", u".vtt"},
}};

// The open dialog offers the same types and then every file: the content,
// not the name, tells the format.
inline constexpr std::u16string_view kAllFilesText = u"所有文件(*.*)";
inline constexpr std::u16string_view kAllFilesPattern = u"*.*";

inline const File_Filter& Filter_Of(File_Type type)
{
    return kFileFilters[static_cast<std::size_t>(type)];
}

} // namespace morvane
