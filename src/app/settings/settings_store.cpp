#include "app/settings/settings_store.h"

#include "app/settings/settings_file.h"

namespace morvane::settings {

std::string SettingsStore::Use(std::u16string path, std::string text)
{
    path_ = std::move(path);
    text_ = std::move(text);
    SettingsFile file = ParseSettingsFile(text_);
    values_ = file.settings;
    return std::move(file.problems);
}

std::optional<FileError> SettingsStore::Change(Setting setting, Value value)
{
    if (!Set(values_, setting, value) || path_.empty()) return std::nullopt;
    text_ = WithSetting(text_, values_, setting);
    return files_.WriteReplacing(path_, text_);
}

} // namespace morvane::settings
