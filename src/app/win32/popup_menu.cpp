#include "app/win32/popup_menu.h"

#include <memory>
#include <string>
#include <type_traits>

#include "app/win32/text.h"

namespace morvane::win32 {
namespace {

struct MenuDestroyer {
    void operator()(HMENU menu) const { DestroyMenu(menu); }
};
using OwnedMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDestroyer>;

// A menu takes '&' as the mark of the next letter's key; the core's texts
// mean the character itself.
std::u16string MenuText(const std::u16string& text)
{
    std::u16string shown;
    for (const char16_t c : text) {
        if (c == u'&') shown += u'&';
        shown += c;
    }
    return shown;
}

// The popup menu of `items`, submenus included; null when any part of it
// could not be made, with nothing left behind.
OwnedMenu MakeMenu(const std::vector<MenuItem>& items)
{
    OwnedMenu menu(CreatePopupMenu());
    if (!menu) return nullptr;
    for (const MenuItem& item : items) {
        UINT flags = MF_STRING | (item.checked ? MF_CHECKED : MF_UNCHECKED) | (item.enabled ? MF_ENABLED : MF_GRAYED);
        UINT_PTR id = static_cast<UINT_PTR>(item.id);
        OwnedMenu submenu;
        if (item.id == 0) {
            submenu = MakeMenu(item.choices);
            if (!submenu) return nullptr;
            flags |= MF_POPUP;
            id = reinterpret_cast<UINT_PTR>(submenu.get());
        }
        if (AppendMenuW(menu.get(), flags, id, Wide(MenuText(item.text))) == FALSE) return nullptr;
        // The menu now owns its submenu and destroys it with itself.
        static_cast<void>(submenu.release());
    }
    return menu;
}

} // namespace

int TrackMenu(HWND owner, POINT at, const std::vector<MenuItem>& items)
{
    const OwnedMenu menu = MakeMenu(items);
    if (!menu) return 0;
    // The menu's own loop dispatches the owner's WM_TIMER, as a message
    // box's does; the choice comes back instead of as a WM_COMMAND.
    const BOOL chosen = TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD |
                                                       TPM_NONOTIFY,
                                       at.x, at.y, 0, owner, nullptr);
    return static_cast<int>(chosen);
}

} // namespace morvane::win32
