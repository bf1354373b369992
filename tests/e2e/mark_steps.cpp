#include "mark_steps.h"

#include "app/win32/control_ids.h"
#include "harness.h"
#include "prompt_access.h"
#include "standin_protocol.h"
#include "window_access.h"

namespace e2e {

std::optional<std::vector<std::wstring>> list_entries(HWND list)
{
    const auto count = list_count(list);
    if (!count)
        return std::nullopt;
    std::vector<std::wstring> entries;
    for (int i = 0; i < *count; ++i) {
        auto text = list_text(list, i);
        if (!text)
            return std::nullopt;
        entries.push_back(std::move(*text));
    }
    return entries;
}

std::string shown_entries(const std::optional<std::vector<std::wstring>>& entries)
{
    if (!entries)
        return "(the list could not be read)";
    if (entries->empty())
        return "(an empty list)";
    std::string text;
    for (const std::wstring& entry : *entries)
        text += (text.empty() ? "" : ", ") + quoted(entry);
    return text;
}

bool select_entry(HWND list, int index)
{
    const auto key = [&](WPARAM vk) {
        return send(list, WM_KEYDOWN, vk, 1).has_value() && send(list, WM_KEYUP, vk, 0xC0000001).has_value();
    };
    auto current = list_selection(list);
    if (!current)
        return false;
    if (*current < 0) {
        if (!key(VK_HOME))
            return false;
        current = list_selection(list);
    }
    // One step at a time: never more steps than entries.
    for (int steps = 0; current && *current != index && *current >= 0 && steps < 32768; ++steps) {
        if (!key(*current < index ? VK_DOWN : VK_UP))
            return false;
        current = list_selection(list);
    }
    return current && *current == index;
}

bool set_check(HWND box, bool ticked)
{
    const auto state = send(box, BM_GETCHECK);
    if (!state)
        return false;
    if ((*state == BST_CHECKED) != ticked && !click(box))
        return false;
    return send(box, BM_GETCHECK) == (ticked ? BST_CHECKED : BST_UNCHECKED);
}

bool wait_for_position(HWND player, int ms, DWORD timeout_ms)
{
    return poll_until([&] { return send(player, STANDIN_GET_POSITION_MS) == ms; }, timeout_ms);
}

std::string record_mark(HWND main, const std::optional<std::wstring>& note)
{
    const HWND list = GetDlgItem(main, IDC_MARK_LIST);
    const HWND button = GetDlgItem(main, IDC_RECORD);
    const auto before = list_count(list);
    if (list == nullptr || button == nullptr || !before)
        return "no list or no 记录 button";
    if (note) {
        if (!post_click(button))
            return "记录 could not be clicked";
        const auto prompt = wait_for_prompt(main);
        if (!prompt)
            return "the note prompt did not open";
        if (!set_text(prompt->edit, *note))
            return "the note could not be typed";
        if (!close_with(prompt->window, IDOK))
            return "the prompt did not close on OK";
    } else if (!click(button)) {
        return "记录 could not be clicked";
    }
    if (!poll_until([&] { return list_count(list) == *before + 1; }, 5000))
        return "no new entry appeared";
    return {};
}

}  // namespace e2e
