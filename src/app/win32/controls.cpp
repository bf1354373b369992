#include "app/win32/controls.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>

#include "app/win32/main_window.h"
#include "app/win32/text.h"

namespace morvane::win32 {
namespace {

// Characters drawn as one glyph each, side by side, with no shaping: a text
// made of these alone is as wide as its characters together. Others
// (controls, combining marks, complex scripts, surrogate halves) are
// measured with the text they stand in.
bool AddsUp(char16_t c)
{
    return (c >= 0x20 && c < 0x7F) || (c >= 0xA0 && c < 0x300) ||  // Latin
           (c >= 0x2010 && c < 0x2028) || (c >= 0x2030 && c < 0x205F) ||  // dashes, quotes, …
           (c >= 0x3000 && c < 0x302A) || (c >= 0x3030 && c < 0x3099) || (c >= 0x309B && c < 0x3100) ||  // kana
           (c >= 0x3400 && c < 0xA000) ||   // CJK ideographs
           (c >= 0xFF01 && c < 0xFF61);     // full-width forms
}

} // namespace

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

int ListAdapter::TextWidth(const std::u16string& text) const
{
    // A loaded list of 32 767 entries would otherwise take one text
    // measurement each; most are stamps and notes of a few hundred distinct
    // characters.
    if (!std::ranges::all_of(text, AddsUp)) return Measure(Wide(text), static_cast<int>(text.size())).value_or(0);
    if (widths_dpi_ != window_.Dpi() || char_widths_.empty()) {
        char_widths_.assign(0x10000, -1);
        widths_dpi_ = window_.Dpi();
    }
    int width = 0;
    for (const char16_t c : text) {
        int& known = char_widths_[c];
        if (known < 0) {
            const wchar_t one = static_cast<wchar_t>(c);
            const std::optional<int> measured = Measure(&one, 1);
            if (!measured) return 0;
            known = *measured;
        }
        width += known;
    }
    return width;
}

std::optional<int> ListAdapter::Measure(const wchar_t* text, int length) const
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
    const BOOL measured = GetTextExtentPoint32W(measure_dc_, text, length, &size);
    SelectObject(measure_dc_, old);
    if (!measured) return std::nullopt;
    return size.cx;
}

void TextAdapter::SetText(const std::u16string& text) { SetWindowTextW(box_, Wide(text)); }

std::int16_t ScrollAdapter::Value() const
{
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_POS;
    if (GetScrollInfo(bar_, SB_CTL, &info) == FALSE) return 0;
    return static_cast<std::int16_t>(info.nPos);
}

void ScrollAdapter::SetMin(std::int16_t value)
{
    int min = 0, max = 0;
    GetScrollRange(bar_, SB_CTL, &min, &max);
    SetRange(value, max);
}

void ScrollAdapter::SetMax(std::int16_t value)
{
    int min = 0, max = 0;
    GetScrollRange(bar_, SB_CTL, &min, &max);
    SetRange(min, value);
}

void ScrollAdapter::SetRange(int min, int max)
{
    // The control cannot hold a maximum below the minimum; it then spans
    // the minimum alone. The value is clamped here, raising no event.
    max = std::max(min, max);
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_POS;
    const BOOL known = GetScrollInfo(bar_, SB_CTL, &info);
    const int pos = std::clamp(info.nPos, min, max);
    // The poll tick sets the same range many times a second; redrawing a
    // bar that does not change would cost more than the rest of the tick.
    if (known != FALSE && info.nMin == min && info.nMax == max && info.nPos == pos) return;
    info.fMask = SIF_RANGE | SIF_POS;
    info.nMin = min;
    info.nMax = max;
    info.nPos = pos;
    SetScrollInfo(bar_, SB_CTL, &info, TRUE);
}

bool CheckAdapter::Checked() const { return SendMessageW(box_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

bool PollTimer::Start() { return SetTimer(window_, id_, 1, nullptr) != 0; }

void PollTimer::Stop() { KillTimer(window_, id_); }

ListBox& WindowControls::List(int id)
{
    return lists_.try_emplace(id, window_, window_.Control(id), window_.Tooltip()).first->second;
}

TextBox& WindowControls::Text(int id) { return texts_.try_emplace(id, window_.Control(id)).first->second; }

ScrollBar& WindowControls::Bar(int id) { return bars_.try_emplace(id, window_.Control(id)).first->second; }

CheckBox& WindowControls::Check(int id) { return checks_.try_emplace(id, window_.Control(id)).first->second; }

} // namespace morvane::win32
