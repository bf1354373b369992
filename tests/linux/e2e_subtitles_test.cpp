// The subtitles Morvane writes, read by a real consumer: mpv shows each
// note from its mark on.

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "harness.h"
#include "marks/formats.h"

using namespace morvane::e2e;
using morvane::mark_formats::Format;

TEST(Subtitles, MpvShowsEachNoteAtItsMark)
{
    // Out of order, one without a note, one with markup WebVTT must escape.
    const std::vector<std::u16string> entries{u"[000:06:000] 注释:第三句", u"[000:01:000] 注释:第一句",
                                              u"[000:03:500] 注释:A & <B>", u"[000:08:250]"};
    QTemporaryDir dir;
    for (const auto& [format, name] : {std::pair(Format::Srt, "marks.srt"), std::pair(Format::WebVtt, "marks.vtt")}) {
        // SRT has no escapes: its angle brackets are written full-width, or
        // players would take "<B>" for a tag.
        const QString markup = format == Format::Srt ? QStringLiteral("A & ＜B＞") : QStringLiteral("A & <B>");
        const std::pair<int, QString> shown[] = {{1200, QStringLiteral("第一句")}, {3700, markup},
                                                 {6200, QStringLiteral("第三句")},
                                                 {8400, QStringLiteral("[000:08:250]")}, {500, QString()}};
        QFile file(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        const std::string bytes = morvane::mark_formats::WriteMarks(format, entries).bytes;
        ASSERT_EQ(file.write(bytes.data(), static_cast<qint64>(bytes.size())), static_cast<qint64>(bytes.size()));
        file.close();

        Mpv mpv(Recordings());
        mpv.Command({QStringLiteral("sub-add"), file.fileName()});
        for (const auto& [ms, text] : shown) {
            mpv.Seek(ms);
            EXPECT_TRUE(Eventually([&] { return mpv.Get(QStringLiteral("sub-text")).toString() == text; }))
                << name << " at " << ms << " ms shows \"" << mpv.Get(QStringLiteral("sub-text")).toString().toStdString()
                << "\"";
        }
    }
}
