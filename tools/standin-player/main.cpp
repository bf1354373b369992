// The stand-in player: a window of a media player's class that answers that
// player's message table (Winamp's, PotPlayer's or AIMP's, by --as) over a
// simulated playlist, logs what it receives and shows its own state.

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "aimp_map.h"
#include "log.h"
#include "options.h"
#include "player_state.h"
#include "protocols.h"
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

struct App {
    App(Protocol as, PlayerState state, DWORD delay) : protocol(as), player(std::move(state)), delay_ms(delay) {}

    Protocol protocol;
    PlayerState player;
    PlayedFile file;
    AimpInfoMap aimp_map;  // written in the AIMP mode only
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

// Messages of the player's table, and the title read of the players whose
// title is their window's text (AIMP's is in its memory map). The system also
// asks the window for its title while it draws the caption, inside the
// window's own handling of another message; only a WM_GETTEXT sent from
// elsewhere counts.
bool IsLogged(const App& app, UINT msg, bool nested)
{
    if (msg == WM_GETTEXT)
        return app.protocol != Protocol::Aimp && !nested && InSendMessage();
    return IsTableMessage(app.protocol, msg);
}

// The window's title and, for AIMP, the memory map follow the track.
void SyncTitle(App& app, HWND window)
{
    std::wstring title = WindowTitle(app.protocol, app.player);
    if (title == app.shown_title)
        return;
    if (SetWindowTextW(window, title.c_str()))
        app.shown_title = std::move(title);
    if (app.protocol == Protocol::Aimp)
        app.aimp_map.Write(app.player, kArtist, app.file.path);
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

LRESULT Nth(const std::vector<std::int32_t>& values, WPARAM i)
{
    return i < values.size() ? values[i] : -1;
}

LRESULT HandleMessage(App& app, HWND window, UINT msg, WPARAM wparam, LPARAM lparam, bool nested)
{
    if (IsLogged(app, msg, nested)) {
        if (app.log && !app.log->Write(msg, wparam, lparam))
            ReportError(L"cannot write to the log");
        if (app.delay_ms > 0)
            Sleep(app.delay_ms);
    }
    if (const auto answer = AnswerMessage(app.protocol, app.player, app.file, window, msg, wparam, lparam, Clock::now())) {
        if (!answer->command.empty()) {
            app.last_command = answer->command;
            SyncTitle(app, window);
        }
        return answer->result;
    }
    switch (msg) {
    case STANDIN_GET_STATE: return static_cast<LRESULT>(app.player.State(Clock::now()));
    case STANDIN_GET_POSITION_MS: return app.player.PositionMs(Clock::now());
    case STANDIN_GET_TRACK: return app.player.TrackNumber();
    case STANDIN_GET_LENGTH_SEC: return app.player.LengthSec();
    case STANDIN_GET_JUMPED_FROM_MS: return Nth(app.player.JumpedFrom(), wparam);
    case STANDIN_GET_PAUSE_MS: return Nth(app.player.PausesMs(), wparam);
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
    const wchar_t* class_name = WindowClass(app.protocol);
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    wc.lpszClassName = class_name;
    if (RegisterClassW(&wc) == 0) {
        ReportError(L"cannot register the window class");
        return nullptr;
    }
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    const HWND window = CreateWindowExW(0, class_name, WindowTitle(app.protocol, app.player).c_str(), style, kWindowX,
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
    App app(options.protocol, PlayerState(std::move(playlist), static_cast<std::size_t>(options.track - 1),
                         options.position_ms, options.state, start),
            options.delay_ms);
    app.file = MakePlayedFile(options.file_path);
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
    if (app.protocol == Protocol::Aimp) {
        if (!app.aimp_map.Create()) {
            ReportError(L"cannot create AIMP's memory map");
            return 1;
        }
        app.aimp_map.Write(app.player, kArtist, app.file.path);
    }
    app.shown_title = WindowTitle(app.protocol, app.player);
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
