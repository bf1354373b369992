#include "app/keeping/recording_marks.h"

#include <cstdint>

#include "marks/mark_merge.h"
#include "text/utf8.h"

namespace morvane::keeping {

namespace {

constexpr std::u16string_view kSuffix = u".marks.txt";
const std::u16string kTitle = u"标记随录音保存";

std::u16string Quoted(const std::u16string& text)
{
    return u"“" + text + u"”";
}

std::u16string FileName(const std::u16string& path)
{
    const std::size_t slash = path.find_last_of(u"/\\");
    return slash == std::u16string::npos ? path : path.substr(slash + 1);
}

// FNV-1a over the path's code units: the same name on every system.
std::u16string PathHash(const std::u16string& path)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (const char16_t unit : path) {
        hash ^= static_cast<std::uint8_t>(unit & 0xFF);
        hash *= 1099511628211ull;
        hash ^= static_cast<std::uint8_t>(unit >> 8);
        hash *= 1099511628211ull;
    }
    static constexpr char16_t kDigits[] = u"0123456789abcdef";
    std::u16string text(16, u'0');
    for (int i = 15; i >= 0; --i, hash >>= 4) text[static_cast<std::size_t>(i)] = kDigits[hash & 0xF];
    return text;
}

std::u16string Loaded(std::size_t count)
{
    return u"已载入 " + CountText(count) + u" 条标记";
}

} // namespace

std::u16string BesidePath(const std::u16string& recording)
{
    return recording + std::u16string(kSuffix);
}

std::u16string DataPath(const std::u16string& data_folder, const std::u16string& recording)
{
    return data_folder + FileName(recording) + u"." + PathHash(recording) + std::u16string(kSuffix);
}

RecordingMarks::Outcome RecordingMarks::SetOn(bool on, const std::u16string& recording,
                                              const std::vector<std::u16string>& entries)
{
    on_ = on;
    recording_.clear();
    refused_ = false;
    kept_.clear();
    if (!on) return {};
    if (recording.empty())
        window_.ShowInfo(u"播放器没有说它正在播放哪个文件，标记暂时不能随录音保存。\r\n"
                         u"播放本机上的文件时，标记就会随录音保存。",
                         kTitle);
    return Follow(recording, entries);
}

RecordingMarks::Outcome RecordingMarks::Follow(const std::u16string& recording,
                                               const std::vector<std::u16string>& entries)
{
    if (!on_ || recording == recording_) return {};
    // What was made for the old recording is kept with it before the list
    // changes hands.
    Outcome outcome = ListChanged(entries);
    const bool kept = outcome.message.empty() && (entries.empty() || Keeps(entries));
    recording_ = recording;
    refused_ = false;
    kept_.clear();
    if (recording.empty()) return outcome;
    Outcome taken = TakeUp(recording, entries, kept);
    if (taken.message.empty()) taken.message = outcome.message;
    return taken;
}

RecordingMarks::Outcome RecordingMarks::TakeUp(const std::u16string& recording,
                                               const std::vector<std::u16string>& entries, bool kept)
{
    const std::u16string beside = BesidePath(recording);
    MarkStore::Read read = store_.ReadMarks(beside);
    if (!data_folder_.empty() &&
        (read.kind == MarkStore::Read::Kind::Marks || read.kind == MarkStore::Read::Kind::Missing)) {
        // A copy in the data folder is there only because the recording's
        // folder could not be written: it is the newer one.
        MarkStore::Read copy = store_.ReadMarks(DataPath(data_folder_, recording));
        if (copy.kind != MarkStore::Read::Kind::Missing) read = std::move(copy);
    }
    if (read.kind == MarkStore::Read::Kind::Foreign || read.kind == MarkStore::Read::Kind::Failed) {
        refused_ = true;
        return {std::nullopt, Quoted(FileName(beside)) + read.reason + u"，标记不随录音保存"};
    }

    Outcome outcome;
    if (read.entries.empty()) {
        // A recording without marks takes over a list kept nowhere.
        outcome.entries = kept ? std::vector<std::u16string>() : entries;
    } else if (kept || window_.AskYesNo(u"列表中有 " + CountText(entries.size()) + u" 条标记没有随录音保存过。\r\n" +
                                            u"要换成" + Quoted(FileName(recording)) + u"的 " +
                                            CountText(read.entries.size()) + u" 条标记吗？\r\n" +
                                            u"选“否”则把它们加入列表。",
                                        kTitle)) {
        outcome.entries = read.entries;
    } else {
        outcome.entries = mark_merge::Merged(entries, read.entries);
    }
    kept_ = read.entries;
    if (!read.entries.empty()) outcome.message = Loaded(read.entries.size());
    if (*outcome.entries != kept_) {
        const std::u16string error = Save(*outcome.entries);
        if (!error.empty()) outcome.message = error;
    }
    return outcome;
}

RecordingMarks::Outcome RecordingMarks::ListChanged(const std::vector<std::u16string>& entries)
{
    if (!on_ || recording_.empty() || refused_ || entries == kept_) return {};
    return {std::nullopt, Save(entries)};
}

std::u16string RecordingMarks::Save(const std::vector<std::u16string>& entries)
{
    const std::u16string beside = BesidePath(recording_);
    const std::u16string copy = data_folder_.empty() ? std::u16string() : DataPath(data_folder_, recording_);
    const bool copy_there = !copy.empty() && store_.files().Exists(copy);
    // Nothing to keep and nothing kept yet: no file is made.
    if (entries.empty() && !store_.files().Exists(beside) && !copy_there) {
        kept_ = entries;
        return {};
    }
    std::u16string error = store_.Write(beside, entries);
    if (error.empty()) {
        if (copy_there) error = store_.Write(copy, entries);
    } else if (!data_folder_.empty() && store_.files().MakeFolder(data_folder_)) {
        error = store_.Write(copy, entries);
    }
    if (!error.empty()) return u"标记没能随录音保存：" + error;
    kept_ = entries;
    return {};
}

} // namespace morvane::keeping
