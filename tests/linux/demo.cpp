// A short run of use beside the mpv already running on the session bus,
// driven as a person would, slowly enough to watch: play, three marks (one
// with a note typed into the real prompt), sort, save through the real save
// dialog, and a picture of the whole screen.
//
//   morvane-demo --out DIR      writes DIR/marks.txt and DIR/screen.png

#include <QCheckBox>
#include <QCommandLineParser>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <iostream>
#include <stdexcept>

#include "app/layout/control_ids.h"
#include "harness.h"

using namespace morvane::e2e;

namespace {

const QString kNote = QStringLiteral("这一句要多听几遍");

void Pause(int ms = 500) { QTest::qWait(ms); }

void Require(bool ok, const QString& what)
{
    if (!ok) throw std::runtime_error(what.toStdString());
}

// Typed as through an input method: each character committed in turn.
void Type(QWidget& field, const QString& text)
{
    for (const QChar c : text) {
        QInputMethodEvent commit;
        commit.setCommitString(c);
        QApplication::sendEvent(&field, &commit);
        QTest::qWait(80);
    }
}

void ClickButton(QDialog& dialog, QDialogButtonBox::StandardButton which)
{
    QPushButton* button = dialog.findChild<QDialogButtonBox*>()->button(which);
    QTest::mouseClick(button, Qt::LeftButton);
}

int CountMarks(const morvane::qt::App& app)
{
    return static_cast<const QListWidget*>(app.Control(IDC_MARK_LIST))->count();
}

void Record(const morvane::qt::App& app, int count_after)
{
    Click(app, IDC_RECORD);
    Require(Eventually([&] { return CountMarks(app) == count_after; }), QStringLiteral("记录 made no entry"));
    Pause();
}

void Run(const QDir& out)
{
    const QString marks = out.filePath(QStringLiteral("marks.txt"));
    const QString screen = out.filePath(QStringLiteral("screen.png"));

    QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    Require(bus != nullptr, QStringLiteral("no session bus"));
    // mpv takes its MPRIS name a moment after its IPC socket answers.
    const bool player = Eventually([&] {
        return !bus->registeredServiceNames().value().filter(QStringLiteral("org.mpris.MediaPlayer2.")).isEmpty();
    }, 10000);
    Require(player, QStringLiteral("no MPRIS player on the session bus; start mpv first"));

    Program program;
    morvane::qt::App& app = program.App();
    Require(app.Start(), QStringLiteral("Morvane found no player"));
    app.Window().move(540, 60);  // beside mpv rather than over it
    Require(QTest::qWaitForWindowExposed(&app.Window()), QStringLiteral("the window did not show"));
    Pause();

    Click(app, IDC_PLAY);
    Require(Eventually([&] { return Text(app, IDC_STATE_LINE).contains(QStringLiteral("播放状态")); }),
            "the player did not start playing: " + Text(app, IDC_STATE_LINE));
    Pause(2000);
    Record(app, 1);

    QString noted;
    OnNextModal<QInputDialog>([&noted](QInputDialog& prompt) {
        Pause();
        if (auto* field = prompt.findChild<QLineEdit*>()) Type(*field, kNote);
        noted = prompt.textValue();
        Pause();
        ClickButton(prompt, QDialogButtonBox::Ok);
    });
    Click(app, IDC_ASK_NOTE);
    Pause();
    Record(app, 2);
    Require(noted == kNote, "the prompt took \"" + noted + "\"");
    Click(app, IDC_ASK_NOTE);
    Pause(1000);
    Record(app, 3);
    Click(app, IDC_SORT);
    Pause();

    // The mark file, then the same marks for Audacity and as subtitles,
    // each through the type chosen in the real dialog.
    const char* const names[] = {"marks", "labels", "subtitles", "subtitles"};
    const char* const saved_as[] = {"marks.txt", "labels.txt", "subtitles.srt", "subtitles.vtt"};
    for (int type = 0; type < 4; ++type) {
        QFile::remove(out.filePath(QString::fromUtf8(saved_as[type])));
        OnNextModal<QFileDialog>([&out, type, name = names[type]](QFileDialog& files) {
            Pause();
            files.setDirectory(out);
            files.selectNameFilter(files.nameFilters().at(type));
            if (auto* field = files.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) QTest::keyClicks(field, name);
            Pause();
            ClickButton(files, QDialogButtonBox::Save);
        });
        Click(app, IDC_SAVE);
        QFile saved(out.filePath(QString::fromUtf8(saved_as[type])));
        Require(saved.open(QIODevice::ReadOnly), saved.fileName() + " was not saved");
        const QString text = QString::fromUtf8(saved.readAll());
        Require(text.contains(kNote), saved.fileName() + " holds:\n" + text);
        if (type == 0) Require(text.count(QStringLiteral("\r\n")) == 3, marks + " holds:\n" + text);
    }

    Pause(1000);  // a few ticks, so the read-outs are current in the picture
    Require(QGuiApplication::primaryScreen()->grabWindow(0).save(screen), "cannot write " + screen);
    std::cout << "screenshot: " << screen.toStdString() << "\nmarks: " << marks.toStdString() << std::endl;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("A short run of Morvane beside the running mpv."));
    options.addHelpOption();
    const QCommandLineOption out_option(QStringLiteral("out"), QStringLiteral("Where the saved files and screen.png go."),
                                        QStringLiteral("DIR"));
    options.addOption(out_option);
    options.process(application);
    if (!options.isSet(out_option)) {
        std::cerr << "morvane-demo: --out DIR is required\n";
        return 2;
    }
    const QDir out(QDir::current().absoluteFilePath(options.value(out_option)));
    try {
        if (!out.mkpath(QStringLiteral("."))) throw std::runtime_error("cannot make " + out.path().toStdString());
        Run(out);
    } catch (const std::exception& error) {
        std::cerr << "morvane-demo: " << error.what() << std::endl;
        return 1;
    }
    return 0;
}
