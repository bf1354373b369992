#pragma once

#include <windows.h>

#include "text/code_page.h"
#include "app/platform_values.h"
#include "app/ports/window.h"

namespace morvane::win32 {

class MainWindow;

// The Window port over the main window and the modal windows it owns.
class WindowAdapter final : public Window {
public:
    WindowAdapter(MainWindow& window, const CodePage& code_page);

    void SetCaption(const std::u16string& text) override;
    std::u16string Prompt(const std::u16string& message, const std::u16string& title,
                          const std::u16string& default_text, int max_length) override;
    void ShowInfo(const std::u16string& text, const std::u16string& title) override;
    bool AskYesNo(const std::u16string& text, const std::u16string& title) override;
    std::size_t AskChoice(const std::u16string& text, const std::u16string& title,
                          const std::vector<std::u16string>& choices) override;
    std::optional<ChosenFile> ChooseSavePath() override;
    std::optional<std::u16string> ChooseOpenPath() override;
    std::optional<std::u16string> ChooseRecordingPath() override;
    int ShowMenu(const std::vector<MenuItem>& items) override;
    void Post(std::function<void()> task) override;
    void Quit() override;

private:
    MainWindow& window_;
    const CodePage& code_page_;
    DialogFolder dialog_folder_;
};

// The note prompt (IDD_PROMPT). The field's text on OK, empty text on
// Cancel, on close or when the dialog cannot be shown.
std::u16string RunPrompt(HINSTANCE instance, HWND owner, const std::u16string& message,
                          const std::u16string& title, const std::u16string& default_text, int max_length);

enum class FileDialog { Save, Open };
// The system's ANSI save or open dialog for mark files, started in `folder`,
// with the file type chosen; nullopt on cancel or failure.
std::optional<Window::ChosenFile> ChooseMarkFile(FileDialog kind, HINSTANCE instance, HWND owner,
                                                    const CodePage& code_page, const std::u16string& folder);

// The system's open dialog for a recording, in Unicode: a recording's path
// need not fit the code page. nullopt on cancel or failure.
std::optional<std::u16string> ChooseRecording(HWND owner);

} // namespace morvane::win32
