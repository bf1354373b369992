#include "file_dialog.h"

#include <dlgs.h>

#include "prompt_access.h"
#include "window_access.h"

namespace e2e {

HWND open_file_dialog(HWND main, int button_id, const std::wstring& title)
{
    const HWND button = GetDlgItem(main, button_id);
    if (button == nullptr || !post_click(button))
        return nullptr;
    return wait_for_file_dialog(main, title);
}

HWND wait_for_file_dialog(HWND owner, const std::wstring& title, DWORD timeout_ms)
{
    return wait_for_owned_dialog(
        owner, [&](HWND d) { return file_name_field(d) != nullptr && text_of(d) == title; }, timeout_ms);
}

HWND file_name_field(HWND dialog)
{
    if (const HWND field = GetDlgItem(dialog, cmb13))
        return field;
    return GetDlgItem(dialog, edt1);
}

bool choose_path(HWND dialog, const std::wstring& path)
{
    HWND field = file_name_field(dialog);
    if (field == nullptr)
        return false;
    // A combo box takes its text through the edit inside it.
    for (const HWND child : children_of(field))
        if (class_of(child) == L"Edit") {
            field = child;
            break;
        }
    if (!set_text(field, path) || text_of(field) != path)
        return false;
    const HWND ok = GetDlgItem(dialog, IDOK);
    return ok != nullptr && post_click(ok);
}

bool settled(HWND window, DWORD timeout_ms)
{
    return send(window, WM_NULL, 0, 0, timeout_ms).has_value();
}

}  // namespace e2e
