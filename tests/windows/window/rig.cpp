#include "rig.h"

#include <dlgs.h>

#include <cwchar>
#include <deque>

#include "app/win32/control_ids.h"

namespace morvane::test {
namespace {

std::deque<std::function<bool(HWND)>> pending_answers;
HWND last_answered = nullptr;
bool answering = false;
UINT_PTR answer_timer = 0;

BOOL CALLBACK FindEdit(HWND child, LPARAM found)
{
    wchar_t name[8]{};
    GetClassNameW(child, name, 8);
    if (std::wcscmp(name, L"Edit") != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = child;
    return FALSE;
}

// The dialog whose modal loop runs: the one visible and enabled (a dialog
// is disabled while a box of its own is open), and not answered already.
BOOL CALLBACK FindDialog(HWND window, LPARAM found)
{
    wchar_t cls[16]{};
    GetClassNameW(window, cls, 16);
    if (IsWindowVisible(window) && IsWindowEnabled(window) && window != last_answered && std::wcscmp(cls, L"#32770") == 0) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// Runs inside the dialog's own modal loop. An answer that serves messages
// itself is not called again, nor the next one, from within.
void CALLBACK AnswerWhenOpen(HWND, UINT, UINT_PTR, DWORD)
{
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog == nullptr || pending_answers.empty() || answering) return;
    answering = true;
    const bool done = pending_answers.front()(dialog);
    answering = false;
    if (!done) return;
    last_answered = dialog;
    pending_answers.pop_front();
    if (pending_answers.empty()) {
        KillTimer(nullptr, answer_timer);
        answer_timer = 0;
    }
}

} // namespace

void WindowRig::SetUp()
{
    // Answers a failed test left unused would serve the next test's dialogs.
    pending_answers.clear();
    last_answered = nullptr;
    // The window of the test before posted WM_QUIT as it went; a modal loop would end on it.
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
    ASSERT_EQ(app.Create(GetModuleHandleW(nullptr)), L"");
    if (auto_start) Start();
}

void WindowRig::Start()
{
    std::wstring failure;
    ASSERT_TRUE(app.Start(failure)) << "failure: " << failure.size();
    Pump(50);
}

void WindowRig::Click(int id)
{
    SendMessageW(Control(id), BM_CLICK, 0, 0);
    Pump(30);
}

void WindowRig::SetCheck(int id, bool checked)
{
    SendMessageW(Control(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::wstring WindowRig::Text(HWND window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::vector<std::wstring> WindowRig::Entries()
{
    const HWND list = Control(IDC_MARK_LIST);
    std::vector<std::wstring> entries;
    const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring text(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
        entries.push_back(text);
    }
    return entries;
}

int WindowRig::Selection() { return static_cast<int>(SendMessageW(Control(IDC_MARK_LIST), LB_GETCURSEL, 0, 0)); }

// As the arrow keys do: the list tells its parent the selection changed.
void WindowRig::Select(int index)
{
    const HWND list = Control(IDC_MARK_LIST);
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(IDC_MARK_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    Pump(20);
}

bool WindowRig::PumpUntil(const std::function<bool()>& ready, DWORD timeout_ms)
{
    const ULONGLONG end = GetTickCount64() + timeout_ms;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!IsDialogMessageW(Main(), &msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        if (ready()) return true;
        if (GetTickCount64() >= end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

void WindowRig::ExpectShows(HWND window, const std::wstring& want)
{
    std::wstring seen;
    PumpUntil([&] { return (seen = Text(window)) == want; });
    EXPECT_EQ(seen, want);
}

void WindowRig::AnswerNextDialog(std::function<bool(HWND dialog)> answer)
{
    pending_answers.push_back(std::move(answer));
    if (answer_timer == 0) answer_timer = SetTimer(nullptr, 0, 30, AnswerWhenOpen);
    ASSERT_NE(answer_timer, 0u);
}

void WindowRig::AnswerFileDialog(const std::wstring& path)
{
    AnswerNextDialog([path](HWND dialog) {
        // The file name's field: a combo box under Wine, its edit some levels down; an edit in Windows' own dialog.
        HWND field = GetDlgItem(dialog, cmb13);
        if (field != nullptr) EnumChildWindows(field, FindEdit, reinterpret_cast<LPARAM>(&field));
        else field = GetDlgItem(dialog, edt1);
        const HWND ok = GetDlgItem(dialog, IDOK);
        if (field == nullptr || ok == nullptr) return false;
        SetWindowTextW(field, path.c_str());
        PostMessageW(ok, BM_CLICK, 0, 0);
        return true;
    });
}

void WindowRig::AnswerBox(int button, BoxSeen* seen)
{
    AnswerNextDialog([this, button, seen](HWND box) {
        if (seen != nullptr) {
            *seen = {Text(box), Text(GetDlgItem(box, 0xFFFF))};
            for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
                wchar_t cls[16]{};
                GetClassNameW(child, cls, 16);
                const LONG style = GetWindowLongW(child, GWL_STYLE);
                if (std::wcscmp(cls, L"Button") == 0 && IsWindowVisible(child)) ++seen->buttons;
                if (std::wcscmp(cls, L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON)
                    seen->icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
            }
        }
        PostMessageW(box, WM_COMMAND, button, 0);
        return true;
    });
}

WindowRig::PromptSeen WindowRig::ClickAndAnswerPrompt(int id, std::optional<std::wstring> note)
{
    PromptSeen seen;
    bool answered = false;
    AnswerNextDialog([&](HWND dialog) {
        seen = {Text(dialog), Text(GetDlgItem(dialog, IDC_PROMPT_MESSAGE)), Text(GetDlgItem(dialog, IDC_PROMPT_EDIT))};
        if (note) SetWindowTextW(GetDlgItem(dialog, IDC_PROMPT_EDIT), note->c_str());
        PostMessageW(dialog, WM_COMMAND, note ? IDOK : IDCANCEL, 0);
        answered = true;
        return true;
    });
    Click(id);
    EXPECT_TRUE(answered) << "no prompt opened";
    return seen;
}

Measured TextWidth(const wchar_t* face, const std::wstring& text)
{
    const HDC dc = CreateCompatibleDC(nullptr);
    const HFONT font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                                   CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
    const HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    const Measured measured{static_cast<int>(size.cx), GetTextCharset(dc) == GB2312_CHARSET};
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
    return measured;
}

} // namespace morvane::test
