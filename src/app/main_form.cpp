#include "app/main_form.h"

#include <algorithm>

#include "app/layout/clicks.h"

namespace morvane {

MainForm::MainForm(const MainFormParts& parts)
    : ui_(parts),
      mark_list_(parts.list_box, parts.entry_bound),
      poll_timer_(parts.poll_clock),
      count_line_(parts.count_line),
      state_line_(parts.state_line),
      time_line_(parts.time_line),
      mark_line_(parts.mark_line),
      seek_time_(parts.seek_time)
{
}

bool MainForm::Form_Load()
{
    mark_text_ = u"[000:00:000]";
    ShowCount();
    ui_.player.Refresh();
    if (ui_.player.FindPlayer() == 0) {
        ui_.window.ShowInfo(ui_.player.NotFoundMessage(), u"提示");
        return false;
    }
    return true;
}

void MainForm::End_Click()
{
    // Ends at once: nothing is asked and the list is not saved.
    ui_.window.Quit();
}

bool MainForm::Window_EnterPress(int focused_id)
{
    // The window has no default button: Enter is the focused button's click.
    const auto click = std::ranges::find(layout::kClicks, focused_id, &layout::Click::id);
    if (click == layout::kClicks.end()) return false;
    (this->*click->handler)();
    return true;
}

} // namespace morvane
