// Marks kept with their recording, the recovery of an unsaved list, and how
// sentence marks join a list.

#include <gtest/gtest.h>

#include "app/keeping/recording_marks.h"
#include "app/keeping/recovery.h"
#include "fakes.h"
#include "marks/mark_merge.h"

namespace morvane::keeping {
namespace {

using test::FakeFiles;
using test::FakeWindow;
using test::TestCodePage;

using Entries = std::vector<std::u16string>;

TEST(MarkMerge, AddsInTimeOrderAndSkipsMarksNearOnesAlreadyThere)
{
    const Entries merged = mark_merge::Merged({u"[000:05:000] 注释:a", u"无时间"},
                                              {u"[000:01:000]", u"[000:05:299]", u"[000:05:301]", u"[000:04:700]"});
    EXPECT_EQ(merged, (Entries{u"[000:01:000]", u"[000:05:000] 注释:a", u"[000:05:301]", u"无时间"}));
}

struct KeepingTest : ::testing::Test {
    FakeFiles files;
    FakeWindow window;
    TestCodePage code_page;
    MarkStore store{files, code_page, mark_file::Encoding::Utf8};
    RecordingMarks marks{store, window, u"/data/"};
    Entries list;

    void Apply(const RecordingMarks::Outcome& outcome)
    {
        if (outcome.entries) list = *outcome.entries;
    }
    std::string Bytes(const Entries& entries) { return mark_file::EncodeLines(entries, code_page, mark_file::Encoding::Utf8); }
};

TEST_F(KeepingTest, EachRecordingGetsItsOwnMarksBack)
{
    Apply(marks.SetOn(true, u"/课/A.mp3", list));
    list = {u"[000:01:000]", u"[000:02:000]", u"[000:03:000]"};
    Apply(marks.ListChanged(list));
    Apply(marks.Follow(u"/课/B.mp3", list));
    EXPECT_TRUE(list.empty());
    list = {u"[000:09:000]"};
    Apply(marks.ListChanged(list));
    const RecordingMarks::Outcome back = marks.Follow(u"/课/A.mp3", list);
    Apply(back);
    EXPECT_EQ(list.size(), 3u);
    EXPECT_EQ(back.message, u"已载入 3 条标记");
    EXPECT_EQ(files.files[u"/课/B.mp3.marks.txt"], Bytes({u"[000:09:000]"}));
    EXPECT_TRUE(window.messages.empty());
    // A recording with no marks and nothing to keep leaves no file behind.
    Apply(marks.Follow(u"/课/C.mp3", list));
    Apply(marks.Follow(u"/课/A.mp3", list));
    EXPECT_FALSE(files.Exists(u"/课/C.mp3.marks.txt"));
}

TEST_F(KeepingTest, NeverWritesOverAFileItDidNotWrite)
{
    for (const std::string& foreign : {std::string("我的笔记\r\n"), std::string("[000:01:000]\0x", 14)}) {
        files.files[u"/课/A.mp3.marks.txt"] = foreign;
        RecordingMarks fresh{store, window, u"/data/"};
        list = {u"[000:01:000]"};
        const RecordingMarks::Outcome outcome = fresh.SetOn(true, u"/课/A.mp3", list);
        EXPECT_EQ(outcome.message, u"“A.mp3.marks.txt”不是记录文件，标记不随录音保存");
        Apply(fresh.ListChanged({u"[000:02:000]"}));
        EXPECT_EQ(files.files[u"/课/A.mp3.marks.txt"], foreign);
    }
    // More entries than the list holds would be cut by writing them back.
    Entries many(mark_file::kMaxEntries + 1, u"[000:01:000]");
    files.files[u"/课/A.mp3.marks.txt"] = Bytes(many);
    EXPECT_NE(RecordingMarks(store, window, u"/data/").SetOn(true, u"/课/A.mp3", {}).message, u"");
}

TEST_F(KeepingTest, AnUnwritableFolderKeepsTheMarksInTheDataFolder)
{
    files.unwritable[u"/cd/A.mp3.marks.txt"] = u"没有访问权限";
    Apply(marks.SetOn(true, u"/cd/A.mp3", list));
    list = {u"[000:01:000]"};
    EXPECT_EQ(marks.ListChanged(list).message, u"");
    const std::u16string copy = DataPath(u"/data/", u"/cd/A.mp3");
    EXPECT_EQ(files.files[copy], Bytes(list));
    EXPECT_NE(copy, DataPath(u"/data/", u"/dvd/A.mp3"));
    RecordingMarks later{store, window, u"/data/"};
    list.clear();
    Apply(later.SetOn(true, u"/cd/A.mp3", list));
    EXPECT_EQ(list, Entries{u"[000:01:000]"});
}

TEST_F(KeepingTest, MarksKeptNowhereAreReplacedOnlyAfterTheQuestion)
{
    files.files[u"/课/A.mp3.marks.txt"] = Bytes({u"[000:01:000]", u"[000:08:000]"});
    for (const bool yes : {true, false}) {
        window.yes = yes;
        window.messages.clear();
        list = {u"[000:01:100] 注释:我的", u"[000:05:000]"};
        RecordingMarks fresh{store, window, u"/data/"};
        Apply(fresh.SetOn(true, u"/课/A.mp3", list));
        ASSERT_EQ(window.messages.size(), 1u);
        EXPECT_EQ(list, yes ? Entries({u"[000:01:000]", u"[000:08:000]"})
                            : Entries({u"[000:01:100] 注释:我的", u"[000:05:000]", u"[000:08:000]"}));
        EXPECT_EQ(files.files[u"/课/A.mp3.marks.txt"], Bytes(list));
    }
    // A player that does not say what it plays: nothing is loaded, and the user is told.
    window.messages.clear();
    EXPECT_FALSE(RecordingMarks(store, window, u"/data/").SetOn(true, u"", list).entries);
    EXPECT_EQ(window.messages.size(), 1u);
}

TEST_F(KeepingTest, WhatARunLeftUnsavedIsOfferedAtTheNextStart)
{
    const Entries three = {u"[000:01:000]", u"[000:02:000]", u"[000:03:000]"};
    auto run = [&](const std::function<void(Recovery&)>& body) {
        Recovery recovery{store, u"/data/"};
        recovery.Start();
        body(recovery);
        return recovery.Offered();
    };
    // Ended with three unsaved marks; then a run that changes nothing.
    EXPECT_EQ(run([&](Recovery& r) { r.Follow(three); r.End(three); }), 0u);
    EXPECT_EQ(run([&](Recovery& r) { r.End({}); }), 3u);
    // Killed after the third mark: the running file had followed each change.
    EXPECT_EQ(run([&](Recovery& r) { r.Follow({three[0]}); r.Follow(three); }), 3u);
    // Taken and then saved, it is offered no more.
    EXPECT_EQ(run([&](Recovery& r) { EXPECT_EQ(r.TakeOffered(), three); r.Follow(three); r.Saved(three); r.End(three); }), 0u);
    EXPECT_EQ(run([](Recovery&) {}), 0u);
}

} // namespace
} // namespace morvane::keeping
