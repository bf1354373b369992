#include "app/settings/setting_table.h"

#include <array>
#include <charconv>
#include <cmath>

namespace morvane::settings {
namespace {

constexpr std::array<Value, 7> kPassChoices{1, 2, 3, 5, 10, 20, std::nullopt};
constexpr std::array<Value, 6> kGapChoices{0, 1, 2, 3, 5, 10};
constexpr std::array<Value, 7> kSpeedChoices{0.5, 0.6, 0.75, 0.9, 1.0, 1.25, 1.5};
constexpr std::array<Value, 5> kRewindChoices{0, 1, 2, 3, 5};
constexpr std::array<Value, 5> kStepChoices{1, 2, 3, 5, 10};

constexpr std::array<SettingRow, 5> kTable{{
    {Setting::Passes, "passes", 1, 99, 0, "unlimited", "", u"复读遍数", u" 遍", u"不限", kPassChoices},
    {Setting::Gap, "gap", 0, 10, 3, "", " 秒", u"每遍之间停顿", u" 秒", u"", kGapChoices},
    {Setting::Speed, "speed", 0.25, 4, 2, "", " 倍", u"播放速度", u" 倍", u"", kSpeedChoices},
    {Setting::Rewind, "rewind", 0, 10, 3, "", " 秒", u"继续播放时回退", u" 秒", u"", kRewindChoices},
    {Setting::Step, "step", 0.5, 30, 3, "", " 秒", u"快退/快进步长", u" 秒", u"", kStepChoices},
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
    case Setting::Gap: return settings.gap_ms / 1000.0;
    case Setting::Speed: return settings.speed;
    case Setting::Rewind: return settings.rewind_ms / 1000.0;
    case Setting::Step: return settings.step_ms / 1000.0;
    }
    return std::nullopt;
}

bool Set(Settings& settings, Setting setting, Value value)
{
    const SettingRow& row = RowOf(setting);
    if (value && (!std::isfinite(*value) || *value < row.lowest || *value > row.highest ||
                  (row.decimals == 0 && *value != std::floor(*value))))
        return false;
    // Only passes and speed may be left open.
    switch (setting) {
    case Setting::Passes: settings.passes = value ? std::optional<int>(static_cast<int>(*value)) : std::nullopt; return true;
    case Setting::Speed: settings.speed = value; return true;
    case Setting::Gap: return value && (settings.gap_ms = Ms(*value), true);
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
