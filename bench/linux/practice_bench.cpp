// A passage repeated, in this process with the App and MprisLink the
// program is made of, judged by the player's own answers on another
// connection: how far past B it is when the jump back arrives, the gap as it
// plays it, and the calls Morvane makes meanwhile, beside those it makes
// without repeating.

#include <QDBusConnection>
#include <QListWidget>
#include <QProcess>

#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "app/qt/app.h"
#include "app/qt/keys.h"
#include "app/qt/mark_list_widget.h"
#include "bench_linux.h"
#include "outside_player.h"
#include "player/mpris/mpris_link.h"
#include "stamps/stamps.h"
#include "stats.h"

namespace bench {
namespace {

Verdict Goal(bool met) { return met ? Verdict::Met : Verdict::Missed; }

double Total(const std::map<std::string, double>& rates)
{
    double total = 0;
    for (const auto& [member, rate] : rates) total += rate;
    return total;
}

std::string Members(const std::map<std::string, double>& rates)
{
    std::string text;
    for (const auto& [member, rate] : rates) text += (text.empty() ? "" : ", ") + member + " " + Fixed(rate, 2);
    return text;
}

constexpr double kPassageFromMs = 5000, kPassageToMs = 7000;
constexpr int kGapMs = 1000;
constexpr int kGaps = 10;
// Often enough to see each step of the players' Position, not so often that
// answering the driver slows the player down.
constexpr int kPollMs = 10;
// A pass, its gap and a slow player's answers, many times over.
constexpr int kGiveUpMsPerPass = 6000;

// Morvane's method calls to the player, counted by dbus-monitor.
class CallCounter {
public:
    CallCounter(const QString& sender, const QString& player)
    {
        monitor_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        monitor_.start(QStringLiteral("dbus-monitor"),
                       {"--session", "type='method_call',sender='" + sender + "',destination='" + player + "'"});
    }
    ~CallCounter()
    {
        monitor_.terminate();
        if (!monitor_.waitForFinished(3000)) monitor_.kill();
    }

