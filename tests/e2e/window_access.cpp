#include "window_access.h"

namespace e2e {

namespace {

struct Top_search {
    DWORD process_id;
    const wchar_t* class_name;
    bool visible_only;
    std::vector<HWND> found;
};

BOOL CALLBACK collect_top(HWND window, LPARAM param)
{
    auto& search = *reinterpret_cast<Top_search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.process_id)
        return TRUE;
    if (search.visible_only && !IsWindowVisible(window))
        return TRUE;
    if (search.class_name != nullptr && class_of(window) != search.class_name)
        return TRUE;
    search.found.push_back(window);
    return TRUE;
}

BOOL CALLBACK collect_child(HWND window, LPARAM param)
{
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> top_windows(DWORD process_id, const wchar_t* class_name, bool visible_only)
{
    Top_search search{process_id, class_name, visible_only, {}};
    EnumWindows(collect_top, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND find_top_window(DWORD process_id, const wchar_t* class_name, bool visible_only)
{
    const auto found = top_windows(process_id, class_name, visible_only);
    return found.empty() ? nullptr : found.front();
}

std::wstring class_of(HWND window)
{
    wchar_t name[256] = {};
    const int length = GetClassNameW(window, name, 256);
    return std::wstring(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::optional<std::wstring> text_of(HWND window)
{
    const auto length = send(window, WM_GETTEXTLENGTH);
    if (!length)
        return std::nullopt;
    std::wstring text(static_cast<std::size_t>(*length) + 1, L'\0');
    const auto copied = send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    if (!copied)
        return std::nullopt;
    text.resize(static_cast<std::size_t>(*copied));
    return text;
}

std::vector<HWND> children_of(HWND window)
{
    std::vector<HWND> children;
    EnumChildWindows(window, collect_child, reinterpret_cast<LPARAM>(&children));
    return children;
}

SIZE client_size(HWND window)
{
    RECT rect{};
    GetClientRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

std::optional<LRESULT> send(HWND window, UINT msg, WPARAM wparam, LPARAM lparam, UINT timeout_ms)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, msg, wparam, lparam, SMTO_NORMAL, timeout_ms, &result))
        return std::nullopt;
    return static_cast<LRESULT>(result);
}

bool click(HWND button)
{
    return send(button, BM_CLICK).has_value();
}

bool post_click(HWND button)
{
    return PostMessageW(button, BM_CLICK, 0, 0) != FALSE;
}

HWND focus_in_thread_of(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    if (thread == 0 || !GetGUIThreadInfo(thread, &info))
        return nullptr;
    return info.hwndFocus;
}

std::optional<int> list_count(HWND list)
{
    const auto count = send(list, LB_GETCOUNT);
    if (!count || *count == LB_ERR)
        return std::nullopt;
    return static_cast<int>(*count);
}

std::optional<std::wstring> list_text(HWND list, int index)
{
    const auto length = send(list, LB_GETTEXTLEN, static_cast<WPARAM>(index));
    if (!length || *length == LB_ERR)
        return std::nullopt;
    std::wstring text(static_cast<std::size_t>(*length) + 1, L'\0');
    const auto copied =
        send(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    if (!copied || *copied == LB_ERR)
        return std::nullopt;
    text.resize(static_cast<std::size_t>(*copied));
    return text;
}

std::optional<int> list_selection(HWND list)
{
    const auto selection = send(list, LB_GETCURSEL);
    if (!selection)
        return std::nullopt;
    return static_cast<int>(*selection);
}

}  // namespace e2e
