// morvane-demo DIR: the short run of use of a headless scripts/run, in the
// stand-in player and Morvane already on the screen. Plays, records three
// marks (one with a note typed into the prompt), sorts and saves the list
// as DIR\marks.txt through the save dialog; writes DIR\area.txt, the two
// windows' place together (WxH+X+Y) for cropping a screenshot.

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "app/win32/control_ids.h"
#include "disk_files.h"
#include "remote_window.h"
#include "sessions.h"
#include "standin_protocol.h"

namespace morvane::e2e {
namespace {

void Say(const std::string& text) { std::printf("demo: %s\n", text.c_str()), std::fflush(stdout); }

int Failed(const std::string& text) { return Say("failed: " + text), 1; }

std::string Utf8(const std::wstring& text)
{
    std::string bytes(text.size() * 4, '\0');
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                                         static_cast<int>(bytes.size()), nullptr, nullptr);
    return bytes.substr(0, static_cast<std::size_t>(std::max(size, 0)));
}

HWND WaitForShown(const wchar_t* class_name)
{
    HWND window = nullptr;
    PollUntil([&] { return (window = FindWindowW(class_name, nullptr)) != nullptr && IsWindowVisible(window); }, 30000);
    return window;
}

int PositionOf(HWND player) { return StandinPositionMs(player).value_or(-1); }

// The player's clock runs in real time; waits for it to pass `ms`.
bool PlayedTo(HWND player, int ms)
{
    return PollUntil([&] { return PositionOf(player) >= ms; }, static_cast<DWORD>(ms) + 10000, 50);
}

// 记录; with a note, ask_note is ticked and the note is typed into the prompt.
bool Record(HWND main, const std::optional<std::wstring>& note)
{
    const HWND list = GetDlgItem(main, IDC_MARK_LIST);
    const auto before = ListEntries(list).value_or(std::vector<std::wstring>{}).size();
    if (note) {
        const HWND prompt = PostClick(GetDlgItem(main, IDC_RECORD)) ? WaitForDialog(main, IDC_PROMPT_EDIT) : nullptr;
        if (!prompt || !SetText(GetDlgItem(prompt, IDC_PROMPT_EDIT), *note) || !CloseWith(prompt, IDOK))
            return Failed("记录: the note could not be typed into the prompt"), false;
    } else if (!Click(GetDlgItem(main, IDC_RECORD))) {
        return Failed("记录 could not be clicked"), false;
    }
    std::optional<std::vector<std::wstring>> entries;
    if (!PollUntil([&] { return (entries = ListEntries(list)) && entries->size() == before + 1; }))
        return Failed("记录: no new entry appeared"), false;
    Say("记录 " + Utf8(entries->back()));
    return true;
}

int RunDemo(const std::wstring& out_dir)
{
    const HWND player = WaitForShown(win32players::kWinampClass);
    const HWND main = WaitForShown(MORVANE_MAIN_CLASS);
    if (player == nullptr || main == nullptr) return Failed("the stand-in player or Morvane is not on the screen");
    const auto control = [&](int id) { return GetDlgItem(main, id); };

    if (!Click(control(IDC_PLAY)) || !PollUntil([&] { return StandinState(player) == 1; }))
        return Failed("播放: the player does not play");
    Say("播放");

    // A bare mark, one with a note while the player waits, and one from a
    // few seconds back, so that sorting has something to do.
    if (!PlayedTo(player, 3000) || !Record(main, std::nullopt)) return 1;
    // A click ticks ask_note and pause_for_note, another unticks them.
    const auto toggle_note_boxes = [&] { return Click(control(IDC_ASK_NOTE)) && Click(control(IDC_PAUSE_FOR_NOTE)); };
    if (!PlayedTo(player, 6500) || !toggle_note_boxes() || !Record(main, L"第一句 注意连读") || !toggle_note_boxes())
        return Failed("a note could not be recorded");
    for (int step = 0; step < 3; ++step) {
        const int before = PositionOf(player);
        if (!Click(control(IDC_BACK)) || !PollUntil([&] { return PositionOf(player) < before - 1000; }))
            return Failed("快退: the player did not move back");
    }
    Say("快退 three times");
    if (!Record(main, std::nullopt)) return 1;

    if (!Click(control(IDC_SORT))) return Failed("排序 could not be clicked");
    const auto sorted = ListEntries(control(IDC_MARK_LIST));
    if (!sorted) return Failed("排序: the list cannot be read");
    std::string shown;
    for (const auto& entry : *sorted) shown += " \"" + Utf8(entry) + "\"";
    Say("排序" + shown);

    // An earlier run's file would bring Morvane's question; this run starts afresh.
    const std::wstring marks = out_dir + L"\\marks.txt";
    DeleteFileW(marks.c_str());
    const HWND dialog = OpenFileDialog(main, IDC_SAVE);
    if (dialog == nullptr || !ChoosePath(dialog, out_dir + L"\\marks") ||
        !PollUntil([&] { return !IsWindow(dialog); }, 10000) || !Settled(main))
        return Failed("保存: the save dialog did not take the path");
    if (ReadBytes(marks) != MarkFileBytes(*sorted, false)) return Failed("保存: marks.txt does not hold the list");
    Say("保存 " + Utf8(marks));

    RECT a{}, b{};
    if (!GetWindowRect(main, &a) || !GetWindowRect(player, &b)) return Failed("the windows' places cannot be read");
    const RECT both{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
    const std::string area = std::to_string(both.right - both.left) + "x" + std::to_string(both.bottom - both.top) + "+" +
                             std::to_string(both.left) + "+" + std::to_string(both.top) + "\n";
    return WriteBytes(out_dir + L"\\area.txt", area) ? 0 : Failed("area.txt cannot be written");
}

} // namespace
} // namespace morvane::e2e

int main()
{
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (argv == nullptr || count != 2) {
        std::fprintf(stderr, "usage: morvane-demo.exe DIR\n");
        return 2;
    }
    const std::wstring out_dir = argv[1];
    LocalFree(argv);
    std::error_code error;
    std::filesystem::create_directories(out_dir, error);
    return morvane::e2e::RunDemo(out_dir);
}
