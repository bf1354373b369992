#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace morvane::settings {

// How a passage is practised. The defaults are today's behaviour.
struct Settings {
    std::optional<int> passes;    // nullopt: unlimited
    int gap_ms = 0;               // pause between passes
    int gap_passages = 0;         // or as long as the passage takes, this many times
    int split_pause_ms = 300;     // the shortest pause that ends a sentence, for 自动分句
    bool keep_with_recording = false;  // 标记随录音保存
    int rewind_ms = 0;            // jump back on resume
    int step_ms = 2000;           // of 快退 and 快进
    std::optional<double> speed;  // nullopt: the player's own
};

enum class Setting { Passes, Gap, Speed, Rewind, Step, SplitPause, KeepWithRecording };

// A setting's value in the file's unit (passes, seconds, times the normal
// speed); nullopt for unlimited passes or the player's own speed.
using Value = std::optional<double>;

// A value the file writes as a word, and the menu's text for it.
struct ValueWord {
    double value;
    std::string_view word;
    std::u16string_view menu;
};

// Everything about one setting that the file, its messages and the menu
// share. The range holds for every value a user can give it.
struct SettingRow {
    Setting setting;
    std::string_view name;  // in the file
    double lowest, highest;
    int decimals;                   // places written; 0: whole numbers only
    std::string_view none_word;     // the file's word for nullopt; empty: none
    std::string_view unit;          // after the range in a message
    std::u16string_view menu;       // the context menu's submenu
    std::u16string_view menu_unit;  // after a value in that submenu
    std::u16string_view none_menu;  // nullopt in that submenu
    std::span<const Value> choices;  // that submenu's values, in order; none: no submenu
    std::span<const ValueWord> words = {};  // values the file writes as words
};

// Every setting, in the menu's order.
std::span<const SettingRow> SettingTable();
const SettingRow& RowOf(Setting setting);

Value Get(const Settings& settings, Setting setting);
// false, changing nothing, when `value` is outside the setting's range.
bool Set(Settings& settings, Setting setting, Value value);

// The setting's name in the file: "passes", "gap" …
inline std::string_view SettingName(Setting setting) { return RowOf(setting).name; }

// The shortest decimal text of `value` rounded to `decimals` places ("1.5").
std::string NumberText(double value, int decimals = 3);

} // namespace morvane::settings
