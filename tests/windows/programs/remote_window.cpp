#include "remote_window.h"

#include <dlgs.h>

#include <algorithm>

#include "process.h"

namespace morvane::e2e {
namespace {

constexpr int kBoxTextId = 0xFFFF;

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = {};
    return std::wstring(name, static_cast<std::size_t>(std::max(GetClassNameW(window, name, 64), 0)));
}

// Every visible top-level window for which keep(window) holds.
template <class Keep>
std::vector<HWND> TopWindowsWhere(Keep keep)
{
    std::vector<HWND> found;
    for (HWND window = GetTopWindow(nullptr); window != nullptr; window = GetWindow(window, GW_HWNDNEXT))
        if (IsWindowVisible(window) && keep(window)) found.push_back(window);
    return found;
}

// The edit field a control takes its text through: itself, or the one inside a combo box.
HWND EditIn(HWND control)
{
    HWND edit = control;
    if (control == nullptr) return nullptr;
    EnumChildWindows(
        control,
        [](HWND child, LPARAM found) {
            if (ClassOf(child) != L"Edit") return TRUE;
            *reinterpret_cast<HWND*>(found) = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&edit));
    return edit;
}

} // namespace

std::optional<LRESULT> Send(HWND window, UINT msg, WPARAM wparam, LPARAM lparam, UINT timeout_ms)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, msg, wparam, lparam, SMTO_NORMAL, timeout_ms, &result)) return std::nullopt;
    return static_cast<LRESULT>(result);
}

std::optional<std::wstring> TextOf(HWND window)
{
    const auto length = Send(window, WM_GETTEXTLENGTH);
    if (!length) return std::nullopt;
    std::wstring text(static_cast<std::size_t>(*length) + 1, L'\0');
    const auto copied = Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    if (!copied) return std::nullopt;
    text.resize(static_cast<std::size_t>(*copied));
    return text;
}

bool Click(HWND button) { return button != nullptr && Send(button, BM_CLICK).has_value(); }

bool PostClick(HWND button) { return button != nullptr && PostMessageW(button, BM_CLICK, 0, 0) != FALSE; }

std::vector<HWND> TopWindows(DWORD process_id, const wchar_t* class_name)
{
    return TopWindowsWhere([&](HWND window) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        return owner == process_id && (class_name == nullptr || ClassOf(window) == class_name);
    });
}

HWND FocusInThreadOf(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    return thread != 0 && GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

std::optional<std::vector<std::wstring>> ListEntries(HWND list)
{
    const auto count = Send(list, LB_GETCOUNT);
    if (!count || *count == LB_ERR) return std::nullopt;
    std::vector<std::wstring> entries;
    for (WPARAM i = 0; i < static_cast<WPARAM>(*count); ++i) {
        const auto length = Send(list, LB_GETTEXTLEN, i);
        if (!length || *length == LB_ERR) return std::nullopt;
        std::wstring text(static_cast<std::size_t>(*length) + 1, L'\0');
        const auto copied = Send(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        if (!copied || *copied == LB_ERR) return std::nullopt;
        text.resize(static_cast<std::size_t>(*copied));
        entries.push_back(std::move(text));
    }
    return entries;
}

std::optional<int> ListSelection(HWND list)
{
    const auto selection = Send(list, LB_GETCURSEL);
    return selection ? std::optional<int>(static_cast<int>(*selection)) : std::nullopt;
}

HWND WaitForDialog(HWND owner, int id, DWORD timeout_ms)
{
    std::vector<HWND> found;
    PollUntil(
        [&] {
            found = TopWindowsWhere([&](HWND window) {
                return GetWindow(window, GW_OWNER) == owner && ClassOf(window) == L"#32770" && GetDlgItem(window, id);
            });
            return !found.empty();
        },
        timeout_ms);
    return found.empty() ? nullptr : found.front();
}

std::optional<Box> ReadBox(HWND box)
{
    const auto title = TextOf(box);
    const HWND text_item = GetDlgItem(box, kBoxTextId);
    const auto text = text_item ? TextOf(text_item) : std::nullopt;
    if (!title || !text) return std::nullopt;
    Box result{box, *title, *text, 0};
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        if (ClassOf(child) == L"Button" && IsWindowVisible(child)) ++result.buttons;
    return result;
}

std::optional<Box> WaitForBox(HWND owner, DWORD timeout_ms)
{
    const HWND box = WaitForDialog(owner, kBoxTextId, timeout_ms);
    return box ? ReadBox(box) : std::nullopt;
}

bool SetText(HWND control, const std::wstring& text)
{
    const auto done = Send(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    return done && *done != FALSE;
}

bool CloseWith(HWND dialog, int button_id)
{
    return PostClick(GetDlgItem(dialog, button_id)) &&
           PollUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
}

HWND OpenFileDialog(HWND main, int button_id)
{
    if (!PostClick(GetDlgItem(main, button_id))) return nullptr;
    // The file-name field: a combo box (cmb13) under Wine, an edit (edt1) in Windows' own dialog.
    HWND dialog = WaitForDialog(main, cmb13, 10000);
    return dialog != nullptr ? dialog : WaitForDialog(main, edt1, 1000);
}

bool ChoosePath(HWND dialog, const std::wstring& path)
{
    HWND field = GetDlgItem(dialog, cmb13);
    field = EditIn(field != nullptr ? field : GetDlgItem(dialog, edt1));
    return field != nullptr && SetText(field, path) && TextOf(field) == path && PostClick(GetDlgItem(dialog, IDOK));
}

bool Settled(HWND window) { return Send(window, WM_NULL, 0, 0, 10000).has_value(); }

} // namespace morvane::e2e
