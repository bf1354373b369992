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

// Morvane's start-up (window, first answers) stays out of every window.
constexpr int kSettleMs = 3000;

// CPU time so far of every thread of `pid`, in seconds: the first field of
// each thread's schedstat (ns), finer than the 10 ms ticks of stat.
std::optional<double> cpu_seconds(qint64 pid)
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
std::vector<double> cpu_percent(const std::vector<qint64>& pids, int seconds)
{
    std::vector<std::optional<double>> before;
    for (qint64 pid : pids) before.push_back(cpu_seconds(pid));
    const auto start = Clock::now();
    wait_ms(seconds * 1000);
    const double wall = ms_between(start, Clock::now()) / 1000;
    std::vector<double> percent;
    for (std::size_t i = 0; i < pids.size(); ++i) {
        const auto after = cpu_seconds(pids[i]);
        percent.push_back(before[i] && after ? (*after - *before[i]) / wall * 100 : -1);
    }
    return percent;
}

using Program = std::unique_ptr<QProcess>;

Program start_program(const QString& program, const QStringList& arguments, bool read_output = false)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessChannelMode(read_output ? QProcess::ForwardedErrorChannel : QProcess::ForwardedChannels);
    process->start(program, arguments);
    if (process->waitForStarted(5000)) return process;
    std::fprintf(stderr, "  could not start %s\n", qPrintable(program));
    return nullptr;
}

void end_program(Program& process)
{
    if (!process) return;
    process->terminate();
    if (!process->waitForFinished(3000)) {
        process->kill();
        process->waitForFinished(3000);
    }
    process.reset();
}

bool running(const Program& process) { return process && process->state() == QProcess::Running; }
qint64 pid(const Program& process) { return process ? process->processId() : 0; }

Verdict goal(bool met) { return met ? Verdict::Met : Verdict::Missed; }

std::string times(double value, double reference)
{
    return reference > 0 ? fixed(value / reference, 2) + "×" : "-";
}

// Run by run, in each state: the player beside the two reference programs,
// then the player with Morvane attached and dbus-monitor counting the calls
// to the player, the same seconds each. Nothing else calls the player then.
void cpu_bench(const Options& options, OutsidePlayer& player, Report& report)
{
    const std::string who = options.player;
    for (const bool playing : {true, false}) {
        const std::string state = playing ? "playing" : "paused";
        if (!(playing ? player.play() : player.pause()))
            return report.add({who + ": CPU and D-Bus calls", "the player did not take Play or Pause", "-", "-",
                               Verdict::Failed});
        const QString rule = "type='method_call',destination='" + player.owner() + "'";
        std::vector<double> window, timer, morvane, alone, with, rates;
        std::map<std::string, int> calls;  // by member
        double call_seconds = 0;
        for (int run = 0; run < options.runs; ++run) {
            auto reference = start_program(options.reference_window, {});
            auto bare = start_program(options.reference, {});
            wait_ms(kSettleMs);
            const auto beside = cpu_percent({qint64{options.player_pid}, pid(reference), pid(bare)}, options.seconds);
            end_program(reference);
            end_program(bare);

            auto app = start_program(options.morvane, {"--player", QString::fromStdString(options.player)});
            auto monitor = start_program("dbus-monitor", {"--session", rule}, true);
            wait_ms(kSettleMs);
            if (monitor) monitor->readAllStandardOutput();
            const auto start = Clock::now();
            const auto attached = cpu_percent({qint64{options.player_pid}, pid(app)}, options.seconds);
            const double seconds = ms_between(start, Clock::now()) / 1000;
            int count = 0;
            std::map<std::string, int> run_calls;
            for (const QByteArray& line : monitor ? monitor->readAllStandardOutput().split('\n') : QList<QByteArray>()) {
                if (!line.startsWith("method call ")) continue;
                ++count;
                ++run_calls[line.mid(line.indexOf("member=") + 7).toStdString()];
            }
            const bool ran = running(app) && monitor != nullptr;
            end_program(monitor);
            end_program(app);
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
            report.add({who + ", " + state + ": CPU and D-Bus calls", "Morvane did not run against the player", "-", "-",
                        Verdict::Failed});
            continue;
        }
        const std::string runs = ", median of " + std::to_string(rates.size()) + " runs of " +
                                 std::to_string(options.seconds) + " s";
        const double m = median(morvane), w = median(window), t = median(timer);
        report.add({who + ", " + state + ": Morvane's polling CPU" + runs,
                    fixed(m, 2) + " % = **" + times(m, w) + "** the same window",
                    "the same window redrawing both read-outs every 10 ms: " + fixed(w, 2) +
                        " %; a bare 10 ms timer: " + fixed(t, 2) + " % (Morvane " + times(m, t) + ")",
                    "≤ 1.2×", goal(m <= 1.2 * w)});
        const double player_with = median(with), player_alone = median(alone);
        report.add({who + ", " + state + ": the player's CPU with Morvane attached" + runs,
                    fixed(player_with, 2) + " % = **" + times(player_with, player_alone) + "**",
                    "the player alone, same file: " + fixed(player_alone, 2) + " %", "≤ 1.1×",
                    goal(player_with <= 1.1 * player_alone)});
        if (player_with > 1.1 * player_alone)
            report.note(who + ", " + state + ": with Morvane attached the player spends " +
                        fixed(player_with - player_alone, 2) + " % of one core more, answering the calls counted "
                        "below; at so small a load the ratio also carries the noise of the machine.");
        std::string members;
        for (const auto& [member, n] : calls)
            members += (members.empty() ? "" : ", ") + member + " " + fixed(n / call_seconds, 2);
        report.add({who + ", " + state + ": D-Bus method calls to the player per second" + runs,
                    fixed(median(rates), 2) + (members.empty() ? "" : " (" + members + ")"), "-", "≤ 4",
                    goal(median(rates) <= 4)});
    }
    player.play();
}

