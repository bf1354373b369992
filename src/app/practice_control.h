#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/mark_list.h"
#include "app/ports/controls.h"
#include "app/ports/files.h"
#include "app/ports/window.h"
#include "app/practice.h"
#include "app/settings/settings_store.h"
#include "player/player.h"

namespace morvane {

// Practice as the window offers it: repeating the passage after a mark,
// the mark keys, the speed, the step of 快退 and 快进, the context menu's
// choices, and the settings they keep in settings.ini.
class PracticeControl {
public:
    PracticeControl(Player& player, Window& window, Timer& clock, Files& files, const MarkList& marks)
        : player_(player), window_(window), clock_(clock), marks_(marks), settings_(files)
    {
    }

    // Takes settings.ini's `text` (empty: the defaults); the menu's choices
    // are written back to `path`, or nowhere when it is empty. Returns the
    // message naming its faulty lines, empty when there are none.
    std::u16string UseSettings(std::u16string path, std::string text);
    const settings::Settings& Settings() const { return settings_.Values(); }
    const Practice& Repetition() const { return practice_; }
    Practice& Repetition() { return practice_; }

    // Once a tick, with what the tick read from the player.
    void Tick(PlayState state, std::int32_t position_ms, std::int32_t length_sec);

    void StepBy(std::int32_t delta_ms);  // 快退, 快进
    void RepeatEntry(int index);         // the passage from entry `index` to the next mark in time
    void StopRepeat();
    void Loop();  // repeats around the position, or stops
    void PreviousMark();
    void NextMark();
    void Slower();
    void Faster();
    void ChangeSpeed(double rate);
    // Gives `setting` its value and writes it to settings.ini.
    void ChangeSetting(settings::Setting setting, settings::Value value);

    // The context menu over entry `index` (-1: none there).
    std::vector<MenuItem> Menu(int index) const;
    // Carries out the menu's choice `id`; false for 复读这一段, which the
    // form carries out on the entry the menu was opened over.
    bool Choose(int id);

private:
    // The marks' times in time order, each once.
    std::vector<std::int32_t> MarkTimes() const;
    void StartPassage(std::int32_t a_ms);
    // Where the mark keys count from: the player's position, or where their
    // last jump went while the player may not show it yet.
    std::int32_t MarkKeyPositionMs();
    void JumpToMark(std::int32_t target_ms);
    // false, with the reason shown the first time, when the player cannot.
    bool SpeedChangeable();
    void StepSpeed(int steps);  // slower (-1) or faster (1) by one step

    Player& player_;
    Window& window_;
    Timer& clock_;
    const MarkList& marks_;
    settings::SettingsStore settings_;
    Practice practice_{player_, settings_.Values()};
    bool speed_reason_shown_ = false;
    bool speed_applied_ = false;  // the file's speed, given to the player once
    struct MarkJump {
        std::int32_t target_ms;
        std::int64_t at_ms;
    };
    std::optional<MarkJump> mark_jump_;  // the mark keys' last jump
};

} // namespace morvane
