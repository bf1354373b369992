// The ten global keys, pressed through the X server (xdotool, XTest) while
// another window has the focus, each acting on the player once per press:
// today's keys, and a keys file that moves every action off plain keys.

#include <QDBusConnection>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "app/keys/keys_file.h"
#include "app/x11/global_keyboard.h"
#include "harness.h"
#include "text/utf8.h"

using namespace morvane::e2e;
using morvane::HotKey;

namespace {

// Long enough for a second, wrong action to show.
constexpr int kSettleMs = 300;

bool Press(const char* key) { return QProcess::execute(QStringLiteral("xdotool"), {"key", key}) == 0; }

// Each action's key as xdotool names it; repeat null when it has none.
struct Keys {
    const char *play, *pause, *back, *forward, *mark, *repeat, *record, *next, *previous, *stop;
};

// The keys the user's file names (none: today's) read and opened as the
// program does at start, acting on the player while another window has the
// focus.
class GlobalKeys : public testing::TestWithParam<std::string> {
protected:
    void Open(const QByteArray& keys_file = {})
    {
        ASSERT_TRUE(config_.isValid());
        qputenv("XDG_CONFIG_HOME", config_.path().toUtf8());
        qputenv("XDG_SESSION_TYPE", "x11");
        if (!keys_file.isEmpty()) {
            ASSERT_TRUE(QDir(config_.path()).mkpath(QStringLiteral("morvane")));
            QFile file(config_.filePath(QStringLiteral("morvane/keys.ini")));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(keys_file) == keys_file.size());
        }
        morvane::qt::DiskFiles files;
        const morvane::UserSettings user = morvane::ReadUserSettings(files, morvane::qt::UserConfigFolder());
        ASSERT_EQ(user.keys_file.found, !keys_file.isEmpty());
        problems_ = morvane::ToUtf8(user.problems);
        morvane::qt::Keys keys = morvane::qt::OpenKeys(QStringLiteral("xcb"), false, QDBusConnection::sessionBus(),
                                                       user.keys);
        ASSERT_TRUE(keys.keyboard && !keys.portal) << "no XInput2";
        s_ = std::make_unique<Session>(GetParam(), std::move(keys.keyboard));
        ASSERT_TRUE(s_->App().Start());

        // Someone else's window has the focus; the keys must still reach it.
        focused_.setGeometry(500, 500, 300, 30);
        focused_.show();
        // Asked again until it holds: a window manager may refuse a program's
        // own request, or get it before the window is mapped.
        ASSERT_TRUE(Eventually([&] {
            if (QApplication::focusWidget() == &focused_) return true;
            focused_.activateWindow();
            QProcess::execute(QStringLiteral("xdotool"), {"windowactivate", QString::number(focused_.winId())});
            return false;
        }));
    }

    void EachActsOncePerPress(const Keys& keys);

    QTemporaryDir config_;
    std::string problems_;  // what the start-up message says of the keys file
    std::unique_ptr<Session> s_;
    QLineEdit focused_;
};

