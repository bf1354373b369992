// The code page and the disk files: what mark files and titles go through.

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/file_errors.h"
#include "app/qt/code_page.h"
#include "app/qt/files.h"
#include "app/qt/text.h"
#include "qstring_print.h"

namespace morvane::qt {
namespace {

constexpr std::size_t kCap = 256u << 20;

// What the user reads of a failure; empty for none.
std::u16string Words(const std::optional<morvane::FileError>& error)
{
    return error ? morvane::FileErrorText(*error) : std::u16string();
}

TEST(CodePage, KeepsWindowsChineseAndAllOfUnicode)
{
    const Gb18030CodePage code_page;
    // Code page 936 bytes, as a Chinese Windows wrote them.
    EXPECT_EQ(code_page.ToText("\xB8\xB4\xB6\xC1 ok"), std::u16string(u"复读 ok"));
    EXPECT_EQ(code_page.ToAnsi(u"复读 ok"), std::optional<std::string>("\xB8\xB4\xB6\xC1 ok"));
    // Beyond 936: an ideograph outside the BMP, the euro sign, Thai.
    const std::u16string wide = u"\U00020000 € ไทย";
    EXPECT_EQ(code_page.ToText(code_page.ToAnsi(wide).value_or("")), wide);
    // Broken UTF-16 has no form; bytes that are no GB18030 read as U+FFFD.
    EXPECT_EQ(code_page.ToAnsi(std::u16string(u"a") + char16_t(0xD800) + u"b"), std::nullopt);
    EXPECT_EQ(code_page.ToAnsi(std::u16string(u"a") + char16_t(0xDC00)), std::nullopt);
    EXPECT_EQ(code_page.ToText("a\xFF" "b\xB8\xB4" "c\xB8"), std::u16string(u"a\uFFFDb复c\uFFFD"));
}

class DiskFilesTest : public testing::Test {
protected:
    std::u16string Path(const QString& name) const { return ToText(dir_.filePath(name)); }
    void Write(const QString& name, const QByteArray& bytes)
    {
        QFile file(dir_.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()) << name;
    }
    QByteArray Read(const QString& name)
    {
        QFile file(dir_.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir dir_;
    DiskFiles files_;
};

TEST_F(DiskFilesTest, ReadAllTakesOnlyRegularFilesUpTo256MiB)
{
    Write("marks.txt", QByteArray("a\r\n\0b", 5));
    EXPECT_EQ(files_.ReadAll(Path("marks.txt"), kCap).bytes, std::string("a\r\n\0b", 5));
    EXPECT_EQ(Words(files_.ReadAll(Path("none.txt"), kCap).error), std::u16string(u"文件不存在"));
    ASSERT_TRUE(QDir(dir_.path()).mkdir("folder"));
    EXPECT_EQ(Words(files_.ReadAll(Path("folder"), kCap).error), std::u16string(u"这是一个文件夹"));
    // A FIFO would block the window until some program wrote into it.
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir_.filePath("fifo")).constData(), 0600), 0);
    EXPECT_EQ(Words(files_.ReadAll(Path("fifo"), kCap).error), std::u16string(u"不是普通文件"));

    QFile big(dir_.filePath("big.txt"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize(kCap + 1));  // sparse
    big.close();
    const auto read = files_.ReadAll(Path("big.txt"), kCap);
    EXPECT_TRUE(!read.ok && Words(read.error) == u"文件太大");
}

TEST_F(DiskFilesTest, WriteReplacesWholeOrLeavesTheOldFile)
{
    Write("marks.txt", "old content that is longer");
    EXPECT_EQ(Words(files_.WriteReplacing(Path("marks.txt"), "new")), std::u16string());
    EXPECT_EQ(Read("marks.txt"), QByteArray("new"));
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"marks.txt"});

    // Read-only even to root, as Windows has it.
    EXPECT_FALSE(files_.ReadOnly(Path("marks.txt")));
    ASSERT_TRUE(QFile::setPermissions(dir_.filePath("marks.txt"), QFileDevice::ReadOwner));
    EXPECT_TRUE(files_.ReadOnly(Path("marks.txt")));

    EXPECT_EQ(Words(files_.WriteReplacing(Path("no/such/marks.txt"), "x")), std::u16string(u"文件夹不存在"));
    EXPECT_FALSE(files_.Exists(Path("no/such/marks.txt")));
    ASSERT_TRUE(QDir(dir_.path()).mkdir("folder"));
    EXPECT_EQ(Words(files_.WriteReplacing(Path("folder"), "x")), std::u16string(u"这是一个文件夹"));
}

} // namespace
} // namespace morvane::qt
