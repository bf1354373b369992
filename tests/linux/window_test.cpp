// The whole window in-process over the unit tests' fake player: layout, life,
// and every kind of event reaching MainForm and coming back as widget changes.

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <QTreeView>

#include <gtest/gtest.h>

#include <algorithm>

#include "app/layout/control_ids.h"
#include "app/layout/layout.h"
#include "app/qt/app.h"
#include "app/qt/mark_list_widget.h"
#include "fakes.h"
#include "modal.h"
#include "qstring_print.h"

namespace morvane::test {
namespace {

class Window : public testing::Test {
protected:
    Window()
    {
        player_.position = 12300;
        player_.title = u"第一课 - mpv";
        player_.name = u"mpv";
        app_ = std::make_unique<qt::App>(player_, keyboard_);
    }

    template <typename Widget>
    Widget& Get(int id)
    {
        return *qobject_cast<Widget*>(app_->Control(id));
    }
    qt::MarkListWidget& List() { return Get<qt::MarkListWidget>(IDC_MARK_LIST); }
    QPoint Row(int row) { return List().visualItemRect(List().item(row)).center(); }
    QString Text(int id) { return Get<QLabel>(id).text(); }
    void Click(int id) { Get<QPushButton>(id).click(); }
    void Record(std::int32_t ms)
    {
        player_.position = ms;
        Click(IDC_RECORD);
    }
    // Records `ms` with `note` typed into the prompt.
    void RecordWithNote(std::int32_t ms, const QString& note)
    {
        Get<QCheckBox>(IDC_ASK_NOTE).setChecked(true);
        OnNextModal<QInputDialog>([note](QInputDialog& input) {
            input.setTextValue(note);
            input.accept();
        });
        Record(ms);
    }
    void SendMouse(QEvent::Type type, QPoint at)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, List().viewport()->mapToGlobal(at), button, button, Qt::NoModifier);
        QApplication::sendEvent(List().viewport(), &event);
    }
    long Ticks() const { return std::ranges::count(player_.log, std::string("state")); }

    FakePlayer player_;
    FakeHotKeys keyboard_;
    std::unique_ptr<qt::App> app_;
};

// Qt's translations are loaded whatever the locale, so the program never
// mixes English into its Chinese face.
TEST_F(Window, QtsOwnWordsAreChinese)
{
    QMessageBox question(QMessageBox::Question, QString(), QString(), QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(question.button(QMessageBox::Yes)->text(), QStringLiteral("是(&Y)"));
    EXPECT_EQ(question.button(QMessageBox::No)->text(), QStringLiteral("否(&N)"));
    QFileDialog files(&app_->Window());
    files.setOption(QFileDialog::DontUseNativeDialog);
    const auto* view = files.findChild<QTreeView*>();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("名称"));
}

TEST_F(Window, FollowsTheTable)
{
    QWidget& window = app_->Window();
    EXPECT_EQ(window.logicalDpiY(), 96);
    EXPECT_EQ(window.size(), QSize(408, 284));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(window.windowTitle(), QString("Morvane"));
    EXPECT_EQ(window.windowIcon().availableSizes(), QList<QSize>{QSize(32, 32)});
    // Inside a frame, a control stands relative to the frame.
    EXPECT_EQ(Get<QPushButton>(IDC_PLAY).parentWidget(), app_->Control(IDC_PLAYER_FRAME));
    EXPECT_EQ(Get<QPushButton>(IDC_PLAY).geometry(), QRect(48, 16, 37, 17));
    EXPECT_EQ(Get<QLabel>(IDC_TIME_LINE).geometry(), QRect(168, 144, 233, 17));
    EXPECT_EQ(Get<QGroupBox>(IDC_PLAYER_FRAME).title(), QString("播放器控制区"));
    EXPECT_TRUE(Get<QPushButton>(IDC_STOP).isFlat() && !Get<QPushButton>(IDC_SORT).isFlat());
    EXPECT_EQ(Get<QLabel>(IDC_MARK_LINE).palette().color(QPalette::Window), QColor(192, 255, 255));

    const std::pair<int, QString> longest[] = {{IDC_STATE_LINE, "mpv处于播放状态......"},
                                               {IDC_TIME_LINE, "总时间:[004:05]<==>当前时间:[001:23]"},
                                               {IDC_MARK_LINE, "[000:12:300]<==>[001:23:400]"}};
    for (const auto& [id, text] : longest) {
        const QLabel& box = Get<QLabel>(id);
        EXPECT_LE(box.fontMetrics().horizontalAdvance(text), box.contentsRect().width()) << text;
        EXPECT_LE(box.fontMetrics().height(), box.contentsRect().height()) << text;
    }
    const QFontMetrics list(List().font());
    EXPECT_EQ(list.horizontalAdvance("iiii1111"), list.horizontalAdvance("WWWW::::"));

    // Tab goes through the focusable controls in the table's order.
    QWidget* stop = app_->Control(IDC_CLEAR);
    for (const layout::Row* row : layout::RowsInTabOrder()) {
        if (row->kind == layout::Kind::Frame || row->kind == layout::Kind::ReadOut) continue;
        EXPECT_EQ(stop, app_->Control(row->id)) << row->id;
        do stop = stop->nextInFocusChain();
        while ((stop->focusPolicy() & Qt::TabFocus) == 0 || !stop->isVisibleTo(&window));
    }
}

