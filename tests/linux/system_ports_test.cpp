// The code page and the disk files: what mark files and titles go through.

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "app/file_errors.h"
#include "app/qt/code_page.h"
#include "app/qt/files.h"
#include "app/qt/text.h"

using morvane::qt::ToText;

constexpr std::size_t kCap = 256u << 20;

// What the user reads of a failure; empty for none.
std::u16string Words(const std::optional<morvane::FileError>& error)
{
    return error ? morvane::FileErrorText(*error) : std::u16string();
}

class SystemPortsTest : public QObject {
    Q_OBJECT

    std::optional<QTemporaryDir> dir_;
    std::u16string Path(const QString& name) const { return ToText(dir_->filePath(name)); }
    void Write(const QString& name, const QByteArray& bytes)
    {
        QFile file(dir_->filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    QByteArray Read(const QString& name)
    {
        QFile file(dir_->filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

private slots:
    void init() { dir_.emplace(); }

    void codePageKeepsWindowsChineseAndAllOfUnicode()
    {
        const morvane::qt::Gb18030CodePage code_page;
        // Code page 936 bytes, as a Chinese Windows wrote them.
        QCOMPARE(code_page.ToText("\xB8\xB4\xB6\xC1 ok"), std::u16string(u"复读 ok"));
        QCOMPARE(code_page.ToAnsi(u"复读 ok"), std::optional<std::string>("\xB8\xB4\xB6\xC1 ok"));
        // Beyond 936: an ideograph outside the BMP, the euro sign, Thai.
        const std::u16string wide = u"\U00020000 € ไทย";
        QCOMPARE(code_page.ToText(code_page.ToAnsi(wide).value_or("")), wide);
        // Broken UTF-16 has no form; bytes that are no GB18030 read as U+FFFD.
        QCOMPARE(code_page.ToAnsi(std::u16string(u"a") + char16_t(0xD800) + u"b"), std::nullopt);
        QCOMPARE(code_page.ToAnsi(std::u16string(u"a") + char16_t(0xDC00)), std::nullopt);
        QCOMPARE(code_page.ToText("a\xFF" "b\xB8\xB4" "c\xB8"), std::u16string(u"a\uFFFDb复c\uFFFD"));
    }

    void readAllTakesOnlyRegularFilesUpTo256MiB()
    {
        morvane::qt::DiskFiles files;
        Write("marks.txt", QByteArray("a\r\n\0b", 5));
        QCOMPARE(files.ReadAll(Path("marks.txt"), kCap).bytes, std::string("a\r\n\0b", 5));
        QCOMPARE(Words(files.ReadAll(Path("none.txt"), kCap).error), std::u16string(u"文件不存在"));
        QVERIFY(QDir(dir_->path()).mkdir("folder"));
        QCOMPARE(Words(files.ReadAll(Path("folder"), kCap).error), std::u16string(u"这是一个文件夹"));
        // A FIFO would block the window until some program wrote into it.
        QCOMPARE(::mkfifo(QFile::encodeName(dir_->filePath("fifo")).constData(), 0600), 0);
        QCOMPARE(Words(files.ReadAll(Path("fifo"), kCap).error), std::u16string(u"不是普通文件"));

        QFile big(dir_->filePath("big.txt"));
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(kCap + 1));  // sparse
        big.close();
        const auto read = files.ReadAll(Path("big.txt"), kCap);
        QVERIFY(!read.ok && Words(read.error) == u"文件太大");
    }

    void writeReplacesWholeOrLeavesTheOldFile()
    {
        morvane::qt::DiskFiles files;
        Write("marks.txt", "old content that is longer");
        QVERIFY(!files.WriteReplacing(Path("marks.txt"), "new"));
        QCOMPARE(Read("marks.txt"), QByteArray("new"));
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"marks.txt"});

        // Read-only even to root, as Windows has it.
        QVERIFY(!files.ReadOnly(Path("marks.txt")));
        QVERIFY(QFile::setPermissions(dir_->filePath("marks.txt"), QFileDevice::ReadOwner));
        QVERIFY(files.ReadOnly(Path("marks.txt")));

        QCOMPARE(Words(files.WriteReplacing(Path("no/such/marks.txt"), "x")), std::u16string(u"文件夹不存在"));
        QVERIFY(!files.Exists(Path("no/such/marks.txt")));
        QVERIFY(QDir(dir_->path()).mkdir("folder"));
        QCOMPARE(Words(files.WriteReplacing(Path("folder"), "x")), std::u16string(u"这是一个文件夹"));
    }
};

QTEST_GUILESS_MAIN(SystemPortsTest)
#include "system_ports_test.moc"
