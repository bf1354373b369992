// The stand-in player: a window of the media player's class that answers its
// message table over a simulated playlist, logs what it receives and shows
// its own state.

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/win32/control_ids.h"
#include "log.h"
#include "options.h"
#include "player_state.h"
#include "standin_protocol.h"

namespace {

using namespace standin;

static_assert(STANDIN_WM_APP == WM_APP);

constexpr UINT_PTR kRepaintTimer = 1;
constexpr UINT kRepaintMs = 150;
constexpr int kWindowX = 560;
constexpr int kWindowY = 40;
constexpr int kClientWidth = 360;
constexpr int kClientHeight = 92;
constexpr int kLineHeight = 20;

// The player's message table.
constexpr LPARAM kIpcState = 104;
constexpr LPARAM kIpcTime = 105;
constexpr LPARAM kIpcJump = 106;
constexpr WORD kCmdPrev = 40044;
constexpr WORD kCmdPlay = 40045;
constexpr WORD kCmdPause = 40046;
constexpr WORD kCmdStop = 40047;
constexpr WORD kCmdNext = 40048;

struct App {
    App(PlayerState state, DWORD delay) : player(std::move(state)), delay_ms(delay) {}

    PlayerState player;
    std::optional<MessageLog> log;
    DWORD delay_ms;
    std::optional<Clock::time_point> hang_at;
    std::wstring last_command = L"无";
    std::wstring shown_title;
    HFONT font = nullptr;
    int depth = 0;  // window procedure calls in progress on the UI thread
};

void ReportError(const std::wstring& text)
{
    std::fwprintf(stderr, L"standin-player: %ls\n", text.c_str());
}

std::wstring ClockText(std::int64_t ms, bool with_ms)
{
    wchar_t text[32];
    if (with_ms)
        std::swprintf(text, 32, L"%02lld:%02lld.%03lld", ms / 60000, ms / 1000 % 60, ms % 1000);
    else
        std::swprintf(text, 32, L"%02lld:%02lld", ms / 60000, ms / 1000 % 60);
    return text;
}

const wchar_t* StateText(PlayMode state)
{
    switch (state) {
    case PlayMode::Playing: return L"播放中";
    case PlayMode::Paused: return L"已暂停";
    case PlayMode::Stopped: break;
    }
    return L"已停止";
}

// Messages of the player's table. The system also asks the window for its
// title while it draws the caption, inside the window's own handling of
// another message; only a WM_GETTEXT sent from elsewhere counts.
bool IsTableMessage(UINT msg, bool nested)
{
    if (msg == WM_GETTEXT)
        return !nested && InSendMessage();
    return msg == WM_USER || msg == WM_COMMAND;
}

void SyncTitle(App& app, HWND window)
{
    std::wstring title = app.player.Title();
    if (title != app.shown_title && SetWindowTextW(window, title.c_str()))
        app.shown_title = std::move(title);
}

LRESULT AnswerQuery(App& app, WPARAM wparam, LPARAM lparam)
{
    const auto now = Clock::now();
    if (lparam == kIpcState)
        return static_cast<LRESULT>(app.player.State(now));
    if (lparam == kIpcTime && wparam == 0)
        return app.player.PositionMs(now);
    if (lparam == kIpcTime && wparam == 1)
        return app.player.LengthSec();
    if (lparam == kIpcJump) {
        const auto ms = static_cast<std::int32_t>(static_cast<std::uint32_t>(wparam));
        app.player.Jump(ms, now);
        app.last_command = L"跳转 " + std::to_wstring(ms) + L" ms";
    }
    return 0;
}

void RunCommand(App& app, HWND window, WORD id)
{
    const auto now = Clock::now();
    switch (id) {
    case kCmdPrev: app.player.Previous(now); app.last_command = L"上一首"; break;
    case kCmdPlay: app.player.Play(now); app.last_command = L"播放"; break;
    case kCmdPause: app.player.Pause(now); app.last_command = L"暂停"; break;
    case kCmdStop: app.player.Stop(now); app.last_command = L"停止"; break;
    case kCmdNext: app.player.Next(now); app.last_command = L"下一首"; break;
    default: app.last_command = L"未知命令 " + std::to_wstring(id); break;
    }
    SyncTitle(app, window);
}

void Paint(App& app, HWND window)
{
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    const HGDIOBJ old_font = SelectObject(dc, app.font ? app.font : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));

    const auto now = Clock::now();
    const std::wstring lines[] = {
        L"曲目  " + std::to_wstring(app.player.TrackNumber()) + L". " + app.player.TrackName(),
        L"状态  " + std::wstring(StateText(app.player.State(now))),
        L"位置  " + ClockText(app.player.PositionMs(now), true) + L" / "
            + ClockText(std::int64_t{app.player.LengthSec()} * 1000, false),
        L"最近命令  " + app.last_command,
    };
    int y = 6;
    for (const std::wstring& line : lines) {
        TextOutW(dc, 10, y, line.c_str(), static_cast<int>(line.size()));
        y += kLineHeight;
    }
    SelectObject(dc, old_font);
    EndPaint(window, &ps);
}

