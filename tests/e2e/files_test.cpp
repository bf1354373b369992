// 保存 and 读取 through the real dialogs: the exact bytes in code page 936,
// loading back, cancelling, both questions before a file is replaced, and a
// note that code page 936 cannot hold.

#include <windows.h>

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

const std::wstring save_title = L"保存记录文件";
const std::wstring open_title = L"打开记录文件";

std::string byte_difference(const std::optional<std::string>& got, const std::string& wanted)
{
    if (!got)
        return "the file cannot be read";
    std::size_t at = 0;
    while (at < got->size() && at < wanted.size() && (*got)[at] == wanted[at])
        ++at;
    return "the file has " + std::to_string(got->size()) + " bytes, wanted " + std::to_string(wanted.size()) +
           ", first difference at byte " + std::to_string(at);
}

// Waits for the file to hold exactly these bytes.
bool expect_file(e2e::Context& t, const std::string& step, const std::wstring& path, const std::string& wanted)
{
    std::optional<std::string> got;
    const bool same = e2e::poll_until(
        [&] {
            got = e2e::read_bytes(path);
            return got == wanted;
        },
        5000);
    return t.check(step, same, byte_difference(got, wanted));
}

bool expect_entries(e2e::Context& t, const std::string& step, const e2e::Morvane& morvane, const Entries& wanted)
{
    std::optional<Entries> got;
    std::optional<std::wstring> count;
    const bool same = e2e::poll_until(
        [&] {
            got = e2e::list_entries(morvane.control(IDC_MARK_LIST));
            count = e2e::text_of(morvane.control(IDC_COUNT_LINE));
            return got == wanted && count == std::to_wstring(wanted.size());
        },
        5000);
    return t.check(step, same,
                   "list " + e2e::shown_entries(got) + ", count_line " + e2e::quoted(count.value_or(L"?")) + "; wanted " +
                       e2e::shown_entries(wanted));
}

// Opens the dialog, types the path and waits for the dialog to close by itself.
bool use_dialog(e2e::Context& t, const std::string& step, const e2e::Morvane& morvane, bool save,
                const std::wstring& path)
{
    const HWND dialog = e2e::open_file_dialog(morvane.window, save ? IDC_SAVE : IDC_LOAD,
                                              save ? save_title : open_title);
    if (dialog == nullptr)
        return t.check(step, false, "no dialog titled " + e2e::utf8(save ? save_title : open_title));
    const bool closed = e2e::choose_path(dialog, path) &&
                        e2e::poll_until([&] { return !IsWindow(dialog); }, 10000) && e2e::settled(morvane.window);
    return t.check(step, closed, "the dialog did not take the path or stayed open");
}

// The dialog's own question about the file chosen: Yes.
bool replace_in_dialog(e2e::Context& t, const std::string& step, const e2e::Morvane& morvane,
                       const std::wstring& path)
{
    const HWND dialog = e2e::open_file_dialog(morvane.window, IDC_SAVE, save_title);
    if (dialog == nullptr || !e2e::choose_path(dialog, path))
        return t.check(step, false, "the save dialog did not take the path");
    const auto question = e2e::wait_for_message_box(dialog);
    if (!t.check(step + ": the dialog asks before replacing", question && question->buttons == 2,
                 "no question with two buttons"))
        return false;
    const bool closed = e2e::close_with(question->window, IDYES) &&
                        e2e::poll_until([&] { return !IsWindow(dialog); }, 10000) && e2e::settled(morvane.window);
    return t.check(step + ": Yes closes the dialog", closed, "the dialog stayed open");
}

// Morvane's own question about a target other than the chosen name.
bool answer_morvane(e2e::Context& t, const std::string& step, const e2e::Morvane& morvane,
                    const std::wstring& chosen, const std::wstring& target_name, int answer)
{
    const HWND dialog = e2e::open_file_dialog(morvane.window, IDC_SAVE, save_title);
    if (dialog == nullptr || !e2e::choose_path(dialog, chosen))
        return t.check(step, false, "the save dialog did not take the path");
    const auto box = e2e::wait_for_message_box(morvane.window);
    if (!t.check(step + ": Morvane asks, naming " + e2e::utf8(target_name),
                 box && box->title == L"提示" && box->text.find(target_name) != std::wstring::npos &&
                     box->buttons == 2,
                 box ? "title " + e2e::quoted(box->title) + ", text " + e2e::quoted(box->text) : "no question"))
        return false;
    return t.check(step + (answer == IDYES ? ": Yes is answered" : ": No is answered"),
                   e2e::close_with(box->window, answer) && e2e::settled(morvane.window), "the box stayed open");
}

}  // namespace

