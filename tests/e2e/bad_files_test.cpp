// Mark files that are not what they should be, and saves that cannot be
// done: each gives a message that names the file and the reason, and
// neither the list nor an old file is lost.

#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/win32/control_ids.h"
#include "disk_files.h"
#include "file_dialog.h"
#include "harness.h"
#include "mark_steps.h"
#include "prompt_access.h"
#include "sessions.h"
#include "window_access.h"

namespace {

using Entries = std::vector<std::wstring>;

struct Shown {
    std::optional<Entries> entries;
    std::optional<int> selection;
    std::optional<std::wstring> count;
    bool operator==(const Shown&) const = default;
};

Shown shown(const e2e::Morvane& morvane)
{
    const HWND list = morvane.control(IDC_MARK_LIST);
    return {e2e::list_entries(list), e2e::list_selection(list), e2e::text_of(morvane.control(IDC_COUNT_LINE))};
}

// Chooses `path` in the dialog opened by `button`, answers Morvane's question
// about replacing with Yes when it comes, and reads the message that
// follows; its OK is pressed.
std::optional<e2e::Message_box> message_after(const e2e::Morvane& morvane, int button, const std::wstring& path)
{
    const bool save = button == IDC_SAVE;
    const HWND dialog = e2e::open_file_dialog(morvane.window, button, save ? L"保存记录文件" : L"打开记录文件");
    if (dialog == nullptr || !e2e::choose_path(dialog, path) ||
        !e2e::poll_until([&] { return !IsWindow(dialog); }, 10000))
        return std::nullopt;
    auto box = e2e::wait_for_message_box(morvane.window, 20000);
    if (box && save && box->buttons == 2) {
        if (!e2e::close_with(box->window, IDYES))
            return std::nullopt;
        box = e2e::wait_for_message_box(morvane.window, 20000);
    }
    if (box && !(e2e::close_with(box->window, IDOK) && e2e::settled(morvane.window)))
        return std::nullopt;
    return box;
}

// One refused load or failed save: a message titled 提示 naming the file and
// the reason, and the window as it was.
void expect_refused(e2e::Context& t, const std::string& what, const e2e::Morvane& morvane, int button,
                    const std::wstring& chosen, const std::wstring& file_name, const std::wstring& reason)
{
    const Shown before = shown(morvane);
    const auto box = message_after(morvane, button, chosen);
    if (!t.check(what + ": a message", box.has_value(), "no message box after the dialog"))
        return;
    t.check(what + ": titled 提示, naming " + e2e::utf8(file_name) + " and " + e2e::utf8(reason),
            box->title == L"提示" && box->text.find(file_name) != std::wstring::npos &&
                box->text.find(reason) != std::wstring::npos,
            "title " + e2e::quoted(box->title) + ", text " + e2e::quoted(box->text));
    const Shown after = shown(morvane);
    t.check(what + ": the list, its selection and count_line are kept", after == before,
            "list " + e2e::shown_entries(after.entries) + ", count_line " + e2e::quoted(after.count.value_or(L"?")));
}

std::string many_lines(int count)
{
    std::string bytes;
    char line[32];
    for (int i = 0; i < count; ++i) {
        const int ms = i * 100;
        std::snprintf(line, sizeof line, "[%03d:%02d:%03d]\r\n", ms / 60000, ms / 1000 % 60, ms % 1000);
        bytes += line;
    }
    return bytes;
}

}  // namespace