LRESULT HandleMessage(App& app, HWND window, UINT msg, WPARAM wparam, LPARAM lparam, bool nested)
{
    if (IsTableMessage(msg, nested)) {
        if (app.log && !app.log->Write(msg, wparam, lparam))
            ReportError(L"cannot write to the log");
        if (app.delay_ms > 0)
            Sleep(app.delay_ms);
    }
    switch (msg) {
    case WM_USER: return AnswerQuery(app, wparam, lparam);
    case WM_COMMAND: RunCommand(app, window, LOWORD(wparam)); return 0;
    case STANDIN_GET_STATE: return static_cast<LRESULT>(app.player.State(Clock::now()));
    case STANDIN_GET_POSITION_MS: return app.player.PositionMs(Clock::now());
    case STANDIN_GET_TRACK: return app.player.TrackNumber();
    case STANDIN_GET_LENGTH_SEC: return app.player.LengthSec();
    case STANDIN_HANG:
        Sleep(wparam == 0 || wparam >= INFINITE ? INFINITE : static_cast<DWORD>(wparam));
        return 0;
    case WM_TIMER:
        if (wparam == kRepaintTimer)
            InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_PAINT: Paint(app, window); return 0;
    case WM_ERASEBKGND: return 1;  // WM_PAINT fills the whole client area
    case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcW(window, msg, wparam, lparam);
}

LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam)
{
    if (msg == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* app = reinterpret_cast<App*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (app == nullptr)
        return DefWindowProcW(window, msg, wparam, lparam);

    // Past --hang-after the window stops answering anything, for good.
    if (app->hang_at && Clock::now() >= *app->hang_at)
        Sleep(INFINITE);

    const bool nested = app->depth > 0;
    ++app->depth;
    const LRESULT result = HandleMessage(*app, window, msg, wparam, lparam, nested);
    --app->depth;
    return result;
}

std::vector<std::wstring> CommandLineArguments()
{
    std::vector<std::wstring> args;
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (argv == nullptr)
        return args;
    for (int i = 1; i < count; ++i)
        args.emplace_back(argv[i]);
    LocalFree(argv);
    return args;
}

HFONT CreateTextFont()
{
    const HDC screen = GetDC(nullptr);
    const int height = -MulDiv(12, screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96, 72);
    if (screen)
        ReleaseDC(nullptr, screen);
    return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, L"宋体");
}

HWND CreatePlayerWindow(HINSTANCE instance, App& app)
{
    static constexpr wchar_t kClassName[] = L"" MORVANE_PLAYER_CLASS;
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    wc.lpszClassName = kClassName;
    if (RegisterClassW(&wc) == 0) {
        ReportError(L"cannot register the window class");
        return nullptr;
    }
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    const HWND window = CreateWindowExW(0, kClassName, app.player.Title().c_str(), style, kWindowX,
                                        kWindowY, frame.right - frame.left, frame.bottom - frame.top,
                                        nullptr, nullptr, instance, &app);
    if (window == nullptr)
        ReportError(L"cannot create the window");
    return window;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    const ParsedOptions parsed = ParseOptions(CommandLineArguments());
    if (!parsed.error.empty()) {
        ReportError(parsed.error);
        return 2;
    }
    const Options& options = parsed.options;
    std::vector<Track> playlist = DefaultPlaylist();
    if (static_cast<std::size_t>(options.track) > playlist.size()) {
        ReportError(L"--track must be 1 to " + std::to_wstring(playlist.size()));
        return 2;
    }

    const auto start = Clock::now();
    App app(PlayerState(std::move(playlist), static_cast<std::size_t>(options.track - 1),
                         options.position_ms, options.state, start),
            options.delay_ms);
    if (options.hang_after_ms)
        app.hang_at = start + std::chrono::milliseconds(*options.hang_after_ms);
    app.font = CreateTextFont();
    const HWND window = CreatePlayerWindow(instance, app);
    if (window == nullptr)
        return 1;
    // Opened once the window exists, so a test that sees the log can find the
    // window; nothing is answered before the message loop runs.
    if (!options.log_path.empty()) {
        app.log = MessageLog::Open(options.log_path);
        if (!app.log) {
            ReportError(L"cannot open the log " + options.log_path);
            return 3;
        }
    }
    app.shown_title = app.player.Title();
    ShowWindow(window, SW_SHOWNOACTIVATE);
    SetTimer(window, kRepaintTimer, kRepaintMs, nullptr);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (app.font)
        DeleteObject(app.font);
    return 0;
}
