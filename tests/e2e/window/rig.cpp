#include "rig.h"

#include <cwchar>

#include "app/win32/control_ids.h"

namespace morvane::test {
namespace {

std::function<bool(HWND)> pending_answer;
UINT_PTR answer_timer = 0;

BOOL CALLBACK Find_Dialog(HWND window, LPARAM found)
{
    wchar_t cls[16]{};
    GetClassNameW(window, cls, 16);
    if (IsWindowVisible(window) && std::wcscmp(cls, L"#32770") == 0) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// Runs inside the dialog's own modal loop.
void CALLBACK Answer_When_Open(HWND, UINT, UINT_PTR, DWORD)
{
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), Find_Dialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog == nullptr || !pending_answer) return;
    // Held apart while it runs: an answer that serves messages itself must
    // not be called again from within.
    auto answer = std::move(pending_answer);
    pending_answer = nullptr;
    if (!answer(dialog)) {
        pending_answer = std::move(answer);
        return;
    }
    KillTimer(nullptr, answer_timer);
    answer_timer = 0;
}

} // namespace

void Window_Rig::SetUp()
{
    ASSERT_EQ(app.Create(GetModuleHandleW(nullptr)), L"");
    if (auto_start) Start();
}

void Window_Rig::Start()
{
    std::wstring failure;
    ASSERT_TRUE(app.Start(failure)) << "failure: " << failure.size();
    Pump(50);
}

void Window_Rig::Click(int id)
{
    SendMessageW(Control(id), BM_CLICK, 0, 0);
    Pump(30);
}

void Window_Rig::Set_Check(int id, bool checked)
{
    SendMessageW(Control(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::wstring Window_Rig::Text(HWND window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::vector<std::wstring> Window_Rig::Entries()
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

int Window_Rig::Selection() { return static_cast<int>(SendMessageW(Control(IDC_MARK_LIST), LB_GETCURSEL, 0, 0)); }

// As the arrow keys do: the list tells its parent the selection changed.
void Window_Rig::Select(int index)
{
    const HWND list = Control(IDC_MARK_LIST);
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(IDC_MARK_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    Pump(20);
}

bool Window_Rig::Pump_Until(const std::function<bool()>& ready, DWORD timeout_ms)
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

void Window_Rig::Expect_Shows(HWND window, const std::wstring& want)
{
    std::wstring seen;
    Pump_Until([&] { return (seen = Text(window)) == want; });
    EXPECT_EQ(seen, want);
}

void Window_Rig::Answer_Next_Dialog(std::function<bool(HWND dialog)> answer)
{
    pending_answer = std::move(answer);
    answer_timer = SetTimer(nullptr, 0, 30, Answer_When_Open);
    ASSERT_NE(answer_timer, 0u);
}

Window_Rig::Prompt_Seen Window_Rig::Click_And_Answer_Prompt(int id, std::optional<std::wstring> note)
{
    Prompt_Seen seen;
    bool answered = false;
    Answer_Next_Dialog([&](HWND dialog) {
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

std::wstring Out_Path(const std::wstring& file)
{
    wchar_t dir[MAX_PATH];
    const DWORD n = GetEnvironmentVariableW(L"E2E_OUT", dir, MAX_PATH);
    const std::wstring folder = n > 0 && n < MAX_PATH ? std::wstring(dir, n) : L"out\\e2e";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L"\\" + file;
}

Measured Text_Width(const wchar_t* face, const std::wstring& text)
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

std::wstring Short_Time(int seconds)
{
    wchar_t text[32];
    std::swprintf(text, 32, L"[%03d:%02d]", seconds / 60, seconds % 60);
    return text;
}

std::wstring Stamp(int ms)
{
    wchar_t text[32];
    std::swprintf(text, 32, L"[%03d:%02d:%03d]", ms / 60000, ms / 1000 % 60, ms % 1000);
    return text;
}

std::wstring Mark_Line(int mark_ms, int position_ms) { return Stamp(mark_ms) + L"<==>" + Stamp(position_ms); }

} // namespace morvane::test
