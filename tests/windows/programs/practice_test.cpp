// morvane.exe beside each player: the list's context menu opened by a real right click and by the menu key,
// its choices made with the keys, a 4 s passage played three times with a 1 s gap while the menu stays open
// over it, and speed greyed with its reason given once.

#include <algorithm>
#include <cstdlib>
#include <set>

#include "disk_files.h"
#include "list_menu.h"

namespace morvane::e2e {
namespace {

constexpr int kA = 10000, kB = 14000;
constexpr int kPlaying = 1, kPaused = 3;  // the stand-in's own states

class Practice : public ListMenuTest {
protected:
    void TearDown() override
    {
        DeleteFileW(BesideThisProgram(L"keys.ini").c_str());
        ListMenuTest::TearDown();
    }
};

TEST_P(Practice, ThreePassesWithAGapChosenInTheMenuThatStaysOpenOverThem)
{
    ASSERT_TRUE(WriteBytes(BesideThisProgram(L"keys.ini"), "slower = F9\r\n"));
    ASSERT_NO_FATAL_FAILURE(Start(L"--state pause --position " + std::to_wstring(kA)));
    ASSERT_TRUE(PlayerAt(kA) && Click(Control(IDC_RECORD)) && Click(Control(IDC_FORWARD)) && PlayerAt(kA + 2000) &&
                Click(Control(IDC_FORWARD)) && PlayerAt(kB) && Click(Control(IDC_RECORD)));
    ASSERT_EQ(ListEntries(Control(IDC_MARK_LIST)), (std::vector<std::wstring>{Stamp(kA), Stamp(kB)}));

    // The menu key opens it below the selected entry (B's): a gap of 1 s.
    ASSERT_TRUE(ToForeground(morvane->window) && LeftClick(EntryPoint(1)));
    ASSERT_TRUE(Walk(TapKey(VK_APPS, 30), {}));
    RECT menu{};
    EXPECT_TRUE(GetWindowRect(Menus().front(), &menu) && std::abs(menu.top - EntryPoint(1).y) < 20);
    ASSERT_TRUE(Choose(true, {VK_HOME, VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN}));
    // A right click over A's entry: 3 passes, then 复读这一段 selects it and starts.
    ASSERT_TRUE(Choose(RightClick(EntryPoint(0)), {VK_HOME, VK_DOWN, VK_RIGHT, VK_DOWN, VK_DOWN, VK_RETURN}));
    // Below the last entry there is none: 复读这一段 is greyed and starts nothing.
    ASSERT_TRUE(Choose(RightClick(EntryPoint(3)), {VK_HOME, VK_RETURN, VK_ESCAPE}));
    EXPECT_EQ(StandinState(player->window), kPaused);
    ASSERT_TRUE(Choose(RightClick(EntryPoint(0)), {VK_HOME, VK_RETURN}));
    EXPECT_EQ(ListSelection(Control(IDC_MARK_LIST)), 0);

    // Sampled until it has come back to A three times and played on past B;
    // after the first, the menu opens over the passes at 复读遍数.
    int arrivals = 0, pauses = 0, worst = 0, last_ms = kB, last_state = kPaused;
    std::set<std::wstring> lines;
    const bool played_on = PollUntil(
        [&] {
            const auto at = StandinPositionMs(player->window);
            const auto state = StandinState(player->window);
            if (!at || !state) return false;
            arrivals += *at < kA + 500 && last_ms >= kA + 500;
            pauses += *state == kPaused && last_state == kPlaying;
            if (arrivals < 3) worst = std::max(worst, *at - kB);
            last_ms = *at;
            last_state = *state;
            lines.insert(TextOf(Control(IDC_STATE_LINE)).value_or(L""));
            if (arrivals == 1 && Menus().empty()) {
                EXPECT_TRUE(Walk(RightClick(EntryPoint(0)), {VK_HOME, VK_DOWN, VK_RIGHT}));
            }
            return arrivals == 3 && *at > kB + 1000;
        },
        30000, 10);
    EXPECT_TRUE(played_on) << arrivals << " arrivals at A";
    EXPECT_EQ(pauses, 2);
    EXPECT_LE(worst, 300) << "ms past B";
    EXPECT_EQ(Menus().size(), 2u) << "the menu and its submenu did not stay open";
    // The box may drop the dots and cut the name; the state itself stays whole.
    for (const wchar_t* state : {L"复读第1/3遍后停顿", L"复读第2/3遍", L"复读第3/3遍"})
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](auto& line) { return line.find(state) != line.npos; }))
            << "the state line never showed " << state;
    // Enter on the greyed 0.75 chooses nothing: no reason is given.
    ASSERT_TRUE(Choose(true, {VK_LEFT, VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_DOWN, VK_RETURN, VK_ESCAPE, VK_ESCAPE}));
    EXPECT_FALSE(WaitForBox(morvane->window, 1000));
    ExpectShows(Control(IDC_STATE_LINE), StateLine(Kind(), L"播放"));

    // slower: the reason once, then nothing.
    ASSERT_TRUE(TapKey(VK_F9));
    const auto box = WaitForBox(morvane->window);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, Kind().shown_name + L"不能改变播放速度：它没有提供可以设置的播放速度。");
    EXPECT_TRUE(CloseWith(box->window, IDOK));
    ASSERT_TRUE(TapKey(VK_F9));
    EXPECT_FALSE(WaitForBox(morvane->window, 1500));
}

INSTANTIATE_TEST_SUITE_P(EachPlayer, Practice, ::testing::ValuesIn(PlayerKinds()), KindName);

} // namespace
} // namespace morvane::e2e
