#include "protocols.h"

#include <cstdint>
#include <utility>

#include "player/win32/window_classes.h"

namespace standin {

namespace {

// Winamp's message table (the Winamp SDK's wa_ipc.h and its command ids).
constexpr LPARAM kWinampState = 104;
constexpr LPARAM kWinampTime = 105;
constexpr LPARAM kWinampJump = 106;
constexpr LPARAM kWinampListPos = 125;        // IPC_GETLISTPOS
constexpr LPARAM kWinampPlaylistFile = 211;   // IPC_GETPLAYLISTFILE: a char* in this process
constexpr LPARAM kWinampPlaylistFileW = 214;  // IPC_GETPLAYLISTFILEW: a wchar_t* in this process
constexpr WORD kWinampPrev = 40044;
constexpr WORD kWinampPlay = 40045;
constexpr WORD kWinampPause = 40046;
constexpr WORD kWinampStop = 40047;
constexpr WORD kWinampNext = 40048;

// PotPlayer's remote-control requests (WM_USER, the request in wParam),
// from the POT_* table of its SDK's remote-control header, and the two
// command ids (WM_COMMAND) of its menus for what the header has no request
// for: play/pause from stopped, and stop.
constexpr WPARAM kPotTotalTime = 0x5002;
constexpr WPARAM kPotCurrentTime = 0x5004;
constexpr WPARAM kPotSetCurrentTime = 0x5005;
constexpr WPARAM kPotPlayStatus = 0x5006;
constexpr WPARAM kPotSetPlayStatus = 0x5007;
constexpr WPARAM kPotSetPlayOrder = 0x5008;  // lParam: 0 previous, 1 next
constexpr WPARAM kPotGetPlayFileName = 0x6020;  // lParam: the window to send the path to, as WM_COPYDATA
constexpr UINT kCopyTimeoutMs = 1000;
constexpr WORD kPotPlayPause = 20001;
constexpr WORD kPotStop = 20002;

// AIMP's remote API (apiRemote.h of the AIMP SDK).
constexpr UINT kAimpCommand = WM_USER + 0x75;
constexpr UINT kAimpProperty = WM_USER + 0x77;
constexpr WPARAM kAimpPropertyMask = 0xFFFFFFF0;
constexpr WPARAM kAimpSet = 1;
constexpr WPARAM kAimpPosition = 0x20;
constexpr WPARAM kAimpDuration = 0x30;
constexpr WPARAM kAimpState = 0x40;
constexpr WPARAM kAimpPlay = 13;
constexpr WPARAM kAimpPlayPause = 14;
constexpr WPARAM kAimpPause = 15;
constexpr WPARAM kAimpStop = 16;
constexpr WPARAM kAimpNext = 17;
constexpr WPARAM kAimpPrev = 18;

std::int32_t Signed32(WPARAM value) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(value)); }

std::wstring Unknown(WPARAM id) { return L"未知命令 " + std::to_wstring(Signed32(id)); }

std::wstring JumpTo(PlayerState& player, std::int32_t ms, Clock::time_point now)
{
    player.Jump(ms, now);
    return L"跳转 " + std::to_wstring(ms) + L" ms";
}

// Each player's word for start or resume: a paused track resumes, a
// stopped one starts; a playing one plays on.
std::wstring Resume(PlayerState& player, Clock::time_point now)
{
    const PlayMode state = player.State(now);
    if (state == PlayMode::Paused)
        player.Pause(now);
    else if (state == PlayMode::Stopped)
        player.Play(now);
    return L"播放";
}

std::wstring Toggle(PlayerState& player, Clock::time_point now)
{
    if (player.State(now) == PlayMode::Stopped) {
        player.Play(now);
        return L"播放";
    }
    player.Pause(now);
    return L"播放/暂停";
}

std::wstring Track(PlayerState& player, bool next, Clock::time_point now)
{
    if (next) {
        player.Next(now);
        return L"下一首";
    }
    player.Previous(now);
    return L"上一首";
}

