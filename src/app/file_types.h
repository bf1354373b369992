#pragma once

#include <array>
#include <string_view>

namespace morvane {

// The kinds of file the save dialog offers, in the dialog's order; the
// first, the program's own mark file, is the default.
enum class FileType { Marks, AudacityLabels, Srt, WebVtt };

struct FileFilter {
    FileType type;
    std::u16string_view text;       // what the dialog shows
    std::u16string_view pattern;    // what it lists
    std::u16string_view extension;  // what the save adds when the name lacks it
};

inline constexpr std::array<FileFilter, 4> kFileFilters{{
    {FileType::Marks, u"文本文件(*.txt)", u"*.txt", u".txt"},
    {FileType::AudacityLabels, u"Audacity 标签(*.txt)", u"*.txt", u".txt"},
    {FileType::Srt, u"SRT 字幕(*.srt)", u"*.srt", u".srt"},
    {FileType::WebVtt, u"WebVTT 字幕(*.vtt)", u"*.vtt", u".vtt"},
}};

// The open dialog offers the same types and then every file: the content,
// not the name, tells the format.
inline constexpr std::u16string_view kAllFilesText = u"所有文件(*.*)";
inline constexpr std::u16string_view kAllFilesPattern = u"*.*";

// The open dialog for a recording to find the sentences of: sound and the
// sound of videos, then every file.
inline constexpr std::u16string_view kRecordingsText = u"录音和视频";
inline constexpr std::array<std::u16string_view, 14> kRecordingPatterns{
    u"*.mp3", u"*.m4a", u"*.aac", u"*.wav", u"*.wma", u"*.flac", u"*.ogg",
    u"*.opus", u"*.mp4", u"*.mkv", u"*.webm", u"*.avi", u"*.mov", u"*.wmv"};

inline const FileFilter& FilterOf(FileType type)
{
    return kFileFilters[static_cast<std::size_t>(type)];
}

} // namespace morvane
