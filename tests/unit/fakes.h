#pragma once

// Small in-memory stand-ins for every port MainForm talks to. Each one records
// what it was asked so tests can compare it with what must have happened.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/layout/control_ids.h"
#include "app/main_form.h"

// The Windows window's tests share the fakes but bring their own code page.
#if __has_include(<iconv.h>)
#include "test_code_page.h"
#define MORVANE_TEST_CODE_PAGE 1
#endif

namespace morvane::test {

// A fixed-pitch font: 6 pixels a code unit below U+0100, 12 above.
inline int FakeWidth(const std::u16string& text)
{
    int width = 0;
    for (char16_t c : text) width += c < 0x100 ? 6 : 12;
    return width;
}

// What the list shows; `room` stands for the platform running out of room.
class FakeListBox final : public ListBox {
public:
    std::vector<std::u16string> items;
    int selected = -1;
    std::size_t room = 100000;
    std::u16string tooltip;
    int extent = -1;
    int extent_sets = 0;
    bool focused = false;
    int redraws = 0;
    int item_height = 10;  // pixels per entry for ItemFromPoint

    int Count() const { return static_cast<int>(items.size()); }
    std::size_t Show(const std::vector<std::u16string>& entries) override
    {
        items.assign(entries.begin(), entries.begin() + static_cast<std::ptrdiff_t>(std::min(room, entries.size())));
        selected = -1;
        return items.size();
    }
    bool Insert(int i, const std::u16string& text) override
    {
        if (items.size() >= room) return false;
        items.insert(items.begin() + i, text);
        if (selected >= i) ++selected;
        return true;
    }
    bool Remove(int i) override
    {
        items.erase(items.begin() + i);
        if (selected == i) selected = -1;
        else if (selected > i) --selected;
        return true;
    }
    bool Select(int i) override
    {
        selected = i;
        return true;
    }
    void Redraw() override { ++redraws; }
    void Focus() override { focused = true; }
    void SetTooltip(const std::u16string& text) override { tooltip = text; }
    void SetHorizontalExtent(int pixels) override { extent = pixels; ++extent_sets; }
    int ItemFromPoint(int /*x*/, int y) const override
    {
        const int i = y / item_height;
        return y >= 0 && i < Count() ? i : -1;
    }
    // FakeWidth at `scale` times the size.
    std::optional<int> TextWidth(const std::u16string& text) const override
    {
        ++measures;
        return FakeWidth(text) * scale;
    }
    int scale = 1;
    mutable int measures = 0;
};

class FakeTextBox final : public TextBox {
public:
    std::u16string text;
    int sets = 0;
    int room = 100000;  // pixels, in the list's fake font
    void SetText(const std::u16string& t) override { text = t; ++sets; }
    bool Fits(const std::u16string& t) const override { return FakeWidth(t) <= room; }
};

class FakeScrollBar final : public ScrollBar {
public:
    std::int16_t value = 0, min = 0, max = 32767;
    std::int16_t Value() const override { return value; }
    void SetRange(std::int16_t low, std::int16_t high) override
    {
        min = low;
        max = high;
        value = std::clamp(value, min, max);
    }
};

class FakeCheckBox final : public CheckBox {
public:
    bool checked = false;
    bool Checked() const override { return checked; }
};

class FakeTimer final : public Timer {
public:
    bool running = false;
    std::int64_t now_ms = 0;
    bool Start() override { running = true; return true; }
    void Stop() override { running = false; }
    std::int64_t NowMs() const override { return now_ms; }
};

// Records every message in a log of short names, like the stand-in's log.
class FakePlayer final : public Player {
public:
    bool running = true;
    PlayState state = PlayState::Playing;
    std::int32_t position = 0, length = 245;
    int refreshes = 0;
    std::u16string title = u"1. Track - Winamp";
    std::u16string name = u"Winamp";
    std::vector<std::string> log;
    std::vector<std::int32_t> jumps;
    // Called on every query, so a test can move the clock between queries.
    std::function<void()> on_query;

