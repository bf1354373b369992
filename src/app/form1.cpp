#include "app/form1.h"

namespace morvane {

Form1::Form1(const Form1Parts& parts)
    : ui_(parts),
      mark_list_(parts.List1, parts.entry_bound),
      timer1_(parts.Timer1),
      text1_(parts.Text1),
      text2_(parts.Text2),
      text3_(parts.Text3),
      text4_(parts.Text4),
      text5_(parts.Text5)
{
}

bool Form1::Form_Load()
{
    mark_Text_ = u"[000:00:000]";
    Show_Count();
    ui_.player.Refresh();
    player_Wnd_ = ui_.player.Find_Player();
    if (player_Wnd_ == 0) {
        ui_.window.ShowInfo(ui_.player.Not_Found_Message(), u"提示");
        return false;
    }
    return true;
}

void Form1::C_end_Click()
{
    // Ends at once: nothing is asked and the list is not saved.
    ui_.window.Quit();
}

} // namespace morvane
