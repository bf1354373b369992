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

class GlobalKeys : public ProgramTest {
protected:
    // The player paused at kStartMs and Morvane's tick showing it.
    void StartTicking()
    {
        ASSERT_NO_FATAL_FAILURE(Start(L"--state pause --position " + std::to_wstring(kStartMs)));
        ExpectShows(Control(IDC_MARK_LINE), MarkLine(0, kStartMs));
    }
    // Morvane with this keys file beside it, which goes when the test ends.
    void StartWithKeys(const std::string& keys_ini)
    {
        ASSERT_TRUE(WriteBytes(keys_ini_, keys_ini));
        ASSERT_NO_FATAL_FAILURE(Start(L"--state pause --position " + std::to_wstring(kStartMs)));
    }
    void TearDown() override { DeleteFileW(keys_ini_.c_str()); }
    // Taps the key while the chord's modifiers are held.
    bool Press(WORD key, DWORD hold_ms = kKeyHoldMs)
    {
        std::vector<std::unique_ptr<HeldKey>> held;
        for (const WORD modifier : chord)
            if (!held.emplace_back(std::make_unique<HeldKey>(modifier))->Ok()) return false;
        return TapKey(key, hold_ms);
    }
    // The key sends exactly these commands: one, or none.
    void ExpectSends(WORD key, const std::vector<std::string>& commands, DWORD hold_ms = kKeyHoldMs)
    {
        const std::size_t mark = player->log.Mark();
        ASSERT_TRUE(Press(key, hold_ms));
        EXPECT_EQ(player->log.CommandsSettled(mark, commands.size()), commands) << "key " << key;
    }
    // The key jumps, and the player is there before the next key.
    void ExpectJumps(WORD key, int target_ms)
    {
        ExpectSends(key, {JumpLine(target_ms)});
        EXPECT_TRUE(PollUntil([&] { return StandinPositionMs(player->window) == target_ms; }));
    }
    // 定位: no command, the mark in mark_line.
    void ExpectMarks(WORD key, int at_ms)
    {
        ExpectSends(key, {});
        ExpectShows(Control(IDC_MARK_LINE), MarkLine(at_ms, at_ms));
    }
    // 记录 once into the empty list, sending nothing and asking nothing (ask_note is unticked).
    void ExpectRecords(WORD key, int at_ms)
    {
        ExpectSends(key, {});
        ExpectShows(Control(IDC_COUNT_LINE), L"1");
        EXPECT_EQ(ListEntries(Control(IDC_MARK_LIST)), std::vector<std::wstring>{Stamp(at_ms)});
    }

    std::vector<WORD> chord;
    const std::wstring keys_ini_ = BesideThisProgram(L"keys.ini");
};

TEST_F(GlobalKeys, EachKeyRunsItsButtonOncePerPressWhileAnotherProgramHasTheFocus)
{
    ASSERT_NO_FATAL_FAILURE(StartTicking());
    ASSERT_TRUE(ToForeground(player->window));
    LetInputSettle();

    // The seek keys first, while the player is paused and every target exact;
    // left, right and generic codes of Ctrl (定位) and Shift (复读).
    ExpectMarks(VK_LCONTROL, 10000);
    ExpectJumps(VK_OEM_COMMA, 8000);
    ExpectJumps(VK_LSHIFT, 10000);
    ExpectJumps(VK_OEM_PERIOD, 12000);
    ExpectMarks(VK_RCONTROL, 12000);
    ExpectJumps(VK_OEM_COMMA, 10000);
    ExpectJumps(VK_RSHIFT, 12000);
    ExpectJumps(VK_OEM_COMMA, 10000);
    ExpectMarks(VK_CONTROL, 10000);
    ExpectJumps(VK_OEM_PERIOD, 12000);
    ExpectJumps(VK_SHIFT, 10000);

    ExpectRecords(VK_NUMPAD0, 10000);
    ExpectSends('H', {"273 40046 0"});  // the paused player plays on
    ExpectSends('P', {"273 40045 0"});
    ExpectSends('S', {"273 40047 0"});
    ExpectSends('U', {"273 40044 0"});
    ExpectSends('N', {"273 40048 0"});
    ExpectSends('N', {"273 40048 0"}, 600);  // held for 600 ms: still one track
    EXPECT_EQ(GetForegroundWindow(), player->window) << "the stand-in player lost the focus";
}

// Shift+P with the list focused: the Shift key repeats from the mark (0 ms,
// none set) once, then P plays twice, as the list's key and the global key.
TEST_F(GlobalKeys, ShiftAndPInTheListRepeatOnceAndPlayTwice)
{
    ASSERT_NO_FATAL_FAILURE(StartTicking());
    const HWND list = Control(IDC_MARK_LIST);
    ASSERT_TRUE(ToForeground(morvane->window) && LeftClick(CentreOf(list)) &&
                PollUntil([&] { return FocusInThreadOf(morvane->window) == list; }))
        << "a click did not give the empty list the focus";
    LetInputSettle();

    const std::size_t mark = player->log.Mark();
    {
        const HeldKey shift(VK_LSHIFT);
        ASSERT_TRUE(shift.Ok());
        EXPECT_EQ(player->log.CommandsSettled(mark), std::vector<std::string>{JumpLine(0)});
        ASSERT_TRUE(TapKey('P'));
        PollUntil([&] {
            const auto sent = player->log.CommandsSince(mark);
            return std::count(sent.begin(), sent.end(), "273 40045 0") >= 2;
        });
    }
    EXPECT_EQ(player->log.CommandsSettled(mark, 3), (std::vector<std::string>{JumpLine(0), "273 40045 0", "273 40045 0"}));
    EXPECT_EQ(FocusInThreadOf(morvane->window), list) << "the list lost the focus";
}

