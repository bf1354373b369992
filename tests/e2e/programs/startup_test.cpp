// Start-up without a player, and the two ways the program ends.

#include "app/win32/control_ids.h"
#include "program_test.h"

namespace morvane::e2e {
namespace {

using Startup = Program_Test;

TEST_F(Startup, WithoutAPlayerOneMessageThenTheEndAndNoWindow)
{
    ASSERT_TRUE(No_Player_Running()) << "a window of the player's class is already open";
    std::string failure;
    const auto morvane = Launch_Morvane(failure);
    ASSERT_TRUE(morvane) << failure;

    // The main window must never show, so it is looked for the whole time.
    bool main_window_seen = false;
    std::vector<HWND> boxes;
    const auto watch = [&] {
        main_window_seen |= !Top_Windows(morvane->Id(), MORVANE_MAIN_CLASS).empty();
        boxes = Top_Windows(morvane->Id(), L"#32770");
    };
    Poll_Until([&] { return watch(), !boxes.empty() || !morvane->Running(); }, 20000);
    ASSERT_FALSE(boxes.empty()) << (morvane->Running() ? "no dialog within 20 s" : "it ended without one");
    // A second box would come right after the first.
    Poll_Until([&] { return watch(), false; }, 700);
    ASSERT_EQ(boxes.size(), 1u);
    const auto box = Read_Box(boxes.front());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, L"Winamp没有运行或版本不对!\r\n请先打开Winamp并使用1.xx或2.xx版本");
    EXPECT_EQ(box->title, L"提示");

    EXPECT_TRUE(Post_Click(GetDlgItem(box->window, IDOK)));
    EXPECT_TRUE(Poll_Until([&] { return watch(), !morvane->Running(); })) << "still running 5 s after OK";
    EXPECT_FALSE(main_window_seen);
}

TEST_F(Startup, EndsByItsExitButtonWithoutAskingOrByClosingTheWindow)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_TRUE(Post_Click(Control(IDC_END)) && morvane->process.Wait_Exit(5000)) << "退出 did not end it";

    std::string failure;
    morvane = Start_Morvane(failure);
    ASSERT_TRUE(morvane) << failure;
    PostMessageW(morvane->window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(morvane->process.Wait_Exit(5000)) << "closing the window did not end it";
}

} // namespace
} // namespace morvane::e2e
