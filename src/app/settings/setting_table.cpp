#include "app/settings/setting_table.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace morvane::settings {
namespace {

constexpr std::array<Value, 7> kPassChoices{1, 2, 3, 5, 10, 20, std::nullopt};
// A pause as long as the passage, or twice as long: -1 and -2 passages.
constexpr double kOnePassage = -1, kTwoPassages = -2;
constexpr std::array<Value, 8> kGapChoices{0, 1, 2, 3, 5, 10, kOnePassage, kTwoPassages};
constexpr std::array<ValueWord, 2> kGapWords{{
    {kOnePassage, "passage", u"与这一段一样长"},
    {kTwoPassages, "2passage", u"这一段的两倍"},
}};
constexpr std::array<Value, 5> kSplitPauseChoices{0.2, 0.3, 0.5, 0.8, 1.2};
constexpr std::array<ValueWord, 2> kOnOffWords{{{1, "on", u""}, {0, "off", u""}}};
constexpr std::array<Value, 7> kSpeedChoices{0.5, 0.6, 0.75, 0.9, 1.0, 1.25, 1.5};
constexpr std::array<Value, 5> kRewindChoices{0, 1, 2, 3, 5};
constexpr std::array<Value, 5> kStepChoices{1, 2, 3, 5, 10};

constexpr std::array<SettingRow, 7> kTable{{
    {Setting::Passes, "passes", 1, 99, 0, "unlimited", "", u"复读遍数", u" 遍", u"不限", kPassChoices},
    {Setting::Gap, "gap", 0, 10, 3, "", " 秒", u"每遍之间停顿", u" 秒", u"", kGapChoices, kGapWords},
    {Setting::Speed, "speed", 0.25, 4, 2, "", " 倍", u"播放速度", u" 倍", u"", kSpeedChoices},
    {Setting::Rewind, "rewind", 0, 10, 3, "", " 秒", u"继续播放时回退", u" 秒", u"", kRewindChoices},
    {Setting::Step, "step", 0.5, 30, 3, "", " 秒", u"快退/快进步长", u" 秒", u"", kStepChoices},
    {Setting::SplitPause, "pause", 0.1, 5, 3, "", " 秒", u"分句停顿", u" 秒", u"", kSplitPauseChoices},
    {Setting::KeepWithRecording, "keep_with_recording", 0, 1, 0, "", "", u"标记随录音保存", u"", u"", {}, kOnOffWords},
}};

int Ms(double seconds) { return static_cast<int>(std::lround(seconds * 1000)); }

} // namespace

std::span<const SettingRow> SettingTable() { return kTable; }

const SettingRow& RowOf(Setting setting)
{
    for (const SettingRow& row : kTable)
        if (row.setting == setting) return row;
    return kTable.front();
}

Value Get(const Settings& settings, Setting setting)
{
    switch (setting) {
    case Setting::Passes: return settings.passes ? Value(*settings.passes) : std::nullopt;
    case Setting::Gap: return settings.gap_passages > 0 ? -settings.gap_passages : settings.gap_ms / 1000.0;
    case Setting::SplitPause: return settings.split_pause_ms / 1000.0;
    case Setting::KeepWithRecording: return settings.keep_with_recording ? 1 : 0;
    case Setting::Speed: return settings.speed;
    case Setting::Rewind: return settings.rewind_ms / 1000.0;
    case Setting::Step: return settings.step_ms / 1000.0;
    }
    return std::nullopt;
}

bool Set(Settings& settings, Setting setting, Value value)
{
    const SettingRow& row = RowOf(setting);
    const bool a_word = value && std::ranges::any_of(row.words, [&](const ValueWord& w) { return w.value == *value; });
    if (value && !a_word &&
        (!std::isfinite(*value) || *value < row.lowest || *value > row.highest ||
         (row.decimals == 0 && *value != std::floor(*value))))
        return false;
    // Only passes and speed may be left open.
    switch (setting) {
    case Setting::Passes: settings.passes = value ? std::optional<int>(static_cast<int>(*value)) : std::nullopt; return true;
    case Setting::Speed: settings.speed = value; return true;
    case Setting::Gap:
        if (!value) return false;
        settings.gap_passages = *value < 0 ? static_cast<int>(-*value) : 0;
        settings.gap_ms = *value < 0 ? 0 : Ms(*value);
        return true;
    case Setting::SplitPause: return value && (settings.split_pause_ms = Ms(*value), true);
    case Setting::KeepWithRecording: return value && (settings.keep_with_recording = *value != 0, true);
    case Setting::Rewind: return value && (settings.rewind_ms = Ms(*value), true);
    case Setting::Step: return value && (settings.step_ms = Ms(*value), true);
    }
    return false;
}

std::string NumberText(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    const double rounded = std::round(value * scale) / scale;
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, rounded);
    return error == std::errc() ? std::string(buffer, end) : std::string();
}

} // namespace morvane::settings