// The transcribers' keys file, with one line the program cannot use: that
// line is named at start, the program runs on with the others, its old plain
// keys and a sentence typed in the player's window do nothing, and each
// chosen key acts once.
TEST_F(GlobalKeys, KeysFromTheKeysFile)
{
    ASSERT_NO_FATAL_FAILURE(StartWithKeys("; for transcribers: nothing on plain letters\r\n"
                                          "previous = Ctrl+Alt+U\r\nplay = Ctrl+Alt+P\r\nstop = Ctrl+Alt+S\r\n"
                                          "next = Ctrl+Alt+N\r\nback = Ctrl+Alt+Comma\r\nforward = Ctrl+Alt+Period\r\n"
                                          "mark = Ctrl+Alt+M\r\nrecord = Ctrl+Alt+0\r\npause = F8\r\nrepeat = none\r\n"
                                          "shuffle = Z\r\n"));
    std::vector<HWND> boxes;
    PollUntil([&] { return !(boxes = TopWindows(morvane->process.Id(), L"#32770")).empty(); });
    ASSERT_FALSE(boxes.empty()) << "no message names the faulty line";
    const auto box = ReadBox(boxes.front());
    ASSERT_TRUE(box);
    EXPECT_NE(box->text.find(L"第 12 行"), std::wstring::npos);
    EXPECT_NE(box->text.find(L"shuffle"), std::wstring::npos);
    EXPECT_TRUE(CloseWith(box->window, IDOK));
    ExpectShows(Control(IDC_MARK_LINE), MarkLine(0, kStartMs));
    ASSERT_TRUE(ToForeground(player->window));
    LetInputSettle();

    // The old keys, and a sentence typed as a person would, Shift held for
    // capitals and '?': nothing sent, recorded or marked.
    const std::size_t mark = player->log.Mark();
    for (const int old : std::initializer_list<int>{'P', 'H', 'S', 'U', 'N', VK_OEM_COMMA, VK_OEM_PERIOD, VK_LCONTROL, VK_LSHIFT, VK_NUMPAD0})
        ASSERT_TRUE(TapKey(static_cast<WORD>(old)));
    for (const char c : std::string("Please send Hugh the notes, page 10. Shall we stop?")) {
        chord = (c >= 'A' && c <= 'Z') || c == '?' ? std::vector<WORD>{VK_LSHIFT} : std::vector<WORD>{};
        const int key = c == ' ' ? VK_SPACE : c == ',' ? VK_OEM_COMMA : c == '.' ? VK_OEM_PERIOD : c == '?' ? VK_OEM_2
                                                                                              : std::toupper(c);
        ASSERT_TRUE(Press(static_cast<WORD>(key)));
    }
    EXPECT_EQ(player->log.CommandsSettled(mark, 0), std::vector<std::string>{});
    EXPECT_EQ(ListEntries(Control(IDC_MARK_LIST)), std::vector<std::wstring>{});
    ExpectShows(Control(IDC_MARK_LINE), MarkLine(0, kStartMs));

    chord = {VK_LCONTROL, VK_LMENU};
    ExpectMarks('M', 10000);
    ExpectJumps(VK_OEM_COMMA, 8000);
    ExpectJumps(VK_OEM_PERIOD, 10000);
    ExpectRecords('0', 10000);
    chord = {};
    ExpectSends(VK_F8, {"273 40046 0"});  // the paused player plays on
    chord = {VK_LCONTROL, VK_LMENU};
    ExpectSends('P', {"273 40045 0"});
    ExpectSends('S', {"273 40047 0"});
    ExpectSends('U', {"273 40044 0"});
    ExpectSends('N', {"273 40048 0"});
}

// Each kind of key name at its far end, and each keypad operator, acts as
// the virtual key Windows gives that key (KPDecimal is the decimal point).
TEST_F(GlobalKeys, EachKindOfKeyNameActsAsItsVirtualKey)
{
    ASSERT_NO_FATAL_FAILURE(StartWithKeys("play = KPAdd\nstop = KPSubtract\npause = KPMultiply\n"
                                          "previous = KPDivide\nnext = KPDecimal\nback = KP9\nforward = F12\n"
                                          "mark = Z\nrepeat = A\nrecord = 9\n"));
    ExpectShows(Control(IDC_MARK_LINE), MarkLine(0, kStartMs));
    ASSERT_TRUE(ToForeground(player->window));
    LetInputSettle();
    ExpectMarks('Z', 10000);
    ExpectJumps(VK_NUMPAD9, 8000);
    ExpectJumps('A', 10000);
    ExpectJumps(VK_F12, 12000);
    ExpectRecords('9', 12000);
    ExpectSends(VK_MULTIPLY, {"273 40046 0"});
    ExpectSends(VK_ADD, {"273 40045 0"});
    ExpectSends(VK_SUBTRACT, {"273 40047 0"});
    ExpectSends(VK_DIVIDE, {"273 40044 0"});
    ExpectSends(VK_DECIMAL, {"273 40048 0"});
}

} // namespace
} // namespace morvane::e2e
