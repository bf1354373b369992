#include "app/keeping/keep_control.h"

namespace morvane::keeping {

KeepControl::KeepControl(Files& files, const CodePage& code_page, mark_file::Encoding encoding, Window& window,
                         std::u16string data_folder, EntryList& list, StateNotice& notice)
    : store_(files, code_page, encoding),
      recording_marks_(store_, window, data_folder),
      recovery_(store_, data_folder),
      list_(list),
      notice_(notice)
{
}

void KeepControl::Start(bool keep_on, const std::u16string& recording, std::int64_t now_ms)
{
    recovery_.Start();
    if (keep_on) SetKeepOn(true, recording, now_ms);
}

void KeepControl::SetKeepOn(bool on, const std::u16string& recording, std::int64_t now_ms)
{
    Apply(recording_marks_.SetOn(on, recording, list_.Entries()), now_ms);
}

void KeepControl::FollowRecording(const std::u16string& recording, std::int64_t now_ms)
{
    Apply(recording_marks_.Follow(recording, list_.Entries()), now_ms);
}

void KeepControl::ListChanged(std::uint64_t revision, std::int64_t now_ms)
{
    if (revision == revision_) return;
    revision_ = revision;
    Apply(recording_marks_.ListChanged(list_.Entries()), now_ms);
    recovery_.Follow(list_.Entries());
}

void KeepControl::Recover_Click()
{
    std::vector<std::u16string> entries = list_.Entries();
    for (std::u16string& entry : recovery_.TakeOffered()) entries.push_back(std::move(entry));
    list_.ReplaceEntries(std::move(entries));
}

void KeepControl::Apply(const RecordingMarks::Outcome& outcome, std::int64_t now_ms)
{
    if (outcome.entries) list_.ReplaceEntries(*outcome.entries);
    // A list kept with its recording is saved: 退出 has nothing to offer again.
    if (recording_marks_.Keeps(list_.Entries())) recovery_.Saved(list_.Entries());
    if (!outcome.message.empty()) notice_.Show(outcome.message, now_ms);
}

} // namespace morvane::keeping