void GlobalKeys::EachActsOncePerPress(const Keys& keys)
{
    Session& s = *s_;
    RealPlayer& player = *s.player;
    const auto at = [&](int ms) { return std::abs(player.PositionMs() - ms) <= 100; };

    // As a user would, each key once the window shows what the last one did.
    ASSERT_TRUE(Press(keys.play));
    EXPECT_TRUE(s.PlayerIn("Playing"));
    ASSERT_TRUE(s.Shows("播放"));
    ASSERT_TRUE(Press(keys.pause));
    EXPECT_TRUE(s.PlayerIn("Paused"));
    QTest::qWait(kSettleMs);
    EXPECT_EQ(player.Status(), "Paused") << "h toggled twice";
    ASSERT_TRUE(s.Shows("暂停"));

    ASSERT_TRUE(s.SeekTo(20000));
    int from = player.PositionMs();
    ASSERT_TRUE(Press(keys.back));
    EXPECT_TRUE(s.PlayerAt(from - 2000));
    QTest::qWait(kSettleMs);
    EXPECT_TRUE(at(from - 2000)) << "player at " << player.PositionMs() << ", from " << from;
    ASSERT_TRUE(s.Settled());
    from = player.PositionMs();
    ASSERT_TRUE(Press(keys.forward));
    EXPECT_TRUE(s.PlayerAt(from + 2000));
    QTest::qWait(kSettleMs);
    EXPECT_TRUE(at(from + 2000)) << "player at " << player.PositionMs() << ", from " << from;

    ASSERT_TRUE(s.SeekTo(25000));
    const int mark = player.PositionMs();
    ASSERT_TRUE(Press(keys.mark));
    EXPECT_TRUE(Eventually([&] { return std::abs(HalfMs(s.App(), IDC_MARK_LINE, 0).value_or(-1000) - mark) <= 20; }))
        << s.Shown(IDC_MARK_LINE);
    if (keys.repeat) {
        ASSERT_TRUE(s.SeekTo(40000));
        ASSERT_TRUE(Press(keys.repeat));
        EXPECT_TRUE(s.PlayerAt(mark)) << "player at " << player.PositionMs() << ", mark " << mark;
    }

    const auto& list = static_cast<QListWidget&>(*s.App().Control(IDC_MARK_LIST));
    ASSERT_TRUE(Press(keys.record));
    EXPECT_TRUE(Eventually([&] { return list.count() == 1; }));
    QTest::qWait(kSettleMs);
    EXPECT_EQ(list.count(), 1);

    ASSERT_TRUE(Press(keys.next));
    EXPECT_TRUE(s.PlayerOnTrack(1));
    ASSERT_TRUE(Press(keys.next));
    EXPECT_TRUE(s.PlayerOnTrack(2));
    ASSERT_TRUE(Press(keys.previous));
    EXPECT_TRUE(s.PlayerOnTrack(1));
    QTest::qWait(kSettleMs);
    EXPECT_EQ(player.Track(), 1) << "u went back twice";

    ASSERT_TRUE(Press(keys.stop));
    EXPECT_TRUE(s.PlayerIn("Stopped"));
    EXPECT_TRUE(s.Shows("停止"));
    EXPECT_TRUE(focused_.hasFocus());
}

TEST_P(GlobalKeys, EachActsOnThePlayerOncePerPress)
{
    Open();
    EXPECT_EQ(problems_, "");
    EachActsOncePerPress({"p", "h", "comma", "period", "ctrl", "shift", "KP_0", "n", "u", "s"});
    // No grab: the focused window got every key too (KP_0 as xdotool types it).
    EXPECT_EQ(focused_.text().toStdString(), "ph,.0nnus");
}

// The transcribers' keys file, with one line the program cannot use.
TEST_P(GlobalKeys, TheTranscribersKeysActAndTypingDoesNothing)
{
    Open("; for transcribers: nothing on plain letters\n"
         "previous = Ctrl+Alt+U\nplay = Ctrl+Alt+P\nstop = Ctrl+Alt+S\nnext = Ctrl+Alt+N\n"
         "back = Ctrl+Alt+Comma\nforward = Ctrl+Alt+Period\nmark = Ctrl+Alt+M\nrecord = Ctrl+Alt+0\n"
         "pause = F8\nrepeat = none\nshuffle = Z\n");
    // The faulty line is named; the program runs on with the others.
    EXPECT_NE(problems_.find("第 12 行：未知的动作“shuffle”"), std::string::npos) << problems_;
    Session& s = *s_;
    ASSERT_TRUE(s.SeekTo(20000));
    const std::string before = s.Shown(IDC_TIME_LINE) + s.Shown(IDC_MARK_LINE) + s.Shown(IDC_STATE_LINE);
    const int at = s.player->PositionMs();

    // Today's keys, then a sentence with capitals, commas and a full stop.
    for (const char* old : {"p", "h", "comma", "period", "ctrl", "shift", "KP_0", "n", "u", "s"})
        ASSERT_TRUE(Press(old));
    const QString sentence = QStringLiteral("Please send Hugh the notes, page 10. Shall we stop?");
    ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), {"type", "--delay", "20", sentence}), 0);
    ASSERT_TRUE(Eventually([&] { return focused_.text().endsWith(sentence); }));
    QTest::qWait(kSettleMs);
    EXPECT_EQ(s.player->Status(), "Paused");
    EXPECT_EQ(s.player->Track(), 0);
    EXPECT_TRUE(s.PlayerAt(at, 20)) << "player at " << s.player->PositionMs() << ", was at " << at;
    EXPECT_EQ(s.Shown(IDC_TIME_LINE) + s.Shown(IDC_MARK_LINE) + s.Shown(IDC_STATE_LINE), before);
    EXPECT_EQ(static_cast<QListWidget&>(*s.App().Control(IDC_MARK_LIST)).count(), 0);

    EachActsOncePerPress({"ctrl+alt+p", "F8", "ctrl+alt+comma", "ctrl+alt+period", "ctrl+alt+m", nullptr,
                          "ctrl+alt+0", "ctrl+alt+n", "ctrl+alt+u", "ctrl+alt+s"});
}