TEST_F(Window, TicksOnlyWhileItIsUp)
{
    QTest::qWait(50);
    EXPECT_EQ(Ticks(), 0);
    ASSERT_TRUE(app_->Start());
    EXPECT_TRUE(app_->Window().isVisible());
    EXPECT_EQ(app_->Window().focusWidget(), app_->Control(IDC_CLEAR));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Text(IDC_STATE_LINE) == "mpv处于播放状态......"; }))
        << Text(IDC_STATE_LINE);
    EXPECT_EQ(Text(IDC_MARK_LINE), QString("[000:00:000]<==>[000:12:300]"));
    EXPECT_EQ(app_->Window().windowTitle(), QString("第一课 - mpv"));

    Click(IDC_END);
    EXPECT_FALSE(app_->Window().isVisible());
    const long ticks = Ticks();
    QTest::qWait(50);
    EXPECT_EQ(Ticks(), ticks);
}

TEST_F(Window, ButtonsAndEnterReachMainForm)
{
    ASSERT_TRUE(app_->Start());
    for (int id : {IDC_PLAY, IDC_PAUSE, IDC_STOP, IDC_PREVIOUS, IDC_NEXT}) Click(id);
    Click(IDC_FORWARD);  // 快进
    QPushButton& stop = Get<QPushButton>(IDC_STOP);
    stop.setFocus();
    QTest::keyClick(&stop, Qt::Key_Return);
    EXPECT_EQ(player_.Commands(),
              (std::vector<std::string>{"play", "pause", "stop", "prev", "next", "jump 14300", "stop"}));
}

TEST_F(Window, TheListPassesKeysClicksAndMovesToMainForm)
{
    ASSERT_TRUE(app_->Start());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&app_->Window()));
    Record(83400);
    Record(12300);
    EXPECT_EQ(Text(IDC_COUNT_LINE), QString("2"));
    EXPECT_EQ(List().currentRow(), 1);

    QTest::keyClick(&List(), 'P');
    EXPECT_EQ(player_.Commands(), std::vector<std::string>{"play"});
    QTest::keyClick(&List(), Qt::Key_Return);
    QTest::mouseClick(List().viewport(), Qt::LeftButton, {}, Row(0));
    SendMouse(QEvent::MouseButtonDblClick, Row(0));
    EXPECT_EQ(player_.jumps, (std::vector<std::int32_t>{12300, 83400}));
    Click(IDC_DELETE);  // 删除 takes the entry the user selected
    EXPECT_EQ(List().item(0)->text(), QString("[000:12:300]"));
    Record(83400);

    // The tip is the entry under the mouse; one showing follows it.
    SendMouse(QEvent::MouseMove, Row(0));
    EXPECT_EQ(List().toolTip(), QString("[000:12:300]"));
    QHelpEvent help(QEvent::ToolTip, Row(0), List().viewport()->mapToGlobal(Row(0)));
    QApplication::sendEvent(List().viewport(), &help);
    EXPECT_TRUE(QTest::qWaitFor([] { return QToolTip::isVisible(); }));
    SendMouse(QEvent::MouseMove, Row(1));
    EXPECT_EQ(QToolTip::text(), QString("[001:23:400]"));
    SendMouse(QEvent::MouseMove, QPoint(5, List().viewport()->height() - 2));
    EXPECT_EQ(List().toolTip(), QString());
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));
}

