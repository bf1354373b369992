// The global keys, pressed with SendInput while another program has the
// focus: each runs its button's handler once per press. And P typed into
// the list reaches the player twice, as the list's key and as the global key.

#include <algorithm>

#include "app/win32/control_ids.h"
#include "program_test.h"
#include "real_input.h"

namespace morvane::e2e {
namespace {

constexpr int kStartMs = 10000;

class Hot_Keys : public Program_Test {
protected:
    // The player paused at kStartMs and Morvane's tick showing it.
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(Start(L"--state pause --position " + std::to_wstring(kStartMs)));
        Expect_Shows(Control(IDC_MARK_LINE), Mark_Line(0, kStartMs));
    }
    // The key sends exactly one command, the expected one.
    void Expect_Sends(WORD key, const std::string& command, DWORD hold_ms = kKeyHoldMs)
    {
        const std::size_t mark = player->log.Mark();
        ASSERT_TRUE(Tap_Key(key, hold_ms));
        EXPECT_EQ(player->log.Commands_Settled(mark), std::vector<std::string>{command}) << "key " << key;
    }
    // The key jumps, and the player is there before the next key.
    void Expect_Jumps(WORD key, int target_ms)
    {
        Expect_Sends(key, Jump_Line(target_ms));
        EXPECT_TRUE(Poll_Until([&] { return Standin_Position_Ms(player->window) == target_ms; }));
    }
    // 定位: no command, the mark in mark_line.
    void Expect_Marks(WORD key, int at_ms)
    {
        const std::size_t mark = player->log.Mark();
        ASSERT_TRUE(Tap_Key(key));
        EXPECT_EQ(player->log.Commands_Settled(mark, 0), std::vector<std::string>{}) << "key " << key;
        Expect_Shows(Control(IDC_MARK_LINE), Mark_Line(at_ms, at_ms));
    }
};

TEST_F(Hot_Keys, EachKeyRunsItsButtonOncePerPressWhileAnotherProgramHasTheFocus)
{
    ASSERT_TRUE(To_Foreground(player->window));
    Let_Input_Settle();

    // The seek keys first, while the player is paused and every target exact;
    // left, right and generic codes of Ctrl (定位) and Shift (复读).
    Expect_Marks(VK_LCONTROL, 10000);
    Expect_Jumps(VK_OEM_COMMA, 8000);
    Expect_Jumps(VK_LSHIFT, 10000);
    Expect_Jumps(VK_OEM_PERIOD, 12000);
    Expect_Marks(VK_RCONTROL, 12000);
    Expect_Jumps(VK_OEM_COMMA, 10000);
    Expect_Jumps(VK_RSHIFT, 12000);
    Expect_Jumps(VK_OEM_COMMA, 10000);
    Expect_Marks(VK_CONTROL, 10000);
    Expect_Jumps(VK_OEM_PERIOD, 12000);
    Expect_Jumps(VK_SHIFT, 10000);

    // Keypad 0 records the position once, asking nothing (ask_note is unticked).
    const std::size_t mark = player->log.Mark();
    const HWND list = Control(IDC_MARK_LIST);
    ASSERT_TRUE(Tap_Key(VK_NUMPAD0));
    Poll_Until([&] { return List_Entries(list) != std::vector<std::wstring>{}; });
    EXPECT_EQ(player->log.Commands_Settled(mark, 0), std::vector<std::string>{});
    EXPECT_EQ(List_Entries(list), std::vector<std::wstring>{Stamp(10000)});
    Expect_Shows(Control(IDC_COUNT_LINE), L"1");

    Expect_Sends('H', "273 40046 0");  // the paused player plays on
    Expect_Sends('P', "273 40045 0");
    Expect_Sends('S', "273 40047 0");
    Expect_Sends('U', "273 40044 0");
    Expect_Sends('N', "273 40048 0");
    Expect_Sends('N', "273 40048 0", 600);  // held for 600 ms: still one track
    EXPECT_EQ(GetForegroundWindow(), player->window) << "the stand-in player lost the focus";
}

// Shift+P with the list focused: the Shift key repeats from the mark (0 ms,
// none set) once, then P plays twice, as the list's key and the global key.
TEST_F(Hot_Keys, ShiftAndPInTheListRepeatOnceAndPlayTwice)
{
    const HWND list = Control(IDC_MARK_LIST);
    ASSERT_TRUE(To_Foreground(morvane->window) && Left_Click(Centre_Of(list)) &&
                Poll_Until([&] { return Focus_In_Thread_Of(morvane->window) == list; }))
        << "a click did not give the empty list the focus";
    Let_Input_Settle();

    const std::size_t mark = player->log.Mark();
    {
        const Held_Key shift(VK_LSHIFT);
        ASSERT_TRUE(shift.Ok());
        EXPECT_EQ(player->log.Commands_Settled(mark), std::vector<std::string>{Jump_Line(0)});
        ASSERT_TRUE(Tap_Key('P'));
        Poll_Until([&] {
            const auto sent = player->log.Commands_Since(mark);
            return std::count(sent.begin(), sent.end(), "273 40045 0") >= 2;
        });
    }
    EXPECT_EQ(player->log.Commands_Settled(mark, 3), (std::vector<std::string>{Jump_Line(0), "273 40045 0", "273 40045 0"}));
    EXPECT_EQ(Focus_In_Thread_Of(morvane->window), list) << "the list lost the focus";
}

} // namespace
} // namespace morvane::e2e
