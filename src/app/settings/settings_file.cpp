#include "app/settings/settings_file.h"

#include <charconv>
#include <cmath>
#include <vector>

#include "app/ini/ini_lines.h"
#include "text/names.h"

namespace morvane::settings {
namespace {

// A plain decimal number ("2", "0.75"): no sign, exponent or spaces inside.
std::optional<double> Decimal(std::string_view text)
{
    if (text.empty() || text.find_first_not_of("0123456789.") != std::string_view::npos) return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<int> Milliseconds(std::string_view text, double lowest_sec, double highest_sec)
{
    const auto sec = Decimal(text);
    if (!sec || *sec < lowest_sec || *sec > highest_sec) return std::nullopt;
    return static_cast<int>(std::lround(*sec * 1000));
}

// What the file may say of each setting, for the message about a faulty value.
std::string_view Allowed(Setting setting)
{
    switch (setting) {
    case Setting::Passes: return "1 到 99 的整数或 unlimited";
    case Setting::Gap: return "0 到 10 秒";
    case Setting::Rewind: return "0 到 10 秒";
    case Setting::Step: return "0.5 到 30 秒";
    case Setting::Speed: return "0.25 到 4 倍";
    }
    return {};
}

// false when the value is not one the setting takes.
bool Take(Setting setting, std::string_view value, Settings& settings)
{
    switch (setting) {
    case Setting::Passes: {
        if (SameName(value, "unlimited")) {
            settings.passes.reset();
            return true;
        }
        const auto passes = Decimal(value);
        if (!passes || value.find('.') != std::string_view::npos || *passes < 1 || *passes > 99) return false;
        settings.passes = static_cast<int>(*passes);
        return true;
    }
    case Setting::Gap:
        if (const auto ms = Milliseconds(value, 0, 10)) return settings.gap_ms = *ms, true;
        return false;
    case Setting::Rewind:
        if (const auto ms = Milliseconds(value, 0, 10)) return settings.rewind_ms = *ms, true;
        return false;
    case Setting::Step:
        if (const auto ms = Milliseconds(value, 0.5, 30)) return settings.step_ms = *ms, true;
        return false;
    case Setting::Speed: {
        const auto speed = Decimal(value);
        if (!speed || *speed < 0.25 || *speed > 4) return false;
        settings.speed = *speed;
        return true;
    }
    }
    return false;
}

std::optional<Setting> Named(std::string_view name)
{
    for (Setting setting : kAllSettings)
        if (SameName(name, SettingName(setting))) return setting;
    return std::nullopt;
}

// The shortest text that reads back as `value` rounded to `decimals` places.
std::string Number(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    const double rounded = std::round(value * scale) / scale;
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, rounded);
    return error == std::errc() ? std::string(buffer, end) : std::string();
}

} // namespace

std::string_view SettingName(Setting setting)
{
    switch (setting) {
    case Setting::Passes: return "passes";
    case Setting::Gap: return "gap";
    case Setting::Rewind: return "rewind";
    case Setting::Step: return "step";
    case Setting::Speed: return "speed";
    }
    return {};
}

SettingsFile ParseSettingsFile(std::string_view text)
{
    SettingsFile file;
    std::array<int, kAllSettings.size()> line_of_setting{};  // 0: not named yet
    std::vector<ini::Problem> problems;
    ini::ForEachLine(text, "名称 = 值", problems, [&](const ini::Line& line) {
        const auto setting = Named(line.name);
        if (!setting) {
            problems.push_back({line.number, "未知的设置" + ini::Quoted(line.name)});
            return;
        }
        int& named_at = line_of_setting[static_cast<std::size_t>(*setting)];
        if (named_at != 0) {
            problems.push_back({line.number, "设置 " + std::string(SettingName(*setting)) + " 已在第 " +
                                                 std::to_string(named_at) + " 行设定"});
            return;
        }
        if (!Take(*setting, line.value, file.settings)) {
            problems.push_back({line.number, std::string(SettingName(*setting)) + " 应为" +
                                                 std::string(Allowed(*setting)) + "，而不是" + ini::Quoted(line.value)});
            return;
        }
        named_at = line.number;
    });
    file.problems = ini::ProblemsMessage("设置文件中有 ", " 行无法使用，这些设置仍用默认值：", problems);
    return file;
}

std::string ValueText(const Settings& settings, Setting setting)
{
    switch (setting) {
    case Setting::Passes: return settings.passes ? std::to_string(*settings.passes) : "unlimited";
    case Setting::Gap: return Number(settings.gap_ms / 1000.0, 3);
    case Setting::Rewind: return Number(settings.rewind_ms / 1000.0, 3);
    case Setting::Step: return Number(settings.step_ms / 1000.0, 3);
    case Setting::Speed: return settings.speed ? Number(*settings.speed, 2) : std::string();
    }
    return {};
}

std::string WithSetting(std::string_view text, const Settings& settings, Setting setting)
{
    const std::string value = ValueText(settings, setting);
    std::size_t line_start = text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    while (line_start < text.size()) {
        const std::size_t line_end = std::min(text.find('\n', line_start), text.size());
        const std::string_view line = text.substr(line_start, line_end - line_start);
        const std::size_t equals = line.find('=');
        const std::string_view trimmed = TrimSpaces(line);
        if (equals != std::string_view::npos && !trimmed.empty() && trimmed[0] != ';' && trimmed[0] != '#' &&
            trimmed[0] != '[' && SameName(TrimSpaces(line.substr(0, equals)), SettingName(setting))) {
            // The name stays as written; what follows '=' is the new value.
            std::string out(text.substr(0, line_start + equals + 1));
            out += " " + value;
            if (line.ends_with('\r')) out += '\r';
            out += text.substr(line_end);
            return out;
        }
        line_start = line_end + 1;
    }
    const std::string_view newline = text.find("\r\n") != std::string_view::npos ? "\r\n" : "\n";
    std::string out(text);
    if (!out.empty() && !out.ends_with('\n')) out += newline;
    return out + std::string(SettingName(setting)) + " = " + value + std::string(newline);
}

} // namespace morvane::settings
