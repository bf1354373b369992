#include "app/win32/main_window.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <windowsx.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <utility>

#include "app/layout/layout.h"
#include "app/list_menu_point.h"
#include "app/win32/control_ids.h"
#include "app/win32/dpi.h"
#include "app/win32/layout.h"
#include "app/win32/text.h"

namespace morvane::win32 {
namespace {

constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr COLORREF kTextBoxColour =
    RGB(layout::kTextBoxColour.red, layout::kTextBoxColour.green, layout::kTextBoxColour.blue);

struct WindowClass {
    const wchar_t* name;
    DWORD style;
    DWORD ex_style;
};

WindowClass ClassOf(Kind kind)
{
    // Every control that takes the focus is a group of its own, so arrow
    // keys stay inside the control instead of wandering between buttons.
    constexpr DWORD child = WS_CHILD | WS_VISIBLE;
    constexpr DWORD stop = WS_TABSTOP | WS_GROUP;
    switch (kind) {
    case Kind::Frame: return {WC_BUTTONW, child | BS_GROUPBOX, 0};
    case Kind::Button: return {WC_BUTTONW, child | stop | BS_PUSHBUTTON, 0};
    case Kind::FlatButton: return {WC_BUTTONW, child | stop | BS_PUSHBUTTON | BS_FLAT, 0};
    case Kind::Field:
        return {WC_EDITW, child | stop | WS_BORDER | ES_CENTER | ES_READONLY | ES_AUTOHSCROLL, 0};
    case Kind::ReadOut: return {WC_STATICW, child | WS_BORDER | SS_CENTER | SS_NOPREFIX, 0};
    case Kind::Listing:
        return {WC_LISTBOXW, child | stop | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                WS_EX_CLIENTEDGE};
    case Kind::Slider: return {WC_SCROLLBARW, child | stop | SBS_HORZ, 0};
    case Kind::Toggle: return {WC_BUTTONW, child | stop | BS_AUTOCHECKBOX, 0};
    }
    return {WC_STATICW, child, 0};
}

// A set-up step that failed, with the system's error code.
std::wstring Failure(const std::wstring& what)
{
    return what + L"（错误 " + std::to_wstring(GetLastError()) + L"）";
}

} // namespace

MainWindow::~MainWindow()
{
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
    if (cyan_ != nullptr) DeleteObject(cyan_);
}

std::wstring MainWindow::Create(HINSTANCE instance)
{
    instance_ = instance;
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof(window_class);
    window_class.lpfnWndProc = WindowProc;
    window_class.hInstance = instance;
    window_class.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_MORVANE));
    window_class.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_MORVANE), IMAGE_ICON,
                                                         GetSystemMetrics(SM_CXSMICON),
                                                         GetSystemMetrics(SM_CYSMICON), 0));
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszClassName = MORVANE_MAIN_CLASS;
    if (RegisterClassExW(&window_class) == 0) return Failure(L"无法注册窗口类");

    cyan_ = CreateSolidBrush(kTextBoxColour);
    if (cyan_ == nullptr) return Failure(L"无法创建画刷");

    // Created at its design place first, so it takes the DPI of the monitor there.
    const UINT screen = ScreenDpi();
    if (CreateWindowExW(0, MORVANE_MAIN_CLASS, L"Morvane", kWindowStyle, ToPixels(kDesignLeftTwips, screen),
                        ToPixels(kDesignTopTwips, screen), ToPixels(kClientWidthTwips, screen),
                        ToPixels(kClientHeightTwips, screen), nullptr, nullptr, instance, this) == nullptr)
        return Failure(L"无法创建窗口");

    dpi_ = DpiOf(hwnd_);
    fonts_ = FontSet::Make(dpi_);
    if (!fonts_) return Failure(L"无法创建字体");
    Place(nullptr);
    if (auto failure = CreateControls(); !failure.empty()) return failure;
    return CreateTooltip();
}

