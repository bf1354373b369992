#include "app/win32/controls.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>

#include "app/platform_values.h"
#include "app/win32/main_window.h"
#include "app/win32/text.h"

namespace morvane::win32 {

ListAdapter::ListAdapter(MainWindow& window, HWND list, HWND tooltip) : window_(window), list_(list), tooltip_(tooltip) {}

ListAdapter::~ListAdapter()
{
    if (measure_dc_ != nullptr) DeleteDC(measure_dc_);
}

std::size_t ListAdapter::Show(const std::vector<std::u16string>& entries)
{
    // One repaint for the whole content instead of one per entry.
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list_, LB_RESETCONTENT, 0, 0);
    std::size_t chars = 0;
    for (const auto& entry : entries) chars += entry.size() + 1;
    SendMessageW(list_, LB_INITSTORAGE, entries.size(), static_cast<LPARAM>(chars * sizeof(wchar_t)));
    std::size_t added = 0;
    for (; added < entries.size(); ++added) {
        const LRESULT at = SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(entries[added])));
        if (at == LB_ERR || at == LB_ERRSPACE) break;
    }
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
    return added;
}

bool ListAdapter::Insert(int index, const std::u16string& text)
{
    const LRESULT at = SendMessageW(list_, LB_INSERTSTRING, static_cast<WPARAM>(index),
                                    reinterpret_cast<LPARAM>(Wide(text)));
    return at != LB_ERR && at != LB_ERRSPACE;
}

bool ListAdapter::Remove(int index)
{
    return SendMessageW(list_, LB_DELETESTRING, static_cast<WPARAM>(index), 0) != LB_ERR;
}

bool ListAdapter::Select(int index)
{
    if (index < 0) return false;
    // LB_SETCURSEL raises no LBN_SELCHANGE: MainForm runs its own handler.
    return SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(index), 0) != LB_ERR;
}

void ListAdapter::Redraw() { RedrawWindow(list_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); }

void ListAdapter::Focus() { window_.FocusControl(list_); }

void ListAdapter::SetTooltip(const std::u16string& text)
{
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = GetParent(list_);
    tool.uId = reinterpret_cast<UINT_PTR>(list_);
    tool.lpszText = const_cast<wchar_t*>(Wide(text));
    SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    // An empty text must also take away a tip that is showing already.
    if (text.empty()) SendMessageW(tooltip_, TTM_POP, 0, 0);
}

void ListAdapter::SetHorizontalExtent(int pixels)
{
    SendMessageW(list_, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(std::max(pixels, 0)), 0);
}

int ListAdapter::ItemFromPoint(int x, int y) const
{
    const LRESULT hit = SendMessageW(list_, LB_ITEMFROMPOINT, 0,
                                     MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
    if (HIWORD(hit) != 0) return -1;  // outside every entry
    const int index = LOWORD(hit);
    return index < SendMessageW(list_, LB_GETCOUNT, 0, 0) ? index : -1;
}

std::optional<int> ListAdapter::TextWidth(const std::u16string& text) const
{
    // A memory DC of its own, so no window's font or DC changes. The font is
    // selected only while measuring: the window deletes it when the DPI
    // changes, which it could not do while our DC held it.
    if (measure_dc_ == nullptr) measure_dc_ = CreateCompatibleDC(nullptr);
    if (measure_dc_ == nullptr) return std::nullopt;
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageW(list_, WM_GETFONT, 0, 0));
    if (font == nullptr) font = GetStockObject(SYSTEM_FONT);
    const HGDIOBJ old = SelectObject(measure_dc_, font);
    SIZE size{};
    const BOOL measured = GetTextExtentPoint32W(measure_dc_, Wide(text), static_cast<int>(text.size()), &size);
    SelectObject(measure_dc_, old);
    if (!measured) return std::nullopt;
    return size.cx;
}

void TextAdapter::SetText(const std::u16string& text) { SetWindowTextW(box_, Wide(text)); }

bool TextAdapter::Fits(const std::u16string& text) const
{
    // The read-outs draw their text across the client area; what is wider
    // breaks onto a line the box has no room to show.
    RECT room{};
    if (GetClientRect(box_, &room) == FALSE) return true;
    HDC dc = GetDC(box_);
    if (dc == nullptr) return true;
    const HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageW(box_, WM_GETFONT, 0, 0));
    const HGDIOBJ old = font != nullptr ? SelectObject(dc, font) : nullptr;
    SIZE size{};
    const BOOL measured = GetTextExtentPoint32W(dc, Wide(text), static_cast<int>(text.size()), &size);
    if (old != nullptr) SelectObject(dc, old);
    ReleaseDC(box_, dc);
    return measured == FALSE || size.cx <= room.right - room.left;
}

std::int16_t ScrollAdapter::Value() const
{
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_POS;
    if (GetScrollInfo(bar_, SB_CTL, &info) == FALSE) return 0;
    return static_cast<std::int16_t>(info.nPos);
}

void ScrollAdapter::SetRange(std::int16_t min, std::int16_t max)
{
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE;
    // The poll tick sets the same range many times a second; redrawing a
    // bar that does not change would cost more than the rest of the tick.
    if (GetScrollInfo(bar_, SB_CTL, &info) != FALSE && info.nMin == min && info.nMax == max) return;
    info.nMin = min;
    info.nMax = max;
    // The control moves its position into the new range, raising no event.
    SetScrollInfo(bar_, SB_CTL, &info, TRUE);
}

bool CheckAdapter::Checked() const { return SendMessageW(box_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

bool PollTimer::Start() { return SetTimer(window_, id_, kWindowsValues.tick_ms, nullptr) != 0; }

void PollTimer::Stop() { KillTimer(window_, id_); }

ListBox& WindowControls::List(int id)
{
    return lists_.try_emplace(id, window_, window_.Control(id), window_.Tooltip()).first->second;
}

TextBox& WindowControls::Text(int id) { return texts_.try_emplace(id, window_.Control(id)).first->second; }

ScrollBar& WindowControls::Bar(int id) { return bars_.try_emplace(id, window_.Control(id)).first->second; }

CheckBox& WindowControls::Check(int id) { return checks_.try_emplace(id, window_.Control(id)).first->second; }

} // namespace morvane::win32