    void Refresh() override { ++refreshes; }
    std::uintptr_t FindPlayer() override { return running ? 0x1234 : 0; }
    // What GetPlayState reports instead of `state`, as a link that answers
    // from what it last heard; GetExactPlayState always tells `state`.
    std::optional<PlayState> heard_state;
    PlayState GetPlayState() override
    {
        return Query("state", 1) != 0 ? heard_state.value_or(state) : PlayState::Stopped;
    }
    PlayState GetExactPlayState() override { return Query("exact state", 1) != 0 ? state : PlayState::Stopped; }
    std::int32_t GetPositionMs() override { return Query("position", position); }
    std::int32_t GetLengthSec() override { return Query("length", length); }
    void JumpToMs(std::int32_t ms) override
    {
        if (!running) return;
        log.push_back("jump " + std::to_string(ms));
        jumps.push_back(ms);
    }
    void CmdPrev() override { Command("prev"); }
    void CmdPlay() override { Command("play"); }
    void CmdPause() override { Command("pause"); }
    void CmdStop() override { Command("stop"); }
    void CmdNext() override { Command("next"); }
    bool ReadTitle(std::u16string& out) override
    {
        if (!running) return false;
        log.push_back("title");
        out = title;
        return true;
    }
    // A player that can change its speed, as over MPRIS; Winamp cannot.
    std::optional<double> speed;
    bool CanChangeSpeed() override { return running && speed.has_value(); }
    double Speed() override { return CanChangeSpeed() ? *speed : 1.0; }
    void SetSpeed(double rate) override
    {
        if (!CanChangeSpeed()) return;
        log.push_back("speed " + std::to_string(rate).substr(0, 4));
        speed = rate;
    }
    std::u16string file_path;  // the file it says it plays
    std::u16string FilePath() override { return file_path; }
    std::u16string Name() override { return name; }
    std::u16string NotFoundMessage() override
    {
        return u"Winamp没有运行或版本不对!\r\n请先打开Winamp并使用1.xx或2.xx版本";
    }

    // The log without queries: what the player was told to do.
    std::vector<std::string> Commands() const
    {
        std::vector<std::string> out;
        for (const auto& line : log)
            if (line != "state" && line != "exact state" && line != "position" && line != "length" &&
                line != "title")
                out.push_back(line);
        return out;
    }

private:
    std::int32_t Query(const char* name, std::int32_t value)
    {
        if (!running) return 0;
        log.push_back(name);
        if (on_query) on_query();
        return value;
    }
    void Command(const char* name)
    {
        if (running) log.push_back(name);
    }
};

// Actions held down and pressed since the last ask.
class FakeHotKeys final : public HotKeys {
public:
    std::map<HotKey, bool> pressed;
    bool tells_input = false;  // answers InputSinceLastCheck as a sampling source can
    bool input = false;

    void Press(HotKey action) { pressed[action] = input = true; }

    bool Pressed(HotKey action) override { return std::exchange(pressed[action], false); }
    bool InputSinceLastCheck() override { return !tells_input || std::exchange(input, false); }
};

class FakeWindow final : public Window {
public:
    struct PromptCall {
        std::u16string message, title, default_text;
        int max_length;
    };
    std::u16string caption;
    int caption_sets = 0;
    std::vector<PromptCall> prompts;
    std::deque<std::u16string> answers;  // empty text when none is queued
    std::function<void()> during_prompt;
    std::vector<std::pair<std::u16string, std::u16string>> messages;  // text, title
    bool yes = true;
    std::optional<std::u16string> save_path, open_path, recording_path;
    FileType save_type = FileType::Marks;
    int save_dialogs = 0, open_dialogs = 0;
    bool quit = false;

