#include "player/win32/potplayer_link.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>

#include "player/win32/file_path_replies.h"
#include "player/win32/window_classes.h"
#include "player/win32/window_messages.h"

namespace morvane::potplayer {
namespace {

constexpr WPARAM kTitleLimit = 64000;

// PotPlayer's remote-control requests, WM_USER (POT_COMMAND) with the
// request in wParam, from the POT_* table of PotPlayer's remote-control
// header as its SDK publishes it.
constexpr WPARAM kGetTotalTime = 0x5002;    // POT_GET_TOTAL_TIME, ms
constexpr WPARAM kGetCurrentTime = 0x5004;  // POT_GET_CURRENT_TIME, ms
constexpr WPARAM kSetCurrentTime = 0x5005;  // POT_SET_CURRENT_TIME, lParam: ms
constexpr WPARAM kGetPlayStatus = 0x5006;   // POT_GET_PLAY_STATUS: -1 stopped (0 in older builds), 1 paused, 2 playing
constexpr WPARAM kSetPlayStatus = 0x5007;   // POT_SET_PLAY_STATUS, lParam: 0 toggle, 1 pause, 2 play
constexpr LPARAM kStatusToggle = 0;
constexpr LPARAM kStatusPlay = 2;
constexpr WPARAM kSetPlayOrder = 0x5008;  // POT_SET_PLAY_ORDER, lParam: 0 previous, 1 next
constexpr LPARAM kOrderPrevious = 0;
constexpr LPARAM kOrderNext = 1;
// POT_GET_PLAYFILE_NAME, lParam: the window to answer. The player sends that
// window WM_COPYDATA with this in dwData and the path as UTF-8 in lpData.
constexpr WPARAM kGetPlayFileName = 0x6020;
// No path is longer; a longer reply is none.
constexpr DWORD kReplyLimitBytes = 4 * 32768;
constexpr wchar_t kReceiverClass[] = L"Morvane.PotPlayerReply";
// The header has no request that starts a stopped player or stops one; these
// two are WM_COMMAND ids from the command list that PotPlayer's own menus
// use and that the published scripts driving it send (20001 play/pause,
// 20002 stop).
constexpr WPARAM kCmdPlayPause = 20001;
constexpr WPARAM kCmdStop = 20002;

HWND Find()
{
    if (HWND window = FindWindowW(win32players::kPotPlayer64Class, nullptr)) return window;
    return FindWindowW(win32players::kPotPlayer32Class, nullptr);
}

HWND Window(std::uintptr_t handle) { return reinterpret_cast<HWND>(handle); }

std::int32_t Query(HWND player, WPARAM request)
{
    const auto answer = win32players::SendWithin(player, WM_USER, request, 0);
    return answer ? static_cast<std::int32_t>(*answer) : 0;
}

void Command(HWND player, WPARAM id) { win32players::SendWithin(player, WM_COMMAND, id, 0); }

void Request(HWND player, WPARAM request, LPARAM value) { win32players::SendWithin(player, WM_USER, request, value); }

LRESULT CALLBACK ReceiverProc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam)
{
    if (msg != WM_COPYDATA) return DefWindowProcW(window, msg, wparam, lparam);
    auto* reply = reinterpret_cast<PotPlayerLink::CopiedReply*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
    if (reply == nullptr || data == nullptr || data->dwData != kGetPlayFileName) return FALSE;
    reply->arrived = true;
    if (data->cbData > kReplyLimitBytes || (data->lpData == nullptr && data->cbData > 0))
        reply->bytes.clear();
    else
        reply->bytes.assign(static_cast<const char*>(data->lpData), data->cbData);
    return TRUE;
}

HWND MakeReceiver(PotPlayerLink::CopiedReply& reply)
{
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = ReceiverProc;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = kReceiverClass;
    if (RegisterClassW(&window_class) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
    HWND receiver = CreateWindowExW(0, kReceiverClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    window_class.hInstance, nullptr);
    if (receiver != nullptr) SetWindowLongPtrW(receiver, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&reply));
    return receiver;
}

} // namespace