// Every key name the keys file takes, typed as the keysym X names that key
// by, reaches the XInput2 source; a new layout while keys are held (Z moves
// on a German one) presses no held key again, and a held Ctrl and Alt still
// count for a written chord.
TEST(X11Keys, EveryNameReachesItsKeyAndHeldKeysOutlastANewLayout)
{
    // The file's name, then X's.
    QStringList names = QStringLiteral(", comma Comma comma . period Period period FullStop period Shift Shift_R Ctrl "
                                       "Control_R KPAdd KP_Add KPSubtract KP_Subtract KPMultiply KP_Multiply KPDivide "
                                       "KP_Divide KPDecimal KP_Decimal").split(' ');
    for (char c = 'A'; c <= 'Z'; ++c) names << QString(c) << QString(c).toLower();
    for (int i = 0; i < 10; ++i)
        names << QString::number(i) << QString::number(i) << QStringLiteral("KP%1").arg(i) << QStringLiteral("KP_%1").arg(i);
    for (int i = 1; i <= 12; ++i) names << QStringLiteral("F%1").arg(i) << QStringLiteral("F%1").arg(i);
    const QString alone = "stop=none\npause=none\nprevious=none\nnext=none\nback=none\nforward=none\nmark=none\n"
                          "repeat=none\nrecord=none\nplay=";
    for (qsizetype i = 0; i < names.size(); i += 2) {
        const auto map = morvane::keys::ParseKeysFile((alone + names[i]).toStdString()).map;
        const auto keyboard = morvane::x11::OpenGlobalKeyboard(map);
        ASSERT_TRUE(keyboard && Press(qPrintable(names[i + 1])));
        EXPECT_TRUE(Eventually([&] { return keyboard->Pressed(HotKey::Play); })) << qPrintable(names[i]);
    }

    const auto keyboard =
        morvane::x11::OpenGlobalKeyboard(morvane::keys::ParseKeysFile("play = Ctrl+Alt+Z\npause = F8").map);
    const QTemporaryDir dir;
    const QStringList saved{dir.filePath("keymap.xkb"), qEnvironmentVariable("DISPLAY")};
    ASSERT_TRUE(keyboard && QProcess::execute("xkbcomp", {saved[1], saved[0]}) == 0);
    const auto xdotool = [](const char* verb, const char* keys) {
        return QProcess::execute("xdotool", {verb, keys}) == 0;
    };
    EXPECT_TRUE(xdotool("keydown", "F8") && xdotool("keydown", "ctrl+alt"));
    EXPECT_TRUE(Eventually([&] { return keyboard->Pressed(HotKey::Pause); }));
    EXPECT_EQ(QProcess::execute("setxkbmap", {"-layout", "de"}), 0);
    EXPECT_TRUE(Press("z"));
    EXPECT_TRUE(Eventually([&] { return keyboard->Pressed(HotKey::Play); }));
    EXPECT_TRUE(xdotool("keyup", "ctrl+alt+F8"));
    EXPECT_EQ(QProcess::execute("xkbcomp", QStringList{"-w", "0"} + saved), 0);
    EXPECT_FALSE(keyboard->Pressed(HotKey::Pause));
}

INSTANTIATE_TEST_SUITE_P(Players, GlobalKeys, testing::ValuesIn(kPlayers),
                         [](const auto& player) { return player.param; });

} // namespace
