#pragma once

// A child process started by the driver; it is killed when the object goes,
// so no test leaves a program (or its modal dialog) behind.

#include <windows.h>

#include <optional>
#include <string>

namespace e2e {

class Process {
public:
    // Starts exe with the given argument text (already quoted as needed).
    static std::optional<Process> start(const std::wstring& exe, const std::wstring& args);

    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();

    DWORD id() const { return id_; }
    bool running() const;
    // True when the process ended within timeout_ms.
    bool wait_exit(DWORD timeout_ms) const;
    std::optional<DWORD> exit_code() const;
    void kill();

private:
    Process(HANDLE handle, DWORD id) : handle_(handle), id_(id) {}

    HANDLE handle_ = nullptr;
    DWORD id_ = 0;
};

// Quotes one command-line argument so CommandLineToArgvW gives it back unchanged.
std::wstring quote_arg(const std::wstring& arg);

}  // namespace e2e
