#pragma once

// Polling cost: each program's own CPU time over a stretch of polling with
// the player playing, runs of Morvane and the two references alternating.

#include "programs.h"
#include "report.h"

namespace bench {

struct PollFigures {
    double morvane_period_ms = 0;  // Morvane's timer period as measured
    double reference_period_ms = 0;  // the bare 1 ms timer's period
};

PollFigures RunPollBench(BenchEnv& env, Report& report, int runs, int seconds);

// One tick's player calls through each player's link in this process, the
// stand-in answering as Winamp, PotPlayer and AIMP in turn.
void RunLinkTickBench(BenchEnv& env, Report& report, int ticks);

} // namespace bench
