// The list's own ways in the real window: Enter and a double click on an
// entry jump to its stamp (elsewhere Enter presses the focused button), and after each load the horizontal scroll range
// is the widest entry as the list's font draws it, whatever the script.

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/win32/control_ids.h"
#include "rig.h"

namespace morvane::test {
namespace {

class List : public WindowRig {
protected:
    List()
    {
        player.state = PlayState::Paused;
        player.position = 10000;
    }
    POINT ItemCentre(int index)
    {
        RECT item{};
        SendMessageW(Control(IDC_MARK_LIST), LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        return {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    }
    void Mouse(UINT message, POINT at)
    {
        PostMessageW(Control(IDC_MARK_LIST), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(at.x, at.y));
    }
    void StepForward()
    {
        Click(IDC_FORWARD);
        ASSERT_EQ(player.jumps.back(), 12000);
        player.position = 12000;
    }
};

TEST_F(List, EnterAndADoubleClickJumpToTheEntry)
{
    Click(IDC_RECORD);
    ASSERT_EQ(Entries(), std::vector<std::wstring>{L"[000:10:000]"});
    EXPECT_TRUE(player.Commands().empty()) << "记录 with ask_note unticked asks nothing and sends nothing";

    // A single click gives the list the focus and sends nothing; Enter jumps.
    StepForward();
    const std::size_t sent = player.Commands().size();
    Mouse(WM_LBUTTONDOWN, ItemCentre(0));
    Mouse(WM_LBUTTONUP, ItemCentre(0));
    Pump(50);
    EXPECT_EQ(GetFocus(), Control(IDC_MARK_LIST));
    EXPECT_EQ(player.Commands().size(), sent);
    PostMessageW(Control(IDC_MARK_LIST), WM_KEYDOWN, VK_RETURN, 0);
    Pump(50);
    EXPECT_EQ(player.Commands().back(), "jump 10000");
    player.position = 10000;

    StepForward();
    Mouse(WM_LBUTTONDBLCLK, ItemCentre(0));
    Mouse(WM_LBUTTONUP, ItemCentre(0));
    Pump(50);
    EXPECT_EQ(player.Commands().back(), "jump 10000");

    // Away from the list, Enter presses the focused button and nothing else.
    for (const int id : {IDC_ASK_NOTE, IDC_STOP}) {
        SetFocus(Control(id));
        PostMessageW(Control(id), WM_KEYDOWN, VK_RETURN, 0);
        Pump(50);
    }
    EXPECT_EQ(player.Commands().back(), "stop");
    EXPECT_EQ(player.Commands().size(), sent + 4);  // the check box sent nothing
}

int Widest(const std::vector<std::wstring>& entries)
{
    int widest = 0;
    for (const auto& entry : entries) widest = std::max(widest, TextWidth(L"新宋体", entry).width);
    return widest;
}

TEST_F(List, ScrollRangeIsTheWidestEntryOfEachScript)
{
    constexpr int kMargin = 10;
    const std::wstring folder = OutPath(L"extent");
    ASSERT_TRUE(e2e::FreshFolder(folder));
    const std::wstring stamp = L"[000:01:000]";
    const std::vector<std::vector<std::wstring>> lists{
        {stamp, stamp + L" 注释:第一句，注意连读——“引号”……（完）", stamp + L" 注释:abc"},
        {stamp, stamp + L" 注释:café naïve résumé, Ångström ½ × ÷ «»", stamp + L" 注释:短"},
        {stamp, stamp + L" 注释:e\u0301e\u0301e\u0301 \U0001F600\U0001F600\U0001F600\U00020000\U00020001",
         stamp + L" 注释:ok"},
        {stamp + L" 注释:안녕하세요 สวัสดีครับ ภาษาไทย", stamp},
    };
    const auto extent = [&] { return static_cast<int>(SendMessageW(Control(IDC_MARK_LIST), LB_GETHORIZONTALEXTENT, 0, 0)); };
    int n = 0;
    for (const auto& entries : lists) {
        SCOPED_TRACE("list " + std::to_string(++n));
        const std::wstring path = folder + L"\\list" + std::to_wstring(n) + L".txt";
        const auto bytes = e2e::MarkFileBytes(entries, true);
        ASSERT_TRUE(bytes && e2e::WriteBytes(path, *bytes));
        AnswerFileDialog(path);
        Click(IDC_LOAD);
        ASSERT_EQ(Entries(), entries);
        EXPECT_EQ(extent(), Widest(entries) + kMargin);
    }

    // Deleting the widest entry narrows the range to the next one.
    Select(0);
    Click(IDC_DELETE);
    EXPECT_EQ(extent(), Widest({lists.back().begin() + 1, lists.back().end()}) + kMargin);
}

} // namespace
} // namespace morvane::test
