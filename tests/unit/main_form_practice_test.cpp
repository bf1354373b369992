#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "fakes.h"

namespace morvane::test {
namespace {

const std::u16string kSettings = u"/home/u/.config/morvane/settings.ini";

// A started window over marks at 10, 20 and 14 s (in that list order) whose
// player does what it is told and plays on while the clock runs. It stands
// at 30 s, playing.
struct PracticeRig : Rig {
    explicit PracticeRig(const std::string& file = {})
    {
        EXPECT_TRUE(form.Form_Load());
        load_message = form.UseSettings(kSettings, file);
        Show({u"[000:10:000] 一", u"[000:20:000] 三", u"[000:14:000] 二"});
        player.position = 30000;
    }
    // `ms` of 10 ms ticks, the player carrying out each command before the
    // next tick, or a slow one every third tick.
    void Run(int ms)
    {
        for (int t = 0; t < ms; t += 10) {
            if (!slow || t % 30 == 0) Obey();
            poll_clock.now_ms += 10;
            if (player.state == PlayState::Playing) player.position += 10;
            form.Poll_Tick();
        }
        Obey();
    }
    void Obey()
    {
        // With a lag, what was asked `lag` calls ago is carried out now.
        heard.push_back(player.log.size());
        std::size_t due = obeyed;
        if (heard.size() > static_cast<std::size_t>(lag)) due = heard.front(), heard.pop_front();
        for (PlayState& state = player.state; obeyed < due; ++obeyed) {
            const std::string& command = player.log[obeyed];
            if (command.starts_with("jump ")) player.position = std::max(0, std::stoi(command.substr(5)));
            if (command == "pause" && state != PlayState::Stopped)
                state = state == PlayState::Playing ? PlayState::Paused : PlayState::Playing;
            if (command == "play" || command == "stop") state = command == "play" ? PlayState::Playing : PlayState::Stopped;
            if (command == "next") player.length = 100, player.position = 0;
        }
    }
    long JumpsTo(std::int32_t ms) const { return std::ranges::count(player.jumps, ms); }
    // A choice of the context menu: `group`'s item `text`, or the group itself.
    const MenuItem& Item(const std::u16string& group, const std::u16string& text = {})
    {
        menu = form.Mark_List_ContextMenu(-1);
        const MenuItem& found = *std::ranges::find(menu, group, &MenuItem::text);
        return text.empty() ? found : *std::ranges::find(found.choices, text, &MenuItem::text);
    }

