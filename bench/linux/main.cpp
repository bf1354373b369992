// The Linux benchmark driver, run once per player. scripts/bench starts
// Xvfb, a session bus and the player playing a file in a loop; this
// measures the real `morvane` against it, each figure beside a reference
// measured in the same run, and writes table.md. With mpv (its IPC socket
// given) it also times the hot keys and the list operations.

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFile>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench_linux.h"
#include "outside_player.h"
#include "stats.h"

namespace bench {
namespace {

struct Options {
    QString morvane, reference_window, reference, listener, socket, out = ".";
    std::string player;
    int player_pid = 0, runs = 3, seconds = 10, presses = 20, rounds = 5;
};

// Passes of the repeated passage whose ends are measured.
constexpr int kPasses = 20;
// Morvane's start-up (window, first answers) stays out of every window.
constexpr int kSettleMs = 3000;

// CPU time so far of every thread of `pid`, in seconds: the first field of
// each thread's schedstat (ns), finer than the 10 ms ticks of stat.
std::optional<double> CpuSeconds(qint64 pid)
{
    std::error_code error;
    double ns = 0, thread_ns = 0;
    for (const auto& task : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", error))
        if (std::ifstream(task.path() / "schedstat") >> thread_ns) ns += thread_ns;
    if (error || ns == 0) return std::nullopt;
    return ns / 1e9;
}

// Each program's CPU over the same `seconds`, in percent of one core; -1
// where it could not be read.
std::vector<double> CpuPercent(const std::vector<qint64>& pids, int seconds)
{
    std::vector<std::optional<double>> before;
    for (qint64 pid : pids) before.push_back(CpuSeconds(pid));
    const auto start = Clock::now();
    WaitMs(seconds * 1000);
    const double wall = MsBetween(start, Clock::now()) / 1000;
    std::vector<double> percent;
    for (std::size_t i = 0; i < pids.size(); ++i) {
        const auto after = CpuSeconds(pids[i]);
        percent.push_back(before[i] && after ? (*after - *before[i]) / wall * 100 : -1);
    }
    return percent;
}

using Program = std::unique_ptr<QProcess>;

Program StartProgram(const QString& program, const QStringList& arguments, bool read_output = false)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessChannelMode(read_output ? QProcess::ForwardedErrorChannel : QProcess::ForwardedChannels);
    process->start(program, arguments);
    if (process->waitForStarted(5000)) return process;
    std::fprintf(stderr, "  could not start %s\n", qPrintable(program));
    return nullptr;
}

void EndProgram(Program& process)
{
    if (!process) return;
    process->terminate();
    if (!process->waitForFinished(3000)) {
        process->kill();
        process->waitForFinished(3000);
    }
    process.reset();
}

bool Running(const Program& process) { return process && process->state() == QProcess::Running; }
qint64 Pid(const Program& process) { return process ? process->processId() : 0; }

Verdict Goal(bool met) { return met ? Verdict::Met : Verdict::Missed; }

std::string Times(double value, double reference)
{
    return reference > 0 ? Fixed(value / reference, 2) + "×" : "-";
}

// Run by run, in each state: the player beside the two reference programs,
// then the player with Morvane attached and dbus-monitor counting the calls
// to the player, the same seconds each. Nothing else calls the player then.
void CpuBench(const Options& options, OutsidePlayer& player, Report& report)
{
    const std::string who = options.player;
    for (const bool playing : {true, false}) {
        const std::string state = playing ? "playing" : "paused";
        if (!(playing ? player.Play() : player.Pause()))
            return report.Add({who + ": CPU and D-Bus calls", "the player did not take Play or Pause", "-", "-",
                               Verdict::Failed});
        const QString rule = "type='method_call',destination='" + player.Owner() + "'";
        std::vector<double> window, timer, morvane, alone, with, rates;
        std::map<std::string, int> calls;  // by member
        double call_seconds = 0;
        for (int run = 0; run < options.runs; ++run) {
            auto reference = StartProgram(options.reference_window, {});
            auto bare = StartProgram(options.reference, {});
            WaitMs(kSettleMs);
            const auto beside = CpuPercent({qint64{options.player_pid}, Pid(reference), Pid(bare)}, options.seconds);
            EndProgram(reference);
            EndProgram(bare);

            auto app = StartProgram(options.morvane, {"--player", QString::fromStdString(options.player)});
            auto monitor = StartProgram("dbus-monitor", {"--session", rule}, true);
            WaitMs(kSettleMs);
            if (monitor) monitor->readAllStandardOutput();
            const auto start = Clock::now();
            const auto attached = CpuPercent({qint64{options.player_pid}, Pid(app)}, options.seconds);
            const double seconds = MsBetween(start, Clock::now()) / 1000;
            int count = 0;
            std::map<std::string, int> run_calls;
            for (const QByteArray& line : monitor ? monitor->readAllStandardOutput().split('\n') : QList<QByteArray>()) {
                if (!line.startsWith("method call ")) continue;
                ++count;
                ++run_calls[line.mid(line.indexOf("member=") + 7).toStdString()];
            }
            const bool ran = Running(app) && monitor != nullptr;
            EndProgram(monitor);
            EndProgram(app);
            if (!ran || std::ranges::min(beside) < 0 || std::ranges::min(attached) < 0) {
                std::fprintf(stderr, "  %s run %d left out: %s\n", state.c_str(), run + 1,
                             ran ? "a CPU time could not be read" : "Morvane or dbus-monitor ended early");
                continue;
            }
            for (const auto& [member, n] : run_calls) calls[member] += n;
            alone.push_back(beside[0]);
            window.push_back(beside[1]);
            timer.push_back(beside[2]);
            with.push_back(attached[0]);
            morvane.push_back(attached[1]);
            rates.push_back(count / seconds);
            call_seconds += seconds;
            std::fprintf(stderr,
                         "  %s run %d: Morvane %.2f %%, same window %.2f %%, bare timer %.2f %%; player %.2f %% with, "
                         "%.2f %% alone; %.2f calls/s\n",
                         state.c_str(), run + 1, attached[1], beside[1], beside[2], attached[0], beside[0], rates.back());
        }
        if (rates.empty()) {
            report.Add({who + ", " + state + ": CPU and D-Bus calls", "Morvane did not run against the player", "-", "-",
                        Verdict::Failed});
            continue;
        }
        const std::string runs = ", median of " + std::to_string(rates.size()) + " runs of " +
                                 std::to_string(options.seconds) + " s";
        const double m = Median(morvane), w = Median(window), t = Median(timer);
        report.Add({who + ", " + state + ": Morvane's polling CPU" + runs,
                    Fixed(m, 2) + " % = **" + Times(m, w) + "** the same window",
                    "the same window redrawing both read-outs every 10 ms: " + Fixed(w, 2) +
                        " %; a bare 10 ms timer: " + Fixed(t, 2) + " % (Morvane " + Times(m, t) + ")",
                    "≤ 1.2×", Goal(m <= 1.2 * w)});
        const double player_with = Median(with), player_alone = Median(alone);
        report.Add({who + ", " + state + ": the player's CPU with Morvane attached" + runs,
                    Fixed(player_with, 2) + " % = **" + Times(player_with, player_alone) + "**",
                    "the player alone, same file: " + Fixed(player_alone, 2) + " %", "≤ 1.1×",
                    Goal(player_with <= 1.1 * player_alone)});
        if (player_with > 1.1 * player_alone)
            report.Note(who + ", " + state + ": with Morvane attached the player spends " +
                        Fixed(player_with - player_alone, 2) + " % of one core more, answering the calls counted "
                        "below; at so small a load the ratio also carries the noise of the machine.");
        std::string members;
        for (const auto& [member, n] : calls)
            members += (members.empty() ? "" : ", ") + member + " " + Fixed(n / call_seconds, 2);
        report.Add({who + ", " + state + ": D-Bus method calls to the player per second" + runs,
                    Fixed(Median(rates), 2) + (members.empty() ? "" : " (" + members + ")"), "-", "≤ 4",
                    Goal(Median(rates) <= 4)});
    }
    player.Play();
}

// XTest key to mpv acting, with Morvane and the listener both running: the
// same presses time both. P plays the paused mpv, H pauses it again.
void HotkeyBench(const Options& options, MpvIpc& mpv, Report& report)
{
    const auto fail = [&](const std::string& why) {
        report.Add({"Hot key, XTest to mpv acting", why, "-", "≤ reference + 10 ms", Verdict::Failed});
    };
    mpv.Request({"set_property", "pause", true});
    auto listener = StartProgram(options.listener, {}, true);
    if (!listener || !listener->waitForReadyRead(5000) || !listener->readLine().startsWith("ready"))
        return fail("the key listener did not start");
    auto app = StartProgram(options.morvane, {"--player", "mpv"});
    WaitMs(kSettleMs);
    // The pointer, and with it the focus, off Morvane's window: the keys
    // must come through the global keyboard alone.
    QProcess::execute("xdotool", {"mousemove", "1279", "799"});
    mpv.Request({"observe_property", 1, "pause"});
    WaitMs(200);

    std::vector<double> acted, seen;
    for (int press = 0; press < options.presses && Running(app); ++press) {
        listener->readAllStandardOutput();
        mpv.DropEvents();
        const auto sent = Clock::now();
        QProcess xdotool;
        xdotool.start("xdotool", {"key", press % 2 == 0 ? "p" : "h"});
        if (mpv.WaitChange("pause", 2000)) acted.push_back(MsBetween(sent, Clock::now()));
        xdotool.waitForFinished(2000);
        if (listener->canReadLine() || listener->waitForReadyRead(1000)) {
            const QList<QByteArray> fields = listener->readLine().split(' ');  // "keycode ns"
            const double sent_ms = std::chrono::duration<double, std::milli>(sent.time_since_epoch()).count();
            if (fields.size() == 2) seen.push_back(fields[1].trimmed().toDouble() / 1e6 - sent_ms);
        }
        WaitMs(300 + press * 37 % 100);  // lands anywhere in the tick
    }
    const bool ended = !Running(app);
    EndProgram(app);
    EndProgram(listener);
    if (ended) return fail("Morvane ended during the presses");
    const std::size_t presses = static_cast<std::size_t>(options.presses);
    if (acted.size() != presses || seen.size() != presses)
        return fail("of " + std::to_string(presses) + " presses, mpv acted on " + std::to_string(acted.size()) +
                    " and the listener saw " + std::to_string(seen.size()));
    const auto spread = [](const std::vector<double>& ms) {
        return "median " + Fixed(Median(ms), 1) + " ms, 90th " + Fixed(Percentile(ms, 0.9), 1) + " ms, max " +
               Fixed(Maximum(ms), 1) + " ms";
    };
    report.Add({"Hot key P/H sent with XTest → mpv acting (" + std::to_string(presses) + " presses)", spread(acted),
                "a program that only listens for the keys (XInput2 raw events), same presses: " + spread(seen),
                "median ≤ reference + 10 ms", Goal(Median(acted) <= Median(seen) + 10)});
    report.Note("Hot keys: both figures start when xdotool is started, so both include its start-up and the X "
                "server's delivery; Morvane's adds the wait for its next tick, the D-Bus call and mpv's answer on "
                "its IPC socket.");
}

bool ParseOptions(int argc, char* argv[], Options& options)
{
    QString player;
    const std::map<std::string, QString*> texts{
        {"--morvane", &options.morvane}, {"--reference-window", &options.reference_window},
        {"--reference", &options.reference}, {"--listener", &options.listener}, {"--socket", &options.socket},
        {"--out", &options.out}, {"--player", &player}};
    const std::map<std::string, int*> numbers{{"--player-pid", &options.player_pid}, {"--runs", &options.runs},
                                              {"--seconds", &options.seconds}, {"--presses", &options.presses},
                                              {"--rounds", &options.rounds}};
    for (int i = 1; i + 1 < argc; i += 2) {
        if (const auto text = texts.find(argv[i]); text != texts.end()) *text->second = argv[i + 1];
        else if (const auto number = numbers.find(argv[i]); number != numbers.end())
            *number->second = std::atoi(argv[i + 1]);
        else if (std::string(argv[i]) != "--ticks") return false;  // the Windows driver's
    }
    options.player = player.toStdString();
    return !options.morvane.isEmpty() && !options.reference_window.isEmpty() && !options.reference.isEmpty() &&
           !player.isEmpty() && options.player_pid > 0 && options.runs > 0 && options.seconds > 0 &&
           options.presses > 0 && options.rounds > 0 && (options.socket.isEmpty() || !options.listener.isEmpty());
}

} // namespace
} // namespace bench

