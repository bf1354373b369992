#include "player/win32/winamp_link.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>

#include "player/win32/file_path_replies.h"
#include "player/win32/window_classes.h"
#include "player/win32/window_messages.h"

namespace morvane::winamp {
namespace {

constexpr WPARAM kTitleLimit = 64000;

// Winamp's message table (WM_USER is WM_WA_IPC; wa_ipc.h of the Winamp SDK).
constexpr LPARAM kIpcGetStatus = 104;
constexpr LPARAM kIpcGetOutputTime = 105;
constexpr LPARAM kIpcJumpToTime = 106;
constexpr LPARAM kIpcGetListPos = 125;        // IPC_GETLISTPOS: the playlist index being played
constexpr LPARAM kIpcGetPlaylistFile = 211;   // IPC_GETPLAYLISTFILE: char* of entry wParam, in Winamp's memory
constexpr LPARAM kIpcGetPlaylistFileW = 214;  // IPC_GETPLAYLISTFILEW: wchar_t* of the same (Winamp 5)
// What a Winamp answers a request it does not have (wa_ipc.h), and NULL for an error.
constexpr LRESULT kIpcNotImplemented = 1;
// A path longer than the longest Windows takes is not read on.
constexpr std::size_t kPathLimitBytes = 2 * 32768;
constexpr std::size_t kPage = 4096;
constexpr WPARAM kCmdPrev = 40044;
constexpr WPARAM kCmdPlay = 40045;
constexpr WPARAM kCmdPause = 40046;
constexpr WPARAM kCmdStop = 40047;
constexpr WPARAM kCmdNext = 40048;

HWND Find() { return FindWindowW(win32players::kWinampClass, nullptr); }
HWND Window(std::uintptr_t handle) { return reinterpret_cast<HWND>(handle); }

std::int32_t Query(HWND player, WPARAM wparam, LPARAM lparam)
{
    const auto answer = win32players::SendWithin(player, WM_USER, wparam, lparam, win32players::TextForm::Ansi);
    return answer ? static_cast<std::int32_t>(*answer) : 0;
}

void Command(HWND player, WPARAM id) { win32players::SendWithin(player, WM_COMMAND, id, 0, win32players::TextForm::Ansi); }

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};

// The bytes at `address` in the player's memory up to the first NUL of
// `unit` bytes or the limit, read a page at a time so that a string ending
// near the last readable page is read whole; what could be read.
std::string ReadString(HANDLE process, std::uintptr_t address, std::size_t unit)
{
    std::string bytes;
    while (bytes.size() < kPathLimitBytes) {
        const std::size_t chunk = std::min(kPage - address % kPage, kPathLimitBytes - bytes.size());
        const std::size_t had = bytes.size();
        bytes.resize(had + chunk);
        SIZE_T read = 0;
        if (!ReadProcessMemory(process, reinterpret_cast<LPCVOID>(address), bytes.data() + had, chunk, &read)) read = 0;
        bytes.resize(had + read);
        for (std::size_t i = had - had % unit; i + unit <= bytes.size(); i += unit)
            if (std::all_of(bytes.begin() + static_cast<std::ptrdiff_t>(i),
                            bytes.begin() + static_cast<std::ptrdiff_t>(i + unit), [](char c) { return c == '\0'; }))
                return bytes;
        if (read < chunk) break;
        address += chunk;
    }
    return bytes;
}

} // namespace

WinampLink::WinampLink(const morvane::CodePage& code_page) : code_page_(code_page), title_buf_(kTitleLimit + 1, '\0') {}

void WinampLink::Refresh() { window_ = win32players::RefreshWindow(window_, next_look_ms_, Find); }

std::uintptr_t WinampLink::FindPlayer() { return window_; }

morvane::PlayState WinampLink::GetPlayState()
{
    switch (Query(Window(window_), 0, kIpcGetStatus)) {
    case 0: return morvane::PlayState::Stopped;
    case 1: return morvane::PlayState::Playing;
    case 3: return morvane::PlayState::Paused;
    default: return morvane::PlayState::Unknown;
    }
}
std::int32_t WinampLink::GetPositionMs() { return Query(Window(window_), 0, kIpcGetOutputTime); }
std::int32_t WinampLink::GetLengthSec() { return Query(Window(window_), 1, kIpcGetOutputTime); }

void WinampLink::JumpToMs(std::int32_t ms)
{
    // Sign-extended, so the player reads the same signed 32-bit value back.
    if (HWND player = Window(window_))
        PostMessageA(player, WM_USER, static_cast<WPARAM>(static_cast<INT_PTR>(ms)), kIpcJumpToTime);
}

void WinampLink::CmdPrev() { Command(Window(window_), kCmdPrev); }
void WinampLink::CmdPlay() { Command(Window(window_), kCmdPlay); }
void WinampLink::CmdPause() { Command(Window(window_), kCmdPause); }
void WinampLink::CmdStop() { Command(Window(window_), kCmdStop); }
void WinampLink::CmdNext() { Command(Window(window_), kCmdNext); }

bool WinampLink::ReadTitle(std::u16string& title)
{
    title_buf_[0] = '\0';
    if (!win32players::SendWithin(Window(window_), WM_GETTEXT, kTitleLimit, reinterpret_cast<LPARAM>(title_buf_.data()),
                                  win32players::TextForm::Ansi))
        return false;
    // Only the bytes up to the first NUL: the rest may hold older titles.
    title_buf_[kTitleLimit] = '\0';
    title = code_page_.ToText(std::string_view(title_buf_.data(), std::strlen(title_buf_.data())));
    return true;
}

std::u16string WinampLink::FilePath()
{
    HWND player = Window(window_);
    const auto index = win32players::SendWithin(player, WM_USER, 0, kIpcGetListPos, win32players::TextForm::Ansi);
    if (!index || *index < 0) return {};
    DWORD process_id = 0;
    if (GetWindowThreadProcessId(player, &process_id) == 0) return {};
    const std::unique_ptr<void, HandleCloser> process(
        OpenProcess(PROCESS_VM_READ | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id));
    if (!process) return {};
    // A 32-bit Winamp's pointers are 32 bits, whatever the answer's width.
    BOOL narrow = FALSE;
    const bool is_32_bit = IsWow64Process(process.get(), &narrow) && narrow;
    const auto address = [&](LRESULT answer) {
        return is_32_bit ? static_cast<std::uintptr_t>(static_cast<std::uint32_t>(answer))
                         : static_cast<std::uintptr_t>(answer);
    };
    const WPARAM entry = static_cast<WPARAM>(*index);
    if (const auto wide = win32players::SendWithin(player, WM_USER, entry, kIpcGetPlaylistFileW, win32players::TextForm::Ansi); wide && *wide > kIpcNotImplemented) {
        const std::string bytes = ReadString(process.get(), address(*wide), sizeof(char16_t));
        std::u16string units(bytes.size() / sizeof(char16_t), u'\0');
        std::memcpy(units.data(), bytes.data(), units.size() * sizeof(char16_t));
        return win32players::PathFromWideRead(units);
    }
    if (const auto ansi = win32players::SendWithin(player, WM_USER, entry, kIpcGetPlaylistFile, win32players::TextForm::Ansi); ansi && *ansi > kIpcNotImplemented)
        return win32players::PathFromAnsiRead(ReadString(process.get(), address(*ansi), 1), code_page_);
    return {};
}

std::u16string WinampLink::Name() { return u"Winamp"; }

std::u16string WinampLink::NotFoundMessage()
{
    return u"Winamp没有运行或版本不对!\r\n请先打开Winamp并使用1.xx或2.xx版本";
}

} // namespace morvane::winamp
