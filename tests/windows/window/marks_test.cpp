// The mark list and the seek buttons by hand in the real window: recording
// with and without a note typed into the real prompt, editing, sorting,
// moving, deleting, the pause around the prompt, and every jump's target.

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/win32/control_ids.h"
#include "rig.h"

namespace morvane::test {
namespace {

using Texts = std::vector<std::wstring>;

class Marks : public WindowRig {
protected:
    Marks()
    {
        player.state = PlayState::Paused;  // paused, so every position is exact
        player.position = 62345;
    }

    void ExpectList(const Texts& entries, int selection)
    {
        EXPECT_EQ(Entries(), entries);
        EXPECT_EQ(Selection(), selection);
        EXPECT_EQ(Text(IDC_COUNT_LINE), std::to_wstring(entries.size()));
    }

    // Clicks the button; it must send the player exactly one jump, to `target_ms`,
    // which the player then stands at.
    void ExpectJump(int id, int target_ms)
    {
        const std::size_t before = player.Commands().size();
        Click(id);
        const auto commands = player.Commands();
        EXPECT_EQ(std::vector<std::string>(commands.begin() + static_cast<std::ptrdiff_t>(before), commands.end()),
                  std::vector<std::string>{"jump " + std::to_string(target_ms)});
        player.position = target_ms;
    }

    std::vector<std::string> CommandsSince(std::size_t count)
    {
        const auto commands = player.Commands();
        return {commands.begin() + static_cast<std::ptrdiff_t>(count), commands.end()};
    }
};

TEST_F(Marks, RecordEditSortMoveDeleteAndThePauseAroundThePrompt)
{
    // A bare stamp, nothing sent to the player, the focus on the list.
    Click(IDC_RECORD);
    Texts entries{L"[001:02:345]"};
    ExpectList(entries, 0);
    EXPECT_TRUE(player.Commands().empty());
    EXPECT_EQ(GetFocus(), Control(IDC_MARK_LIST));

    // A note typed into the prompt, two seconds on.
    ExpectJump(IDC_FORWARD, 64345);
    SetCheck(IDC_ASK_NOTE, true);
    std::size_t sent = player.Commands().size();
    std::size_t entries_under_prompt = 99;
    const std::wstring note = L"第一句 注意连读";
    AnswerNextDialog([&](HWND dialog) {
        entries_under_prompt = Entries().size();
        SetWindowTextW(GetDlgItem(dialog, IDC_PROMPT_EDIT), note.c_str());
        EXPECT_EQ(Text(dialog), L"Morvane");
        EXPECT_EQ(Text(GetDlgItem(dialog, IDC_PROMPT_MESSAGE)), L"请输入注释");
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        return true;
    });
    Click(IDC_RECORD);
    EXPECT_EQ(entries_under_prompt, 1u) << "the entry waits for the prompt";
    entries.push_back(L"[001:04:345] 注释:" + note);
    ExpectList(entries, 1);
    EXPECT_TRUE(CommandsSince(sent).empty()) << "with pause_for_note unticked the prompt sends the player nothing";

    // Two steps back; the third entry goes last whatever its time.
    ExpectJump(IDC_BACK, 62345);
    ExpectJump(IDC_BACK, 60345);
    SetCheck(IDC_ASK_NOTE, false);
    Click(IDC_RECORD);
    entries.push_back(L"[001:00:345]");
    ExpectList(entries, 2);

    // 修改: a bare stamp opens the prompt empty, a note opens with it.
    Select(0);
    auto seen = ClickAndAnswerPrompt(IDC_EDIT_NOTE, L"开头");
    EXPECT_EQ(seen.title, L"添加或修改注释");
    EXPECT_EQ(seen.message, L"添加或修改注释");
    EXPECT_EQ(seen.text, L"");
    entries[0] = L"[001:02:345] 注释:开头";
    ExpectList(entries, 0);
    Select(1);
    seen = ClickAndAnswerPrompt(IDC_EDIT_NOTE, L"第一句 注意连读和弱读");
    EXPECT_EQ(seen.text, note);
    entries[1] = L"[001:04:345] 注释:第一句 注意连读和弱读";
    ExpectList(entries, 1);

    // 排序 orders by time and selects position 1 again, now another entry.
    Click(IDC_SORT);
    entries = {L"[001:00:345]", L"[001:02:345] 注释:开头", L"[001:04:345] 注释:第一句 注意连读和弱读"};
    ExpectList(entries, 1);

    // ↑ and ↓ swap with the neighbour and keep it selected; at the ends nothing.
    Click(IDC_MOVE_UP);
    std::swap(entries[0], entries[1]);
    ExpectList(entries, 0);
    Click(IDC_MOVE_UP);
    ExpectList(entries, 0);
    Click(IDC_MOVE_DOWN);
    std::swap(entries[0], entries[1]);
    ExpectList(entries, 1);
    Click(IDC_MOVE_DOWN);
    std::swap(entries[1], entries[2]);
    ExpectList(entries, 2);
    Click(IDC_MOVE_DOWN);
    ExpectList(entries, 2);

    // 删除 of the last selects the new last; of the first, its follower.
    Click(IDC_DELETE);
    entries.pop_back();
    ExpectList(entries, 1);
    Select(0);
    Click(IDC_DELETE);
    entries.erase(entries.begin());
    ExpectList(entries, 0);

    // ask_note and pause_for_note: paused before the prompt, not polled while it is open,
    // told to play after; a cancelled prompt leaves an empty note.
    SetCheck(IDC_ASK_NOTE, true);
    SetCheck(IDC_PAUSE_FOR_NOTE, true);
    player.state = PlayState::Playing;
    sent = player.Commands().size();
    std::vector<std::string> sent_before_prompt;
    std::size_t polls_while_open = 99;
    AnswerNextDialog([&](HWND dialog) {
        sent_before_prompt = CommandsSince(sent);
        const std::size_t asked = player.log.size();
        Pump(300);  // several periods of the poll
        polls_while_open = player.log.size() - asked;
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        return true;
    });
    Click(IDC_RECORD);
    EXPECT_EQ(sent_before_prompt, std::vector<std::string>{"pause"});
    EXPECT_EQ(polls_while_open, 0u);
    EXPECT_EQ(CommandsSince(sent), (std::vector<std::string>{"pause", "play"}));
    entries.push_back(L"[001:00:345] 注释:");
    ExpectList(entries, 1);
}

TEST_F(Marks, SeekButtonsJumpToTheirTargets)
{
    player.position = 5000;
    ExpectShows(IDC_MARK_LINE, MarkLine(0, 5000));
    ExpectJump(IDC_REPEAT, 0);  // 复读 before any 定位: the start
    player.position = 5000;

    SendMessageW(Control(IDC_SEEK_BAR), SBM_SETPOS, 10, TRUE);
    ExpectJump(IDC_JUMP, 10000);  // Jump: seek_bar's value in seconds
    ExpectJump(IDC_BACK, 8000);

    const std::size_t sent = player.Commands().size();
    Click(IDC_MARK);  // 定位 sends nothing and shows the mark
    EXPECT_TRUE(CommandsSince(sent).empty());
    ExpectShows(IDC_MARK_LINE, MarkLine(8000, 8000));

    ExpectJump(IDC_FORWARD, 10000);
    ExpectShows(IDC_MARK_LINE, MarkLine(8000, 10000));
    ExpectJump(IDC_REPEAT, 8000);
}

} // namespace
} // namespace morvane::test
