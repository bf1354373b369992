// 排序: the list in ascending text order, which is time order for stamps.

#include "app/form1.h"
#include "marks/bas_sort.h"

namespace morvane {

void Form1::C_sort_Click()
{
    if (ui_.List1.Count() == 0) return;
    // The same texts come back, so the count and the extent stay as they are.
    ui_.List1.Assign(basSort::Sorted_Entries(ui_.List1.Entries()));
    // The position sel_Index last recorded is selected again, whichever
    // entry stands there now; without one nothing is selected.
    if (const std::optional<int> position = Selected_Position()) Select_Entry(*position);
}

} // namespace morvane
