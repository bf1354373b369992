#include "demo.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>

#include "app/win32/control_ids.h"
#include "disk_files.h"
#include "file_dialog.h"
#include "harness.h"
#include "mark_steps.h"
#include "prompt_access.h"
#include "sessions.h"
#include "standin_protocol.h"
#include "window_access.h"

namespace e2e {

namespace {

void say(const std::string& text)
{
    const std::string line = "demo: " + text + "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}

int failed(const std::string& text)
{
    say("failed: " + text);
    return 1;
}

HWND wait_for_window(const wchar_t* class_name)
{
    HWND window = nullptr;
    poll_until(
        [&] {
            window = FindWindowW(class_name, nullptr);
            return window != nullptr && IsWindowVisible(window);
        },
        30000);
    return window;
}

int position_of(HWND player)
{
    return static_cast<int>(send(player, STANDIN_GET_POSITION_MS).value_or(-1));
}

// The player's clock runs in real time; waits for it to pass `ms`.
bool wait_until_played(HWND player, int ms)
{
    return poll_until([&] { return position_of(player) >= ms; }, static_cast<DWORD>(ms) + 10000, 50);
}

bool record(HWND main, const std::optional<std::wstring>& note)
{
    const HWND list = GetDlgItem(main, IDC_MARK_LIST);
    const std::string failure = record_mark(main, note);
    if (!failure.empty()) {
        failed("记录: " + failure);
        return false;
    }
    const auto count = list_count(list);
    say("记录 " + quoted(list_text(list, count.value_or(1) - 1).value_or(L"?")));
    return true;
}

// Morvane's window and the player's, together, as WxH+X+Y.
bool write_area(HWND main, HWND player, const std::wstring& path)
{
    RECT a{}, b{};
    if (!GetWindowRect(main, &a) || !GetWindowRect(player, &b))
        return false;
    const RECT both{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                    std::max(a.bottom, b.bottom)};
    const std::string geometry = std::to_string(both.right - both.left) + "x" + std::to_string(both.bottom - both.top) +
                                 "+" + std::to_string(both.left) + "+" + std::to_string(both.top) + "\n";
    return write_bytes(path, geometry);
}

}  // namespace

int run_demo(const std::wstring& out_dir)
{
    const HWND player = wait_for_window(player_class);
    if (player == nullptr)
        return failed("no stand-in player on the screen");
    const HWND main = wait_for_window(MORVANE_MAIN_CLASS);
    if (main == nullptr)
        return failed("no Morvane window on the screen");
    const auto control = [&](int id) { return GetDlgItem(main, id); };

    if (!click(control(IDC_PLAY)) || !poll_until([&] { return send(player, STANDIN_GET_STATE) == 1; }))
        return failed("播放: the player does not play");
    say("播放");

    // A bare mark, then one with a note while the player waits, then one
    // from a few seconds back, so that sorting has something to do.
    if (!wait_until_played(player, 3000) || !record(main, std::nullopt))
        return 1;
    if (!wait_until_played(player, 6500) || !set_check(control(IDC_ASK_NOTE), true) || !set_check(control(IDC_PAUSE_FOR_NOTE), true))
        return failed("ask_note and pause_for_note could not be ticked");
    if (!record(main, L"第一句 注意连读"))
        return 1;
    if (!set_check(control(IDC_ASK_NOTE), false) || !set_check(control(IDC_PAUSE_FOR_NOTE), false))
        return failed("ask_note and pause_for_note could not be unticked");
    for (int step = 0; step < 3; ++step) {
        const int before = position_of(player);
        if (!click(control(IDC_BACK)) || !poll_until([&] { return position_of(player) < before - 1000; }))
            return failed("快退: the player did not move back");
    }
    say("快退 three times");
    if (!record(main, std::nullopt))
        return 1;

    if (!click(control(IDC_SORT)))
        return failed("排序 could not be clicked");
    const auto sorted = list_entries(control(IDC_MARK_LIST));
    say("排序 " + shown_entries(sorted));

    // An earlier run's file would bring Morvane's question; this run starts afresh.
    const std::wstring marks = out_dir + L"\\marks.txt";
    DeleteFileW(marks.c_str());
    const HWND dialog = open_file_dialog(main, IDC_SAVE, L"保存记录文件");
    if (dialog == nullptr || !choose_path(dialog, out_dir + L"\\marks") ||
        !poll_until([&] { return !IsWindow(dialog); }, 10000) || !settled(main))
        return failed("保存: the save dialog did not take the path");
    const auto saved = read_bytes(marks);
    if (!saved || !sorted || saved != mark_file_bytes(*sorted, false))
        return failed("保存: marks.txt does not hold the list");
    say("保存 " + utf8(marks));

    if (!write_area(main, player, out_dir + L"\\area.txt"))
        return failed("the windows' places could not be read");
    return 0;
}

}  // namespace e2e
