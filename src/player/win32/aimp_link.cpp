#include "player/win32/aimp_link.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>

#include "player/win32/window_messages.h"

namespace morvane::aimp {
namespace {

// AIMP's SDK remote API (apiRemote.h, part of the public AIMP SDK). The
// remote-control window and the memory map share one name.
constexpr wchar_t kRemoteName[] = L"AIMP2_RemoteInfo";
constexpr std::size_t kMapSize = 2048;
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

// TAIMPRemoteFileInfo: a packed 88-byte header, then the album, artist,
// date, file name, genre and title as UTF-16 without terminators, each as
// long as its count of characters in the header.
constexpr std::size_t kHeaderSize = 88;
constexpr std::size_t kAlbumLengthAt = 40;
constexpr std::size_t kTextCount = 6;
constexpr std::size_t kArtist = 1;
constexpr std::size_t kTitle = 5;

HWND Find() { return FindWindowW(kRemoteName, nullptr); }

std::int32_t Property(WPARAM id)
{
    const auto answer = win32players::SendWithin(Find(), kWmProperty, id | kGet, 0);
    return answer ? static_cast<std::int32_t>(*answer) : 0;
}

void Command(WPARAM id) { win32players::SendWithin(Find(), kWmCommand, id, 0); }

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
struct ViewCloser {
    void operator()(const void* view) const { UnmapViewOfFile(view); }
};

// The artist and the title from the map's bytes; false when the header's
// counts run past the map.
bool TagsFromMap(const unsigned char* map, std::u16string& artist, std::u16string& title)
{
    std::uint32_t lengths[kTextCount];
    std::memcpy(lengths, map + kAlbumLengthAt, sizeof lengths);
    std::size_t at = kHeaderSize;
    for (std::size_t i = 0; i < kTextCount; ++i) {
        if (lengths[i] > (kMapSize - at) / sizeof(char16_t)) return false;
        std::u16string text(lengths[i], u'\0');
        std::memcpy(text.data(), map + at, lengths[i] * sizeof(char16_t));
        at += lengths[i] * sizeof(char16_t);
        if (i == kArtist) artist = std::move(text);
        if (i == kTitle) title = std::move(text);
    }
    return true;
}

} // namespace

std::uintptr_t AimpLink::FindPlayer() { return reinterpret_cast<std::uintptr_t>(Find()); }

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
    if (HWND player = Find()) PostMessageW(player, kWmProperty, kPosition | kSet, std::max<std::int32_t>(ms, 0));
}

void AimpLink::CmdPrev() { Command(kCmdPrev); }
void AimpLink::CmdPlay() { Command(kCmdPlay); }
void AimpLink::CmdPause() { Command(kCmdPause); }
void AimpLink::CmdStop() { Command(kCmdStop); }
void AimpLink::CmdNext() { Command(kCmdNext); }

bool AimpLink::ReadTitle(std::u16string& title)
{
    if (Find() == nullptr) return false;
    const std::unique_ptr<void, HandleCloser> map(OpenFileMappingW(FILE_MAP_READ, FALSE, kRemoteName));
    if (!map) return false;
    const std::unique_ptr<const void, ViewCloser> view(MapViewOfFile(map.get(), FILE_MAP_READ, 0, 0, kMapSize));
    if (!view) return false;
    std::u16string artist;
    std::u16string track;
    if (!TagsFromMap(static_cast<const unsigned char*>(view.get()), artist, track)) return false;
    title = artist.empty() ? track : artist + u" - " + track;
    return true;
}

std::u16string AimpLink::Name() { return u"AIMP"; }

std::u16string AimpLink::NotFoundMessage() { return u"没有找到正在运行的AIMP!\r\n请先打开AIMP"; }

} // namespace morvane::aimp
