#include "prompt_access.h"

#include "app/win32/control_ids.h"
#include "window_access.h"

namespace e2e {

namespace {

constexpr int box_text_id = 0xFFFF;

struct Owned_search {
    HWND owner;
    std::vector<HWND> found;
};

BOOL CALLBACK collect_owned(HWND window, LPARAM param)
{
    auto& search = *reinterpret_cast<Owned_search*>(param);
    if (GetWindow(window, GW_OWNER) == search.owner && IsWindowVisible(window) && class_of(window) == L"#32770")
        search.found.push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> owned_dialogs(HWND owner)
{
    Owned_search search{owner, {}};
    EnumWindows(collect_owned, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::optional<Note_prompt> wait_for_prompt(HWND owner, DWORD timeout_ms)
{
    const HWND dialog = wait_for_owned_dialog(
        owner, [](HWND d) { return GetDlgItem(d, IDC_PROMPT_EDIT) != nullptr; }, timeout_ms);
    if (dialog == nullptr)
        return std::nullopt;
    Note_prompt prompt;
    prompt.window = dialog;
    prompt.edit = GetDlgItem(dialog, IDC_PROMPT_EDIT);
    const HWND message = GetDlgItem(dialog, IDC_PROMPT_MESSAGE);
    const auto title = text_of(dialog);
    const auto message_text = message ? text_of(message) : std::nullopt;
    const auto text = text_of(prompt.edit);
    if (!title || !message_text || !text)
        return std::nullopt;
    prompt.title = *title;
    prompt.message = *message_text;
    prompt.text = *text;
    return prompt;
}

bool set_text(HWND control, const std::wstring& text)
{
    const auto done = send(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    return done && *done != FALSE;
}

bool close_with(HWND dialog, int button_id, DWORD timeout_ms)
{
    const HWND button = GetDlgItem(dialog, button_id);
    if (button == nullptr || !post_click(button))
        return false;
    return poll_until([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, timeout_ms);
}

std::optional<Message_box> wait_for_message_box(HWND owner, DWORD timeout_ms)
{
    const HWND box = wait_for_owned_dialog(
        owner, [](HWND d) { return GetDlgItem(d, box_text_id) != nullptr; }, timeout_ms);
    if (box == nullptr)
        return std::nullopt;
    return read_message_box(box);
}

}  // namespace e2e
