// The figures measured inside the driver, with the App and MprisLink the
// program is made of: the position mark_line shows against the player's own,
// seeks made elsewhere as mark_line shows them, and the list operations at the
// list's bound.

#include <QApplication>
#include <QCheckBox>
#include <QDBusConnection>
#include <QFileDialog>
#include <QLabel>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <vector>

#include "app/layout/control_ids.h"
#include "app/qt/app.h"
#include "app/qt/keys.h"
#include "app/qt/mark_list_widget.h"
#include "bench_linux.h"
#include "outside_player.h"
#include "marks/mark_file.h"
#include "player/mpris/mpris_link.h"
#include "stamps/stamps.h"
#include "stats.h"

namespace bench {
namespace {

constexpr int kBound = 32767;

// mark_line's position, as the user reads it.
std::optional<double> ShownMs(const QLabel& text4)
{
    const auto shown = morvane::ParseStamp(text4.text().right(12).toStdU16String());
    return shown ? std::optional<double>(*shown.value) : std::nullopt;
}

// mark_line against the player's own Position, which counts as true halfway
// through the call. Players move Position in steps, so the figure is taken
// against the top of the steps (the freshest Position within half a
// second, carried forward to the sample's time); the note gives the plain
// difference too.
void PositionBench(const QLabel& text4, OutsidePlayer& player, const std::string& who, int seconds, Report& report)
{
    std::vector<double> steps;  // read back to back for a second
    auto last = player.PositionMs();
    for (const auto until = Clock::now() + std::chrono::seconds(1); Clock::now() < until;) {
        const auto now = player.PositionMs();
        if (now && last && *now != *last) steps.push_back(*now - *last);
        last = now;
    }

    std::vector<double> at, player_ms, text_ms, error;
    const auto start = Clock::now();
    while (MsBetween(start, Clock::now()) < seconds * 1000) {
        WaitMs(47);  // not a multiple of the tick
        const auto sent = Clock::now();
        const auto shown = ShownMs(text4);
        const auto own = player.PositionMs();
        if (!shown || !own) continue;
        at.push_back(MsBetween(start, sent) + MsBetween(sent, Clock::now()) / 2);
        player_ms.push_back(*own);
        text_ms.push_back(*shown);
        error.push_back(std::abs(*shown - *own));
    }
    const std::string figure = who + ", playing: position shown (mark_line) vs the player's own";
    if (error.empty() || steps.empty())
        return report.Add({figure, "no sample was read", "-", "median ≤ 10 ms", Verdict::Failed});
    std::vector<double> signed_error, top_error;
    for (std::size_t i = 0; i < at.size(); ++i) {
        double top = player_ms[i] - at[i];
        for (std::size_t j = 0; j < at.size(); ++j)
            if (std::abs(at[j] - at[i]) <= 500) top = std::max(top, player_ms[j] - at[j]);
        signed_error.push_back(text_ms[i] - player_ms[i]);
        top_error.push_back(std::abs(text_ms[i] - (top + at[i])));
    }
    report.Add({figure + " (" + std::to_string(error.size()) + " samples over " + std::to_string(seconds) + " s)",
                "\\|error\\| against the top of its steps: median " + Fixed(Median(top_error), 1) + " ms, 90th " +
                    Fixed(Percentile(top_error, 0.9), 1) + " ms",
                "-", "median ≤ 10 ms", Median(top_error) <= 10 ? Verdict::Met : Verdict::Missed});
    report.Note(who + ": Position moves in steps (median " + Fixed(Median(steps), 1) + " ms, max " +
                Fixed(Maximum(steps), 1) + " ms, read back to back for a second). Against each Position as read, "
                "mark_line is off by " + Fixed(Median(error), 1) + " ms (median), " + Fixed(Maximum(error), 1) +
                " ms (max); signed median " + Fixed(Median(signed_error), 1) + " ms (positive: ahead).");
    if (Median(top_error) > 10)
        report.Note(who + ": the position goal is missed because the player's Position itself lags by up to one "
                    "of its steps, and Morvane, counting on from the freshest of the few answers a second it "
                    "asks for, trails the top of a step by as much as that answer did.");
}

// A seek made by another program, from the call until mark_line shows the new
// time (allowing for the time played since), playing and paused.
void SeekBench(const QLabel& text4, OutsidePlayer& player, const std::string& who, Report& report)
{
    constexpr int kSeeks = 10, kGiveUpMs = 2000, kNearMs = 250;
    const double length = player.LengthMs().value_or(20000);
    for (const bool playing : {true, false}) {
        const std::string figure = who + ", " + (playing ? "playing" : "paused") +
                                   ": an outside seek shown in the read-outs (" + std::to_string(kSeeks) + " seeks)";
        if (!(playing ? player.Play() : player.Pause()))
            return report.Add({figure, "the player did not take Play or Pause", "-", "-", Verdict::Failed});
        std::vector<double> shown_after;
        int unseen = 0;
        for (int seek = 0; seek < kSeeks; ++seek) {
            WaitMs(300 + seek * 37 % 100);  // lands anywhere in the tick
            const double target = length * (seek % 2 == 0 ? 0.6 : 0.2) + seek * 100;
            const auto sent = Clock::now();
            if (!player.SeekToMs(target))
                return report.Add({figure, "the player refused SetPosition", "-", "-", Verdict::Failed});
            double elapsed = 0;
            for (;;) {
                WaitMs(1);
                elapsed = MsBetween(sent, Clock::now());
                const auto shown = ShownMs(text4);
                if (shown && std::abs(*shown - (target + (playing ? elapsed : 0))) <= kNearMs) break;
                if (elapsed >= kGiveUpMs) {
                    ++unseen;
                    break;
                }
            }
            shown_after.push_back(elapsed);
        }
        const double middle = Median(shown_after), worst = Maximum(shown_after);
        report.Add({figure,
                    unseen == kSeeks ? "never shown within " + std::to_string(kGiveUpMs) + " ms"
                                     : "median " + Fixed(middle, 0) + " ms, worst " + Fixed(worst, 0) + " ms" +
                                           (unseen ? " (" + std::to_string(unseen) + " not shown within " +
                                                         std::to_string(kGiveUpMs) + " ms)"
                                                   : ""),
                    "-", "median ≤ 300 ms, worst ≤ 500 ms", middle <= 300 && worst <= 500 ? Verdict::Met : Verdict::Missed});
    }
    player.Play();
}

// Milliseconds from the call, or from the accept of the file dialog it
// opens (answered with `dialog_path`), until its repaints are done.
double TimeMs(const std::function<void()>& call, const QString& dialog_path = {})
{
    const auto pump = [] {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    };
    pump();
    auto start = Clock::now();
    QObject alive;  // ends the answering with this call
    std::function<void()> answer = [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return QTimer::singleShot(1, &alive, answer);
        dialog->selectFile(dialog_path);
        start = Clock::now();
        static_cast<QDialog*>(dialog)->accept();  // public there, and virtual
    };
    if (!dialog_path.isEmpty()) QTimer::singleShot(0, &alive, answer);
    call();
    pump();
    return MsBetween(start, Clock::now());
}

// One round at the bound into `ms`; the reason when an operation failed.
std::string ListOperationsRound(morvane::qt::App& app, const std::filesystem::path& dir, std::map<std::string, std::vector<double>>& ms)
{
    morvane::MainForm& form = app.Form();
    morvane::qt::MarkListWidget& list = app.Window().List();
    const auto saved = dir / "bench-saved.txt", copied = dir / "bench-copied.txt";
    const QString base_name = QString::fromStdString((dir / "bench-base.txt").string());
    const QString saved_name = QString::fromStdString(saved.string());

    TimeMs([&] { form.Load_Click(); }, base_name);
    if (list.count() != kBound - 1) return "the base file did not load";
    ms["record"].push_back(TimeMs([&] { form.Record_Click(); }));
    if (list.count() != kBound) return "recording did not add the last entry";
    std::filesystem::remove(saved);  // else the dialog asks before replacing it
    ms["save"].push_back(TimeMs([&] { form.Save_Click(); }, saved_name));
    if (!std::filesystem::exists(saved)) return "the save wrote no file";
    ms["copy"].push_back(TimeMs([&] {
        std::filesystem::copy_file(saved, copied, std::filesystem::copy_options::overwrite_existing);
    }));
    ms["load"].push_back(TimeMs([&] { form.Load_Click(); }, saved_name));
    if (list.count() != kBound) return "the saved file did not load whole";
    ms["sort"].push_back(TimeMs([&] { form.Sort_Click(); }));
    for (int i = 1; i < list.count(); ++i)
        if (list.item(i)->text() < list.item(i - 1)->text()) return "the list is not in order after sorting";
    list.setCurrentRow(kBound / 2);  // runs Mark_List_Click
    ms["delete"].push_back(TimeMs([&] { form.Delete_Click(); }));
    if (list.count() != kBound - 1) return "the delete did not remove one entry";
    ms["clear"].push_back(TimeMs([&] { form.Clear_Click(); }));
    if (list.count() != 0) return "the list is not empty after clearing";
    return {};
}

void ListOperationsBench(morvane::qt::App& app, const std::filesystem::path& dir, int rounds, Report& report)
{
    // Stamps in no order, every other one with a note of Chinese and Latin.
    std::vector<std::u16string> entries;
    for (int i = 0; i < kBound - 1; ++i)
        entries.push_back(morvane::FormatMs(static_cast<std::int32_t>(std::int64_t{i} * 104729 % 59'940'000)) +
                          (i % 2 ? u" 注释:" + std::u16string(u"复读phrase这一句again").substr(0, i % 17) : u""));
    const std::string bytes = morvane::mark_file::EncodeLines(entries, morvane::qt::Gb18030CodePage(),
                                                                  morvane::mark_file::Encoding::Utf8);
    std::ofstream(dir / "bench-base.txt", std::ios::binary) << bytes;
    static_cast<QCheckBox*>(app.Control(IDC_ASK_NOTE))->setChecked(false);  // record a bare stamp: no prompt

    std::map<std::string, std::vector<double>> ms;
    for (int round = 0; round < rounds; ++round) {
        if (const std::string why = ListOperationsRound(app, dir, ms); !why.empty())
            return report.Add({"List operations at 32 767 entries", why, "-", "< 100 ms", Verdict::Failed});
        std::fprintf(stderr, "  ops round %d:", round + 1);
        for (const auto& [name, samples] : ms) std::fprintf(stderr, " %s %.1f", name.c_str(), samples.back());
        std::fprintf(stderr, " ms\n");
    }
    const std::string reference = "copying the file: " + Fixed(Median(ms["copy"]), 2) + " ms";
    const std::pair<const char*, const char*> rows[] = {
        {"Record the 32 767th entry", "record"}, {"Delete one of 32 767 entries", "delete"},
        {"Clear 32 767 entries", "clear"},       {"Sort 32 767 entries", "sort"},
        {"Save 32 767 entries", "save"},         {"Load 32 767 entries", "load"}};
    for (const auto& [figure, name] : rows) {
        const std::vector<double>& samples = ms[name];
        report.Add({std::string(figure) + " (median of " + std::to_string(rounds) + ")",
                    Fixed(Median(samples), 1) + " ms (max " + Fixed(Maximum(samples), 1) + ")", reference, "< 100 ms",
                    Median(samples) < 100 ? Verdict::Met : Verdict::Missed});
    }
    report.Note("The list operations run with mpv playing and the tick live, on a file of " +
                std::to_string(bytes.size() / 1024) + " KiB; each is timed from the handler's call (save and load: "
                "from the file dialog's accept) until every repaint it caused is done. The save syncs the file to "
                "disk; the reference, std::filesystem::copy_file, does not.");
    for (const char* name : {"bench-base.txt", "bench-saved.txt", "bench-copied.txt"}) std::filesystem::remove(dir / name);
}

} // namespace

void RunPlayerFigures(OutsidePlayer& player, const std::string& who, int sample_seconds, Report& report)
{
    player.Play();
    player.SeekToMs(0);  // no loop back to the start among the samples
    morvane::mpris::MprisLink link(QDBusConnection::sessionBus(), QString::fromStdString(who));
    morvane::qt::SilentKeyboard keyboard;
    morvane::qt::App app(link, keyboard);
    if (!app.Start())
        return report.Add({who + ": position shown, outside seeks", "the App found no player", "-", "-", Verdict::Failed});
    WaitMs(1500);
    const auto& text4 = *static_cast<QLabel*>(app.Control(IDC_MARK_LINE));
    PositionBench(text4, player, who, sample_seconds, report);
    SeekBench(text4, player, who, report);
    report.Note(who + ": the outside seeks are SetPosition calls from the driver's own D-Bus connection, as "
                "playerctl makes them; each is timed from the call until mark_line, read every millisecond, is within " +
                "250 ms of the new time.");
}

void RunListOperations(const QString& out_dir, int rounds, Report& report)
{
    morvane::mpris::MprisLink link(QDBusConnection::sessionBus(), QStringLiteral("mpv"));
    morvane::qt::SilentKeyboard keyboard;
    morvane::qt::App app(link, keyboard);
    if (!app.Start())
        return report.Add({"List operations", "the App found no player", "-", "-", Verdict::Failed});
    WaitMs(1500);
    ListOperationsBench(app, std::filesystem::path(out_dir.toStdString()), rounds, report);
}

} // namespace bench
