#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <optional>
#include <string>
#include <vector>

#include "fakes.h"

namespace morvane::test {
namespace {

using Items = std::vector<std::u16string>;

// The list holds `items` and the user has clicked entry `index` (-1: none).
void Fill(Rig& r, const Items& items, int index)
{
    r.Show(items);
    r.list_box.selected = index;
    if (index >= 0) r.form.Mark_List_Click(index);
}

int FullExtent(const FakeListBox& list)
{
    int widest = 0;
    for (const auto& entry : list.items) widest = std::max(widest, *list.TextWidth(entry));
    return widest + 10;
}

TEST(MainFormNoteEdit, PromptsWithTheOldNoteAndReplacesItInPlace)
{
    const struct {
        std::u16string entry, default_text, answer, result;
    } cases[] = {
        {u"[000:10:000]", u"", u"x", u"[000:10:000] 注释:x"},
        {u"[000:10:000] 注释:old", u"old", u"new", u"[000:10:000] 注释:new"},
        {u"[000:10:000] 注释:old", u"old", u"", u"[000:10:000] 注释:"},  // Cancel removes the note
        {u"[000:10:000] 注释:", u"", u"y", u"[000:10:000] 注释:y"},
    };
    for (const auto& c : cases) {
        Rig r;
        Fill(r, {u"[000:01:000]", c.entry, u"[000:20:000]"}, 1);
        r.window.answers = {c.answer};
        r.form.Edit_Note_Click();

        ASSERT_EQ(r.window.prompts.size(), 1u);
        EXPECT_EQ(r.window.prompts[0].message, u"添加或修改注释");
        EXPECT_EQ(r.window.prompts[0].title, u"添加或修改注释");
        EXPECT_EQ(r.window.prompts[0].default_text, c.default_text);
        EXPECT_EQ(r.window.prompts[0].max_length, 32767 - 16);
        EXPECT_EQ(r.list_box.items, (Items{u"[000:01:000]", c.result, u"[000:20:000]"}));
        EXPECT_EQ(r.list_box.selected, 1);
        EXPECT_EQ(r.form.mark_list().Selection(), std::optional<int>(1));
        EXPECT_EQ(r.list_box.extent, FullExtent(r.list_box));
        EXPECT_EQ(r.count_line.sets, 0);
    }
}

TEST(MainFormNoteEdit, LeavesWhatItCannotEditAlone)
{
    // Entries of 1 to 11 and 13 to 15 characters: no prompt, no change.
    const std::u16string full = u"[000:10:000] 注释:";
    for (std::size_t length = 1; length < 16; ++length) {
        if (length == 12) continue;
        Rig r;
        const Items items{u"[000:01:000]", full.substr(0, length)};
        Fill(r, items, 1);
        r.list_box.selected = 0;
        r.form.Edit_Note_Click();
        EXPECT_TRUE(r.window.prompts.empty()) << length;
        EXPECT_EQ(r.list_box.items, items);
        EXPECT_EQ(r.list_box.selected, 0);
    }

    // An empty entry is only selected.
    Rig r;
    Fill(r, {u"[000:01:000]", u""}, 1);
    r.list_box.selected = -1;
    r.form.Edit_Note_Click();
    EXPECT_TRUE(r.window.prompts.empty());
    EXPECT_EQ(r.list_box.selected, 1);

    // No selection recorded, or one naming no entry any more.
    Rig none;
    Fill(none, {u"[000:01:000]"}, -1);
    none.form.Edit_Note_Click();
    Fill(none, {u"[000:01:000]", u"[000:02:000]"}, 1);
    none.Show({u"[000:01:000]"});
    none.form.Edit_Note_Click();
    none.form.Move_Up_Click();
    none.form.Move_Down_Click();
    EXPECT_TRUE(none.window.prompts.empty());
    EXPECT_EQ(none.list_box.items, Items{u"[000:01:000]"});
}

TEST(MainFormNoteEdit, RecordingDuringThePromptKeepsTheEditOnItsEntry)
{
    Rig r;
    Fill(r, {u"[000:01:000]", u"[000:02:000]"}, 0);
    r.player.position = 5000;
    r.window.answers = {u"note"};
    r.window.during_prompt = [&] { r.form.Record_Click(); };
    r.form.Edit_Note_Click();

    EXPECT_EQ(r.list_box.items, (Items{u"[000:01:000] 注释:note", u"[000:02:000]", u"[000:05:000]"}));
    EXPECT_EQ(r.list_box.selected, 0);
    EXPECT_EQ(r.form.mark_list().Selection(), std::optional<int>(0));
}

TEST(MainFormDelete, SelectsTheNeighbourAndCounts)
{
    const Items abc{u"A", u"B", u"C"};
    Rig middle;
    Fill(middle, abc, 1);
    middle.form.Delete_Click();
    EXPECT_EQ(middle.list_box.items, (Items{u"A", u"C"}));
    EXPECT_EQ(middle.list_box.selected, 1);
    EXPECT_EQ(middle.count_line.text, u"2");
    EXPECT_EQ(middle.list_box.redraws, 1);

    Rig last;
    Fill(last, abc, 2);
    last.form.Delete_Click();
    EXPECT_EQ(last.list_box.items, (Items{u"A", u"B"}));
    EXPECT_EQ(last.list_box.selected, 1);
    EXPECT_EQ(last.form.mark_list().Selection(), std::optional<int>(1));
    EXPECT_EQ(last.count_line.text, u"2");

    // The only entry: the list empties and the extent stays as it was.
    Rig only;
    Fill(only, {u"[000:01:000] 注释:long note"}, 0);
    only.form.UpdateExtent();
    const int extent = only.list_box.extent;
    only.form.Delete_Click();
    EXPECT_TRUE(only.list_box.items.empty());
    EXPECT_EQ(only.count_line.text, u"0");
    EXPECT_EQ(only.list_box.extent, extent);
    EXPECT_EQ(only.list_box.extent_sets, 1);

    Rig none;
    Fill(none, abc, -1);
    none.form.Delete_Click();
    EXPECT_EQ(none.list_box.items, abc);
    EXPECT_EQ(none.count_line.sets, 0);
    EXPECT_EQ(none.list_box.redraws, 0);
}

// A move swaps the entry with its neighbour and keeps it selected; the count
// stays; at the end of the list it does nothing.
TEST(MainFormMove, SwapsWithTheNeighbourAndFollowsTheEntry)
{
    const Items abc{u"A", u"B", u"C"};
    const struct {
        void (MainForm::*move)();
        Items moved;
        int selected;
    } moves[] = {
        {&MainForm::Move_Up_Click, {u"B", u"A", u"C"}, 0},
        {&MainForm::Move_Down_Click, {u"A", u"C", u"B"}, 2},
    };
    for (const auto& m : moves) {
        SCOPED_TRACE(m.selected);
        Rig r;
        Fill(r, abc, 1);
        r.count_line.text = u"3";  // as the loaded list shows it
        (r.form.*m.move)();
        EXPECT_EQ(r.list_box.items, m.moved);
        EXPECT_EQ(r.list_box.selected, m.selected);
        EXPECT_EQ(r.form.mark_list().Selection(), std::optional<int>(m.selected));
        EXPECT_EQ(r.count_line.text, u"3");
        EXPECT_EQ(r.list_box.redraws, 1);
        (r.form.*m.move)();  // already at the end
        EXPECT_EQ(r.list_box.items, m.moved);
        EXPECT_EQ(r.list_box.redraws, 1);
    }

    // A full list still moves.
    Rig full;
    full.list_box.room = 3;
    Fill(full, abc, 2);
    full.form.Move_Up_Click();
    full.form.Move_Up_Click();
    EXPECT_EQ(full.list_box.items, (Items{u"C", u"A", u"B"}));
}

TEST(MainFormClear, EmptiesAndKeepsSelIndex)
{
    Rig r;
    Fill(r, {u"[000:01:000] 注释:abc", u"[000:02:000]"}, 1);
    r.form.UpdateExtent();
    r.form.Clear_Click();
    EXPECT_TRUE(r.list_box.items.empty());
    EXPECT_EQ(r.count_line.text, u"0");
    EXPECT_EQ(r.list_box.extent, 10);
    // The selection is kept: a list loaded later has it again.
    r.Show({u"A", u"B"});
    EXPECT_EQ(r.form.mark_list().Selection(), std::optional<int>(1));
}

TEST(MainFormTooltip, ShowsTheEntryUnderThePointer)
{
    Rig r;
    Fill(r, {u"[000:01:000]", u"[000:02:000] 注释:a long note"}, -1);
    r.form.Mark_List_MouseMove(false, 5, 15);  // entries are 10 pixels high
    EXPECT_EQ(r.list_box.tooltip, u"[000:02:000] 注释:a long note");
    r.form.Mark_List_MouseMove(true, 5, 5);  // a button down keeps it
    EXPECT_EQ(r.list_box.tooltip, u"[000:02:000] 注释:a long note");
    r.form.Mark_List_MouseMove(false, 5, 25);  // below the last entry
    EXPECT_EQ(r.list_box.tooltip, u"");
}

TEST(MainFormExtent, WidestEntryPlusTen)
{
    Rig r;
    // 16 narrow code units at 6 pixels and 注释 at 12 each: 120 pixels.
    Fill(r, {u"[000:01:000]", u"[000:02:000] 注释:ab", u""}, -1);
    r.form.UpdateExtent();
    EXPECT_EQ(r.list_box.extent, 130);
    // A larger font, as at a higher DPI: measured again.
    r.list_box.scale = 2;
    r.form.Mark_List_FontChanged();
    EXPECT_EQ(r.list_box.extent, 250);
    Fill(r, {}, -1);
    r.form.UpdateExtent();
    EXPECT_EQ(r.list_box.extent, 10);
}

// The extent is kept up to date entry by entry; whatever happens to the
// list it must be what measuring every entry gives.
TEST(MainFormExtent, StaysEqualToAFullMeasure)
{
    Rig r;
    std::mt19937 random(7);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    auto note = [&] { return std::u16string(static_cast<std::size_t>(pick(4)), pick(2) ? u'x' : u'注'); };
    auto select_some = [&] {
        r.list_box.selected = r.list_box.items.empty() ? -1 : pick(r.list_box.Count());
        r.form.Mark_List_Click(r.list_box.selected);
    };
    r.files.files[u"f.txt"] = "[000:01:000]\r\n[000:02:000] \xd7\xa2\xca\xcd:xxxxxx\r\n";
    r.window.open_path = u"f.txt";

    for (int step = 0; step < 3000; ++step) {
        const int sets = r.list_box.extent_sets;
        r.player.position = pick(100000);
        r.ask_note.checked = pick(2) != 0;
        r.window.answers = {note()};
        switch (pick(20)) {
        case 0: r.form.Clear_Click(); break;
        case 1: r.form.Load_Click(); break;
        case 2: r.form.Sort_Click(); break;
        case 3: case 4: select_some(); r.form.Move_Up_Click(); break;
        case 5: case 6: select_some(); r.form.Move_Down_Click(); break;
        case 7: case 8: case 9: select_some(); r.form.Edit_Note_Click(); break;
        case 10: case 11: case 12: case 13: select_some(); r.form.Delete_Click(); break;
        default: r.form.Record_Click(); break;
        }
        if (r.list_box.extent_sets != sets) {
            ASSERT_EQ(r.list_box.extent, FullExtent(r.list_box)) << "step " << step;
        }
    }
    r.form.UpdateExtent();
    EXPECT_EQ(r.list_box.extent, FullExtent(r.list_box));
}

} // namespace
} // namespace morvane::test
