#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "fakes.h"

namespace morvane::test {
namespace {

using Log = std::vector<std::string>;
using Items = std::vector<std::u16string>;

TEST(MainFormRecord, EveryCombinationOfTheCheckBoxes)
{
    for (const bool note : {false, true}) {
        for (const bool pause : {false, true}) {
            SCOPED_TRACE(testing::Message() << "ask_note " << note << ", pause_for_note " << pause);
            Rig r;
            r.Show({u"[000:00:001]"});
            r.ask_note.checked = note;
            r.pause_for_note.checked = pause;
            r.player.position = 62345;
            r.window.answers = {u"abc"};
            bool timer_during_prompt = true;
            Log sent_before_prompt;
            r.window.during_prompt = [&] {
                timer_during_prompt = r.poll_clock.running;
                sent_before_prompt = r.player.Commands();
                r.player.position = 99999;  // the clock runs on meanwhile
            };

            r.form.Record_Click();

            const std::u16string want = note ? u"[001:02:345] 注释:abc" : u"[001:02:345]";
            EXPECT_EQ(r.list_box.items, (Items{u"[000:00:001]", want}));
            EXPECT_EQ(r.list_box.selected, 1);
            EXPECT_EQ(r.form.mark_list().Selection(), std::optional<int>(1));
            EXPECT_EQ(r.count_line.text, u"2");
            EXPECT_TRUE(r.list_box.focused);
            EXPECT_TRUE(r.poll_clock.running);
            EXPECT_EQ(r.list_box.extent, *r.list_box.TextWidth(want) + 10);
            EXPECT_EQ(r.player.log.front(), "position");
            EXPECT_EQ(r.player.Commands(), (note && pause ? Log{"pause", "play"} : Log{}));
            ASSERT_EQ(r.window.prompts.size(), note ? 1u : 0u);
            if (note) {
                EXPECT_FALSE(timer_during_prompt);
                EXPECT_EQ(sent_before_prompt, (pause ? Log{"pause"} : Log{}));
                EXPECT_EQ(r.window.prompts[0].message, u"请输入注释");
                EXPECT_EQ(r.window.prompts[0].title, u"");
                EXPECT_EQ(r.window.prompts[0].default_text, u"");
                // The longest note that a mark file still reads back as one entry.
                EXPECT_EQ(r.window.prompts[0].max_length, 32767 - 16);
            }
        }
    }
}

TEST(MainFormRecord, TicksDuringTheNoteKeepThePausedPlayer)
{
    // Another player may start while the note is typed: ticks that run
    // meanwhile must not choose it, or the resume would reach it.
    Rig r;
    r.ask_note.checked = r.pause_for_note.checked = true;
    r.form.Poll_Tick();
    const int refreshes = r.player.refreshes;
    r.window.during_prompt = [&] {
        r.form.Poll_Tick();
        r.form.Poll_Tick();
    };
    r.form.Record_Click();
    EXPECT_EQ(r.player.refreshes, refreshes);
    EXPECT_EQ(r.player.Commands(), (Log{"pause", "play"}));

    r.form.Poll_Tick();
    EXPECT_EQ(r.player.refreshes, refreshes + 1);
}

TEST(MainFormRecord, CancelledPromptAndDeadPlayer)
{
    Rig r;
    r.ask_note.checked = true;
    r.player.position = 1600;
    r.form.Record_Click();  // no answer queued: Cancel
    EXPECT_EQ(r.list_box.items, Items{u"[000:01:600] 注释:"});

    // Without a player the position reads 0 and the entry is still taken.
    r.ask_note.checked = false;
    r.player.running = false;
    r.form.Record_Click();
    EXPECT_EQ(r.list_box.items.back(), u"[000:00:000]");
    EXPECT_EQ(r.count_line.text, u"2");
}

TEST(MainFormRecord, AtTheBoundEndsQuietlyWithTheTimerRunning)
{
    for (const bool note : {false, true}) {
        Rig r;
        r.list_box.room = 3;
        r.Show({u"[000:00:001]", u"[000:00:002]", u"[000:00:003]"});
        r.list_box.selected = 0;
        r.ask_note.checked = note;
        r.pause_for_note.checked = true;
        r.form.Record_Click();

        EXPECT_EQ(r.list_box.items.size(), 3u);
        EXPECT_EQ(r.list_box.selected, 0);
        EXPECT_TRUE(r.poll_clock.running);
        EXPECT_EQ(r.player.Commands(), (note ? Log{"pause", "play"} : Log{}));
        EXPECT_EQ(r.count_line.sets, 0);
        EXPECT_FALSE(r.list_box.focused);
    }
}

} // namespace
} // namespace morvane::test