// XTest key to mpv acting, with Morvane and the listener both running: the
// same presses time both. P plays the paused mpv, H pauses it again.
void hotkey_bench(const Options& options, MpvIpc& mpv, Report& report)
{
    const auto fail = [&](const std::string& why) {
        report.add({"Hot key, XTest to mpv acting", why, "-", "≤ reference + 10 ms", Verdict::Failed});
    };
    mpv.request({"set_property", "pause", true});
    auto listener = start_program(options.listener, {}, true);
    if (!listener || !listener->waitForReadyRead(5000) || !listener->readLine().startsWith("ready"))
        return fail("the key listener did not start");
    auto app = start_program(options.morvane, {"--player", "mpv"});
    wait_ms(kSettleMs);
    // The pointer, and with it the focus, off Morvane's window: the keys
    // must come through the global keyboard alone.
    QProcess::execute("xdotool", {"mousemove", "1279", "799"});
    mpv.request({"observe_property", 1, "pause"});
    wait_ms(200);

    std::vector<double> acted, seen;
    for (int press = 0; press < options.presses && running(app); ++press) {
        listener->readAllStandardOutput();
        mpv.drop_events();
        const auto sent = Clock::now();
        QProcess xdotool;
        xdotool.start("xdotool", {"key", press % 2 == 0 ? "p" : "h"});
        if (mpv.wait_change("pause", 2000)) acted.push_back(ms_between(sent, Clock::now()));
        xdotool.waitForFinished(2000);
        if (listener->canReadLine() || listener->waitForReadyRead(1000)) {
            const QList<QByteArray> fields = listener->readLine().split(' ');  // "keycode ns"
            const double sent_ms = std::chrono::duration<double, std::milli>(sent.time_since_epoch()).count();
            if (fields.size() == 2) seen.push_back(fields[1].trimmed().toDouble() / 1e6 - sent_ms);
        }
        wait_ms(300 + press * 37 % 100);  // lands anywhere in the tick
    }
    const bool ended = !running(app);
    end_program(app);
    end_program(listener);
    if (ended) return fail("Morvane ended during the presses");
    const std::size_t presses = static_cast<std::size_t>(options.presses);
    if (acted.size() != presses || seen.size() != presses)
        return fail("of " + std::to_string(presses) + " presses, mpv acted on " + std::to_string(acted.size()) +
                    " and the listener saw " + std::to_string(seen.size()));
    const auto spread = [](const std::vector<double>& ms) {
        return "median " + fixed(median(ms), 1) + " ms, 90th " + fixed(percentile(ms, 0.9), 1) + " ms, max " +
               fixed(maximum(ms), 1) + " ms";
    };
    report.add({"Hot key P/H sent with XTest → mpv acting (" + std::to_string(presses) + " presses)", spread(acted),
                "a program that only listens for the keys (XInput2 raw events), same presses: " + spread(seen),
                "median ≤ reference + 10 ms", goal(median(acted) <= median(seen) + 10)});
    report.note("Hot keys: both figures start when xdotool is started, so both include its start-up and the X "
                "server's delivery; Morvane's adds the wait for its next tick, the D-Bus call and mpv's answer on "
                "its IPC socket.");
}

bool parse(int argc, char* argv[], Options& options)
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
    if (!parse(argc, argv, options)) {
        std::fprintf(stderr, "usage: morvane-bench-linux --morvane PATH --reference-window PATH --reference PATH "
                             "--player NAME --player-pid PID [--socket MPV_IPC --listener PATH] [--out DIR] "
                             "[--runs N] [--seconds S] [--presses N] [--rounds N]\n");
        return 2;
    }
    OutsidePlayer player(QString::fromStdString(options.player));
    if (player.owner().isEmpty()) {
        std::fprintf(stderr, "%s is not on the session bus\n", options.player.c_str());
        return 1;
    }
    Report report;
    std::fprintf(stderr, "%s: CPU and D-Bus calls\n", options.player.c_str());
    cpu_bench(options, player, report);
    std::fprintf(stderr, "%s: outside seeks and the position shown, in this process\n", options.player.c_str());
    run_player_figures(player, options.player, options.seconds, report);
    // The hot keys and the list operations hardly involve the player: with
    // mpv only, through its IPC socket.
    if (!options.socket.isEmpty()) {
        MpvIpc mpv;
        if (!mpv.open(options.socket)) {
            std::fprintf(stderr, "mpv's IPC socket %s does not answer\n", qPrintable(options.socket));
            return 1;
        }
        std::fprintf(stderr, "hot keys\n");
        hotkey_bench(options, mpv, report);
        std::fprintf(stderr, "list operations, in this process\n");
        mpv.request({"set_property", "pause", false});
        run_list_operations(options.out, options.rounds, report);
    }

    const std::string table = report.markdown();
    std::fputs(table.c_str(), stdout);
    QFile file(options.out + "/table.md");
    if (!file.open(QIODevice::WriteOnly) || file.write(table.data(), static_cast<qint64>(table.size())) < 0) return 1;
    return report.any_failed() ? 1 : 0;
}
