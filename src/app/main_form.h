#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/ports/hot_keys.h"
#include "app/ports/ports.h"
#include "app/gated_timer.h"
#include "app/keeping/keep_control.h"
#include "app/mark_editor.h"
#include "app/mark_files.h"
#include "app/practice_control.h"
#include "app/shown_text.h"
#include "app/splitting/split_control.h"
#include "app/state_notice.h"

namespace morvane {

// The main window: one member function per event, each turned into a call
// to the part that does the work (the list's editing, its files, practice)
// or to the player. The front end turns window messages into these calls
// and does nothing else.
class MainForm {
public:
    MainForm(const Ports& ports, HotKeys& hot_keys);

    // --- life of the window
    // Runs before the window is first shown. false when no player runs: the
    // message has been shown and the window must end without ever showing.
    bool Form_Load();
    // The window shows: the poll starts. false when there is no timer.
    bool Window_Shown() { return poll_timer_.GoLive(); }
    // The window has gone: no tick runs any more, no search for sentences
    // goes on, and a list 退出 would throw away is kept to be offered again.
    void Window_Gone();
    void End_Click();
    // The click of the button with layout id `id`: its handler below runs.
    // false when no button has that id.
    bool Button_Click(int id);
    // Enter while control `focused_id` (a layout id; 0: none of the window's)
    // has the focus presses that control when it is a button. false when it
    // is none, so the key goes on as the platform would take it.
    bool Window_EnterPress(int focused_id);

    // --- the poll tick: hot keys first, then the displays
    void Poll_Tick();

    // --- transport and seek
    void Play_Click();
    void Pause_Click();
    void Stop_Click();
    void Previous_Click();
    void Next_Click();
    void Back_Click();  // 快退
    void Forward_Click();  // 快进
    void Mark_Click();  // 定位
    void Repeat_Click();  // 复读
    void Jump_Click();  // Jump
    void Seek_Bar_Change();
    void Seek_Bar_Scroll();
    void Mark_List_DblClick();
    // A character typed while the list has the focus. true when the program
    // acted on it; other characters are left to the list.
    bool Mark_List_KeyPress(int char_code);

    // --- mark list
    void Record_Click();  // 记录
    void Edit_Note_Click();  // 修改
    void Delete_Click();  // 删除
    void Move_Up_Click();
    void Move_Down_Click();
    void Clear_Click();
    // The user selected entry `index` (-1: none) in the list.
    void Mark_List_Click(int index);
    void Mark_List_MouseMove(bool button_down, int x, int y);
    void UpdateExtent();
    // The list's font has changed (a new DPI): every width is measured again.
    void Mark_List_FontChanged();
    void Sort_Click();
    void Save_Click();
    void Load_Click();

    // --- practice: repeating a passage, speed, rewind, step, marks in time order
    // Takes settings.ini's `text` (empty: the defaults); the menu's choices
    // are written back to `path`, or nowhere when it is empty. Returns the
    // message naming its faulty lines, empty when there are none.
    std::u16string UseSettings(std::u16string path, std::string text);
    // A right click on the list over the entry at `index` (-1: none there):
    // the window shows the context menu and the choice is carried out.
    void Mark_List_RightClick(int index);
    // That menu, and what each of its items does.
    std::vector<MenuItem> Mark_List_ContextMenu(int index);
    void Context_Menu_Click(int id);
    void Repeat_Passage_Click(int index);  // 复读这一段
    void Stop_Repeat_Click();  // 停止复读
    void Loop_Click();  // the loop key: repeats around the position, or stops
    void Previous_Mark_Click();  // 跳到上一条
    void Next_Mark_Click();  // 跳到下一条
    void Slower_Click();
    void Faster_Click();
    void Passes_Click(std::optional<int> passes);  // nullopt: unlimited
    void Gap_Click(int ms);
    void Speed_Click(double rate);
    void Rewind_Click(int ms);
    void Step_Click(int ms);
    const Practice& practice() const { return practice_.Repetition(); }

    // --- sentences, and the list kept
    void Split_Click();  // 自动分句, 停止分句, the split key
    void Keep_With_Recording_Click();  // 标记随录音保存
    void Recover_Click();  // 恢复上次退出时的标记

    // Window-level state, readable for the front end and the tests.
    const MarkList& mark_list() const { return marks_.Marks(); }
    MarkList& mark_list() { return marks_.Marks(); }
    std::int32_t mark_ms() const { return mark_ms_; }
    const std::u16string& mark_text() const { return mark_text_; }

private:
    void HotKeyStep();
    // Samples every hot key and acts on none, so presses made meanwhile are spent.
    void ForgetHotKeys();
    void DisplayStep();
    // Sets seek_bar's range; a range that moves the value raises Seek_Bar_Change.
    void SetSeekRange(std::int16_t min, std::int16_t max);

    void JumpToEntry();
    // The list's changes and the recording the player plays, for the marks
    // kept with it and a search under way; the file is asked once a second.
    void KeepStep(std::int64_t now_ms);

    // Marks a handler that may wait in a modal window while the timer ticks.
    class WaitingHandler {
    public:
        explicit WaitingHandler(MainForm& form) : count_(++form.handlers_waiting_) {}
        ~WaitingHandler() { --count_; }
        WaitingHandler(const WaitingHandler&) = delete;
        WaitingHandler& operator=(const WaitingHandler&) = delete;

    private:
        int& count_;
    };

    Ports ports_;
    HotKeys& hot_keys_;
    // The controls the form itself reads and writes.
    ListBox& list_box_;
    ScrollBar& seek_bar_;
    CheckBox& ask_note_;
    CheckBox& pause_for_note_;
    int handlers_waiting_ = 0;
    bool hot_keys_all_asked_ = false;  // the last hot-key step asked every action

    MarkEditor marks_;
    MarkFiles mark_files_;
    PracticeControl practice_;
    StateNotice notice_;
    splitting::SplitControl split_;
    keeping::KeepControl keep_;
    std::u16string recording_;  // the file the player said it plays
    std::optional<std::int64_t> recording_asked_ms_;
    GatedTimer poll_timer_;
    std::int32_t mark_ms_ = 0;
    std::u16string mark_text_;
    int menu_index_ = -1;  // the entry the context menu was opened over

    // What the window shows now, so that a tick rewrites only what changed.
    ShownText state_line_;
    ShownText time_line_;
    ShownText mark_line_;
    ShownText seek_time_;
    std::optional<ShownText> player_frame_;  // where the frame names the player
    std::u16string title_;  // the last player title read
    bool caption_set_ = false;
};

} // namespace morvane
