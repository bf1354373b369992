#pragma once

#include <QString>

#include "app/platform_values.h"
#include "app/ports/window.h"

class QMessageBox;
class QWidget;

namespace morvane::qt {

class MainWindow;

// The Window port over the main window and the modal windows it owns. Each
// dialog runs its own event loop, so the timer keeps ticking under it.
class WindowAdapter final : public Window {
public:
    explicit WindowAdapter(MainWindow& window);

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
    // Where the window says the menu belongs: at the pointer, or under the
    // selected entry when the keyboard asked for it.
    int ShowMenu(const std::vector<MenuItem>& items) override;
    void Post(std::function<void()> task) override;
    void Quit() override;

private:
    // The window a dialog belongs to: the modal one already open above the
    // main window, the main window, or none while it is hidden (start-up).
    QWidget* Owner() const;
    std::optional<ChosenFile> ChooseMarkFile(bool save);

    MainWindow& window_;
    DialogFolder dialog_folder_;
};

// Plain text and Chinese buttons for a message box of this program.
void PrepareMessageBox(QMessageBox& box);

} // namespace morvane::qt
