// The Linux program in-process against a real mpv on a private bus. Every
// effect is read back from mpv itself; the window is read as a user reads it.

#include <QListWidget>
#include <QMessageBox>
#include <QScrollBar>
#include <QSet>
#include <QTest>

#include <gtest/gtest.h>

#include "harness.h"

using namespace morvane::e2e;

namespace {

class MpvWindow : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(s.App().Start());
        ASSERT_TRUE(s.Shows("暂停")) << s.Shown(IDC_STATE_LINE);
    }
    void Click(int id) { morvane::e2e::Click(s.App(), id); }
    bool Caption(const QString& title)
    {
        return Eventually([&] { return s.App().Window().windowTitle() == title; });
    }
    std::string At() { return "mpv at " + std::to_string(s.mpv->PositionMs()) + ", shown " + s.Shown(IDC_MARK_LINE); }

    Session s;
};

TEST_F(MpvWindow, TheReadOutsFollowMpv)
{
    EXPECT_TRUE(s.App().Window().isVisible());
    EXPECT_TRUE(Caption("第一课.wav - mpv"));

    s.mpv->Set("pause", false);  // from mpv itself
    ASSERT_TRUE(s.Shows("播放")) << s.Shown(IDC_STATE_LINE);
    EXPECT_TRUE(Eventually([&] { return s.App().Window().Bar().maximum() == 60; }));
    // mpv moves its own time-pos in steps of a few tens of ms.
    for (int sample = 0; sample < 4; ++sample) {
        QTest::qWait(500);
        const int mpv_ms = s.mpv->PositionMs();
        EXPECT_NEAR(s.ShownMs().value_or(-1000), mpv_ms, 150) << At();
        EXPECT_EQ(HalfMs(s.App(), IDC_TIME_LINE, 0), 60000) << s.Shown(IDC_TIME_LINE);
        EXPECT_NEAR(HalfMs(s.App(), IDC_TIME_LINE, 1).value_or(-1000), mpv_ms / 1000 * 1000, 1000) << s.Shown(IDC_TIME_LINE);
    }
    // Between mpv's answers the time runs on tick by tick, not in jumps.
    QSet<QString> shown;
    for (int tick = 0; tick < 30; ++tick) {
        QTest::qWait(10);
        shown.insert(Text(s.App(), IDC_MARK_LINE));
    }
    EXPECT_GE(shown.size(), 10);

    s.mpv->Set("pause", true);
    ASSERT_TRUE(s.Shows("暂停")) << s.Shown(IDC_STATE_LINE);
    EXPECT_TRUE(s.Settled()) << At();
    QTest::qWait(400);  // held, not carried on
    EXPECT_NEAR(s.ShownMs().value_or(-1000), s.mpv->PositionMs(), 20) << At();
}

TEST_F(MpvWindow, EachButtonActsOnMpv)
{
    Click(IDC_PLAY);
    ASSERT_TRUE(s.MpvPaused(false));
    EXPECT_TRUE(s.Shows("播放"));
    Click(IDC_PAUSE);
    EXPECT_TRUE(s.MpvPaused(true));
    EXPECT_TRUE(s.Shows("暂停"));
    Click(IDC_PAUSE);  // again: plays on
    EXPECT_TRUE(s.MpvPaused(false));

    Click(IDC_NEXT);
    EXPECT_TRUE(s.MpvOnTrack(1));
    EXPECT_TRUE(Caption("第二课.wav - mpv"));
    Click(IDC_PREVIOUS);
    EXPECT_TRUE(s.MpvOnTrack(0));

    // The steps and jumps paused, where mpv's position is exact.
    s.mpv->Set("pause", true);
    ASSERT_TRUE(s.Shows("暂停"));
    ASSERT_TRUE(s.SeekTo(10000)) << At();
    int from = s.mpv->PositionMs();
    Click(IDC_FORWARD);  // 快进
    EXPECT_TRUE(s.MpvAt(from + 2000)) << At() << ", from " << from;
    ASSERT_TRUE(s.Settled()) << At();
    from = s.mpv->PositionMs();
    Click(IDC_BACK);  // 快退
    EXPECT_TRUE(s.MpvAt(from - 2000)) << At() << ", from " << from;
    // Near the start a step back lands on the start, not nowhere.
    ASSERT_TRUE(s.SeekTo(1000)) << At();
    Click(IDC_BACK);
    EXPECT_TRUE(s.MpvAt(0, 50)) << At();

    s.App().Window().Bar().setValue(37);
    EXPECT_EQ(s.Shown(IDC_SEEK_TIME), "[000:37]");
    Click(IDC_JUMP);  // Jump
    EXPECT_TRUE(s.MpvAt(37000)) << At();

    Click(IDC_STOP);
    EXPECT_TRUE(Eventually([&] { return s.mpv->Get("idle-active").toBool(); }));
    EXPECT_TRUE(s.Shows("停止")) << s.Shown(IDC_STATE_LINE);
}

