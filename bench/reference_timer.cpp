// The benchmark's references: a minimal window with a 1 ms timer.
// With --queries each tick also looks the player's window up and sends it
// exactly the messages that Morvane's tick sends while the player plays (with
// the same time limit) and nothing else; without it, a tick does nothing.
// --as potplayer or --as aimp asks in that player's table instead of Winamp's
// (AIMP's title is read from its memory map, as Morvane reads it).
// With --readouts as well, each tick also shows the position in two read-outs
// as Morvane's do: a text with milliseconds, rewritten whenever it changes (on
// every tick while the player plays), and one with seconds.
// With --hotkeys each tick samples P and S with GetAsyncKeyState, as
// Morvane's tick does, and sends the player play or stop: the floor of the
// hot-key latency on this system.

#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

#include "player/win32/window_classes.h"
#include "reference_protocol.h"

namespace {

constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTimeoutMs = 300;
constexpr WPARAM kTitleLimit = 64000;

enum class PlayerTable { Winamp, PotPlayer, Aimp };

struct Reference {
    PlayerTable table = PlayerTable::Winamp;
    bool queries = false;
    bool hotkeys = false;
    HWND readouts[2] = {};
    std::wstring shown[2];
    LONG ticks = 0;
    // Room for a title of the limit in UTF-16 too.
    std::vector<char> title = std::vector<char>(2 * (kTitleLimit + 1), '\0');
};

LRESULT AskWindow(HWND player, UINT msg, WPARAM wparam, LPARAM lparam)
{
    DWORD_PTR result = 0;
    if (player == nullptr || SendMessageTimeoutW(player, msg, wparam, lparam, SMTO_ABORTIFHUNG, kTimeoutMs, &result) == 0)
        return 0;
    return static_cast<LRESULT>(result);
}

// Winamp's title arrives in the ANSI code page.
LRESULT AskWinamp(HWND player, UINT msg, WPARAM wparam, LPARAM lparam)
{
    DWORD_PTR result = 0;
    if (player == nullptr || SendMessageTimeoutA(player, msg, wparam, lparam, SMTO_ABORTIFHUNG, kTimeoutMs, &result) == 0)
        return 0;
    return static_cast<LRESULT>(result);
}

LRESULT Ask(UINT msg, WPARAM wparam, LPARAM lparam)
{
    return AskWinamp(FindWindowW(morvane::win32players::kWinampClass, nullptr), msg, wparam, lparam);
}

HWND FindPotPlayer()
{
    HWND player = FindWindowW(morvane::win32players::kPotPlayer64Class, nullptr);
    return player != nullptr ? player : FindWindowW(morvane::win32players::kPotPlayer32Class, nullptr);
}

LRESULT AskAimp(HWND player, WPARAM property) { return AskWindow(player, WM_USER + 0x77, property, 0); }

// What Morvane's AIMP link does for the title: open the map, copy it, close it.
void ReadAimpMap(Reference& reference)
{
    HANDLE map = OpenFileMappingW(FILE_MAP_READ, FALSE, morvane::win32players::kAimpRemoteClass);
    if (map == nullptr) return;
    if (const void* view = MapViewOfFile(map, FILE_MAP_READ, 0, 0, 2048)) {
        CopyMemory(reference.title.data(), view, 2048);
        UnmapViewOfFile(view);
    }
    CloseHandle(map);
}

// The window looked up once, then state, length, position and the title.
// Returns the position in milliseconds.
LRESULT QueryLikeATick(Reference& reference)
{
    LRESULT position = 0;
    switch (reference.table) {
    case PlayerTable::Winamp:
        if (HWND player = FindWindowW(morvane::win32players::kWinampClass, nullptr)) {
            AskWinamp(player, WM_USER, 0, 104);
            AskWinamp(player, WM_USER, 1, 105);
            position = AskWinamp(player, WM_USER, 0, 105);
            AskWinamp(player, WM_GETTEXT, kTitleLimit, reinterpret_cast<LPARAM>(reference.title.data()));
        }
        break;
    case PlayerTable::PotPlayer:
        if (HWND player = FindPotPlayer()) {
            AskWindow(player, WM_USER, 0x5006, 0);
            AskWindow(player, WM_USER, 0x5002, 0);
            position = AskWindow(player, WM_USER, 0x5004, 0);
            AskWindow(player, WM_GETTEXT, kTitleLimit, reinterpret_cast<LPARAM>(reference.title.data()));
        }
        break;
    case PlayerTable::Aimp:
        if (HWND player = FindWindowW(morvane::win32players::kAimpRemoteClass, nullptr)) {
            AskAimp(player, 0x40);
            AskAimp(player, 0x30);
            position = AskAimp(player, 0x20);
            ReadAimpMap(reference);
        }
        break;
    }
    return position;
}

// Each read-out is written only when its text changes.
void ShowPosition(Reference& reference, LRESULT position_ms)
{
    const long ms = static_cast<long>(position_ms);
    const std::wstring texts[2] = {
        L"[000:00:000]<==>[" + std::to_wstring(ms / 60000) + L":" + std::to_wstring(ms / 1000 % 60) + L":" +
            std::to_wstring(ms % 1000) + L"]",
        L"总时间:0:00:00<==>当前时间:" + std::to_wstring(ms / 1000),
    };
    for (int i = 0; i < 2; ++i) {
        if (reference.readouts[i] == nullptr || texts[i] == reference.shown[i]) continue;
        SetWindowTextW(reference.readouts[i], texts[i].c_str());
        reference.shown[i] = texts[i];
    }
}

// Pressed since the previous query and down now.
bool Pressed(int key) { return GetAsyncKeyState(key) == -32767; }

void SampleKeys()
{
    if (Pressed('P')) Ask(WM_COMMAND, 40045, 0);
    else if (Pressed('S')) Ask(WM_COMMAND, 40047, 0);
}

LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam)
{
    auto* reference = reinterpret_cast<Reference*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (msg) {
    case WM_NCCREATE:
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams));
        break;
    case WM_TIMER:
        if (reference != nullptr && wparam == kTimerId) {
            ++reference->ticks;
            if (reference->hotkeys) SampleKeys();
            if (reference->queries) ShowPosition(*reference, QueryLikeATick(*reference));
        }
        return 0;
    case BENCH_GET_TICKS:
        return reference != nullptr ? reference->ticks : 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, msg, wparam, lparam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    Reference reference;
    reference.queries = std::wcsstr(GetCommandLineW(), L"--queries") != nullptr;
    reference.hotkeys = std::wcsstr(GetCommandLineW(), L"--hotkeys") != nullptr;
    if (std::wcsstr(GetCommandLineW(), L"--as potplayer") != nullptr) reference.table = PlayerTable::PotPlayer;
    if (std::wcsstr(GetCommandLineW(), L"--as aimp") != nullptr) reference.table = PlayerTable::Aimp;

    WNDCLASSW window_class{};
    window_class.lpfnWndProc = WindowProc;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszClassName = BENCH_REFERENCE_CLASS;
    if (RegisterClassW(&window_class) == 0) return 1;
    HWND window = CreateWindowExW(0, BENCH_REFERENCE_CLASS, reference.queries ? L"Reference A or C" : L"Reference B",
                                  WS_OVERLAPPEDWINDOW, 40, 500, 320, 120, nullptr, nullptr, instance, &reference);
    if (window == nullptr) return 1;
    if (std::wcsstr(GetCommandLineW(), L"--readouts") != nullptr) {
        // Morvane's read-outs: bordered, centred static text in a 9-point face.
        HFONT font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"宋体");
        for (int i = 0; i < 2; ++i) {
            reference.readouts[i] = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | SS_CENTER |
                                                    SS_NOPREFIX, 8, 8 + 28 * i, 290, 22, window, nullptr, instance,
                                                    nullptr);
            if (reference.readouts[i] == nullptr) return 1;
            SendMessageW(reference.readouts[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        }
    }
    ShowWindow(window, SW_SHOWNOACTIVATE);
    if (SetTimer(window, kTimerId, 1, nullptr) == 0) return 1;

    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
