// Marks kept beside each player: 标记随录音保存 follows the
// player from lesson A to B and back, and over a new start; a killed Morvane leaves its list to recover.

#include "list_menu.h"

namespace morvane::e2e {
namespace {

constexpr int kA = 10000;

class KeptMarks : public ListMenuTest {
protected:
    // Marks are kept beside the recording when its folder can be written.
    void TearDown() override
    {
        for (const wchar_t* file : {L"lesson\\lesson.wav.marks.txt", L"lesson\\lesson-b.wav.marks.txt"})
            DeleteFileW(BesideThisProgram(file).c_str());
        ListMenuTest::TearDown();
    }
    std::wstring Lesson(const wchar_t* file) { return L"--state pause --position 10000 --file " + Quoted(BesideThisProgram(std::wstring(L"lesson\\") + file)); }
    // Marks at the player's position and after 快进 twice, `apart_ms` between them.
    bool MarkThree(DWORD apart_ms = 0)
    {
        return Click(Control(IDC_RECORD)) && Click(Control(IDC_FORWARD)) && PlayerAt(kA + 2000) && (Sleep(apart_ms), true) &&
               Click(Control(IDC_RECORD)) && Click(Control(IDC_FORWARD)) && PlayerAt(kA + 4000) && (Sleep(apart_ms), true) &&
               Click(Control(IDC_RECORD));
    }
    // The player now plays another lesson: the stand-in makes way for a new one.
    void SwitchTo(const wchar_t* file)
    {
        player.reset();
        player = StartPlayer(Lesson(file), file);
        ASSERT_TRUE(player);
    }
    void ExpectList(const std::vector<std::wstring>& entries)
    {
        std::optional<std::vector<std::wstring>> seen;
        PollUntil([&] { return (seen = ListEntries(Control(IDC_MARK_LIST))) == entries; }, 5000);
        EXPECT_EQ(seen, entries);
    }
    const std::vector<std::wstring> three_{Stamp(kA), Stamp(kA + 2000), Stamp(kA + 4000)};
};

TEST_P(KeptMarks, FollowTheRecordingAndANewStart)
{
    ASSERT_NO_FATAL_FAILURE(Start(Lesson(L"lesson.wav")));
    // 标记随录音保存 is last in the list's menu while nothing is offered.
    ASSERT_TRUE(ToForeground(morvane->window) && Choose(RightClick(EntryPoint(0)), {VK_END, VK_RETURN}));
    ASSERT_TRUE(MarkThree());
    ASSERT_NO_FATAL_FAILURE(SwitchTo(L"lesson-b.wav"));
    ExpectList({});
    ASSERT_TRUE(Click(Control(IDC_RECORD)));
    ExpectList({Stamp(kA)});
    ASSERT_NO_FATAL_FAILURE(SwitchTo(L"lesson.wav"));
    ExpectList(three_);

    ASSERT_TRUE(PostMessageW(morvane->window, WM_CLOSE, 0, 0) && morvane->process.WaitExit(10000));
    std::string failure;
    morvane = StartMorvane(failure);
    ASSERT_TRUE(morvane) << failure;
    ExpectList(three_);
}

TEST_P(KeptMarks, KilledAfterTheThirdMarkOffersTheList)
{
    ASSERT_NO_FATAL_FAILURE(Start(Lesson(L"lesson.wav")));
    // A listener's pace: a second between marks.
    ASSERT_TRUE(MarkThree(1000));
    morvane->process.Kill();
    const auto left = ReadBytes(DataFile(L"未保存的标记.txt"));
    ASSERT_TRUE(left);
    const auto lines = static_cast<std::size_t>(std::count(left->begin(), left->end(), '\n'));
    EXPECT_GE(lines, 2u);

    std::string failure;
    morvane = StartMorvane(failure);
    ASSERT_TRUE(morvane) << failure;
    // Offered last in the menu: 恢复上次退出时的标记（N 条）.
    ASSERT_TRUE(ToForeground(morvane->window) && Choose(RightClick(EntryPoint(0)), {VK_END, VK_RETURN}));
    ExpectList(std::vector<std::wstring>(three_.begin(), three_.begin() + static_cast<std::ptrdiff_t>(lines)));
}

INSTANTIATE_TEST_SUITE_P(EachPlayer, KeptMarks, ::testing::ValuesIn(PlayerKinds()), KindName);

} // namespace
} // namespace morvane::e2e
