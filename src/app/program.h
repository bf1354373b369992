#pragma once

#include <functional>
#include <string>

#include "app/keys/keys_file.h"
#include "app/main_form.h"
#include "app/ports/ports.h"

namespace morvane {

// The user's files live in one folder that the front end names (ending in
// its separator); the program reads them once, at start-up.
inline constexpr std::u16string_view kKeysFileName = u"keys.ini";
inline constexpr std::u16string_view kSettingsFileName = u"settings.ini";

// One of the user's files: where it is, whether it is there, its bytes, and
// in `problem` why it could not be used (a message for the user).
struct UserFile {
    std::u16string path;
    bool found = false;
    std::string bytes;
    std::u16string problem;
};

// Reads `name` in `folder` through `files`, up to 64 KiB. `what` names the
// file in a message ("按键设置文件") and `instead` says what the program
// does without it ("使用内置按键"). An empty folder names no file.
UserFile ReadUserFile(Files& files, const std::u16string& folder, std::u16string_view name,
                      std::u16string_view what, std::u16string_view instead);

// What the user's files say: the keys (the built-in ones where the file is
// missing or errs), settings.ini, and one message naming every problem of
// the keys file, empty when none. settings.ini's own lines are judged by the
// form that takes them.
struct UserSettings {
    UserFile keys_file;
    keys::KeyMap keys;
    UserFile settings_file;
    std::u16string problems;
};
UserSettings ReadUserSettings(Files& files, const std::u16string& folder);

// What `morvane --keys` gives: the keys in use and their file (UTF-8), and
// the problems of the files, empty when none.
struct KeysListing {
    std::string keys;
    std::u16string problems;
};
KeysListing ListKeys(Files& files, const std::u16string& folder);

// What a front end hands the program: its ports, where the user's files
// are and how it opens its key source over the keys that are read.
struct FrontEnd {
    Ports ports;
    std::u16string config_folder;
    std::function<HotKeys&(const keys::KeyMap&)> open_keys;
};

// The program put together in the one order every front end shares: the
// user's files, the key source, the form; then the start and the end.
class Program {
public:
    explicit Program(const FrontEnd& front);
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    enum class Started { Running, NoPlayer, NoTimer };
    // The start-up check, then `show_window` and the poll; once it runs,
    // `notify` tells what the user's files got wrong, if anything. NoPlayer:
    // the message has been shown and the window must end without showing;
    // NoTimer: the window has shown but nothing would ever tick.
    Started Start(const std::function<void()>& show_window,
                  const std::function<void(const std::u16string&)>& notify);
    // The window has gone: the poll ends.
    void Window_Gone() { form_.Window_Gone(); }

    MainForm& Form() { return form_; }

private:
    UserSettings settings_;
    MainForm form_;
};

} // namespace morvane
