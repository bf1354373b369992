#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/file_types.h"
#include "app/ports/menu.h"

namespace morvane {

// The main window itself and the modal windows it owns. The prompts and
// message boxes are modal but let the window's timer keep ticking.
class Window {
public:
    virtual ~Window() = default;

    virtual void SetCaption(const std::u16string& text) = 0;

    // One-line text prompt whose field takes at most `max_length`
    // characters. Returns the field's text on OK, empty text on Cancel or
    // close. An empty title shows the application's name.
    virtual std::u16string Prompt(const std::u16string& message,
                                  const std::u16string& title,
                                  const std::u16string& default_text,
                                  int max_length) = 0;

    // Information message with a single OK button.
    virtual void ShowInfo(const std::u16string& text, const std::u16string& title) = 0;
    // Warning with Yes and No; true for Yes.
    virtual bool AskYesNo(const std::u16string& text, const std::u16string& title) = 0;
    // A question with a button for each of `choices`, the last one the
    // cancel. The index of the one pressed; the last when the box was closed.
    virtual std::size_t AskChoice(const std::u16string& text, const std::u16string& title,
                                  const std::vector<std::u16string>& choices) = 0;

    // The system's save and open dialogs for mark files, offering the file
    // types of kFileFilters (the open dialog also every file). The path
    // comes back as chosen (the save dialog has asked about replacing that
    // very name), with the type chosen in the save dialog; nullopt when the
    // user cancelled or the dialog failed.
    struct ChosenFile {
        std::u16string path;
        FileType type = FileType::Marks;
    };
    virtual std::optional<ChosenFile> ChooseSavePath() = 0;
    virtual std::optional<std::u16string> ChooseOpenPath() = 0;
    // The system's open dialog for a recording (kRecordingPatterns, then
    // every file); nullopt when the user cancelled.
    virtual std::optional<std::u16string> ChooseRecordingPath() = 0;

    // A context menu at the pointer, modal like the message boxes. Returns
    // the chosen item's id, 0 when it was closed without a choice. A window
    // without context menus never shows one.
    virtual int ShowMenu(const std::vector<MenuItem>& /*items*/) { return 0; }

    // Runs `task` on the window's own thread, after the events already
    // queued; callable from any thread. A window that has gone drops it.
    virtual void Post(std::function<void()> task) = 0;

    // Ends the program: the window goes and the message loop ends.
    virtual void Quit() = 0;
};

} // namespace morvane