E2E_TEST(bad_mark_files)
{
    const std::wstring folder = t.out(L"bad_mark_files");
    if (!t.check("a fresh folder for the files", e2e::fresh_folder(folder), "it cannot be emptied"))
        return;

    // Binary garbage: the start of a program file.
    const auto program = e2e::read_bytes(t.bin(L"morvane.exe"));
    const std::wstring garbage = folder + L"\\garbage.txt";
    const std::wstring long_line = folder + L"\\long.txt";
    const std::wstring many = folder + L"\\many.txt";
    const std::wstring read_only = folder + L"\\ro.txt";
    const std::string old_text = "[000:00:001]\r\n";
    const bool written =
        program && e2e::write_bytes(garbage, program->substr(0, 65536)) &&
        e2e::write_bytes(long_line, "[000:00:000] \xd7\xa2\xca\xcd:" + std::string(10 * 1024 * 1024, 'a')) &&
        e2e::write_bytes(many, many_lines(100000)) && e2e::write_bytes(read_only, old_text) &&
        SetFileAttributesW(read_only.c_str(), FILE_ATTRIBUTE_READONLY) &&
        CreateDirectoryW((folder + L"\\dir.txt").c_str(), nullptr);
    if (!t.check("the bad files are made", written, "a file could not be written"))
        return;

    auto session = e2e::start_session(t, L"--state pause --position 62345");
    if (!session)
        return;
    auto& [player, morvane] = *session;
    if (!t.check("two entries are recorded",
                 e2e::record_mark(morvane.window, std::nullopt).empty() &&
                     e2e::set_check(morvane.control(IDC_ASK_NOTE), true) &&
                     e2e::record_mark(morvane.window, L"要保住的注释").empty(),
                 "recording failed"))
        return;

    expect_refused(t, "读取 of binary garbage", morvane, IDC_LOAD, garbage, L"garbage.txt", L"不是文本文件");
    expect_refused(t, "读取 of 10 MB on one line", morvane, IDC_LOAD, long_line, L"long.txt",
                   L"第 1 行超过 32767 个字符");

    // Windows refuses to replace a read-only file; Wine, run as root, would
    // not, so Morvane asks the file itself. A folder in the target's place
    // cannot be replaced by a file on any system.
    expect_refused(t, "保存 over a read-only file", morvane, IDC_SAVE, folder + L"\\ro", L"ro.txt", L"只读");
    expect_refused(t, "保存 where a folder has the target's name", morvane, IDC_SAVE, folder + L"\\dir",
                   L"dir.txt", L"没有访问权限");
    // A folder no one may write into, root included: Linux's /sys, which
    // Wine shows as Z:\sys. The save dialog itself tries to create the file
    // there and says it cannot, so Morvane never gets the name.
    {
        const std::string what = "保存 into a read-only folder";
        const Shown before = shown(morvane);
        const HWND dialog = e2e::open_file_dialog(morvane.window, IDC_SAVE, L"保存记录文件");
        std::optional<e2e::Message_box> box;
        if (dialog != nullptr && e2e::choose_path(dialog, L"Z:\\sys\\marks"))
            box = e2e::wait_for_message_box(dialog);
        t.check(what + ": the save dialog says so", box && e2e::close_with(box->window, IDOK),
                box ? "its box did not close" : "no message box over the dialog");
        t.check(what + ": the dialog is cancelled",
                dialog != nullptr && e2e::close_with(dialog, IDCANCEL) && e2e::settled(morvane.window),
                "it stayed open");
        t.check(what + ": the list, its selection and count_line are kept", shown(morvane) == before,
                "the window changed");
    }
    t.check("the read-only file is as it was", e2e::read_bytes(read_only) == old_text, "it changed");
    const auto names = e2e::names_in(folder);
    t.check("failed saves leave no file behind",
            names == std::vector<std::wstring>{L"dir.txt", L"garbage.txt", L"long.txt", L"many.txt", L"ro.txt"},
            std::to_string(names.size()) + " names in the folder");
    DWORD attributes = GetFileAttributesW((folder + L"\\dir.txt").c_str());
    t.check("the folder is still a folder",
            attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0, "it is gone");

    // More lines than the list holds: the first 32767 load, and a message says so.
    const auto box = message_after(morvane, IDC_LOAD, many);
    if (t.check("读取 of 100 000 lines: a message", box.has_value(), "no message box after the dialog"))
        t.check("读取 of 100 000 lines: it names the file, its 100000 lines and the 32767 loaded",
                box->title == L"提示" && box->text.find(L"many.txt") != std::wstring::npos &&
                    box->text.find(L"100000") != std::wstring::npos && box->text.find(L"32767") != std::wstring::npos,
                "title " + e2e::quoted(box->title) + ", text " + e2e::quoted(box->text));
    const HWND list = morvane.control(IDC_MARK_LIST);
    t.check("the first 32767 lines are loaded",
            e2e::list_count(list) == 32767 && e2e::list_text(list, 0) == L"[000:00:000]" &&
                e2e::list_text(list, 32766) == L"[054:36:600]" &&
                e2e::text_of(morvane.control(IDC_COUNT_LINE)) == L"32767",
            "the list holds " + std::to_string(e2e::list_count(list).value_or(-1)) + " entries");
}
