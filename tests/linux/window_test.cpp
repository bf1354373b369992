// The whole window in-process over a stand-in player: layout, life, and
// every kind of event reaching MainForm and coming back as widget changes.

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <QTreeView>

#include <functional>

#include "app/layout/control_ids.h"
#include "app/layout/layout.h"
#include "app/qt/app.h"
#include "app/qt/keys.h"
#include "app/qt/mark_list_widget.h"
#include "modal.h"

namespace {

using morvane::test::OnNextModal;

class StubPlayer final : public morvane::Player {
public:
    std::int32_t position_ms = 12300, length_sec = 245;
    int ticks = 0;
    QStringList commands;
    QList<std::int32_t> jumps;

    void Refresh() override {}
    std::uintptr_t FindPlayer() override { return 1; }
    morvane::PlayState GetPlayState() override { return ++ticks, morvane::PlayState::Playing; }
    std::int32_t GetPositionMs() override { return position_ms; }
    std::int32_t GetLengthSec() override { return length_sec; }
    void JumpToMs(std::int32_t ms) override { jumps << ms; }
    void CmdPrev() override { commands << "prev"; }
    void CmdPlay() override { commands << "play"; }
    void CmdPause() override { commands << "pause"; }
    void CmdStop() override { commands << "stop"; }
    void CmdNext() override { commands << "next"; }
    bool ReadTitle(std::u16string& title) override { return title = u"第一课 - mpv", true; }
    std::u16string Name() override { return u"mpv"; }
    std::u16string NotFoundMessage() override { return u"没有找到播放器!\r\n请先打开 mpv"; }
};

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

    StubPlayer player_;
    morvane::qt::SilentKeyboard keyboard_;
    std::unique_ptr<morvane::qt::App> app_;

    template <typename Widget>
    Widget& Get(int id)
    {
        return *qobject_cast<Widget*>(app_->Control(id));
    }
    morvane::qt::MarkListWidget& List() { return Get<morvane::qt::MarkListWidget>(IDC_MARK_LIST); }
    QPoint Row(int row) { return List().visualItemRect(List().item(row)).center(); }
    QString Text(int id) { return Get<QLabel>(id).text(); }
    void Click(int id) { Get<QPushButton>(id).click(); }
    void Record(std::int32_t ms)
    {
        player_.position_ms = ms;
        Click(IDC_RECORD);
    }
    void SendMouse(QEvent::Type type, QPoint at)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, List().viewport()->mapToGlobal(at), button, button, Qt::NoModifier);
        QApplication::sendEvent(List().viewport(), &event);
    }

