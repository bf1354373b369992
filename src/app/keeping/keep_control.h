#pragma once

#include <cstdint>
#include <string>

#include "app/keeping/recording_marks.h"
#include "app/keeping/recovery.h"
#include "app/entry_list.h"
#include "app/state_notice.h"

namespace morvane::keeping {

// Nothing the user made is lost: the list kept with the recording the
// player plays (标记随录音保存, when on) and, whatever the setting, what
// 退出 would throw away offered again at the next start.
class KeepControl {
public:
    KeepControl(Files& files, const CodePage& code_page, mark_file::Encoding encoding, Window& window,
                std::u16string data_folder, EntryList& list, StateNotice& notice);

    // Start-up: what the last run left is offered; with the setting on, the
    // playing recording's marks are loaded.
    void Start(bool keep_on, const std::u16string& recording, std::int64_t now_ms);
    // The menu item 标记随录音保存.
    void SetKeepOn(bool on, const std::u16string& recording, std::int64_t now_ms);
    bool KeepOn() const { return recording_marks_.On(); }

    // After every event: `revision` grows with each change of the list.
    void ListChanged(std::uint64_t revision, std::int64_t now_ms);
    // The player plays `recording` now (empty: none, or it does not say).
    void FollowRecording(const std::u16string& recording, std::int64_t now_ms);
    // 保存 or 读取 has just written or read the list as it stands.
    void Saved() { recovery_.Saved(list_.Entries()); }
    // The window is going.
    void End() { recovery_.End(list_.Entries()); }

    // How many entries the last run left: the menu offers them while > 0.
    std::size_t Offered() const { return recovery_.Offered(); }
    // 恢复上次退出时的标记: they are added at the end of the list.
    void Recover_Click();

private:
    void Apply(const RecordingMarks::Outcome& outcome, std::int64_t now_ms);

    MarkStore store_;
    RecordingMarks recording_marks_;
    Recovery recovery_;
    EntryList& list_;
    StateNotice& notice_;
    std::uint64_t revision_ = 0;
};

} // namespace morvane::keeping
