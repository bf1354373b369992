#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

namespace standin {

// One line per message received: "msg wParam lParam" in decimal, wParam as
// the signed 32-bit value the sender passed. Each line goes straight to the
// file, shared for reading, so tests can read it while the player runs.
class MessageLog {
public:
    // Creates or truncates the file; nullopt if it cannot be opened.
    static std::optional<MessageLog> Open(const std::wstring& path);

    bool Write(UINT msg, WPARAM wparam, LPARAM lparam);

private:
    struct Closer {
        void operator()(HANDLE file) const { CloseHandle(file); }
    };
    explicit MessageLog(HANDLE file) : file_(file) {}

    std::unique_ptr<void, Closer> file_;
};

}  // namespace standin