// The menu key, and Shift+F10 as on Windows, open the list's context menu
// under the selected entry.
TEST_F(Window, TheMenuKeysOpenTheListsMenuUnderTheEntry)
{
    ASSERT_TRUE(app_->Start());
    Record(12300);
    Record(83400);
    List().setCurrentRow(0);
    const std::pair<Qt::Key, Qt::KeyboardModifiers> menu_keys[] = {{Qt::Key_Menu, Qt::NoModifier},
                                                                   {Qt::Key_F10, Qt::ShiftModifier}};
    for (const auto& [key, modifiers] : menu_keys) {
        QPoint shown(-1, -1);
        QStringList items;
        OnNextModal<QMenu>([&](QMenu& menu) {
            shown = menu.pos();
            for (const QAction* action : menu.actions()) items << action->text();
            menu.close();
        });
        QTest::keyClick(&List(), key, modifiers);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !items.isEmpty(); }, 1000)) << QKeySequence(key | modifiers).toString();
        EXPECT_TRUE(items.contains("复读这一段")) << items.join('|');
        // Just below the entry, as on Windows.
        EXPECT_EQ(shown, List().viewport()->mapToGlobal(List().visualItemRect(List().item(0)).bottomLeft() + QPoint(0, 1)));
    }
}

// The sideways scroll reaches past the last pixel the list draws of an
// entry, whatever script its note is in.
TEST_F(Window, TheSidewaysScrollReachesTheEndOfEveryNote)
{
    ASSERT_TRUE(app_->Start());
    // Each longer than the list is wide.
    const QString notes[] = {
        QString("smile \U0001F600\U0001F44D\U0001F3FD ").repeated(6),  // emoji, one with a skin tone
        QString("ภาษาไทยที่ยาวมาก ").repeated(6),                      // Thai, with its marks above
        QString("مرحبا بالعالم العربي ").repeated(4),                  // Arabic, joined right to left
        QString("Cafe\u0301 na\u0308ive e\u0300\u0323\u0304 ").repeated(6),  // combining accents, stacked
    };
    qt::MarkListWidget& list = List();
    const QRect kept = list.geometry();
    for (const QString& note : notes) {
        Click(IDC_CLEAR);
        RecordWithNote(12300, note);
        ASSERT_EQ(list.count(), 1);
        ASSERT_TRUE(list.item(0)->text().endsWith(note));
        const int extent = list.Extent();
        const int viewport_width = list.viewport()->width();
        EXPECT_TRUE(QTest::qWaitFor([&] { return list.horizontalScrollBar()->maximum() == extent - viewport_width; }))
            << note << ": " << list.horizontalScrollBar()->maximum() << " for " << extent << " in " << viewport_width;

        // The entry drawn whole, unselected, on a list far wider than it.
        list.clearSelection();
        list.resize(extent + 400, kept.height());
        const QImage drawn = list.viewport()->grab().toImage();
        list.setGeometry(kept);
        const QRect row = list.visualItemRect(list.item(0));
        const QRgb paper = drawn.pixel(drawn.width() - 1, row.center().y());
        int ink_end = -1;
        for (int y = row.top(); y <= row.bottom(); ++y)
            for (int x = 0; x < drawn.width(); ++x)
                if (drawn.pixel(x, y) != paper) ink_end = std::max(ink_end, x);
        EXPECT_GT(ink_end, 0) << note;
        EXPECT_LT(ink_end, extent) << note;
    }
}

