#include <windows.h>

#include <shellapi.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_line.h"
#include "app/splitting/split_command.h"
#include "app/win32/app.h"
#include "app/win32/program_folder.h"
#include "app/win32/system_ports.h"
#include "app/win32/text.h"
#include "player/win32/desktop_players.h"
#include "text/utf8.h"

namespace {

int Fail(const std::wstring& reason)
{
    MessageBoxW(nullptr, reason.c_str(), L"Morvane", MB_ICONERROR | MB_OK);
    return 1;
}

// The options the program was started with.
morvane::CommandLine StartedWith()
{
    std::vector<std::u16string> arguments;
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (argv == nullptr) return {};
    for (int i = 1; i < count; ++i) {
        const std::wstring_view argument(argv[i]);
        arguments.emplace_back(argument.begin(), argument.end());
    }
    LocalFree(argv);
    return morvane::ParseCommandLine(arguments);
}

// Text for the console that started the program, or for the file or pipe its
// output goes to. false when there is none.
bool WriteOut(DWORD which, std::u16string_view text)
{
    HANDLE handle = GetStdHandle(which);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return false;
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(handle, &mode) != FALSE)
        return WriteConsoleW(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != FALSE;
    const std::string bytes = morvane::ToUtf8(text);
    return WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != FALSE;
}

// morvane.exe --sentences FILE: the sentences to the console that started it,
// or to a file, without a window.
int FindSentences(const morvane::CommandLine& command_line)
{
    AttachConsole(ATTACH_PARENT_PROCESS);
    morvane::win32::DiskFiles files;
    const morvane::win32::AnsiCodePage code_page;
    const morvane::splitting::SplitOutput output =
        morvane::splitting::RunSplit(command_line, files, code_page, morvane::mark_file::Encoding::Ansi);
    WriteOut(STD_OUTPUT_HANDLE, morvane::FromUtf8Replacing(output.out));
    // Started without a console (a shortcut): the message shows in a box.
    if (!output.message.empty() && !WriteOut(STD_ERROR_HANDLE, output.message + u"\r\n"))
        MessageBoxW(nullptr, morvane::win32::Wide(output.message), L"Morvane",
                    (output.exit_code == 0 ? MB_ICONINFORMATION : MB_ICONERROR) | MB_OK);
    return output.exit_code;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    // A windowed program has no console to print to: the keys show in a box.
    const morvane::CommandLine command_line = StartedWith();
    if (command_line.sentences) return FindSentences(command_line);
    if (command_line.keys) {
        morvane::win32::DiskFiles files;
        const morvane::KeysListing listing = morvane::ListKeys(files, morvane::win32::UserConfigFolder());
        std::u16string text = morvane::FromUtf8Replacing(listing.keys);
        if (!listing.problems.empty()) text += u"\n" + listing.problems;
        MessageBoxW(nullptr, morvane::win32::Wide(text), L"Morvane 按键", MB_ICONINFORMATION | MB_OK);
        return 0;
    }
    morvane::win32::AnsiCodePage code_page;
    morvane::win32players::DesktopPlayers players(code_page, command_line.player);
    std::optional<morvane::win32::AsyncKeyboard> hot_keys;
    morvane::win32::App app(players.Chosen(), morvane::win32::UserConfigFolder(), morvane::win32::UserDataFolder(),
                            [&hot_keys](const morvane::keys::KeyMap& map) -> morvane::HotKeys& {
                                return hot_keys.emplace(map);
                            });
    if (const std::wstring failure = app.Create(instance); !failure.empty()) return Fail(failure);
    std::wstring failure;
    if (!app.Start(failure)) return failure.empty() ? 0 : Fail(failure);
    return app.Run();
}