std::wstring MainWindow::CreateControls()
{
    for (const LayoutRow* row : RowsInTabOrder()) {
        const WindowClass kind = ClassOf(row->kind);
        const RECT rect = PixelRect(*row, dpi_);
        HWND control = CreateWindowExW(kind.ex_style, kind.name, Wide(row->caption), kind.style, rect.left, rect.top,
                                       rect.right - rect.left, rect.bottom - rect.top, hwnd_,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(row->id)), instance_, nullptr);
        if (control == nullptr) return Failure(std::wstring(L"无法创建控件 ") + std::to_wstring(row->id));
        if (row->kind == Kind::FlatButton) SetWindowTheme(control, L"", L"");  // themes ignore BS_FLAT
    }
    ApplyFonts();

    SCROLLINFO range{};
    range.cbSize = sizeof(range);
    range.fMask = SIF_RANGE | SIF_POS;
    range.nMin = 0;
    range.nMax = layout::kSeekBarEnd;
    range.nPos = 0;
    SetScrollInfo(Control(IDC_SEEK_BAR), SB_CTL, &range, TRUE);
    return {};
}

std::wstring MainWindow::CreateTooltip()
{
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                               instance_, nullptr);
    if (tooltip_ == nullptr) return Failure(L"无法创建提示窗口");
    HWND list = Control(IDC_MARK_LIST);
    wchar_t empty[] = L"";
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND;  // ListProc relays the list's mouse messages
    tool.hwnd = hwnd_;
    tool.uId = reinterpret_cast<UINT_PTR>(list);
    tool.lpszText = empty;
    if (SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)) == FALSE)
        return Failure(L"无法创建提示");
    // The list's procedure is replaced directly, not through the common
    // controls' subclass chain (nor the tooltip's TTF_SUBCLASS): under Wine
    // that chain costs tens of microseconds on every message the list gets,
    // and loading, sorting and saving send one or two per entry.
    SetWindowLongPtrW(list, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    list_proc_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListProc)));
    if (list_proc_ == nullptr) return Failure(L"无法挂接列表框");
    return {};
}

