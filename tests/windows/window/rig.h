#pragma once

// The real Windows window in this process, over the unit tests' fake player
// and keyboard: clicks go to the real buttons, texts are read from the real
// controls, and the real timer drives the poll while the rig pumps messages.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/win32/app.h"
#include "disk_files.h"
#include "readouts.h"
#include "screenshot.h"
#include "fakes.h"

namespace morvane::test {

class WindowRig : public ::testing::Test {
protected:
    void SetUp() override;
    // Set before SetUp to start against another player.
    void Start();

    HWND Main() { return app.Window().Handle(); }
    HWND Control(int id) { return app.Control(id); }
    // Clicks the button as the mouse would and serves what follows.
    void Click(int id);
    void SetCheck(int id, bool checked);
    std::wstring Text(HWND window);
    std::wstring Text(int id) { return Text(Control(id)); }
    std::vector<std::wstring> Entries();
    int Selection();
    void Select(int index);

    // Serves the window's messages (so the poll ticks) until `ready` holds
    // or timeout_ms have passed; the last value of `ready`.
    bool PumpUntil(const std::function<bool()>& ready, DWORD timeout_ms = 3000);
    void Pump(DWORD ms) { PumpUntil([] { return false; }, ms); }
    // Waits until the control shows `want`; on failure the test reports what it showed.
    void ExpectShows(HWND window, const std::wstring& want);
    void ExpectShows(int id, const std::wstring& want) { ExpectShows(Control(id), want); }

    // The next modal dialog of this thread (a message box, the note prompt,
    // a file dialog) is handed to `answer` while it is open, again and again
    // until `answer` returns true: it has closed it. Answers given one after
    // another serve the dialogs that open one after another.
    void AnswerNextDialog(std::function<bool(HWND dialog)> answer);
    // Types the path into the next file dialog and presses OK.
    void AnswerFileDialog(const std::wstring& path);
    // Presses the next message box's button; what it showed goes to `seen`.
    struct BoxSeen {
        std::wstring title, text;
        int buttons = 0;
        HICON icon = nullptr;
    };
    void AnswerBox(int button, BoxSeen* seen = nullptr);
    // Clicks the button and answers the note prompt it opens with `note`
    // (IDOK) or cancels it (nullopt); what the prompt showed.
    struct PromptSeen {
        std::wstring title, message, text;
    };
    PromptSeen ClickAndAnswerPrompt(int id, std::optional<std::wstring> note);

    FakePlayer player;
    FakeHotKeys hot_keys;
    win32::App app{player, hot_keys};
    bool auto_start = true;
};

// The text's width in the face at 9 pt and 96 DPI, as the window's controls
// draw it, and whether the face has the Chinese character set.
struct Measured {
    int width = 0;
    bool chinese = false;
};
Measured TextWidth(const wchar_t* face, const std::wstring& text);

using e2e::SaveWindowBmp;

using e2e::kPaused;
using e2e::kPlaying;
using e2e::kStopped;
using e2e::MarkLine;
using e2e::OutPath;
using e2e::ShortTime;
using e2e::Stamp;

} // namespace morvane::test
