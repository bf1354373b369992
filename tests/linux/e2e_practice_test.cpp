// A passage repeated against each real player, started from the list's real
// context menu, and the speed: judged by the player's own position and rate.

#include <QListWidget>
#include <QMenu>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include "harness.h"

using namespace morvane::e2e;

namespace {

QAction* Item(const QMenu& menu, const QString& text)
{
    const QList<QAction*> actions = menu.actions();
    const auto found = std::ranges::find(actions, text, &QAction::text);
    return found != actions.end() ? *found : nullptr;
}

class Practice : public testing::TestWithParam<std::string> {};

TEST_P(Practice, APassageRepeatsThreeTimesWithAGapThenPlaysOn)
{
    Session s{GetParam()};
    ASSERT_TRUE(s.App().Start());
    ASSERT_TRUE(s.Shows("暂停")) << s.Shown(IDC_STATE_LINE);
    auto& list = static_cast<QListWidget&>(*s.App().Control(IDC_MARK_LIST));
    for (const int ms : {10000, 14000}) {  // the passage's two marks
        ASSERT_TRUE(s.SeekTo(ms)) << s.At();
        Click(s.App(), IDC_RECORD);
    }
    ASSERT_EQ(list.count(), 2);
    const int a = StampMs(list.item(0)->text()).value_or(-1), b = StampMs(list.item(1)->text()).value_or(-1);
    s.App().Form().Passes_Click(3);
    s.App().Form().Gap_Click(1000);

    // A real right click on the first entry, then 复读这一段 in the menu.
    OnNextModal<QMenu>([&](QMenu& menu) {
        if (QAction* repeat = Item(menu, "复读这一段"); repeat != nullptr)
            QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.actionGeometry(repeat).center());
    });
    const QPoint entry = list.viewport()->mapToGlobal(list.visualItemRect(list.item(0)).center());
    QProcess::execute("xdotool", {"mousemove", QString::number(entry.x()), QString::number(entry.y()), "click", "3"});

    // The player stands at B: each drop back to A starts a pass. Until the
    // last pass it never goes more than 0.3 s past B, and pauses between.
    int passes = 0, gaps = 0, worst_past_b = -1000, last = s.player->PositionMs();
    bool said = false, was_playing = false;
    const bool played_on = Eventually([&] {
        const int at = s.player->PositionMs();
        const bool playing = s.player->Status() == "Playing";
        if (last > a + 2000 && at >= 0 && at < a + 1000) ++passes;
        last = at;
        if (passes == 0) return false;
        said = said || Text(s.App(), IDC_STATE_LINE).contains("复读第");
        if (passes < 3) worst_past_b = std::max(worst_past_b, at - b);
        if (passes < 3 && was_playing && !playing) ++gaps;
        was_playing = playing;
        QTest::qWait(20);
        return passes == 3 && playing && at > b + 1500;
    }, 45000);
    EXPECT_TRUE(said && played_on && gaps == 2) << s.At() << ": " << passes << " passes, " << gaps << " gaps";
    EXPECT_LE(worst_past_b, 300) << "B at " << b;
    EXPECT_TRUE(Eventually([&] { return !Text(s.App(), IDC_STATE_LINE).contains("复读"); }, 1000));

    // Speed: 0.75 reaches the player, whose position the read-outs keep to;
    // greyed in the menu where its rate is fixed.
    const bool fixed = s.player->RateFixed();
    if (!fixed) {
        s.App().Form().Speed_Click(0.75);
        EXPECT_TRUE(Eventually([&] { return std::abs(s.player->Rate() - 0.75) < 0.01; })) << s.player->Rate();
        for (int sample = 0; sample < 4; ++sample) {
            QTest::qWait(500);
            EXPECT_TRUE(s.Follows(s.ShownMs().value_or(-1000), s.player->PositionMs())) << s.At();
        }
    }
    // From the keyboard's menu key, over the selected entry; the read-outs
    // run on under it.
    int enabled = -1;
    bool ticked = false;
    OnNextModal<QMenu>([&](QMenu& menu) {
        const QString shown = Text(s.App(), IDC_MARK_LINE);
        ticked = Eventually([&] { return Text(s.App(), IDC_MARK_LINE) != shown; }, 1000);
        QAction* speed = Item(menu, "播放速度");
        enabled = 0;
        for (const QAction* choice : speed != nullptr ? speed->menu()->actions() : QList<QAction*>())
            enabled += choice->isEnabled();
        menu.close();
    });
    QTest::keyClick(&list, Qt::Key_Menu);
    EXPECT_TRUE(ticked);
    EXPECT_EQ(enabled, fixed ? 0 : 7);
}

INSTANTIATE_TEST_SUITE_P(Players, Practice, testing::Values("mpv", "vlc", "audacious"),
                         [](const auto& player) { return player.param; });

} // namespace
