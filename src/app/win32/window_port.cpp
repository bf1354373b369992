#include "app/win32/window_port.h"

#include "app/win32/main_window.h"
#include "app/win32/popup_menu.h"
#include "app/win32/text.h"

namespace morvane::win32 {

void WindowAdapter::SetCaption(const std::u16string& text) { SetWindowTextW(window_.Handle(), Wide(text)); }

std::u16string WindowAdapter::Prompt(const std::u16string& message, const std::u16string& title,
                                      const std::u16string& default_text, int max_length)
{
    return RunPrompt(window_.Instance(), window_.DialogOwner(), message, title, default_text, max_length);
}

void WindowAdapter::ShowInfo(const std::u16string& text, const std::u16string& title)
{
    // Before the window shows (the start-up message) the box has no owner.
    MessageBoxW(window_.DialogOwner(), Wide(text), Wide(title), MB_ICONINFORMATION | MB_OK);
}

bool WindowAdapter::AskYesNo(const std::u16string& text, const std::u16string& title)
{
    return MessageBoxW(window_.DialogOwner(), Wide(text), Wide(title), MB_ICONWARNING | MB_YESNO) == IDYES;
}

std::optional<Window::ChosenFile> WindowAdapter::ChooseSavePath()
{
    return ChooseMarkFile(FileDialog::Save, window_.Instance(), window_.DialogOwner(), code_page_);
}

std::optional<std::u16string> WindowAdapter::ChooseOpenPath()
{
    auto chosen = ChooseMarkFile(FileDialog::Open, window_.Instance(), window_.DialogOwner(), code_page_);
    if (!chosen) return std::nullopt;
    return std::move(chosen->path);
}

int WindowAdapter::ShowMenu(const std::vector<MenuItem>& items)
{
    return TrackMenu(window_.Handle(), window_.MenuPoint(), items);
}

void WindowAdapter::Post(std::function<void()> task) { window_.Post(std::move(task)); }

void WindowAdapter::Quit() { DestroyWindow(window_.Handle()); }

} // namespace morvane::win32
