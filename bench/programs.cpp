#include "programs.h"

#include <psapi.h>

#include "reference_protocol.h"
#include "window_access.h"

namespace bench {

std::optional<Reference> start_reference(e2e::Context& t, const std::wstring& options)
{
    auto process = e2e::Process::start(t.bin(L"bench-reference.exe"), options);
    if (!process) {
        t.check("the reference program starts", false, "CreateProcess failed");
        return std::nullopt;
    }
    HWND window = nullptr;
    e2e::poll_until(
        [&] {
            window = e2e::find_top_window(process->id(), BENCH_REFERENCE_CLASS);
            return window != nullptr || !process->running();
        },
        20000);
    if (window == nullptr) {
        t.check("the reference program shows its window", false, "no window");
        return std::nullopt;
    }
    return Reference{std::move(*process), window};
}

std::optional<double> peak_working_set(DWORD process_id)
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

double now_seconds()
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
