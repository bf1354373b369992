#include "player/win32/winamp_link.h"

#include <windows.h>

#include <cstring>
#include <optional>
#include <string_view>

#include "player/win32/window_messages.h"

namespace morvane::winamp {
namespace {

constexpr WPARAM kTitleLimit = 64000;

// Winamp's message table.
constexpr LPARAM kIpcGetStatus = 104;
constexpr LPARAM kIpcGetOutputTime = 105;
constexpr LPARAM kIpcJumpToTime = 106;
constexpr WPARAM kCmdPrev = 40044;
constexpr WPARAM kCmdPlay = 40045;
constexpr WPARAM kCmdPause = 40046;
constexpr WPARAM kCmdStop = 40047;
constexpr WPARAM kCmdNext = 40048;

HWND Find() { return FindWindowA("Winamp v1.x", nullptr); }

std::int32_t Query(WPARAM wparam, LPARAM lparam)
{
    const auto answer = win32players::SendWithin(Find(), WM_USER, wparam, lparam, win32players::TextForm::Ansi);
    return answer ? static_cast<std::int32_t>(*answer) : 0;
}

void Command(WPARAM id) { win32players::SendWithin(Find(), WM_COMMAND, id, 0, win32players::TextForm::Ansi); }

} // namespace

WinampLink::WinampLink(const morvane::CodePage& code_page) : code_page_(code_page), title_buf_(kTitleLimit + 1, '\0') {}

std::uintptr_t WinampLink::FindPlayer() { return reinterpret_cast<std::uintptr_t>(Find()); }

morvane::PlayState WinampLink::GetPlayState()
{
    switch (Query(0, kIpcGetStatus)) {
    case 0: return morvane::PlayState::Stopped;
    case 1: return morvane::PlayState::Playing;
    case 3: return morvane::PlayState::Paused;
    default: return morvane::PlayState::Unknown;
    }
}
std::int32_t WinampLink::GetPositionMs() { return Query(0, kIpcGetOutputTime); }
std::int32_t WinampLink::GetLengthSec() { return Query(1, kIpcGetOutputTime); }

void WinampLink::JumpToMs(std::int32_t ms)
{
    // Sign-extended, so the player reads the same signed 32-bit value back.
    if (HWND player = Find())
        PostMessageA(player, WM_USER, static_cast<WPARAM>(static_cast<INT_PTR>(ms)), kIpcJumpToTime);
}

void WinampLink::CmdPrev() { Command(kCmdPrev); }
void WinampLink::CmdPlay() { Command(kCmdPlay); }
void WinampLink::CmdPause() { Command(kCmdPause); }
void WinampLink::CmdStop() { Command(kCmdStop); }
void WinampLink::CmdNext() { Command(kCmdNext); }

bool WinampLink::ReadTitle(std::u16string& title)
{
    title_buf_[0] = '\0';
    if (!win32players::SendWithin(Find(), WM_GETTEXT, kTitleLimit, reinterpret_cast<LPARAM>(title_buf_.data()),
                                  win32players::TextForm::Ansi))
        return false;
    // Only the bytes up to the first NUL: the rest may hold older titles.
    title_buf_[kTitleLimit] = '\0';
    title = code_page_.ToText(std::string_view(title_buf_.data(), std::strlen(title_buf_.data())));
    return true;
}

std::u16string WinampLink::Name() { return u"Winamp"; }

std::u16string WinampLink::NotFoundMessage()
{
    return u"Winamp没有运行或版本不对!\r\n请先打开Winamp并使用1.xx或2.xx版本";
}

} // namespace morvane::winamp
