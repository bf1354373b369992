// The global keys, pressed with SendInput while another program has the
// focus: each runs its button's handler once per press, with today's keys
// and with a keys file. And P typed into the list reaches the player twice,
// as the list's key and as the global key.

#include <algorithm>
#include <cctype>
#include <memory>

#include "app/win32/control_ids.h"
#include "disk_files.h"
#include "program_test.h"
#include "real_input.h"

namespace morvane::e2e {
namespace {

constexpr int kStartMs = 10000;

class Hot_Keys : public Program_Test {
protected:
    // The player paused at kStartMs and Morvane's tick showing it.
    void Start_Ticking()
    {
        ASSERT_NO_FATAL_FAILURE(Start(L"--state pause --position " + std::to_wstring(kStartMs)));
        Expect_Shows(Control(IDC_MARK_LINE), Mark_Line(0, kStartMs));
    }
    // Taps the key while the chord's modifiers are held.
    bool Press(WORD key, DWORD hold_ms = kKeyHoldMs)
    {
        std::vector<std::unique_ptr<Held_Key>> held;
        for (const WORD modifier : chord)
            if (!held.emplace_back(std::make_unique<Held_Key>(modifier))->Ok()) return false;
        return Tap_Key(key, hold_ms);
    }
    // The key sends exactly these commands: one, or none.
    void Expect_Sends(WORD key, const std::vector<std::string>& commands, DWORD hold_ms = kKeyHoldMs)
    {
        const std::size_t mark = player->log.Mark();
        ASSERT_TRUE(Press(key, hold_ms));
        EXPECT_EQ(player->log.Commands_Settled(mark, commands.size()), commands) << "key " << key;
    }
    // The key jumps, and the player is there before the next key.
    void Expect_Jumps(WORD key, int target_ms)
    {
        Expect_Sends(key, {Jump_Line(target_ms)});
        EXPECT_TRUE(Poll_Until([&] { return Standin_Position_Ms(player->window) == target_ms; }));
    }
    // 定位: no command, the mark in mark_line.
    void Expect_Marks(WORD key, int at_ms)
    {
        Expect_Sends(key, {});
        Expect_Shows(Control(IDC_MARK_LINE), Mark_Line(at_ms, at_ms));
    }
    // 记录 once into the empty list, sending nothing and asking nothing (ask_note is unticked).
    void Expect_Records(WORD key, int at_ms)
    {
        Expect_Sends(key, {});
        Expect_Shows(Control(IDC_COUNT_LINE), L"1");
        EXPECT_EQ(List_Entries(Control(IDC_MARK_LIST)), std::vector<std::wstring>{Stamp(at_ms)});
    }

