#pragma once

// Starting the programs the benchmark measures, through the end-to-end
// driver's sessions, and the figures read from outside a running program.

#include <windows.h>

#include <optional>
#include <string>

#include "harness.h"
#include "process.h"
#include "sessions.h"

namespace bench {

// What every part of the benchmark gets: the driver's checks (a failure to
// start something is reported there) and where things are.
struct Bench_Env {
    e2e::Checks checks;
    std::wstring bin_dir;
    std::wstring out_dir;

    e2e::Context context(const std::string& name) { return e2e::Context{checks, bin_dir, out_dir, name}; }
};

struct Reference {
    e2e::Process process;
    HWND window;
};

// The 1 ms-timer reference with the given options: none (B), --queries (A),
// --hotkeys (key sampling only).
std::optional<Reference> start_reference(e2e::Context& t, const std::wstring& options);

// Peak working set of a running process in bytes, nullopt when unknown.
std::optional<double> peak_working_set(DWORD process_id);

// QueryPerformanceCounter in seconds.
double now_seconds();

} // namespace bench