    std::u16string load_message;
    std::vector<MenuItem> menu;
    std::size_t obeyed = 0;
    bool slow = false;
    int lag = 0;
    std::deque<std::size_t> heard;
};

TEST(Practice, PassesWithAPauseBetweenThenPlaysOn)
{
    PracticeRig r("passes = 3\ngap = 1\nrewind = 2\n");
    r.player.state = PlayState::Paused;
    r.form.Repeat_Passage_Click(0);  // 10 s to the next mark in time, 14 s
    r.Run(4000);
    EXPECT_EQ(r.state_line.text, u"Winamp复读第1/3遍......");
    r.Run(500);
    // Back on the first tick at B, and the pause is not counted as the user's.
    EXPECT_EQ(r.player.state, PlayState::Paused);
    EXPECT_EQ(r.player.position, 14000);
    EXPECT_EQ(r.state_line.text, u"Winamp复读第1/3遍后停顿......");
    r.Run(600);
    EXPECT_EQ(r.state_line.text, u"Winamp复读第2/3遍......");
    EXPECT_EQ(r.JumpsTo(10000), 2);
    r.Run(11000);
    EXPECT_EQ(r.JumpsTo(10000), 3);
    EXPECT_EQ(r.player.jumps.size(), 3u);  // no rewind after a gap
    EXPECT_EQ(r.state_line.text, u"Winamp处于播放状态......");
}

TEST(Practice, LoopKeyRepeatsAroundThePositionAndTheLastMarkRunsToTheEnd)
{
    PracticeRig r;
    r.slow = true;
    r.player.length = 25;
    r.player.position = 5000;  // before every mark: nothing to repeat
    r.hot_keys.Press(HotKey::Loop);
    r.Run(10);
    EXPECT_FALSE(r.form.practice().Repeating());

    r.player.position = 21000;
    r.hot_keys.Press(HotKey::Loop);
    r.Run(10);
    EXPECT_EQ(r.JumpsTo(20000), 1);
    r.Run(9600);  // unlimited, with no pause, to just short of the end
    EXPECT_EQ(r.JumpsTo(20000), 3);
    EXPECT_EQ(r.player.Commands().size(), 3u);
    r.hot_keys.Press(HotKey::Loop);
    r.Run(5000);
    EXPECT_EQ(r.JumpsTo(20000), 3);
}

TEST(Practice, WhatEndsARepetitionAndWhatKeepsIt)
{
    const struct {
        const char* what;
        std::function<void(PracticeRig&)> act;
        bool keeps;
    } cases[] = {
        {"停止复读", [](PracticeRig& r) { r.form.Stop_Repeat_Click(); }, false},
        {"the loop key", [](PracticeRig& r) { r.hot_keys.Press(HotKey::Loop); }, false},
        {"停止", [](PracticeRig& r) { r.form.Stop_Click(); }, false},
        {"Jump", [](PracticeRig& r) { r.seek_bar.value = 100; r.form.Jump_Click(); }, false},
        {"double-click on B's entry", [](PracticeRig& r) { r.form.Mark_List_Click(2); r.form.Mark_List_DblClick(); }, false},
        {"下首", [](PracticeRig& r) { r.form.Next_Click(); }, false},
        {"a seek in the player", [](PracticeRig& r) { r.player.position = 60000; }, false},
        {"the player going away", [](PracticeRig& r) { r.player.running = false; }, false},
        {"跳到下一条", [](PracticeRig& r) { r.form.Next_Mark_Click(); }, false},
        {"快退 past A", [](PracticeRig& r) { r.form.Back_Click(); }, true},
        {"快进", [](PracticeRig& r) { r.form.Forward_Click(); }, true},
        {"a pause inside", [](PracticeRig& r) { r.form.Pause_Click(); r.Run(300); r.form.Pause_Click(); }, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PracticeRig r;
        r.form.Repeat_Passage_Click(0);
        r.Run(1000);
        c.act(r);
        r.Run(300);
        EXPECT_EQ(r.form.practice().Repeating(), c.keeps);
        r.player.running = true;
        r.Run(5000);
        EXPECT_EQ(r.JumpsTo(10000) > 1, c.keeps);
    }
}

TEST(Practice, RewindsOnAnyResumeOfTheUsersButNotBeforeThePassage)
{
    PracticeRig r("rewind = 2");
    const auto pause_and_resume = [&r](bool in_the_player) {
        r.Run(100);
        in_the_player ? void(r.player.state = PlayState::Paused) : r.form.Pause_Click();
        r.Run(500);
        in_the_player ? void(r.player.state = PlayState::Playing) : r.form.Pause_Click();
        r.Run(20);
    };
    pause_and_resume(false);
    pause_and_resume(true);
    ASSERT_EQ(r.player.jumps.size(), 2u);
    EXPECT_NEAR(r.player.jumps[0], 28100, 20);
    EXPECT_NEAR(r.player.jumps[1], 26200, 30);

    r.form.Repeat_Passage_Click(0);
    r.Run(400);
    pause_and_resume(false);
    EXPECT_EQ(r.JumpsTo(10000), 2);
    EXPECT_TRUE(r.form.practice().Repeating());

    // The pause while a note is typed holds the tick; the resume after it
    // still rewinds, from where the note was stamped.
    r.form.Stop_Repeat_Click();
    r.ask_note.checked = r.pause_for_note.checked = true;
    r.window.answers.push_back(u"x");
    const std::int32_t stamped = r.player.position;
    r.form.Record_Click();
    EXPECT_EQ(r.player.jumps.back(), stamped - 2000);
    EXPECT_EQ(r.player.log.back(), "play");
    r.Run(100);
    EXPECT_EQ(r.player.jumps.back(), stamped - 2000);
}

TEST(Practice, MarksInTimeOrderAndTheStepSize)
{
    PracticeRig r;
    r.player.position = 16000;
    for (int i = 0; i < 3; ++i) r.form.Previous_Mark_Click(), r.Obey();
    for (int i = 0; i < 3; ++i) r.form.Next_Mark_Click(), r.Obey();
    EXPECT_EQ(r.player.jumps, (std::vector<std::int32_t>{14000, 10000, 14000, 20000}));

    r.form.Step_Click(5000), r.form.Back_Click();
    EXPECT_EQ(r.player.jumps.back(), 15000);
}

TEST(Practice, SpeedWhereThePlayerCanAndOneReasonWhereItCannot)
{
    PracticeRig winamp;
    winamp.form.Slower_Click();
    winamp.form.Faster_Click();
    EXPECT_EQ(winamp.window.messages.size(), 1u);
    for (const MenuItem& item : winamp.Item(u"播放速度").choices) EXPECT_FALSE(item.enabled);

    PracticeRig r("speed = 0.9");
    r.player.speed = 1.0;
    r.Run(10);
    EXPECT_DOUBLE_EQ(*r.player.speed, 0.9);
    r.form.Faster_Click();
    EXPECT_NEAR(*r.player.speed, 0.95, 1e-9);
    r.player.speed = 0.750188;  // as VLC reports 0.75
    EXPECT_TRUE(r.Item(u"播放速度", u"0.75 倍").checked);
    r.form.Slower_Click();
    EXPECT_NEAR(*r.player.speed, 0.7, 1e-9);
    EXPECT_EQ(r.files.files[kSettings], "speed = 0.7");
    EXPECT_TRUE(r.window.messages.empty());
}

TEST(Practice, MenuChoicesAreWrittenBackKeepingTheUsersLines)
{
    PracticeRig r("; mine\nfoo = 1\n");
    EXPECT_NE(r.load_message.find(u"第 2 行"), std::u16string::npos);
    r.window.menu_choice = r.form.Mark_List_ContextMenu(1).front().id;
    r.form.Mark_List_RightClick(1);
    std::vector<std::u16string> texts;
    for (const MenuItem& item : r.window.menu) texts.push_back(item.text);
    EXPECT_EQ(texts, (std::vector<std::u16string>{u"复读这一段", u"复读遍数", u"每遍之间停顿", u"播放速度",
                                                  u"继续播放时回退", u"快退/快进步长", u"跳到上一条", u"跳到下一条",
                                                  u"自动分句", u"分句停顿", u"标记随录音保存"}));
    EXPECT_TRUE(r.Item(u"复读遍数", u"不限").checked && r.Item(u"快退/快进步长", u"2 秒").checked);

    EXPECT_EQ(r.list_box.selected, 1);
    EXPECT_EQ(r.player.jumps.back(), 20000);
    EXPECT_EQ(r.form.Mark_List_ContextMenu(1).front().text, u"停止复读");
    r.form.Context_Menu_Click(r.Item(u"复读遍数", u"3 遍").id);
    r.form.Context_Menu_Click(r.Item(u"每遍之间停顿", u"2 秒").id);
    EXPECT_EQ(r.files.files[kSettings], "; mine\nfoo = 1\npasses = 3\ngap = 2\n");
}

// Each case fails when what the user sees of a repetition or a mark key breaks.
TEST(Practice, WhatTheUserSeesOfRepetitionsAndMarkKeys)
{
    // 复读遍数 3 with a pause between, on a player that shows its pause late:
    // both gaps are real pauses and the last pass plays on.
    {
        PracticeRig r("passes = 3\ngap = 1\n");
        r.lag = 2;
        r.form.Repeat_Passage_Click(0);
        int paused_ticks = 0, gaps = 0;
        for (int t = 0; t < 16000; t += 10) {
            const bool was_paused = r.player.state == PlayState::Paused;
            r.Run(10);
            if (r.player.state == PlayState::Paused) gaps += !was_paused, ++paused_ticks;
        }
        EXPECT_EQ(gaps, 2);
        EXPECT_NEAR(paused_ticks, 200, 10);
        EXPECT_EQ(r.JumpsTo(10000), 3);
        EXPECT_EQ(r.player.state, PlayState::Playing);
        EXPECT_FALSE(r.form.practice().Repeating());
    }
    // Shadowing: a pause twice as long as the 4 s passage.
    {
        PracticeRig r("passes = 2\ngap = 2passage\n");
        r.form.Repeat_Passage_Click(0);
        int paused_ticks = 0;
        for (int t = 0; t < 20000; t += 10) {
            r.Run(10);
            paused_ticks += r.player.state == PlayState::Paused;
        }
        EXPECT_NEAR(paused_ticks, 800, 10);
        EXPECT_EQ(r.JumpsTo(10000), 2);
    }
    // 复读这一段 on a stopped player repeats the passage, never past B.
    {
        PracticeRig r;
        r.player.state = PlayState::Stopped;
        r.form.Repeat_Passage_Click(0);
        std::int32_t furthest = 0;
        for (int t = 0; t < 9000; t += 10) r.Run(10), furthest = std::max(furthest, r.player.position);
        EXPECT_GE(r.JumpsTo(10000), 2);
        EXPECT_LT(furthest, 14500);
        EXPECT_EQ(r.player.state, PlayState::Playing);
    }
    // 跳到上一条 pressed again and again while playing, on a player whose
    // position shows a jump a moment late, goes one mark back each time.
    {
        PracticeRig r;
        r.lag = 3;
        r.player.position = 25000;
        for (int i = 0; i < 3; ++i) r.form.Previous_Mark_Click(), r.Run(10);
        EXPECT_EQ(r.player.jumps, (std::vector<std::int32_t>{20000, 14000, 10000}));
    }
    // The loop key on a mark repeats the passage that starts there.
    for (const std::int32_t on : {10000, 14000}) {
        PracticeRig r;
        r.player.position = on;
        r.form.Loop_Click();
        r.Run(6000);
        EXPECT_GE(r.JumpsTo(on), 2) << on;
        EXPECT_EQ(r.JumpsTo(on == 10000 ? 14000 : 10000), 0) << on;
    }
    // The file's speed goes to the player once; the user's own change stays.
    {
        PracticeRig r("speed = 0.9");
        r.player.speed = 1.0;
        r.Run(100);
        r.player.speed = 1.2;
        r.Run(1000);
        EXPECT_EQ(r.player.Commands(), (std::vector<std::string>{"speed 0.90"}));
        EXPECT_DOUBLE_EQ(*r.player.speed, 1.2);
    }
    // A repetition started just after a pause in the player's own window,
    // before the link has heard of it, still plays.
    {
        PracticeRig r;
        r.player.position = 12000;
        r.Run(100);
        r.player.state = PlayState::Paused;
        r.player.heard_state = PlayState::Playing;
        r.form.Loop_Click();
        r.player.heard_state.reset();
        r.Run(1000);
        EXPECT_EQ(r.player.state, PlayState::Playing);
        EXPECT_TRUE(r.form.practice().Repeating());
    }
}

TEST(Practice, AChoiceWrittenBackKeepsTheFilesLineEndsAndItsOneLine)
{
    const struct {
        const char* before;
        const char* after;
    } cases[] = {
        {"; mine\r\ngap = 1", "; mine\r\ngap = 1\r\npasses = 3\r\n"},
        {"; mine\r\npasses = 1\r\ngap = 1\r\n", "; mine\r\npasses = 3\r\ngap = 1\r\n"},
        {"\xEF\xBB\xBFpasses = 1\r\n", "\xEF\xBB\xBFpasses = 3\r\n"},
        {"\xEF\xBB\xBF PASSES=unlimited\n", "\xEF\xBB\xBF PASSES= 3\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before);
        PracticeRig r(c.before);
        r.form.Context_Menu_Click(r.Item(u"复读遍数", u"3 遍").id);
        EXPECT_EQ(r.files.files[kSettings], c.after);
    }
}

} // namespace
} // namespace morvane::test
