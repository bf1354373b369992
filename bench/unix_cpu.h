#pragma once

// The CPU time of a program this driver started, read from the Linux
// kernel's accounting through Wine's drive Z:. Wine answers GetProcessTimes
// for another process with zero user and kernel time (only the calling
// process is measured), so the figure must come from below Wine.

#include <windows.h>

#include <optional>
#include <string>

namespace bench {

class UnixCpuClock {
public:
    // The Unix process whose command line holds `exe` (its full Windows
    // path, as started) and that runs in this driver's Wine prefix. nullopt
    // unless exactly one such process runs.
    static std::optional<UnixCpuClock> Find(const std::wstring& exe);

    // CPU time used so far by all its threads, in seconds.
    std::optional<double> Seconds() const;

private:
    explicit UnixCpuClock(unsigned long pid) : pid_(pid) {}
    unsigned long pid_;
};

} // namespace bench
