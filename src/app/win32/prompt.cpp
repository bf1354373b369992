#include <algorithm>

#include "app/win32/control_ids.h"
#include "app/win32/text.h"
#include "app/win32/window_port.h"

namespace morvane::win32 {
namespace {

struct PromptState {
    const std::u16string& message;
    const std::u16string& title;
    const std::u16string& default_text;
    int max_length;
    std::u16string answer;
};

// Over the middle of the window that asks, kept on that window's monitor.
void CenterOnOwner(HWND dialog)
{
    HWND owner = GetWindow(dialog, GW_OWNER);
    RECT outer{}, own{};
    if (owner == nullptr || !GetWindowRect(owner, &outer) || !GetWindowRect(dialog, &own)) return;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (!GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    const RECT& work = monitor.rcWork;
    const LONG width = own.right - own.left;
    const LONG height = own.bottom - own.top;
    LONG x = outer.left + (outer.right - outer.left - width) / 2;
    LONG y = outer.top + (outer.bottom - outer.top - height) / 2;
    x = std::max(work.left, std::min(x, work.right - width));
    y = std::max(work.top, std::min(y, work.bottom - height));
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK PromptProc(HWND dialog, UINT msg, WPARAM wparam, LPARAM lparam)
{
    switch (msg) {
    case WM_INITDIALOG: {
        SetWindowLongPtrW(dialog, DWLP_USER, lparam);
        CenterOnOwner(dialog);
        const auto* state = reinterpret_cast<const PromptState*>(lparam);
        SetWindowTextW(dialog, state->title.empty() ? L"Morvane" : Wide(state->title));
        SetDlgItemTextW(dialog, IDC_PROMPT_MESSAGE, Wide(state->message));
        HWND edit = GetDlgItem(dialog, IDC_PROMPT_EDIT);
        SendMessageW(edit, EM_SETLIMITTEXT, static_cast<WPARAM>(state->max_length), 0);
        SetWindowTextW(edit, Wide(state->default_text));
        SendMessageW(edit, EM_SETSEL, 0, -1);
        SetFocus(edit);
        return FALSE;  // the focus is placed already
    }
    case WM_COMMAND:
        if (LOWORD(wparam) == IDOK) {
            auto* state = reinterpret_cast<PromptState*>(GetWindowLongPtrW(dialog, DWLP_USER));
            state->answer = WindowText(GetDlgItem(dialog, IDC_PROMPT_EDIT));
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wparam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

std::u16string RunPrompt(HINSTANCE instance, HWND owner, const std::u16string& message,
                          const std::u16string& title, const std::u16string& default_text, int max_length)
{
    PromptState state{message, title, default_text, max_length, {}};
    const INT_PTR result = DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_PROMPT), owner, PromptProc,
                                           reinterpret_cast<LPARAM>(&state));
    return result == IDOK ? state.answer : std::u16string();
}

} // namespace morvane::win32
