#include "app/list_menu_point.h"

#include <algorithm>

namespace morvane {

ListPoint KeyboardMenuPoint(std::optional<ListRect> entry, ListRect view)
{
    if (!entry || entry->bottom <= view.top || entry->top >= view.bottom) return {view.left, view.top};
    return {std::max(entry->left, view.left), std::min(entry->bottom, view.bottom)};
}

} // namespace morvane
