#include "hotkey_bench.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "player_log.h"
#include "real_input.h"
#include "standin_protocol.h"
#include "stats.h"
#include "remote_window.h"

namespace bench {
namespace {

// Seconds from the key-down until the player reports `state`; nullopt when
// it never does within 2 s. The player is asked through its private query,
// which it answers at once and does not log, every millisecond or so.
std::optional<double> PressUntil(HWND player, WORD key, LRESULT state)
{
    const double start = NowSeconds();
    if (!e2e::SendKey(key, false)) return std::nullopt;
    std::optional<double> latency;
    while (NowSeconds() - start < 2.0) {
        const auto now = e2e::Send(player, STANDIN_GET_STATE, 0, 0, 1000);
        if (now && *now == state) {
            latency = NowSeconds() - start;
            break;
        }
        Sleep(1);
    }
    e2e::SendKey(key, true);
    return latency;
}

struct Presses {
    std::vector<double> latencies_ms;
    int lost = 0;
    double seconds = 0;
};

// P plays, S stops: each press changes what the player reports. The pauses
// between presses vary, so keys land at every phase of the timer.
Presses PressKeys(HWND player, int presses)
{
    Presses result;
    const double started = NowSeconds();
    for (int i = 0; i < presses; ++i) {
        const bool play = i % 2 == 0;
        const auto latency = PressUntil(player, play ? 'P' : 'S', play ? 1 : 0);
        if (latency) result.latencies_ms.push_back(*latency * 1000);
        else ++result.lost;
        Sleep(60 + static_cast<DWORD>((i * 37) % 53));
    }
    result.seconds = NowSeconds() - started;
    return result;
}

std::string Spread(const std::vector<double>& ms)
{
    return "median " + Fixed(Median(ms), 1) + " ms, 90th " + Fixed(Percentile(ms, 0.9), 1) + " ms, max " +
           Fixed(Maximum(ms), 1) + " ms";
}

} // namespace

void RunHotkeyBench(BenchEnv& env, Report& report, int presses, const PollFigures& poll)
{
    const std::string figure =
        "Hot-key latency, SendInput key-down to the player acting (" + std::to_string(presses) + " presses)";
    const std::string goal = "median ≤ 2 timer periods";

    // Morvane, its timer period counted from the state queries it sends.
    double period_ms = poll.morvane_period_ms;
    Presses morvane_presses;
    {
        Run t = env.Context("hotkey-morvane");
        auto player = StartStandin(t, L"--state stop");
        auto morvane = player ? StartMorvane(t) : std::nullopt;
        if (!morvane) {
            report.Add({figure, "-", "-", goal, Verdict::Failed});
            return;
        }
        Sleep(1000);
        const std::size_t mark = player->log.Mark();
        morvane_presses = PressKeys(player->window, presses);
        double ticks = 0;
        for (const std::string& line : player->log.LinesSince(mark))
            if (line == "1024 0 104") ++ticks;
        if (ticks > 0) period_ms = morvane_presses.seconds * 1000 / ticks;
    }
    // The same presses against a program that only samples the two keys.
    Presses reference_presses;
    {
        Run t = env.Context("hotkey-reference");
        auto player = StartStandin(t, L"--state stop");
        auto reference = player ? StartReference(t, L"--hotkeys") : std::nullopt;
        if (reference) {
            Sleep(1000);
            reference_presses = PressKeys(player->window, presses);
        }
    }
    if (morvane_presses.latencies_ms.empty() || morvane_presses.lost > 0) {
        report.Add({figure, std::to_string(morvane_presses.lost) + " presses without effect", "-", goal,
                    Verdict::Failed});
        return;
    }
    const double typical = Median(morvane_presses.latencies_ms);
    std::fprintf(stderr, "  hot keys: Morvane %s (timer period %.2f ms); reference %s\n",
                 Spread(morvane_presses.latencies_ms).c_str(), period_ms,
                 Spread(reference_presses.latencies_ms).c_str());
    const std::string reference = reference_presses.latencies_ms.empty() || reference_presses.lost > 0
                                      ? std::string("key-sampling reference: not measured")
                                      : "a 1 ms-timer program that only samples P and S with GetAsyncKeyState: " +
                                            Spread(reference_presses.latencies_ms);
    report.Add({figure, Spread(morvane_presses.latencies_ms) + "; 2 timer periods = " + Fixed(2 * period_ms, 1) + " ms",
                reference, goal, typical <= 2 * period_ms ? Verdict::Met : Verdict::Missed});
    // The reference shows how late the platform itself lets a program see
    // the key; what lies above it is Morvane's own share.
    if (!reference_presses.latencies_ms.empty() && reference_presses.lost == 0 && period_ms > 0) {
        const double own = typical - Median(reference_presses.latencies_ms);
        report.Note("Hot keys: Morvane's median is " + Fixed(std::abs(own), 1) + " ms (" +
                    Fixed(std::abs(own) / period_ms, 2) + " timer periods) " + (own < 0 ? "below" : "above") +
                    " that of the program that only samples the keys. Both include the time the system takes to "
                    "let another program see a key sent with SendInput.");
    }
}

} // namespace bench
