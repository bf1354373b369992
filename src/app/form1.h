#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "text/code_page.h"
#include "app/ports/controls.h"
#include "app/ports/files.h"
#include "app/ports/hot_keys.h"
#include "app/ports/window.h"
#include "app/gated_timer.h"
#include "app/mark_list.h"
#include "app/shown_text.h"
#include "marks/mark_file.h"
#include "player/player.h"

namespace morvane {

// Everything Form1 talks to. The front end owns these; Form1 only borrows.
struct Form1Parts {
    Window& window;
    ListBox& List1;
    TextBox& Text1;
    TextBox& Text2;
    TextBox& Text3;
    TextBox& Text4;
    TextBox& Text5;
    ScrollBar& h1;
    CheckBox& c1;
    CheckBox& c2;
    Timer& Timer1;
    Player& player;
    HotKeys& hot_keys;
    const CodePage& code_page;
    Files& files;
    // How mark files are written and read on this platform.
    Get_Content_M::Encoding mark_files = Get_Content_M::Encoding::Ansi;
    // How many entries the list holds at most.
    int entry_bound = static_cast<int>(Get_Content_M::kMaxEntries);
};

// The main window's state and one member function per event. The front end
// turns window messages into these calls and does nothing else.
class Form1 {
public:
    explicit Form1(const Form1Parts& parts);

    // --- life of the window
    // Runs before the window is first shown. false when no player runs: the
    // message has been shown and the window must end without ever showing.
    bool Form_Load();
    // The window shows: the poll starts. false when there is no timer.
    bool Window_Shown() { return timer1_.Go_Live(); }
    // The window has gone: no tick runs any more.
    void Window_Gone() { timer1_.End(); }
    void C_end_Click();

    // --- the poll tick: hot keys first, then the displays
    void Timer1_Timer();

    // --- transport and seek
    void C_Play_Click();
    void C_pause_Click();
    void C_stop_Click();
    void C_Pre_Click();
    void C_next_Click();
    void Command1_Click();  // 快退
    void Command2_Click();  // 快进
    void Command4_Click();  // 定位
    void Command5_Click();  // 复读
    void Command6_Click();  // Jump
    void h1_Change();
    void h1_Scroll();
    void List1_DblClick();
    // A character typed while the list has the focus. true when the program
    // acted on it; other characters are left to the list.
    bool List1_KeyPress(int char_code);

    // --- mark list
    void Command7_Click();  // 记录
    void Command9_Click();  // 修改
    void Command3_Click();  // 删除
    void C_up_Click();
    void C_down_Click();
    void C_clear_Click();
    void List1_Click();
    void List1_MouseMove(bool button_down, int x, int y);
    void Update_Extent();
    // The list's font has changed (a new DPI): every width is measured again.
    void List1_FontChanged();
    void C_sort_Click();
    void C_Save_Click();
    void C_Load_Click();

    // Window-level state, readable for the front end and the tests.
    const MarkList& mark_list() const { return mark_list_; }
    MarkList& mark_list() { return mark_list_; }
    std::int32_t mark_Ms() const { return mark_Ms_; }
    const std::u16string& mark_Text() const { return mark_Text_; }

private:
    // Selects through the list and runs List1_Click, as a user's selection
    // does, so the recorded selection follows every selection. false when
    // no such entry.
    bool Select_Entry(int index);
    void Show_Count();

    void Hot_Key_Step();
    // Samples every hot key and acts on none, so presses made meanwhile are spent.
    void Forget_Hot_Keys();
    // false when a step failed; the tick then restarts it once.
    bool Display_Step();
    // Sets h1's range; a range that moves the value raises h1_Change.
    void Set_h1_Range(std::int16_t min, std::int16_t max);

    void Jump_To_Entry();

    // Marks a handler that may wait in a modal window while the timer ticks.
    class Waiting_Handler {
    public:
        explicit Waiting_Handler(Form1& form) : count_(++form.handlers_waiting_) {}
        ~Waiting_Handler() { --count_; }
        Waiting_Handler(const Waiting_Handler&) = delete;
        Waiting_Handler& operator=(const Waiting_Handler&) = delete;

    private:
        int& count_;
    };

    Form1Parts ui_;
    int handlers_waiting_ = 0;

    MarkList mark_list_;
    GatedTimer timer1_;
    std::int32_t mark_Ms_ = 0;
    std::u16string mark_Text_;
    std::uintptr_t player_Wnd_ = 0;

    // What the window shows now, so that a tick rewrites only what changed.
    ShownText text1_;
    ShownText text2_;
    ShownText text3_;
    ShownText text4_;
    ShownText text5_;
    std::u16string title_;  // the last player title read
    bool caption_set_ = false;
};

} // namespace morvane
