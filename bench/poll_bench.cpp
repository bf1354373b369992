#include "poll_bench.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include "app/win32/control_ids.h"
#include "app/win32/system_ports.h"
#include "player/win32/desktop_players.h"
#include "player_log.h"
#include "reference_protocol.h"
#include "stats.h"
#include "unix_cpu.h"
#include "remote_window.h"

namespace bench {
namespace {

// A: the tick's queries alone; B: the timer alone; C: A and two read-outs
// that show the position as Morvane's do.
enum class Program { Morvane, ReferenceA, ReferenceB, ReferenceC };
constexpr std::array<Program, 4> kOrder{Program::Morvane, Program::ReferenceA, Program::ReferenceB,
                                        Program::ReferenceC};
constexpr DWORD kWarmUpMs = 2000;
// Polling CPU at most this many times that of reference A, on every player.
constexpr double kPollGoal = 1.2;
const std::string kPollGoalText = "≤ 1.2× A";

const char* NameOf(Program program)
{
    switch (program) {
    case Program::Morvane: return "morvane";
    case Program::ReferenceA: return "reference-a";
    case Program::ReferenceC: return "reference-c";
    case Program::ReferenceB: break;
    }
    return "reference-b";
}

struct Sample {
    double cpu_s = 0;
    double wall_s = 0;
    double ticks = 0;
    double messages = 0;  // to the player, logged by the stand-in
    std::optional<double> peak_bytes;
};

struct LogCount {
    double ticks = 0;  // one state query starts every tick
    double messages = 0;
};

LogCount CountLog(const e2e::PlayerLog& log, std::size_t mark, const e2e::PlayerKind& kind)
{
    LogCount count;
    for (const std::string& line : log.LinesSince(mark)) {
        ++count.messages;
        if (line == kind.tick_queries.front()) ++count.ticks;
    }
    return count;
}

std::optional<LRESULT> ReferenceTicks(HWND window) { return e2e::Send(window, BENCH_GET_TICKS, 0, 0, 2000); }

std::optional<Sample> PollOnce(BenchEnv& env, Program program, int run, int seconds, bool playing = true,
                               const e2e::PlayerKind& kind = e2e::WinampKind())
{
    const std::string protocol(kind.option.begin(), kind.option.end());
    Run t = env.Context(std::string("poll-") + (&kind == &e2e::WinampKind() ? "" : protocol + "-") + NameOf(program) +
                        (playing ? "-" : "-paused-") + std::to_string(run));
    auto player = StartStandin(t, playing ? L"--state play" : L"--state pause", kind);
    if (!player) return std::nullopt;

    std::optional<e2e::Process> process;
    HWND window = nullptr;
    std::wstring exe;
    if (program == Program::Morvane) {
        auto morvane = StartMorvane(t);
        if (!morvane) return std::nullopt;
        window = morvane->window;
        process = std::move(morvane->process);
        exe = t.Bin(L"morvane.exe");
    } else {
        const std::wstring options = program == Program::ReferenceA   ? L"--queries --as " + kind.option
                                     : program == Program::ReferenceC ? L"--queries --readouts --as " + kind.option
                                                                      : L"";
        auto reference = StartReference(t, options);
        if (!reference) return std::nullopt;
        window = reference->window;
        process = std::move(reference->process);
        exe = t.Bin(L"bench-reference.exe");
    }
    const auto clock = UnixCpuClock::Find(exe);
    if (!t.Check(t.test_name + ": its CPU time can be read", clock.has_value(), "no single Unix process runs it"))
        return std::nullopt;

    Sleep(kWarmUpMs);
    const std::size_t mark = player->log.Mark();
    const auto ticks_before = program == Program::Morvane ? std::optional<LRESULT>(0) : ReferenceTicks(window);
    const auto cpu_before = clock->Seconds();
    const double wall_before = NowSeconds();

    Sleep(static_cast<DWORD>(seconds) * 1000);

    const auto cpu_after = clock->Seconds();
    const double wall_after = NowSeconds();
    const auto ticks_after = program == Program::Morvane ? std::optional<LRESULT>(0) : ReferenceTicks(window);
    const LogCount logged = CountLog(player->log, mark, kind);
    if (!t.Check(t.test_name + ": measured", cpu_before && cpu_after && ticks_before && ticks_after,
                 "a figure could not be read"))
        return std::nullopt;

    Sample sample;
    sample.cpu_s = *cpu_after - *cpu_before;
    sample.wall_s = wall_after - wall_before;
    sample.messages = logged.messages;
    sample.ticks = program == Program::Morvane ? logged.ticks : static_cast<double>(*ticks_after - *ticks_before);
    sample.peak_bytes = PeakWorkingSet(process->Id());
    std::fprintf(stderr, "  %-9s %-12s %s run %d: CPU %.3f s in %.1f s, %.0f ticks, %.0f messages\n", protocol.c_str(),
                 NameOf(program), playing ? "playing" : "paused", run, sample.cpu_s, sample.wall_s, sample.ticks, sample.messages);
    return sample;
}

struct Series {
    std::vector<double> cpu_share;  // CPU seconds per wall second
    std::vector<double> tick_rate;
    std::vector<double> messages_per_tick;
    std::optional<double> peak_bytes;
};

std::string Percent(double share) { return Fixed(share * 100, 2) + " %"; }
std::string Times(double share, double reference) { return Fixed(reference > 0 ? share / reference : 0, 2); }
std::string Mebibytes(double bytes) { return Fixed(bytes / (1024 * 1024), 1) + " MiB"; }

// PotPlayer's and AIMP's tables beside a reference A that asks in the same
// table; the timer alone (B) is the same for every player and is measured once.
void OtherPlayersPollBench(BenchEnv& env, Report& report, int runs, int seconds)
{
    for (const e2e::PlayerKind& kind : e2e::PlayerKinds()) {
        if (&kind == &e2e::WinampKind()) continue;
        std::vector<double> cpu, cpu_a, cpu_c, messages;
        for (int run = 1; run <= runs; ++run) {
            const auto sample = PollOnce(env, Program::Morvane, run, seconds, true, kind);
            const auto sample_a = PollOnce(env, Program::ReferenceA, run, seconds, true, kind);
            const auto sample_c = PollOnce(env, Program::ReferenceC, run, seconds, true, kind);
            if (sample && sample->wall_s > 0) cpu.push_back(sample->cpu_s / sample->wall_s);
            if (sample && sample->ticks > 0) messages.push_back(sample->messages / sample->ticks);
            if (sample_a && sample_a->wall_s > 0) cpu_a.push_back(sample_a->cpu_s / sample_a->wall_s);
            if (sample_c && sample_c->wall_s > 0) cpu_c.push_back(sample_c->cpu_s / sample_c->wall_s);
        }
        const std::string name(kind.shown_name.begin(), kind.shown_name.end());
        if (cpu.empty() || cpu_a.empty() || cpu_c.empty()) {
            report.Add({"Polling CPU, " + name + " playing", "-", "-", kPollGoalText, Verdict::Failed});
            continue;
        }
        const double ratio = Median(cpu_a) > 0 ? Median(cpu) / Median(cpu_a) : 0;
        report.Add({"Polling CPU, " + name + " playing (median of " + std::to_string(runs) + " runs of " +
                        std::to_string(seconds) + " s)",
                    Percent(Median(cpu)) + " = **" + Fixed(ratio, 2) + "× A**, " + Times(Median(cpu), Median(cpu_c)) +
                        "× C, " + Fixed(messages.empty() ? 0 : Median(messages), 2) + " messages a tick",
                    "A (1 ms timer + the tick's queries in " + name + "'s table): " + Percent(Median(cpu_a)) +
                        "; C (A + the two read-outs): " + Percent(Median(cpu_c)),
                    kPollGoalText, ratio > 0 && ratio <= kPollGoal ? Verdict::Met : Verdict::Missed});
    }
}

// One tick's calls of the player port, as Morvane's tick makes them while
// the player plays, through the chosen link; median microseconds.
std::optional<double> LinkTickMicroseconds(BenchEnv& env, const e2e::PlayerKind& kind, int ticks)
{
    const std::string protocol(kind.option.begin(), kind.option.end());
    Run t = env.Context("tick-" + protocol);
    auto player = StartStandin(t, L"--state play", kind);
    if (!player) return std::nullopt;
    morvane::win32::AnsiCodePage code_page;
    morvane::win32players::DesktopPlayers players(code_page, std::nullopt);
    morvane::Player& link = players.Chosen();
    std::u16string title;
    std::vector<double> tick_us;
    for (int i = 0; i < ticks + 50; ++i) {
        const double start = NowSeconds();
        link.Refresh();
        link.GetPlayState();
        link.GetLengthSec();
        link.GetPositionMs();
        link.ReadTitle(title);
        if (i >= 50) tick_us.push_back((NowSeconds() - start) * 1e6);
    }
    if (!t.Check(t.test_name + ": the link drives " + protocol, link.Name() == std::u16string(kind.shown_name.begin(),
                                                                                                 kind.shown_name.end())))
        return std::nullopt;
    std::fprintf(stderr, "  %-9s one tick's player calls: median %.1f us\n", protocol.c_str(), Median(tick_us));
    return Median(tick_us);
}

} // namespace

void RunLinkTickBench(BenchEnv& env, Report& report, int ticks)
{
    std::vector<std::optional<double>> medians;
    for (const e2e::PlayerKind& kind : e2e::PlayerKinds()) medians.push_back(LinkTickMicroseconds(env, kind, ticks));
    const auto& winamp = medians.front();
    for (std::size_t i = 1; i < medians.size(); ++i) {
        const std::wstring& shown = e2e::PlayerKinds()[i].shown_name;
        const std::string name(shown.begin(), shown.end());
        const std::string row = "One tick's player calls, " + name + " playing (median of " + std::to_string(ticks) + ")";
        if (!medians[i] || !winamp) {
            report.Add({row, "-", "-", "-", Verdict::Failed});
            continue;
        }
        report.Add({row, Fixed(*medians[i], 1) + " µs", "Winamp's link, same calls: " + Fixed(*winamp, 1) + " µs", "-",
                    Verdict::Info});
    }
}

PollFigures RunPollBench(BenchEnv& env, Report& report, int runs, int seconds)
{
    std::array<Series, kOrder.size()> series;
    for (int run = 1; run <= runs; ++run) {
        for (std::size_t i = 0; i < kOrder.size(); ++i) {
            const auto sample = PollOnce(env, kOrder[i], run, seconds);
            if (!sample || sample->wall_s <= 0) continue;
            Series& s = series[i];
            s.cpu_share.push_back(sample->cpu_s / sample->wall_s);
            s.tick_rate.push_back(sample->ticks / sample->wall_s);
            if (sample->ticks > 0 && sample->messages > 0) s.messages_per_tick.push_back(sample->messages / sample->ticks);
            if (sample->peak_bytes) s.peak_bytes = std::max(s.peak_bytes.value_or(0), *sample->peak_bytes);
        }
    }
    const Series& morvane = series[0];
    const Series& a = series[1];
    const Series& b = series[2];
    const Series& c = series[3];
    PollFigures figures;
    const std::string runs_text = std::to_string(runs) + " runs of " + std::to_string(seconds) + " s";

    if (morvane.cpu_share.empty() || a.cpu_share.empty() || b.cpu_share.empty() || c.cpu_share.empty()) {
        report.Add({"Polling CPU (" + runs_text + ")", "-", "-", kPollGoalText, Verdict::Failed});
        return figures;
    }
    const double cpu = Median(morvane.cpu_share);
    const double cpu_a = Median(a.cpu_share);
    const double cpu_b = Median(b.cpu_share);
    const double cpu_c = Median(c.cpu_share);
    const double ratio = cpu_a > 0 ? cpu / cpu_a : 0;
    report.Add({"Polling CPU, player playing (median of " + runs_text + ")",
                Percent(cpu) + " = **" + Fixed(ratio, 2) + "× A**, " + Times(cpu, cpu_c) + "× C",
                "A (1 ms timer + the tick's queries): " + Percent(cpu_a) + "; B (1 ms timer only): " + Percent(cpu_b) +
                    " (A = " + Times(cpu_a, cpu_b) + "× B); C (A + the two read-outs): " + Percent(cpu_c),
                kPollGoalText, ratio > 0 && ratio <= kPollGoal ? Verdict::Met : Verdict::Missed});

    // While the player is paused no read-out changes, so this isolates the
    // polling itself from the updating of the read-outs.
    std::vector<double> paused, paused_a;
    for (int run = 1; run <= runs; ++run) {
        const auto sample = PollOnce(env, Program::Morvane, run, seconds, false);
        const auto sample_a = PollOnce(env, Program::ReferenceA, run, seconds, false);
        if (sample && sample->wall_s > 0) paused.push_back(sample->cpu_s / sample->wall_s);
        if (sample_a && sample_a->wall_s > 0) paused_a.push_back(sample_a->cpu_s / sample_a->wall_s);
    }
    const std::string paused_row = "Polling CPU, player paused (median of " + runs_text + ")";
    if (paused.empty() || paused_a.empty()) {
        report.Add({paused_row, "-", "-", kPollGoalText, Verdict::Failed});
    } else {
        const double paused_ratio = Median(paused_a) > 0 ? Median(paused) / Median(paused_a) : 0;
        report.Add({paused_row, Percent(Median(paused)) + " = **" + Fixed(paused_ratio, 2) + "× A**",
                    "A, paused: " + Percent(Median(paused_a)), kPollGoalText,
                    paused_ratio > 0 && paused_ratio <= kPollGoal ? Verdict::Met : Verdict::Missed});
    }

    const double rate = Median(morvane.tick_rate);
    const double rate_a = Median(a.tick_rate);
    const double rate_b = Median(b.tick_rate);
    figures.morvane_period_ms = rate > 0 ? 1000 / rate : 0;
    figures.reference_period_ms = rate_b > 0 ? 1000 / rate_b : 0;
    report.Add({"Timer ticks per second (period)", Fixed(rate, 1) + " (" + Fixed(figures.morvane_period_ms, 2) + " ms)",
                "A: " + Fixed(rate_a, 1) + "; B: " + Fixed(rate_b, 1) + " (" + Fixed(figures.reference_period_ms, 2) +
                    " ms)",
                "-", Verdict::Info});
    report.Add({"Messages to the player per tick", Fixed(Median(morvane.messages_per_tick), 2),
                "A: " + Fixed(Median(a.messages_per_tick), 2), "same as A", Verdict::Info});
    if (morvane.peak_bytes && b.peak_bytes)
        report.Add({"Peak working set after polling", Mebibytes(*morvane.peak_bytes),
                    "B: " + Mebibytes(*b.peak_bytes) + (a.peak_bytes ? "; A: " + Mebibytes(*a.peak_bytes) : ""), "-",
                    Verdict::Info});
    else
        report.Add({"Peak working set after polling", "-", "-", "-", Verdict::Failed});
    OtherPlayersPollBench(env, report, runs, seconds);
    return figures;
}

} // namespace bench
