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
    // A first change on a fresh install: the user's folder is not there yet.
    // Should it not be made, the write below says why.
    if (const std::size_t folder_end = path_.find_last_of(u"/\\"); folder_end != std::u16string::npos)
        files_.MakeFolder(path_.substr(0, folder_end + 1));
    return files_.WriteReplacing(path_, text_);
}

} // namespace morvane::settings