    std::vector<WORD> chord;
};

TEST_F(Hot_Keys, EachKeyRunsItsButtonOncePerPressWhileAnotherProgramHasTheFocus)
{
    ASSERT_NO_FATAL_FAILURE(Start_Ticking());
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

    Expect_Records(VK_NUMPAD0, 10000);
    Expect_Sends('H', {"273 40046 0"});  // the paused player plays on
    Expect_Sends('P', {"273 40045 0"});
    Expect_Sends('S', {"273 40047 0"});
    Expect_Sends('U', {"273 40044 0"});
    Expect_Sends('N', {"273 40048 0"});
    Expect_Sends('N', {"273 40048 0"}, 600);  // held for 600 ms: still one track
    EXPECT_EQ(GetForegroundWindow(), player->window) << "the stand-in player lost the focus";
}

// Shift+P with the list focused: the Shift key repeats from the mark (0 ms,
// none set) once, then P plays twice, as the list's key and the global key.
TEST_F(Hot_Keys, ShiftAndPInTheListRepeatOnceAndPlayTwice)
{
    ASSERT_NO_FATAL_FAILURE(Start_Ticking());
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

// The transcribers' keys file, with one line the program cannot use: that
// line is named at start, the program runs on with the others, its old plain
// keys and a sentence typed in the player's window do nothing, and each
// chosen key acts once.
TEST_F(Hot_Keys, KeysFromTheKeysFile)
{
    const std::wstring keys_ini = Beside_This_Program(L"keys.ini");
    const std::unique_ptr<const std::wstring, void (*)(const std::wstring*)> remove_after(
        &keys_ini, [](const std::wstring* path) { DeleteFileW(path->c_str()); });
    ASSERT_TRUE(Write_Bytes(keys_ini, "; for transcribers: nothing on plain letters\r\n"
                                      "previous = Ctrl+Alt+U\r\nplay = Ctrl+Alt+P\r\nstop = Ctrl+Alt+S\r\n"
                                      "next = Ctrl+Alt+N\r\nback = Ctrl+Alt+Comma\r\nforward = Ctrl+Alt+Period\r\n"
                                      "mark = Ctrl+Alt+M\r\nrecord = Ctrl+Alt+0\r\npause = F8\r\nrepeat = none\r\n"
                                      "shuffle = Z\r\n"));
    ASSERT_NO_FATAL_FAILURE(Start(L"--state pause --position " + std::to_wstring(kStartMs)));
    std::vector<HWND> boxes;
    Poll_Until([&] { return !(boxes = Top_Windows(morvane->process.Id(), L"#32770")).empty(); });
    ASSERT_FALSE(boxes.empty()) << "no message names the faulty line";
    const auto box = Read_Box(boxes.front());
    ASSERT_TRUE(box);
    EXPECT_NE(box->text.find(L"第 12 行"), std::wstring::npos);
    EXPECT_NE(box->text.find(L"shuffle"), std::wstring::npos);
    EXPECT_TRUE(Close_With(box->window, IDOK));
    Expect_Shows(Control(IDC_MARK_LINE), Mark_Line(0, kStartMs));
    ASSERT_TRUE(To_Foreground(player->window));
    Let_Input_Settle();

    // The old keys, and a sentence typed as a person would, Shift held for
    // capitals and '?': nothing sent, recorded or marked.
    const std::size_t mark = player->log.Mark();
    for (const int old : std::initializer_list<int>{'P', 'H', 'S', 'U', 'N', VK_OEM_COMMA, VK_OEM_PERIOD, VK_LCONTROL, VK_LSHIFT, VK_NUMPAD0})
        ASSERT_TRUE(Tap_Key(static_cast<WORD>(old)));
    for (const char c : std::string("Please send Hugh the notes, page 10. Shall we stop?")) {
        chord = (c >= 'A' && c <= 'Z') || c == '?' ? std::vector<WORD>{VK_LSHIFT} : std::vector<WORD>{};
        const int key = c == ' ' ? VK_SPACE : c == ',' ? VK_OEM_COMMA : c == '.' ? VK_OEM_PERIOD : c == '?' ? VK_OEM_2
                                                                                              : std::toupper(c);
        ASSERT_TRUE(Press(static_cast<WORD>(key)));
    }
    EXPECT_EQ(player->log.Commands_Settled(mark, 0), std::vector<std::string>{});
    EXPECT_EQ(List_Entries(Control(IDC_MARK_LIST)), std::vector<std::wstring>{});
    Expect_Shows(Control(IDC_MARK_LINE), Mark_Line(0, kStartMs));

    chord = {VK_LCONTROL, VK_LMENU};
    Expect_Marks('M', 10000);
    Expect_Jumps(VK_OEM_COMMA, 8000);
    Expect_Jumps(VK_OEM_PERIOD, 10000);
    Expect_Records('0', 10000);
    chord = {};
    Expect_Sends(VK_F8, {"273 40046 0"});  // the paused player plays on
    chord = {VK_LCONTROL, VK_LMENU};
    Expect_Sends('P', {"273 40045 0"});
    Expect_Sends('S', {"273 40047 0"});
    Expect_Sends('U', {"273 40044 0"});
    Expect_Sends('N', {"273 40048 0"});
}

} // namespace
} // namespace morvane::e2e