E2E_TEST(mark_files)
{
    const std::wstring folder = t.out(L"mark_files");
    if (!t.check("a fresh folder for the files", e2e::fresh_folder(folder), "it cannot be emptied"))
        return;
    const std::wstring marks = folder + L"\\marks.txt";
    auto session = e2e::start_session(t, L"--state pause --position 62345");
    if (!session)
        return;
    auto& [player, morvane] = *session;
    const HWND main = morvane.window;
    const HWND list = morvane.control(IDC_MARK_LIST);

    // Three entries, one with a Chinese note.
    const std::wstring note = L"第一句 注意连读";
    const bool recorded = e2e::record_mark(main, std::nullopt).empty() &&
                          e2e::click(morvane.control(IDC_FORWARD)) &&
                          e2e::wait_for_position(player.window, 64345) &&
                          e2e::set_check(morvane.control(IDC_ASK_NOTE), true) && e2e::record_mark(main, note).empty() &&
                          e2e::set_check(morvane.control(IDC_ASK_NOTE), false) &&
                          e2e::click(morvane.control(IDC_FORWARD)) &&
                          e2e::wait_for_position(player.window, 66345) && e2e::record_mark(main, std::nullopt).empty();
    const Entries three{L"[001:02:345]", L"[001:04:345] 注释:" + note, L"[001:06:345]"};
    if (!t.check("three recordings run", recorded, "a step of the recordings failed") ||
        !expect_entries(t, "three entries are recorded", morvane, three))
        return;
    const auto three_bytes = e2e::mark_file_bytes(three, false);
    const Entries two(three.begin(), three.begin() + 2);
    const auto two_bytes = e2e::mark_file_bytes(two, false);
    if (!t.check("the expected bytes can be built", three_bytes && two_bytes, "no code page 936"))
        return;

    // "marks" is saved as marks.txt: each entry and CR LF, nothing else.
    if (!use_dialog(t, "保存 as \"marks\"", morvane, true, folder + L"\\marks"))
        return;
    expect_file(t, "marks.txt holds each entry and CR LF in code page 936", marks, *three_bytes);
    t.check("no other file is written", e2e::names_in(folder) == std::vector<std::wstring>{L"marks.txt"},
            std::to_string(e2e::names_in(folder).size()) + " names in the folder");
    t.check("saving leaves the list and its selection", e2e::list_selection(list) == 2, "the selection moved");

    // Cancelling either dialog changes nothing.
    HWND dialog = e2e::open_file_dialog(main, IDC_SAVE, save_title);
    t.check("the save dialog is cancelled", dialog && e2e::close_with(dialog, IDCANCEL) && e2e::settled(main),
            "no dialog, or it stayed open");
    expect_file(t, "a cancelled save leaves marks.txt", marks, *three_bytes);
    t.check("a cancelled save writes nothing", e2e::names_in(folder).size() == 1, "a new file appeared");

    e2e::click(morvane.control(IDC_CLEAR));
    expect_entries(t, "清除 empties the list", morvane, {});
    if (use_dialog(t, "读取 of marks.txt", morvane, false, marks))
        expect_entries(t, "the loaded list is the saved one", morvane, three);
    t.check("nothing is selected after a load", e2e::list_selection(list) == -1, "an entry is selected");
    dialog = e2e::open_file_dialog(main, IDC_LOAD, open_title);
    t.check("the open dialog is cancelled", dialog && e2e::close_with(dialog, IDCANCEL) && e2e::settled(main),
            "no dialog, or it stayed open");
    expect_entries(t, "a cancelled load keeps the list", morvane, three);

    // Choosing marks.txt itself: the dialog asks, and marks.txt is replaced.
    e2e::select_entry(list, 2);
    e2e::click(morvane.control(IDC_DELETE));
    if (!expect_entries(t, "删除 leaves two entries", morvane, two))
        return;
    if (replace_in_dialog(t, "保存 as the existing marks.txt", morvane, marks)) {
        expect_file(t, "marks.txt is replaced", marks, *two_bytes);
        t.check("no marks.txt.txt appears", e2e::names_in(folder) == std::vector<std::wstring>{L"marks.txt"},
                std::to_string(e2e::names_in(folder).size()) + " names in the folder");
    }

    // Choosing "marks" while marks.txt exists: Morvane asks about marks.txt.
    e2e::record_mark(main, std::nullopt);
    if (!expect_entries(t, "a third entry again", morvane, three))
        return;
    if (answer_morvane(t, "保存 as \"marks\" again", morvane, folder + L"\\marks", L"marks.txt", IDNO))
        expect_file(t, "No leaves marks.txt as it was", marks, *two_bytes);
    if (answer_morvane(t, "保存 as \"marks\" once more", morvane, folder + L"\\marks", L"marks.txt", IDYES))
        expect_file(t, "Yes replaces marks.txt", marks, *three_bytes);

    // A note beyond code page 936 goes through a save and a load intact.
    e2e::set_check(morvane.control(IDC_ASK_NOTE), true);
    const std::wstring emoji_note = L"笑脸 \U0001F600";
    e2e::record_mark(main, emoji_note);
    Entries four = three;
    four.push_back(L"[001:06:345] 注释:" + emoji_note);
    if (!expect_entries(t, "an entry with an emoji in its note", morvane, four))
        return;
    const auto utf8_bytes = e2e::mark_file_bytes(four, true);
    if (use_dialog(t, "保存 as \"emoji\"", morvane, true, folder + L"\\emoji") && utf8_bytes)
        expect_file(t, "emoji.txt is UTF-8 after a byte-order mark", folder + L"\\emoji.txt", *utf8_bytes);
    e2e::click(morvane.control(IDC_CLEAR));
    if (use_dialog(t, "读取 of emoji.txt", morvane, false, folder + L"\\emoji.txt"))
        expect_entries(t, "the emoji comes back intact", morvane, four);
}