// The path of the playing entry, the only one the stand-in knows; NULL, as
// Winamp answers an error, for any other entry.
LRESULT WinampPath(const PlayerState& player, const std::wstring& path, const void* text, WPARAM entry)
{
    const bool playing_entry = entry == static_cast<WPARAM>(player.TrackNumber() - 1);
    return playing_entry && !path.empty() ? reinterpret_cast<LRESULT>(text) : 0;
}

std::optional<Answer> AnswerWinamp(PlayerState& player, const PlayedFile& file, UINT msg, WPARAM wparam, LPARAM lparam,
                                   Clock::time_point now)
{
    if (msg == WM_USER) {
        if (lparam == kWinampListPos) return Answer{player.TrackNumber() - 1, {}};
        if (lparam == kWinampPlaylistFileW) return Answer{WinampPath(player, file.path, file.path.c_str(), wparam), {}};
        if (lparam == kWinampPlaylistFile) return Answer{WinampPath(player, file.path, file.ansi.c_str(), wparam), {}};
        if (lparam == kWinampState) return Answer{static_cast<LRESULT>(player.State(now)), {}};
        if (lparam == kWinampTime && wparam == 0) return Answer{player.PositionMs(now), {}};
        if (lparam == kWinampTime && wparam == 1) return Answer{player.LengthSec(), {}};
        if (lparam == kWinampJump) return Answer{0, JumpTo(player, Signed32(wparam), now)};
        return Answer{};
    }
    if (msg != WM_COMMAND) return std::nullopt;
    switch (LOWORD(wparam)) {
    case kWinampPrev: return Answer{0, Track(player, false, now)};
    case kWinampPlay: player.Play(now); return Answer{0, L"播放"};
    case kWinampPause: player.Pause(now); return Answer{0, L"暂停"};
    case kWinampStop: player.Stop(now); return Answer{0, L"停止"};
    case kWinampNext: return Answer{0, Track(player, true, now)};
    }
    return Answer{0, Unknown(LOWORD(wparam))};
}

LRESULT PotPlayerStatus(PlayMode state)
{
    switch (state) {
    case PlayMode::Playing: return 2;
    case PlayMode::Paused: return 1;
    case PlayMode::Stopped: break;
    }
    return -1;
}

// PotPlayer answers a path request by sending the path to the window named in it.
void SendPotPlayerPath(const PlayedFile& file, HWND self, LPARAM to)
{
    if (file.utf8.empty()) return;
    COPYDATASTRUCT data{kPotGetPlayFileName, static_cast<DWORD>(file.utf8.size()), const_cast<char*>(file.utf8.data())};
    DWORD_PTR result = 0;
    SendMessageTimeoutW(reinterpret_cast<HWND>(to), WM_COPYDATA, reinterpret_cast<WPARAM>(self),
                        reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, kCopyTimeoutMs, &result);
}

std::optional<Answer> AnswerPotPlayer(PlayerState& player, const PlayedFile& file, HWND self, UINT msg, WPARAM wparam,
                                      LPARAM lparam, Clock::time_point now)
{
    if (msg == WM_USER) {
        switch (wparam) {
        case kPotGetPlayFileName: SendPotPlayerPath(file, self, lparam); return Answer{};
        case kPotTotalTime: return Answer{LRESULT{player.LengthSec()} * 1000, {}};
        case kPotCurrentTime: return Answer{player.PositionMs(now), {}};
        case kPotPlayStatus: return Answer{PotPlayerStatus(player.State(now)), {}};
        case kPotSetCurrentTime: return Answer{0, JumpTo(player, static_cast<std::int32_t>(lparam), now)};
        case kPotSetPlayStatus:
            if (lparam == 0) return Answer{0, Toggle(player, now)};
            if (lparam == 2) return Answer{0, Resume(player, now)};
            if (lparam == 1 && player.State(now) == PlayMode::Playing) player.Pause(now);
            return Answer{0, L"暂停"};
        case kPotSetPlayOrder: return Answer{0, Track(player, lparam == 1, now)};
        }
        return Answer{};
    }
    if (msg != WM_COMMAND) return std::nullopt;
    switch (LOWORD(wparam)) {
    case kPotPlayPause: return Answer{0, Toggle(player, now)};
    case kPotStop: player.Stop(now); return Answer{0, L"停止"};
    }
    return Answer{0, Unknown(LOWORD(wparam))};
}

