// A screen reader's view of the window: a real AT-SPI client reads a list
// long enough to scroll while the player plays, and the window keeps up.

#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "harness.h"

using namespace morvane::e2e;

// Each entry as a screen reader walks the list: its state, place and name.
constexpr char kReader[] = R"(
import sys, gi
gi.require_version('Atspi', '2.0')
from gi.repository import Atspi
def children(node): return map(node.get_child_at_index, range(node.get_child_count()))
def find(node): return node if node.get_role() == Atspi.Role.LIST else next(filter(None, map(find, children(node))), None)
app = next(a for a in children(Atspi.get_desktop(0)) if a.get_process_id() == int(sys.argv[1]))
for entry in children(find(app)):
    entry.get_state_set(); entry.get_extents(Atspi.CoordType.SCREEN)
    print(entry.get_index_in_parent(), entry.get_name())
)";

TEST(ScreenReader, ReadsALongListWhileTheWindowKeepsUp)
{
    // The accessibility bus, started turned on: the window's bridge joins it
    // once it appears. Off the X display, so no later program there finds it.
    QProcess launcher;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    launcher.setProcessEnvironment(environment);
    launcher.start(QStringLiteral("/usr/libexec/at-spi-bus-launcher"), {"--launch-immediately", "--a11y=1", "--screen-reader=1"});
    ASSERT_TRUE(Eventually([] { return QDBusConnection::sessionBus().interface()->isServiceRegistered("org.a11y.Bus").value(); }));
    const QDBusReply<QString> address = QDBusInterface("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus").call("GetAddress");
    ASSERT_TRUE(address.isValid()) << address.error().message().toStdString();

    Session s("mpv");
    ASSERT_TRUE(s.App().Start());
    s.player->SetPaused(false);
    ASSERT_TRUE(s.Shows("播放"));
    // A file of entries with notes, as wide as the list once it scrolls.
    QTemporaryDir dir;
    QFile marks(dir.filePath(QStringLiteral("课文.txt")));
    QStringList entries;
    for (int i = 1; i <= 20; ++i) entries << QStringLiteral("[000:%1:000] 注释:第%2句").arg(i, 2, 10, QChar('0')).arg(i);
    ASSERT_TRUE(marks.open(QIODevice::WriteOnly) && marks.write(entries.join("\r\n").toUtf8()) > 0);
    marks.close();
    OnNextModal<QFileDialog>([&](QFileDialog& files) {
        files.setDirectory(dir.path());
        files.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("课文.txt"));
        static_cast<QDialog&>(files).accept();
    });
    Click(s.App(), IDC_LOAD);
    ASSERT_EQ(static_cast<QListWidget&>(*s.App().Control(IDC_MARK_LIST)).count(), 20);
    for (int i = 0; i < 20; ++i) entries[i].prepend(QString::number(i) + ' ');

    QProcess reader;
    environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("AT_SPI_BUS_ADDRESS"), address.value());
    reader.setProcessEnvironment(environment);
    reader.start("/usr/bin/python3", {"-c", kReader, QString::number(QCoreApplication::applicationPid())});
    QSet<QString> shown;  // the read-outs run on while it reads
    EXPECT_TRUE(Eventually([&] { return shown.insert(Text(s.App(), IDC_MARK_LINE)), reader.state() == QProcess::NotRunning; }, 60000));
    EXPECT_GE(shown.size(), 10);
    EXPECT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();
    EXPECT_EQ(QString::fromUtf8(reader.readAllStandardOutput()).trimmed().toStdString(), entries.join('\n').toStdString());
    launcher.terminate();
    launcher.waitForFinished();
}
