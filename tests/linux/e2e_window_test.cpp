// The Linux program in-process against each real player on a private bus.
// Every effect is read back from the player by its own means; the window is
// read as a user reads it.

#include <QDBusConnection>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QScrollBar>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "app/fitted_text.h"
#include "harness.h"
#include "player/mpris/player_name.h"

using namespace morvane::e2e;

namespace {

class PlayerWindow : public testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(s.App().Start());
        ASSERT_TRUE(s.Shows("暂停")) << s.Shown(IDC_STATE_LINE);
    }
    void Click(int id) { morvane::e2e::Click(s.App(), id); }
    bool Caption(const QString& title)
    {
        return Eventually([&] { return s.App().Window().windowTitle().startsWith(title); });
    }
    std::string At() { return s.At(); }
    // The whole state line is readable in its label, the state word too,
    // whatever the player's name.
    bool StateLineFits()
    {
        const auto& label = *qobject_cast<QLabel*>(s.App().Control(IDC_STATE_LINE));
        return label.fontMetrics().horizontalAdvance(label.text()) <= label.contentsRect().width();
    }

    Session s{GetParam()};
};

TEST_P(PlayerWindow, TheReadOutsFollowThePlayer)
{
    EXPECT_TRUE(s.App().Window().isVisible());
    EXPECT_TRUE(Caption("第一课"));

    s.player->SetPaused(false);  // from the player itself
    ASSERT_TRUE(s.Shows("播放")) << s.Shown(IDC_STATE_LINE);
    EXPECT_TRUE(StateLineFits()) << s.Shown(IDC_STATE_LINE);
    EXPECT_TRUE(Eventually([&] { return s.App().Window().Bar().maximum() == 60; }));
    for (int sample = 0; sample < 4; ++sample) {
        QTest::qWait(500);
        const int player_ms = s.player->PositionMs();
        EXPECT_TRUE(s.Follows(s.ShownMs().value_or(-1000), player_ms)) << At();
        EXPECT_EQ(HalfMs(s.App(), IDC_TIME_LINE, 0), 60000) << s.Shown(IDC_TIME_LINE);
        EXPECT_NEAR(HalfMs(s.App(), IDC_TIME_LINE, 1).value_or(-1000), player_ms / 1000 * 1000, 1000) << s.Shown(IDC_TIME_LINE);
    }
    // Between the player's answers the time runs on tick by tick, not in jumps.
    QSet<QString> shown;
    for (int tick = 0; tick < 30; ++tick) {
        QTest::qWait(10);
        shown.insert(Text(s.App(), IDC_MARK_LINE));
    }
    EXPECT_GE(shown.size(), 10);

    s.player->SetPaused(true);
    ASSERT_TRUE(s.Shows("暂停")) << s.Shown(IDC_STATE_LINE);
    EXPECT_TRUE(StateLineFits()) << s.Shown(IDC_STATE_LINE);
    EXPECT_TRUE(s.Settled()) << At();
    QTest::qWait(400);  // held, not carried on
    EXPECT_NEAR(s.ShownMs().value_or(-1000), s.player->PositionMs(), 20) << At();
}

TEST_P(PlayerWindow, EachButtonActsOnThePlayer)
{
    Click(IDC_PLAY);
    ASSERT_TRUE(s.PlayerIn("Playing"));
    EXPECT_TRUE(s.Shows("播放"));
    Click(IDC_PAUSE);
    EXPECT_TRUE(s.PlayerIn("Paused"));
    EXPECT_TRUE(s.Shows("暂停"));
    Click(IDC_PAUSE);  // again: plays on
    EXPECT_TRUE(s.PlayerIn("Playing"));

    Click(IDC_NEXT);
    EXPECT_TRUE(s.PlayerOnTrack(1));
    EXPECT_TRUE(Caption("第二课"));
    Click(IDC_PREVIOUS);
    EXPECT_TRUE(s.PlayerOnTrack(0));

    // The steps and jumps paused, where the player's position is exact.
    s.player->SetPaused(true);
    ASSERT_TRUE(s.Shows("暂停"));
    ASSERT_TRUE(s.SeekTo(10000)) << At();
    int from = s.player->PositionMs();
    Click(IDC_FORWARD);  // 快进
    EXPECT_TRUE(s.PlayerAt(from + 2000)) << At() << ", from " << from;
    ASSERT_TRUE(s.Settled()) << At();
    from = s.player->PositionMs();
    Click(IDC_BACK);  // 快退
    EXPECT_TRUE(s.PlayerAt(from - 2000)) << At() << ", from " << from;
    // Near the start a step back lands on the start, not nowhere.
    ASSERT_TRUE(s.SeekTo(1000)) << At();
    Click(IDC_BACK);
    EXPECT_TRUE(s.PlayerAt(0, 50)) << At();

    s.App().Window().Bar().setValue(37);
    EXPECT_EQ(s.Shown(IDC_SEEK_TIME), "[000:37]");
    Click(IDC_JUMP);  // Jump
    EXPECT_TRUE(s.PlayerAt(37000)) << At();

    Click(IDC_STOP);
    EXPECT_TRUE(s.PlayerIn("Stopped"));
    EXPECT_TRUE(s.Shows("停止")) << s.Shown(IDC_STATE_LINE);
    EXPECT_TRUE(StateLineFits()) << s.Shown(IDC_STATE_LINE);
}

