#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "fakes.h"

namespace morvane::test {
namespace {

constexpr char16_t kPlaying[] = u"Winamp处于播放状态......";
constexpr char16_t kPaused[] = u"Winamp处于暂停状态......";
constexpr char16_t kStopped[] = u"Winamp处于停止状态......";

// A started window whose player plays a 245 s track.
struct TickRig : Rig {
    TickRig() { EXPECT_TRUE(form.Form_Load()); }
    void SetMarkAt(std::int32_t ms)
    {
        player.position = ms;
        form.Mark_Click();
    }
};

TEST(MainFormTick, ShowsStateTimesAndMark)
{
    TickRig r;
    r.SetMarkAt(12300);
    r.player.position = 83400;
    r.form.Poll_Tick();
    EXPECT_EQ(r.state_line.text, kPlaying);
    EXPECT_EQ(r.time_line.text, u"总时间:[004:05]<==>当前时间:[001:23]");
    EXPECT_EQ(r.mark_line.text, u"[000:12:300]<==>[001:23:400]");
    EXPECT_EQ(r.seek_bar.min, 0);
    EXPECT_EQ(r.seek_bar.max, 245);
}

// The caption is the title of the player found at each tick: a shorter one
// leaves nothing of the longer behind, a closed player leaves the last one,
// and a restarted one is followed.
TEST(MainFormTick, CaptionFollowsThePlayersTitle)
{
    const struct {
        bool running;
        std::u16string title, caption;
    } ticks[] = {
        {true, u"1. Track - Winamp", u"1. Track - Winamp"},
        {true, u"2. 歌曲 - Winamp", u"2. 歌曲 - Winamp"},
        {true, u"3. A", u"3. A"},
        {false, u"4. Gone - Winamp", u"3. A"},
        {true, u"1. Other - Winamp", u"1. Other - Winamp"},
    };
    TickRig r;
    for (const auto& tick : ticks) {
        r.player.running = tick.running;
        r.player.title = tick.title;
        r.form.Poll_Tick();
        EXPECT_EQ(r.window.caption, tick.caption);
    }
}

// The state line names the player the link drives, in its box at 96 DPI
// (151 pixels inside the border): whole when it fits, then without its
// dots, then with the name cut.
TEST(MainFormTick, StateLineKeepsTheStateWhole)
{
    TickRig r;
    r.state_line.room = 151;
    const std::pair<std::u16string, std::u16string> shown[] = {
        {u"Winamp", kPlaying},
        {u"mpv", u"mpv处于播放状态......"},
        {u"PotPlayer", u"PotPlayer处于播放状态"},
        {u"Mozilla firefox-esr", u"Mozilla fir…处于播放状态"},
        {u"Quod Libet Media Player", u"Quod Libet…处于播放状态"}};
    for (const auto& [name, line] : shown) {
        r.player.name = name;
        r.form.Poll_Tick();
        EXPECT_EQ(r.state_line.text, line);
    }
    // Only a box too narrow for the state cuts into it.
    r.state_line.room = 60;
    r.player.name = u"Winamp";
    r.form.Poll_Tick();
    EXPECT_EQ(r.state_line.text, u"Winamp处…");
}

TEST(MainFormTick, RangeFollowsOnlyAPlayingTrack)
{
    TickRig r;
    r.form.Poll_Tick();
    r.player.state = PlayState::Paused;
    r.player.length = 500;
    r.form.Poll_Tick();
    EXPECT_EQ(r.state_line.text, kPaused);
    EXPECT_EQ(r.seek_bar.max, 245);
    EXPECT_EQ(r.time_line.text, u"总时间:[008:20]<==>当前时间:[000:00]");

    // Any state the player does not name leaves the state line and range.
    r.player.state = PlayState::Unknown;
    r.form.Poll_Tick();
    EXPECT_EQ(r.state_line.text, kPaused);
    EXPECT_EQ(r.seek_bar.max, 245);

    // A shorter track pulls the value in, which counts as a change.
    r.player.state = PlayState::Playing;
    r.player.length = 100;
    r.seek_bar.value = 200;
    r.form.Poll_Tick();
    EXPECT_EQ(r.seek_bar.value, 100);
    EXPECT_EQ(r.seek_time.text, u"[001:40]");
}

TEST(MainFormTick, StoppedOrClosedPlayerShowsZeros)
{
    TickRig r;
    r.player.position = 5000;
    r.form.Poll_Tick();

    r.player.state = PlayState::Stopped;
    r.player.position = 0;
    r.form.Poll_Tick();
    EXPECT_EQ(r.state_line.text, kStopped);
    EXPECT_EQ(r.time_line.text, u"总时间:[004:05]<==>当前时间:[000:00]");

    r.player.running = false;
    r.form.Poll_Tick();
    EXPECT_EQ(r.state_line.text, kStopped);
    EXPECT_EQ(r.time_line.text, u"总时间:[000:00]<==>当前时间:[000:00]");
    EXPECT_EQ(r.mark_line.text, u"[000:00:000]<==>[000:00:000]");
}

TEST(MainFormTick, OutOfRangeLengthsAndPositions)
{
    TickRig r;
    r.player.length = 40000;
    r.player.position = 1000;
    r.form.Poll_Tick();
    EXPECT_EQ(r.seek_bar.max, 32767);
    EXPECT_EQ(r.time_line.text, u"总时间:[666:40]<==>当前时间:[000:01]");

    // The lines keep moving while the long track plays.
    r.player.position = 39999000;
    r.player.title = u"2. Lecture - Winamp";
    r.form.Poll_Tick();
    EXPECT_EQ(r.time_line.text, u"总时间:[666:40]<==>当前时间:[666:39]");
    EXPECT_EQ(r.mark_line.text, u"[000:00:000]<==>[666:39:000]");
    EXPECT_EQ(r.window.caption, u"2. Lecture - Winamp");

    r.player.length = -5;
    r.player.position = -300;
    r.form.Poll_Tick();
    EXPECT_EQ(r.seek_bar.max, 0);
    EXPECT_EQ(r.time_line.text, u"总时间:[000:00]<==>当前时间:[000:00]");
    EXPECT_EQ(r.mark_line.text, u"[000:00:000]<==>[000:00:000]");
}

TEST(MainFormTick, WritesOnlyWhatChanged)
{
    TickRig r;
    r.form.Poll_Tick();
    r.form.Poll_Tick();
    r.form.Poll_Tick();
    EXPECT_EQ(r.state_line.sets, 1);
    EXPECT_EQ(r.time_line.sets, 1);
    EXPECT_EQ(r.mark_line.sets, 1);
    EXPECT_EQ(r.window.caption_sets, 1);

    r.player.position = 250;
    r.form.Poll_Tick();
    EXPECT_EQ(r.time_line.sets, 1);  // still [000:00]
    EXPECT_EQ(r.mark_line.sets, 2);
    EXPECT_EQ(r.state_line.sets, 1);
    EXPECT_EQ(r.window.caption_sets, 1);
}

// A hung player answers each query only when the reply limit (300 ms) runs
// out: in whatever state it says it is in, a tick holds the window for two
// seconds at the most, and only asks.
TEST(MainFormTick, AHungPlayerHoldsATickTwoSecondsAtMost)
{
    for (const PlayState state : {PlayState::Playing, PlayState::Paused, PlayState::Stopped}) {
        TickRig r;
        r.player.state = state;
        r.player.on_query = [&r] { r.poll_clock.now_ms += 300; };
        r.form.Poll_Tick();
        EXPECT_LE(r.poll_clock.now_ms, 2000) << static_cast<int>(state);
        EXPECT_TRUE(r.player.Commands().empty());
    }
}

// Every query crosses to another process: a tick asks each thing once,
// playing or paused, and sends nothing.
TEST(MainFormTick, AsksThePlayerEachThingOncePerTick)
{
    TickRig r;
    for (PlayState state : {PlayState::Playing, PlayState::Paused}) {
        r.player.state = state;
        r.player.log.clear();
        r.form.Poll_Tick();
        std::vector<std::string> asked = r.player.log;
        std::sort(asked.begin(), asked.end());
        EXPECT_EQ(std::adjacent_find(asked.begin(), asked.end()), asked.end()) << "a query asked twice";
        EXPECT_TRUE(r.player.Commands().empty());
    }
}

} // namespace
} // namespace morvane::test
