#include "app/keeping/mark_store.h"

#include "app/file_errors.h"

#include "stamps/entry.h"
#include "stamps/stamps.h"
#include "text/utf8.h"

namespace morvane::keeping {

namespace {

// An entry as 记录 writes it: a stamp first, then the note if any.
bool IsEntry(std::u16string_view line)
{
    return line.size() >= kStampLength && line.size() <= kMaxEntryLength && line.front() == u'[' &&
           line[kStampLength - 1] == u']' && ParseStamp(EntryStamp(line));
}

} // namespace

MarkStore::Read MarkStore::ReadMarks(const std::u16string& path) const
{
    Read read;
    if (!files_.Exists(path)) return read;
    const Files::ReadResult file = files_.ReadAll(path, kMaxKeptBytes);
    if (!file.ok) {
        read.kind = Read::Kind::Failed;
        read.reason = FileErrorText(file.error.value_or(FileError{}));
        return read;
    }
    if (file.bytes.find('\0') != std::string::npos) {
        read.kind = Read::Kind::Foreign;
        read.reason = u"不是记录文件";
        return read;
    }
    std::vector<std::u16string> lines = mark_file::DecodeLines(file.bytes, code_page_, encoding_);
    for (const std::u16string& line : lines) {
        if (!IsEntry(line)) {
            read.kind = Read::Kind::Foreign;
            read.reason = u"不是记录文件";
            return read;
        }
    }
    // More than the list holds: writing the list back would lose the rest.
    if (lines.size() > mark_file::kMaxEntries) {
        read.kind = Read::Kind::Foreign;
        read.reason = u"记录超过 " + CountText(mark_file::kMaxEntries) + u" 条";
        return read;
    }
    read.kind = Read::Kind::Marks;
    read.entries = std::move(lines);
    return read;
}

std::u16string MarkStore::Write(const std::u16string& path, const std::vector<std::u16string>& entries) const
{
    if (files_.ReadOnly(path)) return u"文件是只读的";
    const std::optional<FileError> failed = files_.WriteReplacing(path, mark_file::EncodeLines(entries, code_page_, encoding_));
    return failed ? FileErrorText(*failed) : std::u16string();
}

} // namespace morvane::keeping
