#include "player/win32/aimp_link.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <optional>
#include <span>

#include "player/win32/file_path_replies.h"
#include "player/win32/window_classes.h"
#include "player/win32/window_messages.h"

namespace morvane::aimp {
namespace {

// AIMP's SDK remote API (apiRemote.h, part of the public AIMP SDK). The
// remote-control window and the memory map share one name.
constexpr const wchar_t* kRemoteName = win32players::kAimpRemoteClass;
constexpr UINT kWmCommand = WM_USER + 0x75;   // WM_AIMP_COMMAND, command id in wParam
constexpr UINT kWmProperty = WM_USER + 0x77;  // WM_AIMP_PROPERTY, property id | get or set in wParam
constexpr WPARAM kGet = 0;
constexpr WPARAM kSet = 1;
constexpr WPARAM kPosition = 0x20;  // ms, get and set
constexpr WPARAM kDuration = 0x30;  // ms
constexpr WPARAM kState = 0x40;     // 0 stopped, 1 paused, 2 playing
constexpr WPARAM kCmdPlay = 10 + 3;   // start or resume
constexpr WPARAM kCmdPause = 10 + 5;  // pause or resume
constexpr WPARAM kCmdStop = 10 + 6;
constexpr WPARAM kCmdNext = 10 + 7;
constexpr WPARAM kCmdPrev = 10 + 8;

HWND Find() { return FindWindowW(kRemoteName, nullptr); }
HWND Window(std::uintptr_t handle) { return reinterpret_cast<HWND>(handle); }

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
struct ViewCloser {
    void operator()(const void* view) const { UnmapViewOfFile(view); }
};

// The texts of the playing track from the memory map, bounded by the map's
// size; nullopt without a map or when its counts run past it.
std::optional<win32players::AimpTexts> ReadMap()
{
    const std::unique_ptr<void, HandleCloser> map(OpenFileMappingW(FILE_MAP_READ, FALSE, kRemoteName));
    if (!map) return std::nullopt;
    const std::unique_ptr<const void, ViewCloser> view(
        MapViewOfFile(map.get(), FILE_MAP_READ, 0, 0, win32players::kAimpMapSize));
    if (!view) return std::nullopt;
    return win32players::AimpMapTexts(
        std::span(static_cast<const unsigned char*>(view.get()), win32players::kAimpMapSize));
}

} // namespace

void AimpLink::Refresh() { window_ = win32players::RefreshWindow(window_, next_look_ms_, Find); }

std::uintptr_t AimpLink::FindPlayer() { return window_; }

std::int32_t AimpLink::Property(std::uintptr_t id)
{
    const auto answer = win32players::SendWithin(Window(window_), kWmProperty, id | kGet, 0);
    return answer ? static_cast<std::int32_t>(*answer) : 0;
}

void AimpLink::Command(std::uintptr_t id) { win32players::SendWithin(Window(window_), kWmCommand, id, 0); }

morvane::PlayState AimpLink::GetPlayState()
{
    switch (Property(kState)) {
    case 0: return morvane::PlayState::Stopped;
    case 1: return morvane::PlayState::Paused;
    case 2: return morvane::PlayState::Playing;
    default: return morvane::PlayState::Unknown;
    }
}

std::int32_t AimpLink::GetPositionMs() { return Property(kPosition); }
std::int32_t AimpLink::GetLengthSec() { return win32players::WholeSeconds(Property(kDuration)); }

void AimpLink::JumpToMs(std::int32_t ms)
{
    // The property names no meaning for a time before the start.
    if (HWND player = Window(window_)) PostMessageW(player, kWmProperty, kPosition | kSet, std::max<std::int32_t>(ms, 0));
}

void AimpLink::CmdPrev() { Command(kCmdPrev); }
void AimpLink::CmdPlay() { Command(kCmdPlay); }
void AimpLink::CmdPause() { Command(kCmdPause); }
void AimpLink::CmdStop() { Command(kCmdStop); }
void AimpLink::CmdNext() { Command(kCmdNext); }

bool AimpLink::ReadTitle(std::u16string& title)
{
    if (window_ == 0) return false;
    const std::optional<win32players::AimpTexts> texts = ReadMap();
    if (!texts) return false;
    title = texts->artist.empty() ? texts->title : texts->artist + u" - " + texts->title;
    return true;
}

std::u16string AimpLink::FilePath()
{
    if (window_ == 0) return {};
    const std::optional<win32players::AimpTexts> texts = ReadMap();
    return texts && win32players::IsLocalPath(texts->file_name) ? texts->file_name : std::u16string();
}

std::u16string AimpLink::Name() { return u"AIMP"; }

std::u16string AimpLink::NotFoundMessage() { return u"没有找到正在运行的AIMP!\r\n请先打开AIMP"; }

} // namespace morvane::aimp
