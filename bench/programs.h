#pragma once

// Starting the programs the benchmark measures, through the end-to-end
// tests' helpers, and the figures read from outside a running program.

#include <windows.h>

#include <optional>
#include <string>

#include "process.h"
#include "sessions.h"

namespace bench {

namespace e2e = morvane::e2e;

// A line per check on stdout, "ok - name" or "FAIL - name: detail"; the
// failures are counted.
struct Checks {
    int failed = 0;
    bool check(const std::string& name, bool passed, const std::string& detail);
};

// One measured run: its name, which also names the player's log, and where
// things are.
struct Run {
    Checks& checks;
    std::wstring bin_dir;
    std::wstring out_dir;
    std::string test_name;

    std::wstring bin(const std::wstring& file) const { return bin_dir + L"\\" + file; }
    bool check(const std::string& name, bool passed, const std::string& detail = {})
    {
        return checks.check(name, passed, detail);
    }
};

// What every part of the benchmark gets: the checks (a failure to start
// something is reported there) and where things are.
struct BenchEnv {
    Checks checks;
    std::wstring bin_dir;
    std::wstring out_dir;

    Run context(const std::string& name) { return Run{checks, bin_dir, out_dir, name}; }
};

// The stand-in player logging to <name>-player.log in the output folder, and
// Morvane; a failed start is a failed check.
std::optional<e2e::Standin> start_standin(Run& t, const std::wstring& options);
std::optional<e2e::Morvane> start_morvane(Run& t);

struct Reference {
    e2e::Process process;
    HWND window;
};

// The 1 ms-timer reference with the given options: none (B), --queries (A),
// --hotkeys (key sampling only).
std::optional<Reference> start_reference(Run& t, const std::wstring& options);

// Peak working set of a running process in bytes, nullopt when unknown.
std::optional<double> peak_working_set(DWORD process_id);

// QueryPerformanceCounter in seconds.
double now_seconds();

} // namespace bench
