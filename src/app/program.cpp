#include "app/program.h"

#include "app/file_errors.h"

#include "text/utf8.h"

namespace morvane {
namespace {

// A settings file is a few lines; anything this large is not one.
constexpr std::size_t kLargestUserFile = 64 * 1024;

} // namespace

UserFile ReadUserFile(Files& files, const std::u16string& folder, std::u16string_view name,
                      std::u16string_view what, std::u16string_view instead)
{
    UserFile file;
    if (folder.empty()) return file;
    file.path = folder + std::u16string(name);
    file.found = files.Exists(file.path);
    if (!file.found) return file;
    Files::ReadResult read = files.ReadAll(file.path, kLargestUserFile);
    const std::u16string about = std::u16string(what) + u" " + file.path;
    if (read.error && read.error->kind == FileError::Kind::TooLarge)
        file.problem = about + u" 过大（超过 64 KiB）；" + std::u16string(instead) + u"。";
    else if (!read.ok)
        file.problem = u"无法读取" + about + u"：" + FileErrorText(read.error.value_or(FileError{})) + u"；" +
                       std::u16string(instead) + u"。";
    else
        file.bytes = std::move(read.bytes);
    return file;
}

UserSettings ReadUserSettings(Files& files, const std::u16string& folder)
{
    UserSettings settings;
    settings.keys_file = ReadUserFile(files, folder, kKeysFileName, u"按键设置文件", u"使用内置按键");
    settings.problems = settings.keys_file.problem;
    if (settings.keys_file.found && settings.problems.empty()) {
        const keys::KeysFile parsed = keys::ParseKeysFile(settings.keys_file.bytes);
        settings.keys = parsed.map;
        settings.problems = FromUtf8Replacing(parsed.problems);
    }
    settings.settings_file = ReadUserFile(files, folder, kSettingsFileName, u"设置文件",
                                          u"使用默认设置，菜单中的选择不会保存");
    return settings;
}

KeysListing ListKeys(Files& files, const std::u16string& folder)
{
    UserSettings settings = ReadUserSettings(files, folder);
    return {keys::KeyMapText(settings.keys, ToUtf8(settings.keys_file.path), settings.keys_file.found),
            std::move(settings.problems)};
}

Program::Program(const FrontEnd& front)
    : settings_(ReadUserSettings(front.ports.files, front.config_folder)),
      form_(front.ports, front.open_keys(settings_.keys))
{
    UserFile& file = settings_.settings_file;
    // A file that is there but could not be read is never written over: the
    // user's lines in it would be lost. A missing one is made at the first choice.
    const std::u16string problems =
        file.problem.empty() ? form_.UseSettings(file.path, std::move(file.bytes)) : file.problem;
    if (!problems.empty())
        settings_.problems += (settings_.problems.empty() ? u"" : u"\n\n") + problems;
}

Program::Started Program::Start(const std::function<void()>& show_window,
                                const std::function<void(const std::u16string&)>& notify)
{
    if (!form_.Form_Load()) return Started::NoPlayer;
    show_window();
    if (!form_.Window_Shown()) return Started::NoTimer;
    if (!settings_.problems.empty()) notify(settings_.problems);
    return Started::Running;
}

} // namespace morvane