int main(int argc, char* argv[])
{
    using namespace bench;
    // The file dialogs of save and load are answered by the driver.
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication application(argc, argv);
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: morvane-bench-linux --morvane PATH --reference-window PATH --reference PATH "
                             "--player NAME --player-pid PID [--socket MPV_IPC --listener PATH] [--out DIR] "
                             "[--runs N] [--seconds S] [--presses N] [--rounds N]\n");
        return 2;
    }
    OutsidePlayer player(QString::fromStdString(options.player));
    if (player.Owner().isEmpty()) {
        std::fprintf(stderr, "%s is not on the session bus\n", options.player.c_str());
        return 1;
    }
    Report report;
    std::fprintf(stderr, "%s: CPU and D-Bus calls\n", options.player.c_str());
    CpuBench(options, player, report);
    std::fprintf(stderr, "%s: outside seeks and the position shown, in this process\n", options.player.c_str());
    RunPlayerFigures(player, options.player, options.seconds, report);
    std::fprintf(stderr, "%s: a passage repeated, in this process\n", options.player.c_str());
    RunPracticeFigures(player, options.player, kPasses, options.seconds, report);
    // The hot keys and the list operations hardly involve the player: with
    // mpv only, through its IPC socket.
    if (!options.socket.isEmpty()) {
        MpvIpc mpv;
        if (!mpv.Open(options.socket)) {
            std::fprintf(stderr, "mpv's IPC socket %s does not answer\n", qPrintable(options.socket));
            return 1;
        }
        std::fprintf(stderr, "hot keys\n");
        HotkeyBench(options, mpv, report);
        std::fprintf(stderr, "list operations, in this process\n");
        mpv.Request({"set_property", "pause", false});
        RunListOperations(options.out, options.rounds, report);
    }

    const std::string table = report.Markdown();
    std::fputs(table.c_str(), stdout);
    QFile file(options.out + "/table.md");
    if (!file.open(QIODevice::WriteOnly) || file.write(table.data(), static_cast<qint64>(table.size())) < 0) return 1;
    return report.AnyFailed() ? 1 : 0;
}
