// The mark list by hand in the real window: recording at three positions,
// a note typed into the real prompt, editing notes, sorting, moving and
// deleting, and the pause around the prompt.

#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/win32/control_ids.h"
#include "harness.h"
#include "mark_steps.h"
#include "prompt_access.h"
#include "sessions.h"
#include "standin_protocol.h"
#include "window_access.h"

namespace {

using Entries = std::vector<std::wstring>;

constexpr char pause_message[] = "273 40046 0";
constexpr char play_message[] = "273 40045 0";

struct Shown {
    std::optional<Entries> entries;
    std::optional<int> selection;
    std::optional<std::wstring> count;
};

Shown shown(const e2e::Morvane& morvane)
{
    const HWND list = morvane.control(IDC_MARK_LIST);
    return {e2e::list_entries(list), e2e::list_selection(list), e2e::text_of(morvane.control(IDC_COUNT_LINE))};
}

// Waits for the list, its selection and count_line to show what they must, then
// reports one check for the step.
bool expect_list(e2e::Context& t, const std::string& step, const e2e::Morvane& morvane, const Entries& entries,
                 int selection)
{
    const std::wstring count = std::to_wstring(entries.size());
    Shown now;
    const bool same = e2e::poll_until(
        [&] {
            now = shown(morvane);
            return now.entries == entries && now.selection == selection && now.count == count;
        },
        5000);
    return t.check(step, same,
                   "list " + e2e::shown_entries(now.entries) + ", selection " +
                       (now.selection ? std::to_string(*now.selection) : "?") + ", count_line " +
                       e2e::quoted(now.count.value_or(L"?")) + "; wanted " + e2e::shown_entries(entries) +
                       ", selection " + std::to_string(selection) + ", count_line " + e2e::quoted(count));
}

bool expect_prompt(e2e::Context& t, const std::string& step, const std::optional<e2e::Note_prompt>& prompt,
                   const std::wstring& title, const std::wstring& message, const std::wstring& text)
{
    if (!prompt)
        return t.check(step, false, "no prompt opened over the main window");
    return t.check(step, prompt->title == title && prompt->message == message && prompt->text == text,
                   "title " + e2e::quoted(prompt->title) + ", message " + e2e::quoted(prompt->message) +
                       ", field " + e2e::quoted(prompt->text));
}

bool jump_by(e2e::Context& t, const e2e::Morvane& morvane, HWND player, int button, int to_ms)
{
    const bool moved = e2e::click(morvane.control(button)) && e2e::wait_for_position(player, to_ms);
    return t.check((button == IDC_FORWARD ? "快进 moves the player to " : "快退 moves the player to ") +
                       std::to_string(to_ms) + " ms",
                   moved, "the player reports " +
                              std::to_string(e2e::send(player, STANDIN_GET_POSITION_MS).value_or(-1)) + " ms");
}

// Answers the note prompt of a 修改 with `answer` after checking its default.
bool edit_note(e2e::Context& t, const e2e::Morvane& morvane, int index, const std::wstring& old_note,
               const std::wstring& answer)
{
    const std::string name = "修改 of entry " + std::to_string(index);
    if (!t.check(name + ": the entry is selected as by the arrow keys",
                 e2e::select_entry(morvane.control(IDC_MARK_LIST), index), "the selection did not move there"))
        return false;
    if (!e2e::post_click(morvane.control(IDC_EDIT_NOTE)))
        return t.check(name, false, "修改 could not be clicked");
    const auto prompt = e2e::wait_for_prompt(morvane.window);
    if (!expect_prompt(t, name + ": prompt titled 添加或修改注释 holding the old note", prompt, L"添加或修改注释",
                       L"添加或修改注释", old_note))
        return false;
    return t.check(name + ": the new note is typed and taken",
                   e2e::set_text(prompt->edit, answer) && e2e::close_with(prompt->window, IDOK),
                   "the prompt did not take the text or did not close");
}

}  // namespace

