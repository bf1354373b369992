// Start-up without a player, and the two ways the program ends.

#include "app/win32/control_ids.h"
#include "program_test.h"

namespace morvane::e2e {
namespace {

using Startup = ProgramTest;

// Without a player, and with --player naming one that does not run or none
// at all: one message, then the end, and the main window never shows.
TEST_F(Startup, WithoutAPlayerOneMessageThenTheEndAndNoWindow)
{
    ASSERT_TRUE(NoPlayerRunning()) << "a window of a player's class is already open";
    const struct {
        std::wstring arguments, text;
    } cases[] = {
        {L"", L"没有找到正在运行的播放器!\r\n请先打开Winamp、PotPlayer或AIMP"},
        {L"--player aimp", L"没有找到正在运行的AIMP!\r\n请先打开AIMP"},
        {L"--player vlc", L"--player 后面应是 winamp、potplayer 或 aimp\r\n例如 morvane.exe --player potplayer"},
    };
    for (const auto& start : cases) {
        SCOPED_TRACE(std::string(start.arguments.begin(), start.arguments.end()));
        std::string failure;
        const auto morvane = LaunchMorvane(failure, start.arguments);
        ASSERT_TRUE(morvane) << failure;

        // The main window must never show, so it is looked for the whole time.
        bool main_window_seen = false;
        std::vector<HWND> boxes;
        const auto watch = [&] {
            main_window_seen |= !TopWindows(morvane->Id(), MORVANE_MAIN_CLASS).empty();
            boxes = TopWindows(morvane->Id(), L"#32770");
        };
        PollUntil([&] { return watch(), !boxes.empty() || !morvane->Running(); }, 20000);
        ASSERT_FALSE(boxes.empty()) << (morvane->Running() ? "no dialog within 20 s" : "it ended without one");
        // A second box would come right after the first.
        PollUntil([&] { return watch(), false; }, 700);
        ASSERT_EQ(boxes.size(), 1u);
        const auto box = ReadBox(boxes.front());
        ASSERT_TRUE(box);
        EXPECT_EQ(box->text, start.text);
        EXPECT_EQ(box->title, L"提示");

        EXPECT_TRUE(PostClick(GetDlgItem(box->window, IDOK)));
        EXPECT_TRUE(PollUntil([&] { return watch(), !morvane->Running(); })) << "still running 5 s after OK";
        EXPECT_FALSE(main_window_seen);
    }
}

TEST_F(Startup, EndsByItsExitButtonWithoutAskingOrByClosingTheWindow)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_TRUE(PostClick(Control(IDC_END)) && morvane->process.WaitExit(5000)) << "退出 did not end it";

    std::string failure;
    morvane = StartMorvane(failure);
    ASSERT_TRUE(morvane) << failure;
    PostMessageW(morvane->window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(morvane->process.WaitExit(5000)) << "closing the window did not end it";
}

} // namespace
} // namespace morvane::e2e
