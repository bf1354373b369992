#include "app/splitting/split_control.h"

#include "marks/mark_merge.h"
#include "text/utf8.h"

namespace morvane::splitting {

namespace {

const std::u16string kTitle = u"自动分句";

std::u16string FileName(const std::u16string& path)
{
    const std::size_t slash = path.find_last_of(u"/\\");
    return slash == std::u16string::npos ? path : path.substr(slash + 1);
}

} // namespace

std::u16string SplitControl::MenuText() const
{
    return Running() ? u"停止分句" : u"自动分句";
}

void SplitControl::Split_Click(const std::u16string& recording, int min_pause_ms, std::int64_t now_ms)
{
    if (Running()) {
        Stop(u"已停止分句，列表没有改变", now_ms);
        return;
    }
    std::u16string path = recording;
    asked_for_file_ = path.empty();
    if (asked_for_file_) {
        // A browser, a stream or a player that does not say what it plays.
        const std::optional<std::u16string> chosen = window_.ChooseRecordingPath();
        if (!chosen) return;
        path = *chosen;
    }
    searched_ = path;
    percent_ = 0;
    sentences::Settings settings;
    settings.min_pause_ms = min_pause_ms;
    search_.Start(
        path, settings, [this](int percent) { percent_ = percent; }, [this](Found found) { Finished(found); });
}

void SplitControl::FollowRecording(const std::u16string& recording, std::int64_t now_ms)
{
    if (Running() && !asked_for_file_ && recording != searched_)
        Stop(u"播放器换了曲目，已停止分句，列表没有改变", now_ms);
}

std::optional<std::u16string> SplitControl::StateText() const
{
    if (!Running()) return std::nullopt;
    return u"正在分句 " + CountText(static_cast<std::size_t>(percent_)) + u"%......";
}

void SplitControl::Stop(std::u16string why, std::int64_t now_ms)
{
    search_.Stop();
    notice_.Show(std::move(why), now_ms);
}

void SplitControl::Finished(const Found& found)
{
    switch (found.end) {
    case Found::End::Cancelled: return;
    case Found::End::Failed:
        window_.ShowInfo(u"无法分句“" + FileName(searched_) + u"”：\r\n" + found.reason, kTitle);
        return;
    case Found::End::NoSpeech:
        window_.ShowInfo(u"“" + FileName(searched_) + u"”中没有找到说话的声音，列表没有改变。", kTitle);
        return;
    case Found::End::Sentences: break;
    }
    std::vector<std::u16string> sentences = SentenceEntries(found.starts_ms);
    const std::vector<std::u16string>& entries = list_.Entries();
    if (entries.empty()) {
        list_.ReplaceEntries(std::move(sentences));
        return;
    }
    const std::size_t chosen = window_.AskChoice(
        u"在“" + FileName(searched_) + u"”中找到 " + CountText(sentences.size()) + u" 句。\r\n列表中已有 " +
            CountText(entries.size()) + u" 条记录：用这些句子替换它们，还是加入列表？",
        kTitle, {u"替换", u"加入", u"取消"});
    if (chosen == 0) list_.ReplaceEntries(std::move(sentences));
    else if (chosen == 1) list_.ReplaceEntries(mark_merge::Merged(entries, sentences));
}

} // namespace morvane::splitting