void MainWindow::ApplyFonts()
{
    for (const LayoutRow& row : Rows())
        if (HFONT font = fonts_->Get(row.face))
            SendMessageW(Control(row.id), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void MainWindow::Place(const RECT* suggested)
{
    RECT frame{0, 0, ToPixels(kClientWidthTwips, dpi_), ToPixels(kClientHeightTwips, dpi_)};
    AdjustWindowRectForDpi(frame, kWindowStyle, 0, dpi_);
    POINT origin{};
    if (suggested != nullptr) {
        origin = {suggested->left, suggested->top};
    } else {
        const UINT screen = ScreenDpi();
        origin = {ToPixels(kDesignLeftTwips, screen) + frame.left, ToPixels(kDesignTopTwips, screen) + frame.top};
    }
    SetWindowPos(hwnd_, nullptr, origin.x, origin.y, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::Show()
{
    ShowWindow(hwnd_, SW_SHOW);
    UpdateWindow(hwnd_);
    FocusControl(Control(IDC_CLEAR));
}

void MainWindow::FocusControl(HWND control)
{
    if (GetActiveWindow() == hwnd_) SetFocus(control);
    else saved_focus_ = control;
}

HWND MainWindow::DialogOwner() const
{
    if (!IsWindowVisible(hwnd_)) return nullptr;
    return GetLastActivePopup(hwnd_);
}

POINT MainWindow::MenuPoint() const
{
    if (menu_point_) return *menu_point_;
    POINT cursor{};
    GetCursorPos(&cursor);
    return cursor;
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam)
{
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(hwnd, msg, wparam, lparam);
    const LRESULT result = self->HandleMessage(msg, wparam, lparam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

void MainWindow::Post(std::function<void()> task)
{
    const std::lock_guard lock(posted_mutex_);
    posted_.push_back(std::move(task));
    // One wake-up is enough for every task queued before it is served.
    if (posted_.size() == 1 && hwnd_ != nullptr) PostMessageW(hwnd_, kRunPostedMessage, 0, 0);
}

void MainWindow::RunPosted()
{
    std::deque<std::function<void()>> tasks;
    {
        const std::lock_guard lock(posted_mutex_);
        tasks.swap(posted_);
    }
    for (std::function<void()>& task : tasks) task();
}

LRESULT MainWindow::HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam)
{
    switch (msg) {
    case WM_COMMAND:
        OnCommand(GET_WM_COMMAND_ID(wparam, lparam), GET_WM_COMMAND_CMD(wparam, lparam));
        return 0;
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lparam) == Control(IDC_SEEK_BAR)) OnScroll(LOWORD(wparam));
        return 0;
    case WM_TIMER:
        if (wparam == kTimer1Id && form_ != nullptr) form_->Poll_Tick();
        return 0;
    case kRunPostedMessage:
        RunPosted();
        return 0;
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wparam) == Control(IDC_MARK_LIST) && OnListContextMenu(lparam)) return 0;
        break;
    case WM_CTLCOLORSTATIC:
        return OnColorStatic(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
    case WM_NEXTDLGCTL: {
        // Tab and Shift+Tab from IsDialogMessage, which a plain window must carry out itself.
        HWND next = LOWORD(lparam) != 0 ? reinterpret_cast<HWND>(wparam)
                                        : GetNextDlgTabItem(hwnd_, GetFocus(), wparam != 0);
        if (next != nullptr) {
            SetFocus(next);
            if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(next, EM_SETSEL, 0, -1);
        }
        return 0;
    }
    case WM_ACTIVATE:
        if (OnActivate(LOWORD(wparam))) return 0;
        break;
    case WM_DPICHANGED:
        OnDpiChanged(LOWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
        return 0;
    case WM_CLOSE:
        DestroyWindow(hwnd_);
        return 0;
    case WM_DESTROY:
        // No tick runs once the window has gone.
        if (form_ != nullptr) form_->Window_Gone();
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, msg, wparam, lparam);
}

void MainWindow::OnCommand(int id, UINT code)
{
    if (form_ == nullptr) return;
    if (id == IDC_MARK_LIST) {
        if (code == LBN_SELCHANGE) {
            const LRESULT selected = SendMessageW(Control(IDC_MARK_LIST), LB_GETCURSEL, 0, 0);
            form_->Mark_List_Click(selected == LB_ERR ? -1 : static_cast<int>(selected));
        }
        else if (code == LBN_DBLCLK) form_->Mark_List_DblClick();
        return;
    }
    if (id == IDOK) {
        // Enter, from the dialog manager.
        HWND focus = GetFocus();
        form_->Window_EnterPress(focus != nullptr && GetParent(focus) == hwnd_ ? GetDlgCtrlID(focus) : 0);
        return;
    }
    if (code != BN_CLICKED) return;
    form_->Button_Click(id);
}

void MainWindow::OnScroll(UINT code)
{
    if (form_ == nullptr) return;
    HWND bar = Control(IDC_SEEK_BAR);
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    if (GetScrollInfo(bar, SB_CTL, &info) == FALSE) return;

    int value = info.nPos;
    switch (code) {
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        value = info.nTrackPos;
        break;
    case SB_LINELEFT:
    case SB_PAGELEFT:
        value -= 1;
        break;
    case SB_LINERIGHT:
    case SB_PAGERIGHT:
        value += 1;
        break;
    case SB_LEFT:
        value = info.nMin;
        break;
    case SB_RIGHT:
        value = info.nMax;
        break;
    default:
        return;  // SB_ENDSCROLL
    }
    SetScrollPos(bar, SB_CTL, std::clamp(value, info.nMin, info.nMax), TRUE);
    if (code == SB_THUMBTRACK) form_->Seek_Bar_Scroll();
    else form_->Seek_Bar_Change();
}

bool MainWindow::OnListContextMenu(LPARAM where)
{
    if (form_ == nullptr) return false;
    HWND list = Control(IDC_MARK_LIST);
    RECT client{};
    if (GetClientRect(list, &client) == FALSE) return false;
    int index = -1;
    POINT at{GET_X_LPARAM(where), GET_Y_LPARAM(where)};
    RECT item{};
    if (at.x == -1 && at.y == -1) {
        // Shift+F10 or the menu key: the highlighted entry, the menu below
        // it, or at the list's corner when it is scrolled out of sight.
        index = form_->mark_list().Highlighted();
        std::optional<ListRect> entry;
        if (index >= 0 &&
            SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) != LB_ERR)
            entry = ListRect{item.left, item.top, item.right, item.bottom};
        const ListPoint shown =
            KeyboardMenuPoint(entry, ListRect{client.left, client.top, client.right, client.bottom});
        at = {shown.x, shown.y};
        ClientToScreen(list, &at);
    } else {
        POINT inside = at;
        ScreenToClient(list, &inside);
        if (PtInRect(&client, inside) == FALSE) return false;
        // The high word says the point is outside every entry; below the last
        // entry the low word still names it, which its rectangle rules out.
        const LRESULT hit = SendMessageW(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(inside.x, inside.y));
        const int nearest = LOWORD(hit);
        if (HIWORD(hit) == 0 &&
            SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(nearest), reinterpret_cast<LPARAM>(&item)) != LB_ERR &&
            PtInRect(&item, inside) != FALSE)
            index = nearest;
    }
    menu_point_ = at;
    form_->Mark_List_RightClick(index);
    menu_point_.reset();
    return true;
}

LRESULT MainWindow::OnColorStatic(HDC dc, HWND control)
{
    const layout::Row* row = layout::Find(GetDlgCtrlID(control));
    if (row == nullptr || !layout::OnTextBoxColour(row->kind))
        return DefWindowProcW(hwnd_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                              reinterpret_cast<LPARAM>(control));
    SetBkColor(dc, kTextBoxColour);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    return reinterpret_cast<LRESULT>(cyan_);
}

void MainWindow::OnDpiChanged(UINT dpi, const RECT& suggested)
{
    auto fonts = FontSet::Make(dpi);
    if (!fonts) return;  // keep the old size rather than mix two scales
    dpi_ = dpi;
    Place(&suggested);
    for (const LayoutRow& row : Rows()) {
        const RECT rect = PixelRect(row, dpi_);
        SetWindowPos(Control(row.id), nullptr, rect.left, rect.top, rect.right - rect.left,
                     rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    std::swap(fonts_, fonts);
    ApplyFonts();
    if (form_ != nullptr) form_->Mark_List_FontChanged();
}

bool MainWindow::OnActivate(UINT state)
{
    // The focus leaves with the activation and comes back to where it was.
    if (state == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(hwnd_, focus)) saved_focus_ = focus;
        return false;
    }
    HWND focus = std::exchange(saved_focus_, nullptr);
    if (focus == nullptr || !IsWindow(focus)) return false;
    SetFocus(focus);
    return true;
}

LRESULT CALLBACK MainWindow::ListProc(HWND list, UINT msg, WPARAM wparam, LPARAM lparam)
{
    return reinterpret_cast<MainWindow*>(GetWindowLongPtrW(list, GWLP_USERDATA))
        ->HandleListMessage(list, msg, wparam, lparam);
}

LRESULT MainWindow::HandleListMessage(HWND list, UINT msg, WPARAM wparam, LPARAM lparam)
{
    switch (msg) {
    case WM_GETDLGCODE: {
        // Enter belongs to the list (it jumps), not to the dialog manager.
        LRESULT code = CallWindowProcW(list_proc_, list, msg, wparam, lparam);
        const auto* key = reinterpret_cast<const MSG*>(lparam);
        if (key != nullptr && (key->message == WM_KEYDOWN || key->message == WM_CHAR) && key->wParam == VK_RETURN)
            code |= DLGC_WANTMESSAGE;
        return code;
    }
    case WM_CHAR:
        if (form_ != nullptr && form_->Mark_List_KeyPress(static_cast<int>(wparam))) return 0;
        break;
    case WM_MOUSEMOVE:
        // MainForm sees each move first, so the tooltip shows the text set for
        // that very move.
        if (form_ != nullptr)
            form_->Mark_List_MouseMove((wparam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) != 0, GET_X_LPARAM(lparam),
                                   GET_Y_LPARAM(lparam));
        RelayToTooltip(list, msg, wparam, lparam);
        break;
    case WM_NCMOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        RelayToTooltip(list, msg, wparam, lparam);
        break;
    case WM_NCDESTROY: {
        const WNDPROC own = list_proc_;
        SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own));
        return CallWindowProcW(own, list, msg, wparam, lparam);
    }
    default:
        break;
    }
    return CallWindowProcW(list_proc_, list, msg, wparam, lparam);
}

void MainWindow::RelayToTooltip(HWND list, UINT msg, WPARAM wparam, LPARAM lparam)
{
    if (tooltip_ == nullptr) return;
    const DWORD where = GetMessagePos();
    MSG relayed{list, msg, wparam, lparam, static_cast<DWORD>(GetMessageTime()), {GET_X_LPARAM(where), GET_Y_LPARAM(where)}};
    SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

} // namespace morvane::win32
