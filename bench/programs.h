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
    bool Check(const std::string& name, bool passed, const std::string& detail);
};

// One measured run: its name, which also names the player's log, and where
// things are.
struct Run {
    Checks& checks;
    std::wstring bin_dir;
    std::wstring out_dir;
    std::string test_name;

    std::wstring Bin(const std::wstring& file) const { return bin_dir + L"\\" + file; }
    bool Check(const std::string& name, bool passed, const std::string& detail = {})
    {
        return checks.Check(name, passed, detail);
    }
};

// What every part of the benchmark gets: the checks (a failure to start
// something is reported there) and where things are.
struct BenchEnv {
    Checks checks;
    std::wstring bin_dir;
    std::wstring out_dir;

    Run Context(const std::string& name) { return Run{checks, bin_dir, out_dir, name}; }
};

// The stand-in player logging to <name>-player.log in the output folder,
// answering as `kind`, and Morvane; a failed start is a failed check.
std::optional<e2e::Standin> StartStandin(Run& t, const std::wstring& options,
                                         const e2e::PlayerKind& kind = e2e::WinampKind());
std::optional<e2e::Morvane> StartMorvane(Run& t);

struct Reference {
    e2e::Process process;
    HWND window;
};

// The 1 ms-timer reference with the given options: none (B), --queries (A),
// --hotkeys (key sampling only).
std::optional<Reference> StartReference(Run& t, const std::wstring& options);

// Peak working set of a running process in bytes, nullopt when unknown.
std::optional<double> PeakWorkingSet(DWORD process_id);

// QueryPerformanceCounter in seconds.
double NowSeconds();

} // namespace bench
