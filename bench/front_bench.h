#pragma once

// The cost of one poll tick and of the list operations at the bound of
// 32 767 entries, timed inside this process on the real front end: the main
// window and its control adapters, the real player link, files and code
// page, with a window port that answers the file dialogs with fixed paths.

#include "programs.h"
#include "report.h"

namespace bench {

void RunFrontBench(BenchEnv& env, Report& report, int ticks, int rounds);

} // namespace bench