TEST_F(Window, TheScrollBarScrollsAndChanges)
{
    ASSERT_TRUE(app_->Start());
    QScrollBar& bar = Get<QScrollBar>(IDC_SEEK_BAR);
    EXPECT_TRUE(QTest::qWaitFor([&] { return bar.maximum() == 245; }));
    bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(Text(IDC_SEEK_TIME), QString("[000:01]"));
    bar.setSliderDown(true);
    bar.setSliderPosition(67);
    EXPECT_EQ(Text(IDC_SEEK_TIME), QString("[001:07]"));
    bar.setSliderDown(false);
    Click(IDC_JUMP);  // Jump
    EXPECT_EQ(player_.jumps, std::vector<std::int32_t>{67000});
    // A shorter track clamps the bar, and MainForm hears of it.
    player_.length = 30;
    EXPECT_TRUE(QTest::qWaitFor([&] { return Text(IDC_SEEK_TIME) == "[000:30]"; })) << Text(IDC_SEEK_TIME);
}

TEST_F(Window, NotesAreAskedForAndHeldToTheEntryLength)
{
    ASSERT_TRUE(app_->Start());
    Get<QCheckBox>(IDC_ASK_NOTE).setChecked(true);
    int limit = 0;
    OnNextModal<QInputDialog>([&limit](QInputDialog& input) {
        limit = input.findChild<QLineEdit*>()->maxLength();
        input.setTextValue("第一句 注意连读");
        input.accept();
    });
    Record(12300);
    EXPECT_EQ(limit, 32767 - 16);
    EXPECT_EQ(List().item(0)->text(), QString("[000:12:300] 注释:第一句 注意连读"));
    OnNextModal<QInputDialog>([](QInputDialog& input) { input.reject(); });
    Record(13000);
    EXPECT_EQ(List().item(1)->text(), QString("[000:13:000] 注释:"));
}

TEST_F(Window, MarksGoToAFileAndComeBack)
{
    ASSERT_TRUE(app_->Start());
    Record(12300);
    QTemporaryDir dir;
    QString asked;
    const auto choose = [&](const QString& name, int type = 0) {
        OnNextModal<QFileDialog>([&, name, type](QFileDialog& files) {
            asked = files.windowTitle() + "|" + files.nameFilters().join(";") + "|" + files.directory().path();
            files.selectNameFilter(files.nameFilters().at(type));
            // Typed into the name box: selectFile leaves the box alone
            // once it has the focus, which a busy machine gives it first.
            files.setDirectory(dir.path());
            files.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
            static_cast<QDialog&>(files).accept();
        });
    };
    choose("课文");
    Click(IDC_SAVE);
    EXPECT_EQ(asked, "保存记录文件|文本文件(*.txt);Audacity 标签(*.txt);SRT 字幕(*.srt);WebVTT 字幕(*.vtt)|" +
                         QDir::homePath());
    QFile saved(dir.filePath("课文.txt"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), QByteArray("\xEF\xBB\xBF[000:12:300]\r\n"));

    Click(IDC_CLEAR);
    choose("课文.txt");
    Click(IDC_LOAD);
    EXPECT_TRUE(asked.startsWith("打开记录文件|文本文件(*.txt);")) << asked;
    EXPECT_TRUE(asked.endsWith(";所有文件(*.*)|" + dir.path())) << asked;  // where the last one ended
    ASSERT_EQ(List().count(), 1);
    EXPECT_EQ(List().item(0)->text(), QString("[000:12:300]"));

    // The other types: the chosen one decides the format and the
    // extension, and each file comes back as the same mark.
    const std::pair<const char*, const char*> others[] = {
        {"标签.txt", "12.300000\t12.300000\t\n"}, {"字幕.srt", "1\n00:00:12,300 --> "}, {"网页.vtt", "WEBVTT\n"}};
    for (int type = 1; type <= 3; ++type) {
        const QString name = QString::fromUtf8(others[type - 1].first);
        choose(name.section('.', 0, 0), type);
        Click(IDC_SAVE);
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        EXPECT_TRUE(file.readAll().contains(others[type - 1].second)) << name;
        Click(IDC_CLEAR);
        choose(name);
        Click(IDC_LOAD);
        ASSERT_EQ(List().count(), 1) << name;
        EXPECT_EQ(List().item(0)->text(), QString("[000:12:300]")) << name;
    }
}

} // namespace
} // namespace morvane::test
