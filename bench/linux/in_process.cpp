// The figures measured inside the driver, with the App and MprisLink the
// program is made of: the position mark_line shows against mpv's own, and the
// list operations at the list's bound.

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
#include "app/qt/mark_list.h"
#include "bench_linux.h"
#include "marks/mark_file.h"
#include "player/mpris/mpris_link.h"
#include "stamps/stamps.h"
#include "stats.h"

namespace bench {
namespace {

constexpr int kBound = 32767;

double time_pos_ms(Mpv_Ipc& mpv)
{
    const auto value = mpv.request({"get_property", "time-pos"});
    return value && value->isDouble() ? value->toDouble() * 1000 : -1;
}

// mark_line against mpv's time-pos, which counts as true halfway through the
// IPC round trip. time-pos moves in steps under --ao=null, so the note
// also compares with the top of the steps (the freshest time-pos within
// half a second): where mpv last put playback, carried forward.
void position_bench(const QLabel& text4, Mpv_Ipc& mpv, int seconds, Report& report)
{
    std::vector<double> steps;  // read back to back for a second
    double last = time_pos_ms(mpv);
    for (const auto until = Clock::now() + std::chrono::seconds(1); Clock::now() < until;) {
        const double now = time_pos_ms(mpv);
        if (now >= 0 && last >= 0 && now != last) steps.push_back(now - last);
        last = now;
    }

    std::vector<double> at, mpv_ms, shown_ms, error;
    const auto start = Clock::now();
    while (ms_between(start, Clock::now()) < seconds * 1000) {
        wait_ms(47);  // not a multiple of the tick
        const auto sent = Clock::now();
        const auto shown = morvane::Parse_Stamp(text4.text().right(12).toStdU16String());
        const double mpv_now = time_pos_ms(mpv);
        if (!shown || mpv_now < 0) continue;
        at.push_back(ms_between(start, sent) + ms_between(sent, Clock::now()) / 2);
        mpv_ms.push_back(mpv_now);
        shown_ms.push_back(*shown.value);
        error.push_back(std::abs(shown_ms.back() - mpv_now));
    }
    if (error.empty())
        return report.add({"Position shown vs mpv's own", "no sample was read", "-", "median ≤ 20 ms", Verdict::Failed});
    std::vector<double> signed_error, top_error;
    for (std::size_t i = 0; i < at.size(); ++i) {
        double top = mpv_ms[i] - at[i];
        for (std::size_t j = 0; j < at.size(); ++j)
            if (std::abs(at[j] - at[i]) <= 500) top = std::max(top, mpv_ms[j] - at[j]);
        signed_error.push_back(shown_ms[i] - mpv_ms[i]);
        top_error.push_back(std::abs(shown_ms[i] - (top + at[i])));
    }
    report.add({"Position shown (mark_line) vs mpv's time-pos, playing (" + std::to_string(error.size()) +
                    " samples over " + std::to_string(seconds) + " s)",
                "\\|error\\| median " + fixed(median(error), 1) + " ms, 90th " + fixed(percentile(error, 0.9), 1) +
                    " ms, max " + fixed(maximum(error), 1) + " ms",
                "-", "median ≤ 20 ms", median(error) <= 20 ? Verdict::Met : Verdict::Missed});
    report.note("Position: sampled from the start of the file; mark_line is read between ticks, so up to one tick old. "
                "Its signed median error is " + fixed(median(signed_error), 1) + " ms (positive: ahead of time-pos). "
                "time-pos itself moves in steps (median " + fixed(median(steps), 1) + " ms, max " +
                fixed(maximum(steps), 1) + " ms, read back to back for a second); against the top of its steps "
                "mark_line is off by " + fixed(median(top_error), 1) + " ms (median), " +
                fixed(percentile(top_error, 0.9), 1) + " ms (90th).");
}

// Milliseconds from the call, or from the accept of the file dialog it
// opens (answered with `dialog_path`), until its repaints are done.
double time_ms(const std::function<void()>& call, const QString& dialog_path = {})
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
    return ms_between(start, Clock::now());
}

// One round at the bound into `ms`; the reason when an operation failed.
std::string ops_round(morvane::qt::App& app, const std::filesystem::path& dir, std::map<std::string, std::vector<double>>& ms)
{
    morvane::Form1& form = app.Form();
    morvane::qt::MarkList& list = app.Window().List();
    const auto saved = dir / "bench-saved.txt", copied = dir / "bench-copied.txt";
    const QString base_name = QString::fromStdString((dir / "bench-base.txt").string());
    const QString saved_name = QString::fromStdString(saved.string());

    time_ms([&] { form.Load_Click(); }, base_name);
    if (list.count() != kBound - 1) return "the base file did not load";
    ms["record"].push_back(time_ms([&] { form.Record_Click(); }));
    if (list.count() != kBound) return "recording did not add the last entry";
    std::filesystem::remove(saved);  // else the dialog asks before replacing it
    ms["save"].push_back(time_ms([&] { form.Save_Click(); }, saved_name));
    if (!std::filesystem::exists(saved)) return "the save wrote no file";
    ms["copy"].push_back(time_ms([&] {
        std::filesystem::copy_file(saved, copied, std::filesystem::copy_options::overwrite_existing);
    }));
    ms["load"].push_back(time_ms([&] { form.Load_Click(); }, saved_name));
    if (list.count() != kBound) return "the saved file did not load whole";
    ms["sort"].push_back(time_ms([&] { form.Sort_Click(); }));
    for (int i = 1; i < list.count(); ++i)
        if (list.item(i)->text() < list.item(i - 1)->text()) return "the list is not in order after sorting";
    list.setCurrentRow(kBound / 2);  // runs Mark_List_Click
    ms["delete"].push_back(time_ms([&] { form.Delete_Click(); }));
    if (list.count() != kBound - 1) return "the delete did not remove one entry";
    ms["clear"].push_back(time_ms([&] { form.Clear_Click(); }));
    if (list.count() != 0) return "the list is not empty after clearing";
    return {};
}

void ops_bench(morvane::qt::App& app, const std::filesystem::path& dir, int rounds, Report& report)
{
    // Stamps in no order, every other one with a note of Chinese and Latin.
    std::vector<std::u16string> entries;
    for (int i = 0; i < kBound - 1; ++i)
        entries.push_back(morvane::Format_Ms(static_cast<std::int32_t>(std::int64_t{i} * 104729 % 59'940'000)) +
                          (i % 2 ? u" 注释:" + std::u16string(u"复读phrase这一句again").substr(0, i % 17) : u""));
    const std::string bytes = morvane::mark_file::Encode_Lines(entries, morvane::qt::Gb18030CodePage(),
                                                                  morvane::mark_file::Encoding::Utf8);
    std::ofstream(dir / "bench-base.txt", std::ios::binary) << bytes;
    static_cast<QCheckBox*>(app.Control(IDC_ASK_NOTE))->setChecked(false);  // record a bare stamp: no prompt

    std::map<std::string, std::vector<double>> ms;
    for (int round = 0; round < rounds; ++round) {
        if (const std::string why = ops_round(app, dir, ms); !why.empty())
            return report.add({"List operations at 32 767 entries", why, "-", "< 100 ms", Verdict::Failed});
        std::fprintf(stderr, "  ops round %d:", round + 1);
        for (const auto& [name, samples] : ms) std::fprintf(stderr, " %s %.1f", name.c_str(), samples.back());
        std::fprintf(stderr, " ms\n");
    }
    const std::string reference = "copying the file: " + fixed(median(ms["copy"]), 2) + " ms";
    const std::pair<const char*, const char*> rows[] = {
        {"Record the 32 767th entry", "record"}, {"Delete one of 32 767 entries", "delete"},
        {"Clear 32 767 entries", "clear"},       {"Sort 32 767 entries", "sort"},
        {"Save 32 767 entries", "save"},         {"Load 32 767 entries", "load"}};
    for (const auto& [figure, name] : rows) {
        const std::vector<double>& samples = ms[name];
        report.add({std::string(figure) + " (median of " + std::to_string(rounds) + ")",
                    fixed(median(samples), 1) + " ms (max " + fixed(maximum(samples), 1) + ")", reference, "< 100 ms",
                    median(samples) < 100 ? Verdict::Met : Verdict::Missed});
    }
    report.note("The list operations run with mpv playing and the tick live, on a file of " +
                std::to_string(bytes.size() / 1024) + " KiB; each is timed from the handler's call (save and load: "
                "from the file dialog's accept) until every repaint it caused is done. The save syncs the file to "
                "disk; the reference, std::filesystem::copy_file, does not.");
    for (const char* name : {"bench-base.txt", "bench-saved.txt", "bench-copied.txt"}) std::filesystem::remove(dir / name);
}

} // namespace

void run_in_process(Mpv_Ipc& mpv, const QString& out_dir, int sample_seconds, int rounds, Report& report)
{
    mpv.request({"seek", 0, "absolute"});  // no loop back to the start among the samples
    morvane::mpris::MprisLink link(QDBusConnection::sessionBus(), QStringLiteral("mpv"));
    morvane::qt::SilentKeyboard keyboard;
    morvane::qt::App app(link, keyboard);
    if (!app.Start())
        return report.add({"Position shown, list operations", "the App found no player", "-", "-", Verdict::Failed});
    wait_ms(1500);
    position_bench(*static_cast<QLabel*>(app.Control(IDC_MARK_LINE)), mpv, sample_seconds, report);
    ops_bench(app, std::filesystem::path(out_dir.toStdString()), rounds, report);
}

} // namespace bench
