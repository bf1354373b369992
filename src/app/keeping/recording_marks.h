#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/keeping/mark_store.h"
#include "app/ports/window.h"

namespace morvane::keeping {

// Where a recording's marks are kept: beside it ("第一课.mp3" →
// "第一课.mp3.marks.txt"), or, where its folder cannot be written, in
// Morvane's data folder under a name made from the recording's whole path,
// so that two recordings of one name in two folders keep apart.
std::u16string BesidePath(const std::u16string& recording);
std::u16string DataPath(const std::u16string& data_folder, const std::u16string& recording);

// The list kept with the recording the player plays, while the setting is on.
// Each step says what the list becomes, if anything, and what the state line
// tells; the form carries it out. The list is never replaced without a
// question while it holds marks that are kept nowhere.
class RecordingMarks {
public:
    RecordingMarks(const MarkStore& store, Window& window, std::u16string data_folder)
        : store_(store), window_(window), data_folder_(std::move(data_folder))
    {
    }

    struct Outcome {
        std::optional<std::vector<std::u16string>> entries;  // the list's new content
        std::u16string message;  // for the state line; empty: nothing to say
    };

    bool On() const { return on_; }
    // The setting; `entries` is the list now and `recording` the file the
    // player plays (empty: none, or it does not say).
    Outcome SetOn(bool on, const std::u16string& recording, const std::vector<std::u16string>& entries);
    // The player may play another file now.
    Outcome Follow(const std::u16string& recording, const std::vector<std::u16string>& entries);
    // The list may have changed: it is saved for the recording at once.
    Outcome ListChanged(const std::vector<std::u16string>& entries);
    // Whether `entries` are kept with the recording as they are.
    bool Keeps(const std::vector<std::u16string>& entries) const
    {
        return on_ && !recording_.empty() && !refused_ && entries == kept_;
    }

private:
    // Takes up `recording`: its marks, or a question when the list holds
    // marks kept nowhere.
    Outcome TakeUp(const std::u16string& recording, const std::vector<std::u16string>& entries, bool kept);
    std::u16string Save(const std::vector<std::u16string>& entries);

    const MarkStore& store_;
    Window& window_;
    std::u16string data_folder_;
    bool on_ = false;
    std::u16string recording_;  // the recording the list belongs to
    bool refused_ = false;      // its file is not Morvane's: nothing is written
    std::vector<std::u16string> kept_;  // the list as last saved or loaded
};

} // namespace morvane::keeping
