#include "app/win32/window_port.h"

#include "app/win32/main_window.h"
#include "app/win32/text.h"

namespace morvane::win32 {

void Window_Adapter::SetCaption(const std::u16string& text) { SetWindowTextW(window_.Handle(), Wide(text)); }

std::u16string Window_Adapter::Prompt(const std::u16string& message, const std::u16string& title,
                                      const std::u16string& default_text, int max_length)
{
    return Run_Prompt(window_.Instance(), window_.Dialog_Owner(), message, title, default_text, max_length);
}

void Window_Adapter::ShowInfo(const std::u16string& text, const std::u16string& title)
{
    // Before the window shows (the start-up message) the box has no owner.
    MessageBoxW(window_.Dialog_Owner(), Wide(text), Wide(title), MB_ICONINFORMATION | MB_OK);
}

bool Window_Adapter::AskYesNo(const std::u16string& text, const std::u16string& title)
{
    return MessageBoxW(window_.Dialog_Owner(), Wide(text), Wide(title), MB_ICONWARNING | MB_YESNO) == IDYES;
}

std::optional<Window::Chosen_File> Window_Adapter::ChooseSavePath()
{
    return Choose_Mark_File(File_Dialog::Save, window_.Instance(), window_.Dialog_Owner(), code_page_);
}

std::optional<std::u16string> Window_Adapter::ChooseOpenPath()
{
    auto chosen = Choose_Mark_File(File_Dialog::Open, window_.Instance(), window_.Dialog_Owner(), code_page_);
    if (!chosen) return std::nullopt;
    return std::move(chosen->path);
}

void Window_Adapter::Quit() { DestroyWindow(window_.Handle()); }

} // namespace morvane::win32
