#include "poll_bench.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include "app/win32/control_ids.h"
#include "player_log.h"
#include "reference_protocol.h"
#include "stats.h"
#include "unix_cpu.h"
#include "remote_window.h"

namespace bench {
namespace {

enum class Program { Morvane, ReferenceA, ReferenceB };
constexpr std::array<Program, 3> kOrder{Program::Morvane, Program::ReferenceA, Program::ReferenceB};
constexpr DWORD kWarmUpMs = 2000;

const char* name_of(Program program)
{
    switch (program) {
    case Program::Morvane: return "morvane";
    case Program::ReferenceA: return "reference-a";
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

LogCount count_log(const e2e::PlayerLog& log, std::size_t mark)
{
    LogCount count;
    for (const std::string& line : log.LinesSince(mark)) {
        ++count.messages;
        if (line == "1024 0 104") ++count.ticks;
    }
    return count;
}

std::optional<LRESULT> reference_ticks(HWND window) { return e2e::Send(window, BENCH_GET_TICKS, 0, 0, 2000); }

std::optional<Sample> poll_once(BenchEnv& env, Program program, int run, int seconds, bool playing = true)
{
    Run t = env.context(std::string("poll-") + name_of(program) + (playing ? "-" : "-paused-") +
                                 std::to_string(run));
    auto player = start_standin(t, playing ? L"--state play" : L"--state pause");
    if (!player) return std::nullopt;

    std::optional<e2e::Process> process;
    HWND window = nullptr;
    std::wstring exe;
    if (program == Program::Morvane) {
        auto morvane = start_morvane(t);
        if (!morvane) return std::nullopt;
        window = morvane->window;
        process = std::move(morvane->process);
        exe = t.bin(L"morvane.exe");
    } else {
        auto reference = start_reference(t, program == Program::ReferenceA ? L"--queries" : L"");
        if (!reference) return std::nullopt;
        window = reference->window;
        process = std::move(reference->process);
        exe = t.bin(L"bench-reference.exe");
    }
    const auto clock = UnixCpuClock::find(exe);
    if (!t.check(t.test_name + ": its CPU time can be read", clock.has_value(), "no single Unix process runs it"))
        return std::nullopt;

    Sleep(kWarmUpMs);
    const std::size_t mark = player->log.Mark();
    const auto ticks_before = program == Program::Morvane ? std::optional<LRESULT>(0) : reference_ticks(window);
    const auto cpu_before = clock->seconds();
    const double wall_before = now_seconds();

    Sleep(static_cast<DWORD>(seconds) * 1000);

    const auto cpu_after = clock->seconds();
    const double wall_after = now_seconds();
    const auto ticks_after = program == Program::Morvane ? std::optional<LRESULT>(0) : reference_ticks(window);
    const LogCount logged = count_log(player->log, mark);
    if (!t.check(t.test_name + ": measured", cpu_before && cpu_after && ticks_before && ticks_after,
                 "a figure could not be read"))
        return std::nullopt;

    Sample sample;
    sample.cpu_s = *cpu_after - *cpu_before;
    sample.wall_s = wall_after - wall_before;
    sample.messages = logged.messages;
    sample.ticks = program == Program::Morvane ? logged.ticks : static_cast<double>(*ticks_after - *ticks_before);
    sample.peak_bytes = peak_working_set(process->Id());
    std::fprintf(stderr, "  %-12s %s run %d: CPU %.3f s in %.1f s, %.0f ticks, %.0f messages\n", name_of(program),
                 playing ? "playing" : "paused", run, sample.cpu_s, sample.wall_s, sample.ticks, sample.messages);
    return sample;
}

struct Series {
    std::vector<double> cpu_share;  // CPU seconds per wall second
    std::vector<double> tick_rate;
    std::vector<double> messages_per_tick;
    std::optional<double> peak_bytes;
};

std::string percent(double share) { return fixed(share * 100, 2) + " %"; }
std::string mebibytes(double bytes) { return fixed(bytes / (1024 * 1024), 1) + " MiB"; }

} // namespace

PollFigures run_poll_bench(BenchEnv& env, Report& report, int runs, int seconds)
{
    std::array<Series, 3> series;
    for (int run = 1; run <= runs; ++run) {
        for (std::size_t i = 0; i < kOrder.size(); ++i) {
            const auto sample = poll_once(env, kOrder[i], run, seconds);
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
    PollFigures figures;
    const std::string runs_text = std::to_string(runs) + " runs of " + std::to_string(seconds) + " s";

    if (morvane.cpu_share.empty() || a.cpu_share.empty() || b.cpu_share.empty()) {
        report.add({"Polling CPU (" + runs_text + ")", "-", "-", "≤ 2× A", Verdict::Failed});
        return figures;
    }
    const double cpu = median(morvane.cpu_share);
    const double cpu_a = median(a.cpu_share);
    const double cpu_b = median(b.cpu_share);
    const double ratio = cpu_a > 0 ? cpu / cpu_a : 0;
    report.add({"Polling CPU, player playing (median of " + runs_text + ")",
                percent(cpu) + " = **" + fixed(ratio, 2) + "× A**",
                "A (1 ms timer + the tick's queries): " + percent(cpu_a) + "; B (1 ms timer only): " + percent(cpu_b) +
                    " (A = " + fixed(cpu_b > 0 ? cpu_a / cpu_b : 0, 1) + "× B)",
                "≤ 2× A (stretch ≤ 1.5× A)", ratio > 0 && ratio <= 2.0 ? Verdict::Met : Verdict::Missed});
    if (ratio > 0 && ratio <= 1.5) report.note("The stretch goal for polling CPU (≤ 1.5× A) is met.");

    // While the player is paused no read-out changes, so this isolates the
    // polling itself from the updating of the read-outs.
    const auto paused = poll_once(env, Program::Morvane, 1, seconds, false);
    const auto paused_a = poll_once(env, Program::ReferenceA, 1, seconds, false);
    if (paused && paused_a && paused_a->cpu_s > 0)
        report.note("With the player paused (no read-out changes; one run of " + std::to_string(seconds) +
                    " s each) Morvane used " + percent(paused->cpu_s / paused->wall_s) + " and A " +
                    percent(paused_a->cpu_s / paused_a->wall_s) + ": " + fixed(paused->cpu_s / paused_a->cpu_s, 2) +
                    "× A. The rest of the difference while playing is the read-outs that change on every tick.");

    const double rate = median(morvane.tick_rate);
    const double rate_a = median(a.tick_rate);
    const double rate_b = median(b.tick_rate);
    figures.morvane_period_ms = rate > 0 ? 1000 / rate : 0;
    figures.reference_period_ms = rate_b > 0 ? 1000 / rate_b : 0;
    report.add({"Timer ticks per second (period)", fixed(rate, 1) + " (" + fixed(figures.morvane_period_ms, 2) + " ms)",
                "A: " + fixed(rate_a, 1) + "; B: " + fixed(rate_b, 1) + " (" + fixed(figures.reference_period_ms, 2) +
                    " ms)",
                "-", Verdict::Info});
    report.add({"Messages to the player per tick", fixed(median(morvane.messages_per_tick), 2),
                "A: " + fixed(median(a.messages_per_tick), 2), "same as A", Verdict::Info});
    if (morvane.peak_bytes && b.peak_bytes)
        report.add({"Peak working set after polling", mebibytes(*morvane.peak_bytes),
                    "B: " + mebibytes(*b.peak_bytes) + (a.peak_bytes ? "; A: " + mebibytes(*a.peak_bytes) : ""), "-",
                    Verdict::Info});
    else
        report.add({"Peak working set after polling", "-", "-", "-", Verdict::Failed});
    return figures;
}

} // namespace bench
