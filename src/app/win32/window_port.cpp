#include "app/win32/window_port.h"

#include <commctrl.h>

#include <vector>

#include "app/win32/main_window.h"
#include "app/win32/popup_menu.h"
#include "app/win32/program_folder.h"
#include "app/win32/text.h"

namespace morvane::win32 {
namespace {

// The folder that holds morvane.exe, without its last separator.
std::u16string ProgramFolderText()
{
    std::wstring path = ProgramFolder();
    if (path.empty()) return {};
    path.pop_back();
    return FromWide(path.c_str(), path.size());
}

} // namespace

WindowAdapter::WindowAdapter(MainWindow& window, const CodePage& code_page)
    : window_(window), code_page_(code_page), dialog_folder_(kWindowsValues.dialog_start, ProgramFolderText())
{
}

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

std::size_t WindowAdapter::AskChoice(const std::u16string& text, const std::u16string& title,
                                     const std::vector<std::u16string>& choices)
{
    // Ids of their own, so that no button is taken for the system's IDOK or IDCANCEL.
    constexpr int kFirstChoiceId = 1000;
    std::vector<TASKDIALOG_BUTTON> buttons;
    for (std::size_t i = 0; i < choices.size(); ++i)
        buttons.push_back({kFirstChoiceId + static_cast<int>(i), Wide(choices[i])});
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof config;
    config.hwndParent = window_.DialogOwner();
    config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_POSITION_RELATIVE_TO_WINDOW;
    config.pszWindowTitle = Wide(title);
    config.pszMainIcon = TD_INFORMATION_ICON;
    config.pszContent = Wide(text);
    config.cButtons = static_cast<UINT>(buttons.size());
    config.pButtons = buttons.data();
    config.nDefaultButton = kFirstChoiceId;
    int pressed = 0;
    if (FAILED(TaskDialogIndirect(&config, &pressed, nullptr, nullptr))) return choices.size() - 1;
    const auto index = static_cast<std::size_t>(pressed - kFirstChoiceId);
    return pressed >= kFirstChoiceId && index < choices.size() ? index : choices.size() - 1;
}

std::optional<std::u16string> WindowAdapter::ChooseRecordingPath()
{
    return ChooseRecording(window_.DialogOwner());
}

std::optional<Window::ChosenFile> WindowAdapter::ChooseSavePath()
{
    auto chosen = ChooseMarkFile(FileDialog::Save, window_.Instance(), window_.DialogOwner(), code_page_,
                                 dialog_folder_.Start());
    if (chosen) dialog_folder_.Chosen(chosen->path);
    return chosen;
}

std::optional<std::u16string> WindowAdapter::ChooseOpenPath()
{
    auto chosen = ChooseMarkFile(FileDialog::Open, window_.Instance(), window_.DialogOwner(), code_page_,
                                 dialog_folder_.Start());
    if (!chosen) return std::nullopt;
    dialog_folder_.Chosen(chosen->path);
    return std::move(chosen->path);
}

int WindowAdapter::ShowMenu(const std::vector<MenuItem>& items)
{
    return TrackMenu(window_.Handle(), window_.MenuPoint(), items);
}

void WindowAdapter::Post(std::function<void()> task) { window_.Post(std::move(task)); }

void WindowAdapter::Quit() { DestroyWindow(window_.Handle()); }

} // namespace morvane::win32
