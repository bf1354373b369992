#pragma once

// The programs under test as child processes, and waiting for them with a
// time limit instead of fixed sleeps.

#include <windows.h>

#include <optional>
#include <string>

namespace morvane::e2e {

// Calls ready() until it returns true or timeout_ms have passed.
template <class Ready>
bool PollUntil(Ready ready, DWORD timeout_ms = 5000, DWORD step_ms = 25)
{
    const ULONGLONG end = GetTickCount64() + timeout_ms;
    for (;;) {
        if (ready()) return true;
        if (GetTickCount64() >= end) return false;
        Sleep(step_ms);
    }
}

// The file in this program's folder, where the build puts every program.
std::wstring BesideThisProgram(const std::wstring& file);

// Killed when the object goes, so no test leaves a program (or its modal
// dialog) behind.
class Process {
public:
    // Starts exe with the argument text, already quoted as needed.
    static std::optional<Process> Start(const std::wstring& exe, const std::wstring& args);

    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    ~Process();

    DWORD Id() const { return id_; }
    bool Running() const;
    // True when the process ended within timeout_ms.
    bool WaitExit(DWORD timeout_ms) const;
    void Kill();

private:
    Process(HANDLE handle, DWORD id) : handle_(handle), id_(id) {}

    HANDLE handle_ = nullptr;
    DWORD id_ = 0;
};

// Quotes a path as one argument (a path holds no quotes).
inline std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

} // namespace morvane::e2e
