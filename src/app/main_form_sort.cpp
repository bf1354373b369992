// 排序: the list in ascending text order, which is time order for stamps.

#include "app/main_form.h"
#include "marks/entry_sort.h"

namespace morvane {

void MainForm::Sort_Click()
{
    if (mark_list_.Count() == 0) return;
    // The same texts come back, so the count and the extent stay as they are.
    mark_list_.Reorder(entry_sort::SortedEntries(mark_list_.Entries()));
    // The position last recorded as selected is selected again, whichever
    // entry stands there now; without one nothing is selected.
    if (const std::optional<int> position = mark_list_.Selection()) SelectEntry(*position);
}

} // namespace morvane