LRESULT AimpState(PlayMode state)
{
    switch (state) {
    case PlayMode::Playing: return 2;
    case PlayMode::Paused: return 1;
    case PlayMode::Stopped: break;
    }
    return 0;
}

std::optional<Answer> AnswerAimp(PlayerState& player, UINT msg, WPARAM wparam, LPARAM lparam, Clock::time_point now)
{
    if (msg == kAimpProperty) {
        const bool set = (wparam & kAimpSet) != 0;
        switch (wparam & kAimpPropertyMask) {
        case kAimpPosition:
            if (set) return Answer{1, JumpTo(player, static_cast<std::int32_t>(lparam), now)};
            return Answer{player.PositionMs(now), {}};
        case kAimpDuration: return Answer{LRESULT{player.LengthSec()} * 1000, {}};
        case kAimpState: return Answer{AimpState(player.State(now)), {}};
        }
        return Answer{};
    }
    if (msg != kAimpCommand) return std::nullopt;
    switch (wparam) {
    case kAimpPlay: return Answer{0, Resume(player, now)};
    case kAimpPlayPause: return Answer{0, Toggle(player, now)};
    case kAimpPause: player.Pause(now); return Answer{0, L"暂停"};
    case kAimpStop: player.Stop(now); return Answer{0, L"停止"};
    case kAimpNext: return Answer{0, Track(player, true, now)};
    case kAimpPrev: return Answer{0, Track(player, false, now)};
    }
    return Answer{0, Unknown(wparam)};
}

}  // namespace

PlayedFile MakePlayedFile(const std::wstring& path)
{
    PlayedFile file{path, {}, {}};
    for (auto [code_page, to] : {std::pair{CP_ACP, &file.ansi}, std::pair{CP_UTF8, &file.utf8}}) {
        const int size = WideCharToMultiByte(code_page, 0, path.data(), static_cast<int>(path.size()), nullptr, 0,
                                             nullptr, nullptr);
        if (size <= 0) continue;
        to->resize(static_cast<std::size_t>(size));
        WideCharToMultiByte(code_page, 0, path.data(), static_cast<int>(path.size()), to->data(), size, nullptr,
                            nullptr);
    }
    return file;
}

const wchar_t* WindowClass(Protocol protocol)
{
    switch (protocol) {
    case Protocol::PotPlayer: return morvane::win32players::kPotPlayer64Class;
    case Protocol::Aimp: return morvane::win32players::kAimpRemoteClass;
    case Protocol::Winamp: break;
    }
    return morvane::win32players::kWinampClass;
}

std::wstring WindowTitle(Protocol protocol, const PlayerState& player)
{
    switch (protocol) {
    case Protocol::PotPlayer: return player.TrackName() + L".mp4 - PotPlayer";
    case Protocol::Aimp: return std::wstring(kArtist) + L" - " + player.TrackName();
    case Protocol::Winamp: break;
    }
    return player.Title();
}

bool IsTableMessage(Protocol protocol, UINT msg)
{
    if (protocol == Protocol::Aimp) return msg == kAimpCommand || msg == kAimpProperty;
    return msg == WM_USER || msg == WM_COMMAND;
}

std::optional<Answer> AnswerMessage(Protocol protocol, PlayerState& player, const PlayedFile& file, HWND self, UINT msg,
                                    WPARAM wparam, LPARAM lparam, Clock::time_point now)
{
    switch (protocol) {
    case Protocol::PotPlayer: return AnswerPotPlayer(player, file, self, msg, wparam, lparam, now);
    case Protocol::Aimp: return AnswerAimp(player, msg, wparam, lparam, now);
    case Protocol::Winamp: break;
    }
    return AnswerWinamp(player, file, msg, wparam, lparam, now);
}

}  // namespace standin
