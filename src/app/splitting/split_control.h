#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/entry_list.h"
#include "app/ports/window.h"
#include "app/splitting/background_split.h"
#include "app/state_notice.h"

namespace morvane::splitting {

// 自动分句: the sentences of the recording the player plays become marks.
// The search runs off the window's thread; it stops when asked, or when the
// player moves to another recording, and the list is then as it was.
class SplitControl {
public:
    SplitControl(Window& window, EntryList& list, StateNotice& notice, BackgroundSplit::MakeDecoder make_decoder)
        : window_(window), list_(list), notice_(notice), search_(window, std::move(make_decoder))
    {
    }

    bool Running() const { return search_.Running(); }
    // The menu item's text: 自动分句, or 停止分句 while a search runs.
    std::u16string MenuText() const;
    // The item or the key: starts on `recording` (empty: the player does not
    // say, so the user is asked for the file), or stops the search under way.
    void Split_Click(const std::u16string& recording, int min_pause_ms, std::int64_t now_ms);
    // The player plays `recording` now: a search of another one stops.
    void FollowRecording(const std::u16string& recording, std::int64_t now_ms);
    // "正在分句 37%......" while a search runs.
    std::optional<std::u16string> StateText() const;
    // The window is going: the search ends without a word.
    void End() { search_.Stop(); }

private:
    void Stop(std::u16string why, std::int64_t now_ms);
    void Finished(const Found& found);

    Window& window_;
    EntryList& list_;
    StateNotice& notice_;
    BackgroundSplit search_;
    std::u16string searched_;  // the recording being searched
    bool asked_for_file_ = false;  // it was chosen in the dialog, not the player's
    int percent_ = 0;
};

} // namespace morvane::splitting
