#pragma once

// The cost of one poll tick and of the list operations at the bound of
// 32 767 entries, timed inside this process on the real front end: the main
// window and its control adapters, the real player links, files and code
// page, with a window port that answers the file dialogs with fixed paths.
// Then a passage repeated `passes` times against the stand-in in each mode,
// with the window's own timer: the overshoot past B and the gap as played.

#include "programs.h"
#include "report.h"

namespace bench {

void RunFrontBench(BenchEnv& env, Report& report, int ticks, int rounds, int passes);

} // namespace bench