TEST_F(MpvWindow, MarksTakeMpvBack)
{
    ASSERT_TRUE(s.SeekTo(15500)) << At();
    const int mark = s.mpv->PositionMs();
    Click(IDC_MARK);  // 定位
    EXPECT_TRUE(Eventually([&] { return std::abs(HalfMs(s.App(), IDC_MARK_LINE, 0).value_or(-1000) - mark) <= 20; }))
        << s.Shown(IDC_MARK_LINE);
    ASSERT_TRUE(s.SeekTo(40000)) << At();
    Click(IDC_REPEAT);  // 复读
    EXPECT_TRUE(s.MpvAt(mark)) << At() << ", mark " << mark;

    // 记录 while playing takes mpv's position at the click.
    Click(IDC_PLAY);
    ASSERT_TRUE(s.MpvPaused(false));
    QTest::qWait(800);
    const int before = s.mpv->PositionMs();
    Click(IDC_RECORD);
    const int after = s.mpv->PositionMs();
    auto& list = static_cast<QListWidget&>(*s.App().Control(IDC_MARK_LIST));
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(s.Shown(IDC_COUNT_LINE), "1");
    const std::optional<int> stamp = StampMs(list.item(0)->text());
    ASSERT_TRUE(stamp) << list.item(0)->text().toStdString();
    EXPECT_GE(*stamp, before - 150) << "mpv at " << before;
    EXPECT_LE(*stamp, after + 150) << "mpv at " << after;

    // A double-click on the entry takes mpv back there.
    s.mpv->Set("pause", true);
    ASSERT_TRUE(s.Shows("暂停"));
    ASSERT_TRUE(s.SeekTo(50000)) << At();
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(0)).center());
    EXPECT_TRUE(s.MpvAt(*stamp)) << At() << ", entry " << *stamp;
}

TEST_F(MpvWindow, ARestartedPlayerIsFollowed)
{
    Click(IDC_PLAY);
    ASSERT_TRUE(s.MpvPaused(false));
    ASSERT_TRUE(Eventually([&] { return s.ShownMs() > 1000; })) << At();

    s.mpv->Kill();
    EXPECT_TRUE(s.Shows("停止")) << s.Shown(IDC_STATE_LINE);
    EXPECT_TRUE(Eventually([&] { return s.Shown(IDC_TIME_LINE) == "总时间:[000:00]<==>当前时间:[000:00]"; }))
        << s.Shown(IDC_TIME_LINE);
    EXPECT_EQ(s.ShownMs(), 0) << s.Shown(IDC_MARK_LINE);
    EXPECT_TRUE(Caption("第一课.wav - mpv"));  // the last title stays

    s.mpv = std::make_unique<Mpv>(QStringList{Recordings()[2]});
    EXPECT_TRUE(Caption("第三课.wav - mpv"));
    EXPECT_TRUE(s.Shows("暂停")) << s.Shown(IDC_STATE_LINE);
    Click(IDC_PLAY);
    EXPECT_TRUE(s.MpvPaused(false));
    EXPECT_TRUE(Eventually([&] { return HalfMs(s.App(), IDC_TIME_LINE, 0) == 30000; })) << s.Shown(IDC_TIME_LINE);
    ASSERT_TRUE(Eventually([&] { return s.ShownMs() > 500; })) << At();
    Click(IDC_PAUSE);
    EXPECT_TRUE(s.MpvPaused(true));
}

TEST(NoPlayer, TheWindowNeverShows)
{
    Program program;
    QString shown;
    OnNextModal<QMessageBox>([&shown](QMessageBox& box) {
        shown = box.windowTitle() + "|" + box.text();
        box.accept();
    });
    EXPECT_FALSE(program.App().Start());
    EXPECT_EQ(shown.toStdString(),
              "提示|没有找到正在运行的媒体播放器!\n请先打开一个支持 MPRIS 的播放器(如 mpv、VLC、Audacious)");
    QTest::qWait(100);
    EXPECT_FALSE(program.App().Window().isVisible());
}

} // namespace