private slots:
    void init()
    {
        player_ = StubPlayer();
        app_ = std::make_unique<morvane::qt::App>(player_, keyboard_);
    }

    void cleanup() { app_.reset(); }

    // Qt's translations are loaded whatever the locale, so the program
    // never mixes English into its Chinese face.
    void qtsOwnWordsAreChinese()
    {
        QMessageBox question(QMessageBox::Question, QString(), QString(), QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(question.button(QMessageBox::Yes)->text(), QStringLiteral("是(&Y)"));
        QCOMPARE(question.button(QMessageBox::No)->text(), QStringLiteral("否(&N)"));
        QFileDialog files(&app_->Window());
        files.setOption(QFileDialog::DontUseNativeDialog);
        const auto* view = files.findChild<QTreeView*>();
        QVERIFY(view != nullptr);
        QCOMPARE(view->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("名称"));
    }

    void theWindowFollowsTheTable()
    {
        QWidget& window = app_->Window();
        QCOMPARE(window.logicalDpiY(), 96);
        QCOMPARE(window.size(), QSize(408, 284));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(window.windowTitle(), QString("Morvane"));
        QCOMPARE(window.windowIcon().availableSizes(), QList<QSize>{QSize(32, 32)});
        // Inside a frame, a control stands relative to the frame.
        QCOMPARE(Get<QPushButton>(IDC_PLAY).parentWidget(), app_->Control(IDC_PLAYER_FRAME));
        QCOMPARE(Get<QPushButton>(IDC_PLAY).geometry(), QRect(48, 16, 37, 17));
        QCOMPARE(Get<QLabel>(IDC_TIME_LINE).geometry(), QRect(168, 144, 233, 17));
        QCOMPARE(Get<QGroupBox>(IDC_PLAYER_FRAME).title(), QString("播放器控制区"));
        QVERIFY(Get<QPushButton>(IDC_STOP).isFlat() && !Get<QPushButton>(IDC_SORT).isFlat());
        QCOMPARE(Get<QLabel>(IDC_MARK_LINE).palette().color(QPalette::Window), QColor(192, 255, 255));

        const std::pair<int, QString> longest[] = {{IDC_STATE_LINE, "mpv处于播放状态......"},
                                                   {IDC_TIME_LINE, "总时间:[004:05]<==>当前时间:[001:23]"},
                                                   {IDC_MARK_LINE, "[000:12:300]<==>[001:23:400]"}};
        for (const auto& [id, text] : longest) {
            const QLabel& box = Get<QLabel>(id);
            QVERIFY2(box.fontMetrics().horizontalAdvance(text) <= box.contentsRect().width(), qPrintable(text));
            QVERIFY(box.fontMetrics().height() <= box.contentsRect().height());
        }
        const QFontMetrics list(List().font());
        QCOMPARE(list.horizontalAdvance("iiii1111"), list.horizontalAdvance("WWWW::::"));

        // Tab goes through the focusable controls in the table's order.
        QWidget* stop = app_->Control(IDC_CLEAR);
        for (const morvane::layout::Row* row : morvane::layout::RowsInTabOrder()) {
            if (row->kind == morvane::layout::Kind::Frame || row->kind == morvane::layout::Kind::ReadOut) continue;
            QCOMPARE(stop, app_->Control(row->id));
            do stop = stop->nextInFocusChain();
            while ((stop->focusPolicy() & Qt::TabFocus) == 0 || !stop->isVisibleTo(&window));
        }
    }

    void theWindowTicksOnlyWhileItIsUp()
    {
        QTest::qWait(50);
        QCOMPARE(player_.ticks, 0);
        QVERIFY(app_->Start());
        QVERIFY(app_->Window().isVisible());
        QCOMPARE(app_->Window().focusWidget(), app_->Control(IDC_CLEAR));
        QTRY_COMPARE(Text(IDC_STATE_LINE), QString("mpv处于播放状态......"));
        QCOMPARE(Text(IDC_MARK_LINE), QString("[000:00:000]<==>[000:12:300]"));
        QCOMPARE(app_->Window().windowTitle(), QString("第一课 - mpv"));

        Click(IDC_END);
        QVERIFY(!app_->Window().isVisible());
        const int ticks = player_.ticks;
        QTest::qWait(50);
        QCOMPARE(player_.ticks, ticks);
    }

    void buttonsAndEnterReachMainForm()
    {
        QVERIFY(app_->Start());
        for (int id : {IDC_PLAY, IDC_PAUSE, IDC_STOP, IDC_PREVIOUS, IDC_NEXT}) Click(id);
        QCOMPARE(player_.commands, (QStringList{"play", "pause", "stop", "prev", "next"}));
        Click(IDC_FORWARD);  // 快进
        QCOMPARE(player_.jumps, QList<std::int32_t>{14300});
        QPushButton& stop = Get<QPushButton>(IDC_STOP);
        stop.setFocus();
        QTest::keyClick(&stop, Qt::Key_Return);
        QCOMPARE(player_.commands.back(), QString("stop"));
        QCOMPARE(player_.commands.size(), 6);
    }

    void theListPassesKeysClicksAndMovesToMainForm()
    {
        QVERIFY(app_->Start());
        QVERIFY(QTest::qWaitForWindowExposed(&app_->Window()));
        Record(83400);
        Record(12300);
        QCOMPARE(Text(IDC_COUNT_LINE), QString("2"));
        QCOMPARE(List().currentRow(), 1);

        QTest::keyClick(&List(), 'P');
        QCOMPARE(player_.commands, QStringList{"play"});
        QTest::keyClick(&List(), Qt::Key_Return);
        QTest::mouseClick(List().viewport(), Qt::LeftButton, {}, Row(0));
        SendMouse(QEvent::MouseButtonDblClick, Row(0));
        QCOMPARE(player_.jumps, (QList<std::int32_t>{12300, 83400}));
        Click(IDC_DELETE);  // 删除 takes the entry the user selected
        QCOMPARE(List().item(0)->text(), QString("[000:12:300]"));
        Record(83400);

        // The tip is the entry under the mouse; one showing follows it.
        SendMouse(QEvent::MouseMove, Row(0));
        QCOMPARE(List().toolTip(), QString("[000:12:300]"));
        QHelpEvent help(QEvent::ToolTip, Row(0), List().viewport()->mapToGlobal(Row(0)));
        QApplication::sendEvent(List().viewport(), &help);
        QTRY_VERIFY(QToolTip::isVisible());
        SendMouse(QEvent::MouseMove, Row(1));
        QCOMPARE(QToolTip::text(), QString("[001:23:400]"));
        SendMouse(QEvent::MouseMove, QPoint(5, List().viewport()->height() - 2));
        QCOMPARE(List().toolTip(), QString());
        QTRY_VERIFY(!QToolTip::isVisible());
    }

    void theScrollBarScrollsAndChanges()
    {
        QVERIFY(app_->Start());
        QScrollBar& bar = Get<QScrollBar>(IDC_SEEK_BAR);
        QTRY_COMPARE(bar.maximum(), 245);
        bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(Text(IDC_SEEK_TIME), QString("[000:01]"));
        bar.setSliderDown(true);
        bar.setSliderPosition(67);
        QCOMPARE(Text(IDC_SEEK_TIME), QString("[001:07]"));
        bar.setSliderDown(false);
        Click(IDC_JUMP);  // Jump
        QCOMPARE(player_.jumps, QList<std::int32_t>{67000});
        // A shorter track clamps the bar, and MainForm hears of it.
        player_.length_sec = 30;
        QTRY_COMPARE(Text(IDC_SEEK_TIME), QString("[000:30]"));
    }

    void notesAreAskedForAndHeldToTheEntryLength()
    {
        QVERIFY(app_->Start());
        Get<QCheckBox>(IDC_ASK_NOTE).setChecked(true);
        int limit = 0;
        OnNextModal<QInputDialog>([&limit](QInputDialog& input) {
            limit = input.findChild<QLineEdit*>()->maxLength();
            input.setTextValue("第一句 注意连读");
            input.accept();
        });
        Record(12300);
        QCOMPARE(limit, 32767 - 16);
        QCOMPARE(List().item(0)->text(), QString("[000:12:300] 注释:第一句 注意连读"));
        OnNextModal<QInputDialog>([](QInputDialog& input) { input.reject(); });
        Record(13000);
        QCOMPARE(List().item(1)->text(), QString("[000:13:000] 注释:"));
    }

    void marksGoToAFileAndComeBack()
    {
        QVERIFY(app_->Start());
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
        QCOMPARE(asked, "保存记录文件|文本文件(*.txt);Audacity 标签(*.txt);SRT 字幕(*.srt);WebVTT 字幕(*.vtt)|" +
                            QDir::homePath());
        QFile saved(dir.filePath("课文.txt"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QByteArray("\xEF\xBB\xBF[000:12:300]\r\n"));

        Click(IDC_CLEAR);
        choose("课文.txt");
        Click(IDC_LOAD);
        QVERIFY(asked.startsWith("打开记录文件|文本文件(*.txt);"));
        QVERIFY(asked.endsWith(";所有文件(*.*)|" + dir.path()));  // where the last one ended
        QCOMPARE(List().count(), 1);
        QCOMPARE(List().item(0)->text(), QString("[000:12:300]"));

        // The other types: the chosen one decides the format and the
        // extension, and each file comes back as the same mark.
        const std::pair<const char*, const char*> others[] = {
            {"标签.txt", "12.300000\t12.300000\t\n"}, {"字幕.srt", "1\n00:00:12,300 --> "}, {"网页.vtt", "WEBVTT\n"}};
        for (int type = 1; type <= 3; ++type) {
            const QString name = QString::fromUtf8(others[type - 1].first);
            choose(name.section('.', 0, 0), type);
            Click(IDC_SAVE);
            QFile file(dir.filePath(name));
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(name));
            QVERIFY2(file.readAll().contains(others[type - 1].second), qPrintable(name));
            Click(IDC_CLEAR);
            choose(name);
            Click(IDC_LOAD);
            QCOMPARE(List().count(), 1);
            QCOMPARE(List().item(0)->text(), QString("[000:12:300]"));
        }
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
