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

// What the file may say of the setting, for the message about a faulty value.
std::string Allowed(const SettingRow& row)
{
    std::string allowed = NumberText(row.lowest) + " 到 " + NumberText(row.highest);
    if (row.decimals == 0) allowed += " 的整数";
    allowed += row.unit;
    if (!row.none_word.empty()) allowed += "或 " + std::string(row.none_word);
    for (const ValueWord& word : row.words) allowed += "或 " + std::string(word.word);
    return allowed;
}

// false when the value is not one the setting takes.
bool Take(const SettingRow& row, std::string_view text, Settings& settings)
{
    if (!row.none_word.empty() && SameName(text, row.none_word)) return Set(settings, row.setting, std::nullopt);
    for (const ValueWord& word : row.words)
        if (SameName(text, word.word)) return Set(settings, row.setting, word.value);
    const auto value = Decimal(text);
    return value && Set(settings, row.setting, value);
}

const SettingRow* Named(std::string_view name)
{
    for (const SettingRow& row : SettingTable())
        if (SameName(name, row.name)) return &row;
    return nullptr;
}

} // namespace

SettingsFile ParseSettingsFile(std::string_view text)
{
    SettingsFile file;
    std::vector<int> line_of_setting(SettingTable().size());  // 0: not named yet
    std::vector<ini::Problem> problems;
    ini::ForEachLine(text, "名称 = 值", problems, [&](const ini::Line& line) {
        const SettingRow* row = Named(line.name);
        if (!row) {
            problems.push_back({line.number, "未知的设置" + ini::Quoted(line.name)});
            return;
        }
        int& named_at = line_of_setting[static_cast<std::size_t>(row - SettingTable().data())];
        if (named_at != 0) {
            problems.push_back({line.number, "设置 " + std::string(row->name) + " 已在第 " +
                                                 std::to_string(named_at) + " 行设定"});
            return;
        }
        if (!Take(*row, line.value, file.settings)) {
            problems.push_back({line.number, std::string(row->name) + " 应为" + Allowed(*row) + "，而不是" +
                                                 ini::Quoted(line.value)});
            return;
        }
        named_at = line.number;
    });
    file.problems = ini::ProblemsMessage("设置文件中有 ", " 行无法使用，这些设置仍用默认值：", problems);
    return file;
}

std::string ValueText(const Settings& settings, Setting setting)
{
    const SettingRow& row = RowOf(setting);
    const Value value = Get(settings, setting);
    if (!value) return std::string(row.none_word);
    for (const ValueWord& word : row.words)
        if (word.value == *value) return std::string(word.word);
    return NumberText(*value, row.decimals);
}

std::string WithSetting(std::string_view text, const Settings& settings, Setting setting)
{
    const std::string value = ValueText(settings, setting);
    std::optional<ini::Line> named;
    std::vector<ini::Problem> faulty_lines_stay;
    ini::ForEachLine(text, {}, faulty_lines_stay, [&](const ini::Line& line) {
        if (!named && SameName(line.name, SettingName(setting))) named = line;
    });
    if (named) {
        // The name stays as written; what follows '=' is the new value.
        return std::string(text.substr(0, named->equals_at + 1)) + " " + value +
               std::string(text.substr(named->end_at));
    }
    const std::string_view newline = text.find("\r\n") != std::string_view::npos ? "\r\n" : "\n";
    std::string out(text);
    if (!out.empty() && !out.ends_with('\n')) out += newline;
    return out + std::string(SettingName(setting)) + " = " + value + std::string(newline);
}

} // namespace morvane::settings
