#include "player/win32/potplayer_link.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>

#include "player/win32/window_messages.h"

namespace morvane::potplayer {
namespace {

constexpr WPARAM kTitleLimit = 64000;

// PotPlayer's remote-control requests, WM_USER with the request in wParam,
// from the POT_* table of PotPlayer's public remote-control header.
constexpr WPARAM kGetTotalTime = 0x5002;    // ms
constexpr WPARAM kGetCurrentTime = 0x5004;  // ms
constexpr WPARAM kSetCurrentTime = 0x5005;  // lParam: ms
constexpr WPARAM kGetPlayStatus = 0x5006;   // -1 stopped (0 in older builds), 1 paused, 2 playing
constexpr WPARAM kSetPlayStatus = 0x5007;   // lParam: 0 toggle, 1 pause, 2 play
constexpr LPARAM kStatusPlay = 2;
// Its WM_COMMAND ids, from PotPlayer's published command list (the ids its
// own menus and the scripts that drive it use).
constexpr WPARAM kCmdPlayPause = 20001;
constexpr WPARAM kCmdStop = 20002;
constexpr WPARAM kCmdPrevious = 10123;
constexpr WPARAM kCmdNext = 10124;

HWND Find()
{
    // The 64-bit build first: it is the one installed by default today.
    if (HWND window = FindWindowW(L"PotPlayer64", nullptr)) return window;
    return FindWindowW(L"PotPlayer", nullptr);
}

std::int32_t Query(WPARAM request)
{
    const auto answer = win32players::SendWithin(Find(), WM_USER, request, 0);
    return answer ? static_cast<std::int32_t>(*answer) : 0;
}

void Command(WPARAM id) { win32players::SendWithin(Find(), WM_COMMAND, id, 0); }

} // namespace

PotPlayerLink::PotPlayerLink() : title_buf_(kTitleLimit + 1, L'\0') {}

std::uintptr_t PotPlayerLink::FindPlayer() { return reinterpret_cast<std::uintptr_t>(Find()); }

morvane::PlayState PotPlayerLink::GetPlayState()
{
    switch (Query(kGetPlayStatus)) {
    case -1:
    case 0: return morvane::PlayState::Stopped;
    case 1: return morvane::PlayState::Paused;
    case 2: return morvane::PlayState::Playing;
    default: return morvane::PlayState::Unknown;
    }
}

std::int32_t PotPlayerLink::GetPositionMs() { return Query(kGetCurrentTime); }
std::int32_t PotPlayerLink::GetLengthSec() { return win32players::WholeSeconds(Query(kGetTotalTime)); }

void PotPlayerLink::JumpToMs(std::int32_t ms)
{
    // The request names no meaning for a time before the start.
    if (HWND player = Find()) PostMessageW(player, WM_USER, kSetCurrentTime, std::max<std::int32_t>(ms, 0));
}

void PotPlayerLink::CmdPrev() { Command(kCmdPrevious); }

void PotPlayerLink::CmdPlay()
{
    // Play/pause starts a stopped player; a paused one is resumed by setting
    // the state, which leaves a playing one as it is.
    if (GetPlayState() == morvane::PlayState::Stopped)
        Command(kCmdPlayPause);
    else
        win32players::SendWithin(Find(), WM_USER, kSetPlayStatus, kStatusPlay);
}

void PotPlayerLink::CmdPause()
{
    // Pauses or resumes, as Winamp's pause does; a stopped player stays stopped.
    if (GetPlayState() != morvane::PlayState::Stopped) Command(kCmdPlayPause);
}

void PotPlayerLink::CmdStop() { Command(kCmdStop); }
void PotPlayerLink::CmdNext() { Command(kCmdNext); }

bool PotPlayerLink::ReadTitle(std::u16string& title)
{
    title_buf_[0] = L'\0';
    if (!win32players::SendWithin(Find(), WM_GETTEXT, kTitleLimit, reinterpret_cast<LPARAM>(title_buf_.data())))
        return false;
    title_buf_[kTitleLimit] = L'\0';
    const wchar_t* text = title_buf_.data();
    title.assign(text, text + std::wcslen(text));
    return true;
}

std::u16string PotPlayerLink::Name() { return u"PotPlayer"; }

std::u16string PotPlayerLink::NotFoundMessage() { return u"没有找到正在运行的PotPlayer!\r\n请先打开PotPlayer"; }

} // namespace morvane::potplayer
