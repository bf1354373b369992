#pragma once

// Hot-key latency: from a key-down sent with SendInput to the player having
// carried out the command that the key stands for.

#include "poll_bench.h"
#include "programs.h"
#include "report.h"

namespace bench {

void RunHotkeyBench(BenchEnv& env, Report& report, int presses, const PollFigures& poll);

} // namespace bench