    void SetCaption(const std::u16string& text) override { caption = text; ++caption_sets; }
    std::u16string Prompt(const std::u16string& message, const std::u16string& title,
                          const std::u16string& default_text, int max_length) override
    {
        prompts.push_back({message, title, default_text, max_length});
        if (during_prompt) during_prompt();
        if (answers.empty()) return {};
        std::u16string answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void ShowInfo(const std::u16string& text, const std::u16string& title) override
    {
        messages.emplace_back(text, title);
    }
    bool AskYesNo(const std::u16string& text, const std::u16string& title) override
    {
        messages.emplace_back(text, title);
        return yes;
    }
    std::size_t choice = 0;  // the button AskChoice presses
    std::size_t AskChoice(const std::u16string& text, const std::u16string& title,
                          const std::vector<std::u16string>& /*choices*/) override
    {
        messages.emplace_back(text, title);
        return choice;
    }
    std::optional<ChosenFile> ChooseSavePath() override
    {
        ++save_dialogs;
        if (!save_path) return std::nullopt;
        return ChosenFile{*save_path, save_type};
    }
    std::optional<std::u16string> ChooseOpenPath() override { ++open_dialogs; return open_path; }
    std::optional<std::u16string> ChooseRecordingPath() override { return recording_path; }
    std::vector<MenuItem> menu;  // the last one shown
    int menu_choice = 0;
    int ShowMenu(const std::vector<MenuItem>& items) override { menu = items; return menu_choice; }
    void Quit() override { quit = true; }

    // Tasks posted from any thread wait until the test runs them.
    std::mutex posted_mutex;
    std::deque<std::function<void()>> posted;
    void Post(std::function<void()> task) override
    {
        const std::lock_guard lock(posted_mutex);
        posted.push_back(std::move(task));
    }
    // Runs what was posted until `done` holds or `limit_ms` has passed.
    bool RunPosted(const std::function<bool()>& done, int limit_ms = 10000)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limit_ms);
        while (!done()) {
            std::function<void()> task;
            {
                const std::lock_guard lock(posted_mutex);
                if (!posted.empty()) {
                    task = std::move(posted.front());
                    posted.pop_front();
                }
            }
            if (task) task();
            else if (std::chrono::steady_clock::now() > end) return false;
            else std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }
};

// Files in memory; a path listed in `unreadable` or `unwritable` fails with
// the system's words given there.
class FakeFiles final : public Files {
public:
    std::map<std::u16string, std::string> files;
    std::map<std::u16string, std::u16string> unreadable;  // path -> reason
    std::map<std::u16string, std::u16string> unwritable;
    std::vector<std::u16string> read_only;
    std::size_t largest_read = 0;  // the largest size a read was allowed

    ReadResult ReadAll(const std::u16string& path, std::size_t max_bytes) override
    {
        largest_read = max_bytes;
        ReadResult result;
        if (auto bad = unreadable.find(path); bad != unreadable.end()) {
            result.error = FileError{FileError::Kind::SystemWords, bad->second};
            return result;
        }
        auto file = files.find(path);
        if (file == files.end()) {
            result.error = FileError{FileError::Kind::NotFound};
            return result;
        }
        if (file->second.size() > max_bytes) {
            result.error = FileError{FileError::Kind::TooLarge};
            return result;
        }
        result.ok = true;
        result.bytes = file->second;
        return result;
    }
    bool Exists(const std::u16string& path) override { return files.count(path) != 0; }
    bool ReadOnly(const std::u16string& path) override { return std::ranges::count(read_only, path) != 0; }
    std::optional<FileError> WriteReplacing(const std::u16string& path, const std::string& bytes) override
    {
        if (auto bad = unwritable.find(path); bad != unwritable.end())
            return FileError{FileError::Kind::SystemWords, bad->second};
        files[path] = bytes;
        return std::nullopt;
    }
    bool MakeFolder(const std::u16string& /*path*/) override { return true; }
};

#ifdef MORVANE_TEST_CODE_PAGE
// A MainForm wired to a full set of fakes, each control by its layout id.
struct Rig : ControlSet {
    FakeWindow window;
    FakeListBox list_box;
    FakeTextBox count_line, state_line, time_line, mark_line, seek_time;
    FakeScrollBar seek_bar;
    FakeCheckBox ask_note, pause_for_note;
    FakeTimer poll_clock;
    FakePlayer player;
    FakeHotKeys hot_keys;
    TestCodePage code_page;
    FakeFiles files;

    ListBox& List(int) override { return list_box; }
    TextBox& Text(int id) override
    {
        switch (id) {
        case IDC_COUNT_LINE: return count_line;
        case IDC_STATE_LINE: return state_line;
        case IDC_TIME_LINE: return time_line;
        case IDC_MARK_LINE: return mark_line;
        default: return seek_time;
        }
    }
    ScrollBar& Bar(int) override { return seek_bar; }
    CheckBox& Check(int id) override { return id == IDC_ASK_NOTE ? ask_note : pause_for_note; }

    std::u16string data_folder;  // empty: nothing is kept by itself
    MainForm form{Ports{*this, window, poll_clock, player, code_page, files, mark_file::Encoding::Ansi, data_folder},
                  hot_keys};

    explicit Rig(std::u16string folder = {}) : data_folder(std::move(folder)) { form.Window_Shown(); }

    // Entries in the list before the test acts, as a loaded file puts them.
    void Show(std::vector<std::u16string> entries) { form.mark_list().Assign(std::move(entries)); }
};
#endif

} // namespace morvane::test
