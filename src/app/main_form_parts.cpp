#include "app/main_form_parts.h"

#include "app/layout/control_ids.h"

namespace morvane {

MainFormParts MakeMainFormParts(Controls& controls, const Services& services)
{
    return MainFormParts{services.window,
                      controls.List(IDC_MARK_LIST),
                      controls.Text(IDC_COUNT_LINE),
                      controls.Text(IDC_STATE_LINE),
                      controls.Text(IDC_TIME_LINE),
                      controls.Text(IDC_MARK_LINE),
                      controls.Text(IDC_SEEK_TIME),
                      controls.Bar(IDC_SEEK_BAR),
                      controls.Check(IDC_ASK_NOTE),
                      controls.Check(IDC_PAUSE_FOR_NOTE),
                      services.poll_clock,
                      services.player,
                      services.hot_keys,
                      services.code_page,
                      services.files,
                      services.mark_files};
}

} // namespace morvane