TEST_P(PlayerWindow, MarksTakeThePlayerBack)
{
    ASSERT_TRUE(s.SeekTo(15500)) << At();
    const int mark = s.player->PositionMs();
    Click(IDC_MARK);  // 定位
    EXPECT_TRUE(Eventually([&] { return std::abs(HalfMs(s.App(), IDC_MARK_LINE, 0).value_or(-1000) - mark) <= 20; }))
        << s.Shown(IDC_MARK_LINE);
    ASSERT_TRUE(s.SeekTo(40000)) << At();
    Click(IDC_REPEAT);  // 复读
    EXPECT_TRUE(s.PlayerAt(mark)) << At() << ", mark " << mark;

    // 记录 while playing takes the player's position at the click.
    Click(IDC_PLAY);
    ASSERT_TRUE(s.PlayerIn("Playing"));
    QTest::qWait(800);
    const int before = s.player->PositionMs();
    Click(IDC_RECORD);
    const int after = s.player->PositionMs();
    auto& list = static_cast<QListWidget&>(*s.App().Control(IDC_MARK_LIST));
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(s.Shown(IDC_COUNT_LINE), "1");
    const std::optional<int> stamp = StampMs(list.item(0)->text());
    ASSERT_TRUE(stamp) << list.item(0)->text().toStdString();
    EXPECT_TRUE(s.Follows(*stamp, before) || s.Follows(*stamp, after)) << "player from " << before << " to " << after;

    // A double-click on the entry takes the player back there.
    s.player->SetPaused(true);
    ASSERT_TRUE(s.Shows("暂停"));
    ASSERT_TRUE(s.SeekTo(50000)) << At();
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(0)).center());
    EXPECT_TRUE(s.PlayerAt(*stamp)) << At() << ", entry " << *stamp;
}

TEST_P(PlayerWindow, ARestartedPlayerIsFollowed)
{
    Click(IDC_PLAY);
    ASSERT_TRUE(s.PlayerIn("Playing"));
    ASSERT_TRUE(Eventually([&] { return s.ShownMs() > 1000; })) << At();

    s.player->Kill();
    EXPECT_TRUE(s.Shows("停止")) << s.Shown(IDC_STATE_LINE);
    EXPECT_TRUE(Eventually([&] { return s.Shown(IDC_TIME_LINE) == "总时间:[000:00]<==>当前时间:[000:00]"; }))
        << s.Shown(IDC_TIME_LINE);
    EXPECT_EQ(s.ShownMs(), 0) << s.Shown(IDC_MARK_LINE);
    EXPECT_TRUE(Caption("第一课"));  // the last title stays

    s.player = StartPlayer(GetParam(), {Recordings()[2]});
    EXPECT_TRUE(Caption("第三课"));
    EXPECT_TRUE(s.Shows("暂停")) << s.Shown(IDC_STATE_LINE);
    Click(IDC_PLAY);
    EXPECT_TRUE(s.PlayerIn("Playing"));
    EXPECT_TRUE(Eventually([&] { return HalfMs(s.App(), IDC_TIME_LINE, 0) == 30000; })) << s.Shown(IDC_TIME_LINE);
    ASSERT_TRUE(Eventually([&] { return s.ShownMs() > 500; })) << At();
    Click(IDC_PAUSE);
    EXPECT_TRUE(s.PlayerIn("Paused"));
}

