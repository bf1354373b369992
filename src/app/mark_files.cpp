// 保存 and 读取: the mark list to a file and back, as the program's own mark
// file, Audacity labels or subtitles.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/mark_files.h"
#include "app/file_errors.h"
#include "marks/formats.h"
#include "marks/mark_file.h"
#include "stamps/entry.h"
#include "text/utf8.h"

namespace morvane {

namespace {

const std::u16string kTitle = u"提示";

// Mark files are small; anything this large is not one.
constexpr std::size_t kMaxFileBytes = 256u * 1024 * 1024;

std::u16string Quoted(const std::u16string& path)
{
    return u"“" + path + u"”";
}

// Why the bytes are clearly not a mark file; nullopt when they may be one.
std::optional<std::u16string> NotAMarkFile(std::string_view bytes, const CodePage& code_page,
                                             mark_file::Encoding encoding)
{
    // What Notepad saves as "Unicode"; no ANSI or UTF-8 text starts so.
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))
        return u"文件是 UTF-16 编码的，请另存为 ANSI 或 UTF-8 编码";
    // Neither the ANSI code page nor UTF-8 ever puts a NUL into text.
    if (bytes.find('\0') != std::string_view::npos) return u"不是文本文件（含有二进制数据）";

    const bool utf8 = mark_file::ReadsAsUtf8(bytes, encoding);
    const std::vector<std::string_view> lines = mark_file::SplitLines(mark_file::WithoutBom(bytes));
    for (std::size_t k = 0; k < lines.size(); ++k) {
        // A character takes at least one byte, so only a line with more
        // bytes than the cap needs decoding to be measured.
        if (lines[k].size() > kMaxEntryLength &&
            mark_file::DecodeLine(lines[k], utf8, code_page).size() > kMaxEntryLength)
            return u"第 " + CountText(k + 1) + u" 行超过 " + CountText(kMaxEntryLength) + u" 个字符，不是记录";
    }
    return std::nullopt;
}

mark_formats::Format FormatOf(FileType type)
{
    switch (type) {
    case FileType::AudacityLabels: return mark_formats::Format::AudacityLabels;
    case FileType::Srt: return mark_formats::Format::Srt;
    default: return mark_formats::Format::WebVtt;
    }
}

// The track's length for the last cue's end; 0 when unknown.
std::int32_t TrackMs(Player& player)
{
    constexpr std::int32_t kLongestMs = 2147483647;
    const std::int32_t seconds = player.GetLengthSec();
    if (seconds <= 0 || seconds > kLongestMs / 1000) return 0;
    return seconds * 1000;
}

} // namespace

bool MarkFiles::Save()
{
    const std::optional<Window::ChosenFile> chosen = window_.ChooseSavePath();
    if (!chosen) return false;

    // The dialog has asked about the chosen name only; a different target
    // that exists is not replaced without asking about it too.
    const std::u16string target = save_name::TargetName(chosen->path, FilterOf(chosen->type).extension);
    if (target != chosen->path && files_.Exists(target) &&
        !window_.AskYesNo(Quoted(target) + u"已存在。\r\n要替换它吗？", kTitle))
        return false;

    mark_formats::Written written;
    if (chosen->type == FileType::Marks)
        written.bytes = mark_file::EncodeLines(marks_.Marks().Entries(), code_page_, encoding_);
    else
        written = mark_formats::WriteMarks(FormatOf(chosen->type), marks_.Marks().Entries(), TrackMs(player_));
    // Not every system refuses to replace a read-only file; this program
    // does, the same everywhere.
    std::u16string error;
    if (files_.ReadOnly(target)) error = u"文件是只读的";
    else if (const auto failed = files_.WriteReplacing(target, written.bytes)) error = FileErrorText(*failed);
    if (!error.empty()) {
        window_.ShowInfo(u"无法保存记录文件" + Quoted(target) + u"：\r\n" + error, kTitle);
        return false;
    }
    if (written.left_out > 0)
        window_.ShowInfo(u"已保存到" + Quoted(target) + u"。\r\n有 " + CountText(written.left_out) +
                                u" 条记录不以时间开头，无法放到时间轴上，没有写入。",
                            kTitle);
    return written.left_out == 0;
}

bool MarkFiles::Load()
{
    const std::optional<std::u16string> path = window_.ChooseOpenPath();
    if (!path) return false;

    // The whole file is read before the list is touched, so a file that
    // cannot be read leaves the user's list as it was. Subtitles and labels
    // are told by their content; anything else is read as a mark file.
    const Files::ReadResult read = files_.ReadAll(*path, kMaxFileBytes);
    mark_formats::Read other;
    std::optional<std::u16string> refusal;
    if (read.ok) {
        other = mark_formats::ReadMarks(read.bytes, code_page_);
        if (other.format) refusal = other.error.empty() ? std::nullopt : std::optional(other.error);
        else refusal = NotAMarkFile(read.bytes, code_page_, encoding_);
    } else {
        refusal = FileErrorText(read.error.value_or(FileError{}));
    }
    if (refusal) {
        window_.ShowInfo(u"无法读取记录文件" + Quoted(*path) + u"：\r\n" + *refusal, kTitle);
        return false;
    }

    std::vector<std::u16string> lines;
    std::size_t in_file = 0;
    if (other.format) {
        lines = std::move(other.entries);
        in_file = other.in_file;
    } else {
        lines = mark_file::DecodeLines(read.bytes, code_page_, encoding_);
        in_file = lines.size();
    }
    marks_.Replace(std::move(lines));

    const auto bound = static_cast<std::size_t>(marks_.Marks().Bound());
    if (in_file > bound) {
        const std::u16string limit = CountText(bound);
        window_.ShowInfo(Quoted(*path) + u"有 " + CountText(in_file) +
                                u" 条记录，列表最多容纳 " + limit + u" 条，只读取了前 " + limit + u" 条。",
                            kTitle);
    }
    return true;
}

} // namespace morvane