    bool Running() { return monitor_.waitForStarted(5000) && monitor_.state() == QProcess::Running; }
    // Starts counting afresh.
    void Restart()
    {
        monitor_.readAllStandardOutput();
        since_ = Clock::now();
    }
    // Calls a second since Restart, by member.
    std::map<std::string, double> PerSecond()
    {
        const double seconds = MsBetween(since_, Clock::now()) / 1000;
        std::map<std::string, double> rates;
        for (const QByteArray& line : monitor_.readAllStandardOutput().split('\n'))
            if (line.startsWith("method call ")) rates[line.mid(line.indexOf("member=") + 7).toStdString()] += 1 / seconds;
        return rates;
    }

private:
    QProcess monitor_;
    Clock::time_point since_ = Clock::now();
};

// The player's Position back to back for a second while it plays: the size
// of the steps it moves in.
double PositionStepMs(OutsidePlayer& player)
{
    std::vector<double> steps;
    auto last = player.PositionMs();
    for (const auto until = Clock::now() + std::chrono::seconds(1); Clock::now() < until;) {
        const auto now = player.PositionMs();
        if (now && last && *now > *last) steps.push_back(*now - *last);
        last = now;
    }
    return steps.empty() ? 0 : Median(steps);
}

// The entry recorded with the player paused at about `ms`; its time.
std::optional<double> RecordAt(morvane::qt::App& app, OutsidePlayer& player, double ms)
{
    if (!player.SeekToMs(ms)) return std::nullopt;
    WaitMs(800);
    app.Form().Record_Click();
    const morvane::qt::MarkListWidget& list = app.Window().List();
    const auto stamp = morvane::ParseStamp(list.item(list.count() - 1)->text().toStdU16String());
    return stamp ? std::optional<double>(*stamp.value) : std::nullopt;
}

// Polls the player until `samples` holds `count` values or time runs out.
// `observe` sees each answer and adds to `samples`.
// Stops early when the repetition has ended.
template <typename Observe>
void PollPlayer(const morvane::MainForm& form, std::vector<double>& samples, int count, Observe observe)
{
    const auto until = Clock::now() + std::chrono::milliseconds(kGiveUpMsPerPass * (count + 1));
    while (static_cast<int>(samples.size()) < count && Clock::now() < until && form.practice().Repeating()) {
        observe();
        WaitMs(kPollMs);
    }
}

} // namespace

void RunPracticeFigures(OutsidePlayer& player, const std::string& who, int passes, int sample_seconds, Report& report)
{
    const std::string figure = who + ": repeating a passage";
    const auto fail = [&](const std::string& why) { report.Add({figure, why, "-", "-", Verdict::Failed}); };
    player.Play();
    morvane::mpris::MprisLink link(QDBusConnection::sessionBus(), QString::fromStdString(who));
    morvane::qt::SilentKeyboard keyboard;
    morvane::qt::App app(link, keyboard);
    if (!app.Start()) return fail("the App found no player");
    WaitMs(1500);
    CallCounter calls(QDBusConnection::sessionBus().baseService(), player.Owner());
    if (!calls.Running()) return fail("dbus-monitor did not start");
    WaitMs(1000);
    calls.Restart();
    WaitMs(sample_seconds * 1000);
    const auto calls_alone = calls.PerSecond();
    const double step = PositionStepMs(player);

    player.Pause();
    const auto a = RecordAt(app, player, kPassageFromMs), b = RecordAt(app, player, kPassageToMs);
    if (!a || !b || *b <= *a) return fail("the passage's marks could not be recorded");
    morvane::MainForm& form = app.Form();
    form.Passes_Click(std::nullopt);

    // Gap 0: the jump back comes straight from playing. The highest Position
    // the player gives before it drops back to A is where the jump found it.
    form.Gap_Click(0);
    form.Repeat_Passage_Click(0);
    calls.Restart();
    std::vector<double> past_b;
    const auto ended_early = [&] { return form.practice().Repeating() ? "" : ", the repetition having ended by itself"; };
    double top = -std::numeric_limits<double>::infinity();
    bool started = false;  // the start's own jump, from B, is no pass's end
    PollPlayer(form, past_b, passes, [&] {
        const auto at = player.PositionMs();
        if (!at) return;
        if (*at < *a + 500 && top > *b - 500) {
            if (started) past_b.push_back(top - *b);
            started = true;
            top = -std::numeric_limits<double>::infinity();
        } else if (*at >= *a + 500) {
            top = std::max(top, *at);
        }
    });
    const auto calls_repeating = calls.PerSecond();
    const std::string jumps_ended = ended_early();
    form.Stop_Repeat_Click();

    // Gap 1 s: from the first answer that says Paused to the first that says Playing.
    player.Pause();
    WaitMs(500);
    form.Gap_Click(kGapMs);
    form.Repeat_Passage_Click(0);
    std::vector<double> gaps;
    std::optional<Clock::time_point> paused_at;
    bool played = false;  // a pause before the first play is the one it started from
    PollPlayer(form, gaps, kGaps, [&] {
        const QString status = player.Status();
        const auto now = Clock::now();
        if (status == QStringLiteral("Playing")) {
            if (paused_at && played) gaps.push_back(MsBetween(*paused_at, now));
            paused_at.reset();
            played = true;
        } else if (status == QStringLiteral("Paused") && !paused_at) {
            paused_at = now;
        }
    });
    const std::string gaps_ended = ended_early();
    form.Stop_Repeat_Click();
    player.Play();

    const std::string passage = " (passage " + Fixed(*a / 1000, 3) + "–" + Fixed(*b / 1000, 3) + " s)";
    if (past_b.size() < static_cast<std::size_t>(passes)) {
        report.Add({figure + passage, "only " + std::to_string(past_b.size()) + " of " + std::to_string(passes) +
                                          " passes ended in time" + jumps_ended, "-", "-", Verdict::Failed});
    } else {
        const double allowed = who == "mpv" ? 30 : step + 30;
        report.Add({who + ": past B when the jump back arrives, the player's own Position (" +
                        std::to_string(passes) + " passes, gap 0)" + passage,
                    "median " + Fixed(Median(past_b), 0) + " ms, max " + Fixed(Maximum(past_b), 0) + " ms",
                    "its Position's step, same run: " + Fixed(step, 0) + " ms",
                    who == "mpv" ? "median ≤ 30 ms" : "median ≤ step + 30 ms", Goal(Median(past_b) <= allowed)});
    }
    if (gaps.size() < static_cast<std::size_t>(kGaps)) {
        report.Add({who + ": the gap as played", "only " + std::to_string(gaps.size()) + " of " +
                                                     std::to_string(kGaps) + " gaps seen" + gaps_ended, "-", "-", Verdict::Failed});
    } else {
        report.Add({who + ": the gap as played, the player's own Paused..Playing (" + std::to_string(kGaps) + " gaps)",
                    "median " + Fixed(Median(gaps), 0) + " ms, max " + Fixed(Maximum(gaps), 0) + " ms",
                    "the setting: " + std::to_string(kGapMs) + " ms", "median within 50 ms of it",
                    Goal(std::abs(Median(gaps) - kGapMs) <= 50)});
    }
    // The pass's own jump back is the repetition's command, not a query:
    // what must not grow is the rest.
    const auto jumps = calls_repeating.find("SetPosition");
    const double queries = Total(calls_repeating) - (jumps != calls_repeating.end() ? jumps->second : 0);
    report.Add({who + ": D-Bus method calls to the player per second while repeating (gap 0)",
                Fixed(Total(calls_repeating), 2) + " (" + Members(calls_repeating) + ")",
                "playing, not repeating, " + std::to_string(sample_seconds) + " s: " + Fixed(Total(calls_alone), 2) +
                    " (" + Members(calls_alone) + ")",
                "≤ 4 besides one SetPosition a pass", Goal(queries <= 4)});
    report.Note(who + ": the passage runs between two entries recorded with the player paused; the driver asks the "
                "player for its Position or PlaybackStatus every " + std::to_string(kPollMs) + " ms on a connection "
                "of its own, whose calls dbus-monitor leaves out of Morvane's count.");
}

} // namespace bench