E2E_TEST(mark_list_editing)
{
    auto session = e2e::start_session(t, L"--state pause --position 62345");
    if (!session)
        return;
    auto& [player, morvane] = *session;
    const HWND list = morvane.control(IDC_MARK_LIST);
    const HWND record = morvane.control(IDC_RECORD);
    const HWND ask_note = morvane.control(IDC_ASK_NOTE);
    const HWND pause_for_note = morvane.control(IDC_PAUSE_FOR_NOTE);

    // A bare stamp at 62 345 ms, nothing sent to the player.
    std::size_t mark = player.log.mark();
    if (!t.check("记录 is clicked", e2e::click(record), "no answer"))
        return;
    Entries entries{L"[001:02:345]"};
    expect_list(t, "记录 adds the bare stamp [001:02:345], selected", morvane, entries, 0);
    t.check("记录 without a note sends the player nothing", player.log.commands_since(mark).empty(),
            "the player received " + e2e::joined(player.log.commands_since(mark)));
    t.check("the list has the keyboard focus after 记录", e2e::focus_in_thread_of(morvane.window) == list,
            "the focus is on " + e2e::utf8(e2e::class_of(e2e::focus_in_thread_of(morvane.window))));

    // A note typed into the real prompt at 64 345 ms.
    if (!jump_by(t, morvane, player.window, IDC_FORWARD, 64345) ||
        !t.check("ask_note is ticked", e2e::set_check(ask_note, true), "it does not show ticked"))
        return;
    mark = player.log.mark();
    e2e::post_click(record);
    auto prompt = e2e::wait_for_prompt(morvane.window);
    if (!expect_prompt(t, "记录 with ask_note asks 请输入注释 under the title Morvane, empty", prompt, L"Morvane",
                       L"请输入注释", L""))
        return;
    t.check("the entry waits for the prompt", e2e::list_count(list) == 1, "the list changed under the prompt");
    const std::wstring note = L"第一句 注意连读";
    if (!t.check("the note is typed and taken",
                 e2e::set_text(prompt->edit, note) && e2e::close_with(prompt->window, IDOK), "the prompt is stuck"))
        return;
    entries.push_back(L"[001:04:345] 注释:" + note);
    expect_list(t, "the entry holds the stamp of the click and the note, selected", morvane, entries, 1);
    t.check("with pause_for_note unticked the prompt sends the player nothing", player.log.commands_since(mark).empty(),
            "the player received " + e2e::joined(player.log.commands_since(mark)));

    // A bare stamp at 60 345 ms, two steps back.
    if (!jump_by(t, morvane, player.window, IDC_BACK, 62345) ||
        !jump_by(t, morvane, player.window, IDC_BACK, 60345) ||
        !t.check("ask_note is unticked", e2e::set_check(ask_note, false), "it still shows ticked"))
        return;
    e2e::click(record);
    entries.push_back(L"[001:00:345]");
    if (!expect_list(t, "the third entry goes last whatever its time", morvane, entries, 2))
        return;

    // Notes edited: a bare stamp opens the prompt empty, a note opens with it.
    if (edit_note(t, morvane, 0, L"", L"开头"))
        entries[0] = L"[001:02:345] 注释:开头";
    expect_list(t, "修改 gives the bare stamp a note, entry stays selected", morvane, entries, 0);
    if (edit_note(t, morvane, 1, note, L"第一句 注意连读和弱读"))
        entries[1] = L"[001:04:345] 注释:第一句 注意连读和弱读";
    expect_list(t, "修改 replaces the note in place", morvane, entries, 1);

    // Sorted by time; position 1 is selected again, now another entry.
    e2e::click(morvane.control(IDC_SORT));
    entries = {L"[001:00:345]", L"[001:02:345] 注释:开头", L"[001:04:345] 注释:第一句 注意连读和弱读"};
    expect_list(t, "排序 orders by time and selects position 1 again", morvane, entries, 1);

    // ↑ and ↓ swap with the neighbour and keep the entry selected; at the
    // ends they do nothing.
    const HWND up = morvane.control(IDC_MOVE_UP);
    const HWND down = morvane.control(IDC_MOVE_DOWN);
    e2e::click(up);
    std::swap(entries[0], entries[1]);
    expect_list(t, "↑ moves the entry to the top", morvane, entries, 0);
    e2e::click(up);
    expect_list(t, "↑ at the top does nothing", morvane, entries, 0);
    e2e::click(down);
    std::swap(entries[0], entries[1]);
    expect_list(t, "↓ moves it back", morvane, entries, 1);
    e2e::click(down);
    std::swap(entries[1], entries[2]);
    expect_list(t, "↓ moves it to the end", morvane, entries, 2);
    e2e::click(down);
    expect_list(t, "↓ at the end does nothing", morvane, entries, 2);

    // 删除 of the last entry selects the one before; of the first, the next.
    e2e::click(morvane.control(IDC_DELETE));
    entries.pop_back();
    expect_list(t, "删除 of the last entry selects the new last", morvane, entries, 1);
    e2e::select_entry(list, 0);
    e2e::click(morvane.control(IDC_DELETE));
    entries.erase(entries.begin());
    expect_list(t, "删除 of the first entry selects its follower", morvane, entries, 0);

    // ask_note and pause_for_note: pause before the prompt, no tick while it is open, play after.
    if (!t.check("ask_note and pause_for_note are ticked", e2e::set_check(ask_note, true) && e2e::set_check(pause_for_note, true), "not ticked"))
        return;
    mark = player.log.mark();
    e2e::post_click(record);
    prompt = e2e::wait_for_prompt(morvane.window);
    if (!t.check("the prompt opens", prompt.has_value(), "no prompt"))
        return;
    // Several periods of the poll timer, so a tick would show in the log.
    Sleep(300);
    // Before the pause come the tick's queries and the recording's own
    // position query; after it nothing, until the prompt closes.
    const auto while_open = player.log.lines_since(mark);
    const auto pause = std::find(while_open.begin(), while_open.end(), pause_message);
    t.check("the player is paused before the prompt opens, and not polled while it is open",
            pause != while_open.end() && pause + 1 == while_open.end(),
            "the player received " + e2e::joined(while_open));
    if (!t.check("the prompt is cancelled", e2e::close_with(prompt->window, IDCANCEL), "it did not close"))
        return;
    std::vector<std::string> commands;
    const bool played = e2e::poll_until(
        [&] {
            commands = player.log.commands_since(mark);
            return commands.size() >= 2;
        },
        5000);
    t.check("the player is told to play after the prompt closes",
            played && commands == std::vector<std::string>{pause_message, play_message},
            "the player received " + e2e::joined(commands));
    entries.push_back(L"[001:00:345] 注释:");
    expect_list(t, "a cancelled prompt leaves the stamp with an empty note", morvane, entries, 1);
    t.check("the player plays again", e2e::send(player.window, STANDIN_GET_STATE) == 1, "it is not playing");
}
