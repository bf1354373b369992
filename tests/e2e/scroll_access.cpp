#include "scroll_access.h"

#include <algorithm>

namespace e2e {

std::optional<Scroll_state> scroll_state(HWND bar)
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_POS;
    if (!GetScrollInfo(bar, SB_CTL, &info))
        return std::nullopt;
    return Scroll_state{info.nMin, info.nMax, info.nPos};
}

// Worked out from the system's metrics, as the control lays itself out:
// GetScrollBarInfo does not reach into another process under Wine.
std::optional<Scroll_parts> scroll_parts(HWND bar)
{
    const auto state = scroll_state(bar);
    RECT rect{};
    if (!state || !GetClientRect(bar, &rect))
        return std::nullopt;
    MapWindowPoints(bar, HWND_DESKTOP, reinterpret_cast<POINT*>(&rect), 2);
    const int arrow = GetSystemMetrics(SM_CXHSCROLL);
    const int thumb = GetSystemMetrics(SM_CXHTHUMB);
    const int travel = (rect.right - rect.left) - 2 * arrow - thumb;
    if (travel <= 0 || state->max <= state->min)
        return std::nullopt;
    const int offset = MulDiv(travel, std::clamp(state->pos, state->min, state->max) - state->min,
                              state->max - state->min);
    const int left = rect.left + arrow + offset;
    return Scroll_parts{rect, arrow, left, left + thumb};
}

}  // namespace e2e
