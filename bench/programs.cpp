#include "programs.h"

#include <psapi.h>

#include <cstdio>

#include "reference_protocol.h"
#include "remote_window.h"

namespace bench {

bool Checks::Check(const std::string& name, bool passed, const std::string& detail)
{
    const std::string line = (passed ? "ok - " : "FAIL - ") + name + (passed || detail.empty() ? "" : ": " + detail) + "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
    failed += !passed;
    return passed;
}

std::optional<e2e::Standin> StartStandin(Run& t, const std::wstring& options, const e2e::PlayerKind& kind)
{
    std::string failure;
    auto player = e2e::StartStandin(t.out_dir + L"\\" + std::wstring(t.test_name.begin(), t.test_name.end()) + L"-player.log",
                                     options, failure, kind);
    t.Check(t.test_name + ": the stand-in player starts", player.has_value(), failure);
    return player;
}

std::optional<e2e::Morvane> StartMorvane(Run& t)
{
    std::string failure;
    auto morvane = e2e::StartMorvane(failure);
    t.Check(t.test_name + ": Morvane starts", morvane.has_value(), failure);
    return morvane;
}

std::optional<Reference> StartReference(Run& t, const std::wstring& options)
{
    auto process = e2e::Process::Start(t.Bin(L"bench-reference.exe"), options);
    if (!process) {
        t.Check("the reference program starts", false, "CreateProcess failed");
        return std::nullopt;
    }
    HWND window = nullptr;
    e2e::PollUntil(
        [&] {
            const auto found = e2e::TopWindows(process->Id(), BENCH_REFERENCE_CLASS);
            window = found.empty() ? nullptr : found.front();
            return window != nullptr || !process->Running();
        },
        20000);
    if (window == nullptr) {
        t.Check("the reference program shows its window", false, "no window");
        return std::nullopt;
    }
    return Reference{std::move(*process), window};
}

std::optional<double> PeakWorkingSet(DWORD process_id)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, process_id);
    if (process == nullptr) return std::nullopt;
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    const BOOL ok = GetProcessMemoryInfo(process, &counters, sizeof counters);
    CloseHandle(process);
    if (!ok) return std::nullopt;
    return static_cast<double>(counters.PeakWorkingSetSize);
}

double NowSeconds()
{
    static const double frequency = [] {
        LARGE_INTEGER f{};
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER count{};
    QueryPerformanceCounter(&count);
    return static_cast<double>(count.QuadPart) / frequency;
}

} // namespace bench
