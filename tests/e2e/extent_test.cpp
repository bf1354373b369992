// The list's horizontal scroll range after a load: the widest entry as the
// list's font draws it, plus a margin, whatever the entries are written in.
// Morvane adds up character widths where that is exact, so each kind of
// text gets a turn at being the widest.

#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/win32/control_ids.h"
#include "disk_files.h"
#include "file_dialog.h"
#include "harness.h"
#include "mark_steps.h"
#include "sessions.h"
#include "window_access.h"

namespace {

using Entries = std::vector<std::wstring>;

constexpr int extent_margin = 10;

// The list's font as Morvane makes it at 96 DPI: 9 pt 新宋体.
class List_Font {
public:
    List_Font()
        : dc_(CreateCompatibleDC(nullptr)),
          font_(CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"新宋体"))
    {
        if (dc_ != nullptr && font_ != nullptr)
            old_ = SelectObject(dc_, font_);
    }
    ~List_Font()
    {
        if (old_ != nullptr)
            SelectObject(dc_, old_);
        if (font_ != nullptr)
            DeleteObject(font_);
        if (dc_ != nullptr)
            DeleteDC(dc_);
    }
    List_Font(const List_Font&) = delete;
    List_Font& operator=(const List_Font&) = delete;

    bool ready() const { return old_ != nullptr; }

    // Each text measured whole.
    int widest(const Entries& entries) const
    {
        int widest = 0;
        for (const auto& entry : entries) {
            SIZE size{};
            GetTextExtentPoint32W(dc_, entry.c_str(), static_cast<int>(entry.size()), &size);
            widest = std::max<int>(widest, size.cx);
        }
        return widest;
    }

private:
    HDC dc_;
    HFONT font_;
    HGDIOBJ old_ = nullptr;
};

int horizontal_extent(HWND list)
{
    DWORD_PTR extent = 0;
    if (SendMessageTimeoutW(list, LB_GETHORIZONTALEXTENT, 0, 0, SMTO_ABORTIFHUNG, 2000, &extent) == 0)
        return -1;
    return static_cast<int>(extent);
}

}  // namespace

E2E_TEST(list_extent_follows_the_widest_entry)
{
    const std::wstring folder = t.out(L"extent");
    if (!t.check("a fresh folder for the files", e2e::fresh_folder(folder), "it cannot be emptied"))
        return;
    List_Font font;
    if (!t.check("the list's font can be made here", font.ready(), "no font"))
        return;
    auto session = e2e::start_session(t, L"--state pause");
    if (!session)
        return;
    auto& [player, morvane] = *session;
    const HWND list = morvane.control(IDC_MARK_LIST);

    const std::wstring stamp = L"[000:01:000]";
    const std::vector<std::pair<std::string, Entries>> lists{
        {"Chinese with full-width and curly punctuation",
         {stamp, stamp + L" 注释:第一句，注意连读——“引号”……（完）", stamp + L" 注释:abc"}},
        {"Latin with accents", {stamp, stamp + L" 注释:café naïve résumé, Ångström ½ × ÷ «»", stamp + L" 注释:短"}},
        {"combining marks and characters beyond the basic plane",
         {stamp, stamp + L" 注释:e\u0301e\u0301e\u0301 \U0001F600\U0001F600\U0001F600\U00020000\U00020001",
          stamp + L" 注释:ok"}},
        {"Korean and Thai", {stamp + L" 注释:안녕하세요 สวัสดีครับ ภาษาไทย", stamp}},
    };
    int n = 0;
    for (const auto& [kind, entries] : lists) {
        const std::wstring path = folder + L"\\list" + std::to_wstring(++n) + L".txt";
        const auto bytes = e2e::mark_file_bytes(entries, true);
        if (!t.check(kind + ": the file is written", bytes && e2e::write_bytes(path, *bytes), "it cannot be written"))
            continue;
        const HWND dialog = e2e::open_file_dialog(morvane.window, IDC_LOAD, L"打开记录文件");
        const bool loaded = dialog != nullptr && e2e::choose_path(dialog, path) &&
                            e2e::poll_until([&] { return !IsWindow(dialog); }, 10000) &&
                            e2e::settled(morvane.window) && e2e::list_entries(list) == entries;
        if (!t.check(kind + ": the file loads", loaded, "the dialog or the list did not follow"))
            continue;
        const int wanted = font.widest(entries) + extent_margin;
        const int extent = horizontal_extent(list);
        t.check(kind + ": the scroll range is the widest entry's width and the margin", extent == wanted,
                "range " + std::to_string(extent) + ", wanted " + std::to_string(wanted));
    }

    // Deleting the widest entry narrows the range to the next one.
    const Entries& last = lists.back().second;
    if (e2e::select_entry(list, 0) && e2e::click(morvane.control(IDC_DELETE)) && e2e::settled(morvane.window)) {
        const int wanted = font.widest({last.begin() + 1, last.end()}) + extent_margin;
        const int extent = horizontal_extent(list);
        t.check("删除 of the widest entry narrows the range", extent == wanted,
                "range " + std::to_string(extent) + ", wanted " + std::to_string(wanted));
    } else {
        t.check("删除 of the widest entry", false, "the entry could not be selected and deleted");
    }
}