TEST_P(PlayerWindow, ASeekMadeAnywhereIsSeenAtOnce)
{
    // Paused, a seek made elsewhere shows within half a second: some players
    // say nothing of it while paused.
    for (const int target : {12000, 31000, 7000, 44000, 20000}) {
        s.player->Seek(target);
        EXPECT_TRUE(Eventually([&] { return std::abs(s.ShownMs().value_or(-1000) - target) <= 100; }, 500))
            << At() << ", sought " << target;
    }

    // 记录 right after a seek, by Morvane or by another program, takes the
    // new position, never one a player still answers from before it.
    auto& list = static_cast<QListWidget&>(*s.App().Control(IDC_MARK_LIST));
    Click(IDC_PLAY);
    ASSERT_TRUE(s.PlayerIn("Playing"));
    for (int attempt = 0; attempt < 20; ++attempt) {
        // Far from the last one, so a stale time cannot pass for the new one.
        const int target = ((attempt % 2 == 0 ? 3 : 25) + attempt) * 1000;
        if (attempt % 4 < 2) {
            s.App().Window().Bar().setValue(target / 1000);
            Click(IDC_JUMP);  // Jump
        } else {
            s.player->Seek(target);
            // A quick hand; the player's own answers may not be fresh yet.
            QTest::qWait(attempt % 4 == 2 ? 160 : 200);
        }
        QElapsedTimer since_record;
        since_record.start();
        Click(IDC_RECORD);  // 记录
        ASSERT_EQ(list.count(), attempt + 1);
        const std::optional<int> stamp = StampMs(list.item(attempt)->text());
        ASSERT_TRUE(stamp) << list.item(attempt)->text().toStdString();
        // Where the player landed, asked once its own answers are fresh again.
        QTest::qWait(300);
        const auto elapsed = static_cast<int>(since_record.elapsed());
        EXPECT_NEAR(*stamp, s.player->PositionMs() - elapsed, 500 + s.player->StepMs())
            << "attempt " << attempt << ", sought " << target;
    }
}

INSTANTIATE_TEST_SUITE_P(Players, PlayerWindow, testing::ValuesIn(kPlayers),
                         [](const auto& player) { return player.param; });

// The file each player says it plays, through the link: Chinese characters and a space, escaped in its URI.
class FilePlayed : public testing::TestWithParam<std::string> {};
TEST_P(FilePlayed, IsTheFileOnDisk)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("听力 练习"), file = folder + "/第一课 A.wav";
    ASSERT_TRUE(QDir().mkpath(folder) && QFile::copy(Recordings().first(), file));
    for (const QString& path : {dir.path(), folder, file})  // for the plain user VLC runs as
        ASSERT_TRUE(QFile::setPermissions(path, QFile::permissions(path) | QFile::ReadOther | QFile::ExeOther));
    const auto player = StartPlayer(GetParam(), {file});
    morvane::mpris::MprisLink link(QDBusConnection::sessionBus(), {});
    EXPECT_TRUE(Eventually([&] { link.Refresh(); return link.FilePath() == file.toStdU16String(); }, 5000));
}
INSTANTIATE_TEST_SUITE_P(Players, FilePlayed, testing::Values("mpv", "vlc", "audacious"),
                         [](const auto& player) { return player.param; });

// Each player's Identity as it answers it, and its name on the state line
// in the window's own font and box: whole, beside a whole state word.
TEST(StateLine, EveryPlayersNameShowsWhole)
{
    morvane::qt::MainWindow window;
    auto& label = *qobject_cast<QLabel*>(window.Control(IDC_STATE_LINE));
    morvane::qt::TextAdapter state_line(label);
    const std::pair<const char16_t*, QString> names[] = {
        {u"mpv", "mpv"}, {u"VLC media player", "VLC"}, {u"Audacious", "Audacious"}, {u"Chromium", "Chromium"},
        {u"Mozilla firefox-esr", "Firefox"}, {u"Rhythmbox", "Rhythmbox"}, {u"Strawberry Music Player", "Strawberry"},
        {u"Clementine 1.4.0rc2", "Clementine"}, {u"Videos", "Videos"}, {u"Parole Media Player", "Parole"},
        {u"Qmmp", "Qmmp"}, {u"Elisa", "Elisa"}, {u"SMPlayer", "SMPlayer"}, {u"Quod Libet", "Quod Libet"},
        {u"Lollypop", "Lollypop"}, {u"Celluloid", "Celluloid"}};
    for (const auto& [identity, name] : names) {
        state_line.SetText(morvane::FittedText(morvane::mpris::ShortName(identity), u"处于播放状态......", state_line));
        EXPECT_TRUE(label.text().startsWith(name + "处于播放状态")) << label.text().toStdString();
        EXPECT_LE(label.fontMetrics().horizontalAdvance(label.text()), label.contentsRect().width())
            << label.text().toStdString();
    }
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
