// The Linux benchmark driver. scripts/bench starts Xvfb, a session bus and
// mpv playing in a loop; this measures the real `morvane` against it, each
// figure beside a reference measured in the same run, and writes table.md.

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
#include "stats.h"

namespace bench {
namespace {

struct Options {
    QString morvane, reference, listener, socket, out = ".";
    int mpv_pid = 0, runs = 3, seconds = 20, presses = 20, rounds = 5;
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

// mpv's unique bus name, where every call to it goes.
QString mpv_bus_owner()
{
    QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    for (const QString& name : bus->registeredServiceNames().value())
        if (name.startsWith("org.mpris.MediaPlayer2.mpv")) return bus->serviceOwner(name).value();
    return {};
}

Verdict goal(bool met) { return met ? Verdict::Met : Verdict::Missed; }

std::string times(double value, double reference) { return fixed(value / reference, 2) + "×"; }

// Run by run: mpv beside the bare timer, then mpv with Morvane attached and
// dbus-monitor counting the calls to mpv, the same seconds each.
void cpu_bench(const Options& options, Mpv_Ipc& mpv, Report& report)
{
    mpv.request({"set_property", "pause", false});
    const QString rule = "type='method_call',destination='" + mpv_bus_owner() + "'";
    std::vector<double> reference, morvane, mpv_alone, mpv_with, rates;
    std::map<std::string, int> calls;  // by member
    double call_seconds = 0;
    for (int run = 0; run < options.runs; ++run) {
        auto timer = start_program(options.reference, {});
        wait_ms(kSettleMs);
        const auto alone = cpu_percent({options.mpv_pid, pid(timer)}, options.seconds);
        end_program(timer);

        auto app = start_program(options.morvane, {"--player", "mpv"});
        auto monitor = start_program("dbus-monitor", {"--session", rule}, true);
        wait_ms(kSettleMs);
        if (monitor) monitor->readAllStandardOutput();
        const auto start = Clock::now();
        const auto with = cpu_percent({options.mpv_pid, pid(app)}, options.seconds);
        const double seconds = ms_between(start, Clock::now()) / 1000;
        int count = 0;
        for (const QByteArray& line : monitor ? monitor->readAllStandardOutput().split('\n') : QList<QByteArray>()) {
            if (!line.startsWith("method call ")) continue;
            ++count;
            ++calls[line.mid(line.indexOf("member=") + 7).toStdString()];
        }
        const bool attached = running(app) && count > 0;
        end_program(monitor);
        end_program(app);
        if (!attached || std::min({alone[0], alone[1], with[0], with[1]}) < 0) {
            std::fprintf(stderr, "  run %d: Morvane did not run against mpv, or no CPU time was read\n", run + 1);
            continue;
        }
        mpv_alone.push_back(alone[0]);
        reference.push_back(alone[1]);
        mpv_with.push_back(with[0]);
        morvane.push_back(with[1]);
        rates.push_back(count / seconds);
        call_seconds += seconds;
        std::fprintf(stderr, "  run %d: Morvane %.2f %%, bare timer %.2f %%; mpv %.2f %% with, %.2f %% alone; %.2f calls/s\n",
                     run + 1, with[1], alone[1], with[0], alone[0], rates.back());
    }
    if (rates.empty())
        return report.add({"Polling CPU, D-Bus calls, mpv's CPU", "Morvane did not run against mpv", "-", "-",
                           Verdict::Failed});
    const std::string runs = " (median of " + std::to_string(rates.size()) + " runs of " +
                             std::to_string(options.seconds) + " s)";
    const double m = median(morvane), r = median(reference), with = median(mpv_with), alone = median(mpv_alone);
    report.add({"Polling CPU, mpv playing" + runs, fixed(m, 2) + " % = **" + times(m, r) + "** the reference",
                "a bare Qt program with the same 10 ms Qt::PreciseTimer: " + fixed(r, 2) + " %", "≤ 1.5×",
                goal(m <= 1.5 * r)});
    report.add({"mpv's CPU with Morvane attached" + runs, fixed(with, 2) + " % = **" + times(with, alone) + "**",
                "mpv alone, same file: " + fixed(alone, 2) + " %", "≤ 1.1×", goal(with <= 1.1 * alone)});
    std::string members;
    for (const auto& [member, n] : calls) members += (members.empty() ? "" : ", ") + member + " " + fixed(n / call_seconds, 2);
    report.add({"D-Bus method calls to mpv per second, steady playback" + runs,
                fixed(median(rates), 2) + " (" + members + ")", "-", "≤ 5", goal(median(rates) <= 5)});
}

// XTest key to mpv acting, with Morvane and the listener both running: the
// same presses time both. P plays the paused mpv, H pauses it again.
void hotkey_bench(const Options& options, Mpv_Ipc& mpv, Report& report)
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
    // Nothing changes on screen while paused: for the note on the CPU.
    const double paused_cpu = cpu_percent({pid(app)}, options.seconds)[0];
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
    report.note("Polling CPU with mpv paused (nothing changes on screen; one run of " +
                std::to_string(options.seconds) + " s during the hot-key part): Morvane " + fixed(paused_cpu, 2) +
                " %.");
}

bool parse(int argc, char* argv[], Options& options)
{
    const std::map<std::string, QString*> paths{{"--morvane", &options.morvane}, {"--reference", &options.reference},
                                                {"--listener", &options.listener}, {"--socket", &options.socket},
                                                {"--out", &options.out}};
    const std::map<std::string, int*> numbers{{"--mpv-pid", &options.mpv_pid}, {"--runs", &options.runs},
                                              {"--seconds", &options.seconds}, {"--presses", &options.presses},
                                              {"--rounds", &options.rounds}};
    for (int i = 1; i + 1 < argc; i += 2) {
        if (const auto path = paths.find(argv[i]); path != paths.end()) *path->second = argv[i + 1];
        else if (const auto number = numbers.find(argv[i]); number != numbers.end())
            *number->second = std::atoi(argv[i + 1]);
        else if (std::string(argv[i]) != "--ticks") return false;  // the Windows driver's
    }
    return !options.morvane.isEmpty() && !options.socket.isEmpty() && options.mpv_pid > 0 && options.runs > 0 &&
           options.seconds > 0 && options.presses > 0 && options.rounds > 0;
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
    Mpv_Ipc mpv;
    if (!parse(argc, argv, options)) {
        std::fprintf(stderr, "usage: morvane-bench-linux --morvane PATH --reference PATH --listener PATH --socket PATH "
                             "--mpv-pid PID [--out DIR] [--runs N] [--seconds S] [--presses N] [--rounds N]\n");
        return 2;
    }
    if (!mpv.open(options.socket)) {
        std::fprintf(stderr, "mpv's IPC socket %s does not answer\n", qPrintable(options.socket));
        return 1;
    }
    Report report;
    std::fprintf(stderr, "CPU and D-Bus calls\n");
    cpu_bench(options, mpv, report);
    std::fprintf(stderr, "hot keys\n");
    hotkey_bench(options, mpv, report);
    std::fprintf(stderr, "position and list operations, in this process\n");
    mpv.request({"set_property", "pause", false});
    run_in_process(mpv, options.out, options.seconds, options.rounds, report);

    const std::string table = report.markdown();
    std::fputs(table.c_str(), stdout);
    QFile file(options.out + "/table.md");
    if (!file.open(QIODevice::WriteOnly) || file.write(table.data(), static_cast<qint64>(table.size())) < 0) return 1;
    return report.any_failed() ? 1 : 0;
}