PotPlayerLink::PotPlayerLink() : title_buf_(kTitleLimit + 1, L'\0') {}

PotPlayerLink::~PotPlayerLink()
{
    if (receiver_ != 0) DestroyWindow(Window(receiver_));
}

void PotPlayerLink::Refresh() { window_ = win32players::RefreshWindow(window_, next_look_ms_, Find); }

std::uintptr_t PotPlayerLink::FindPlayer() { return window_; }

morvane::PlayState PotPlayerLink::GetPlayState()
{
    switch (Query(Window(window_), kGetPlayStatus)) {
    case -1:
    case 0: return morvane::PlayState::Stopped;
    case 1: return morvane::PlayState::Paused;
    case 2: return morvane::PlayState::Playing;
    default: return morvane::PlayState::Unknown;
    }
}

std::int32_t PotPlayerLink::GetPositionMs() { return Query(Window(window_), kGetCurrentTime); }
std::int32_t PotPlayerLink::GetLengthSec() { return win32players::WholeSeconds(Query(Window(window_), kGetTotalTime)); }

void PotPlayerLink::JumpToMs(std::int32_t ms)
{
    // The request names no meaning for a time before the start.
    if (HWND player = Window(window_)) PostMessageW(player, WM_USER, kSetCurrentTime, std::max<std::int32_t>(ms, 0));
}

void PotPlayerLink::CmdPrev() { Request(Window(window_), kSetPlayOrder, kOrderPrevious); }

void PotPlayerLink::CmdPlay()
{
    // Play/pause starts a stopped player; a paused one is resumed by setting
    // the state, which leaves a playing one as it is.
    if (GetPlayState() == morvane::PlayState::Stopped)
        Command(Window(window_), kCmdPlayPause);
    else
        Request(Window(window_), kSetPlayStatus, kStatusPlay);
}

void PotPlayerLink::CmdPause()
{
    // Pauses or resumes, as Winamp's pause does. The toggle would start a
    // stopped player, which Winamp's pause leaves stopped.
    if (GetPlayState() != morvane::PlayState::Stopped) Request(Window(window_), kSetPlayStatus, kStatusToggle);
}

void PotPlayerLink::CmdStop() { Command(Window(window_), kCmdStop); }
void PotPlayerLink::CmdNext() { Request(Window(window_), kSetPlayOrder, kOrderNext); }

bool PotPlayerLink::ReadTitle(std::u16string& title)
{
    title_buf_[0] = L'\0';
    if (!win32players::SendWithin(Window(window_), WM_GETTEXT, kTitleLimit, reinterpret_cast<LPARAM>(title_buf_.data())))
        return false;
    title_buf_[kTitleLimit] = L'\0';
    const wchar_t* text = title_buf_.data();
    title.assign(text, text + std::wcslen(text));
    return true;
}

std::u16string PotPlayerLink::FilePath()
{
    HWND player = Window(window_);
    if (player == nullptr) return {};
    if (receiver_ == 0) receiver_ = reinterpret_cast<std::uintptr_t>(MakeReceiver(reply_));
    if (receiver_ == 0) return {};
    reply_ = CopiedReply{};
    if (!win32players::SendWithin(player, WM_USER, kGetPlayFileName, static_cast<LPARAM>(receiver_))) return {};
    // The player answers inside the request or soon after it; only messages
    // sent to this thread are handled meanwhile, nothing the window queued.
    const ULONGLONG deadline = GetTickCount64() + kReplyLimitMs;
    for (ULONGLONG now = GetTickCount64(); !reply_.arrived && now < deadline; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_SENDMESSAGE);
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    return reply_.arrived ? win32players::PathFromUtf8Reply(reply_.bytes) : std::u16string();
}

std::u16string PotPlayerLink::Name() { return u"PotPlayer"; }

std::u16string PotPlayerLink::NotFoundMessage() { return u"没有找到正在运行的PotPlayer!\r\n请先打开PotPlayer"; }

} // namespace morvane::potplayer
