// The Wine set-up the program relies on: the Chinese ANSI code page and the
// font replacements for the program's faces. Checked before the tests, since
// a wrong set-up explains failures further on.

#include <windows.h>

#include <string>

#include "environment_check.h"

namespace {

struct Face_metrics {
    int narrow_width = 0;  // "i"
    int wide_latin_width = 0;  // "W"
    int chinese_width = 0;  // "中"
    bool has_gb2312 = false;
};

// Widths in a 9 pt font of the face at 96 DPI, as the window's controls use it.
Face_metrics measure(const wchar_t* face)
{
    Face_metrics metrics;
    const HDC dc = CreateCompatibleDC(nullptr);
    const HFONT font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                                   OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                   DEFAULT_PITCH | FF_DONTCARE, face);
    if (dc == nullptr || font == nullptr) {
        if (dc != nullptr)
            DeleteDC(dc);
        return metrics;
    }
    const HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    if (GetTextExtentPoint32W(dc, L"i", 1, &size))
        metrics.narrow_width = size.cx;
    if (GetTextExtentPoint32W(dc, L"W", 1, &size))
        metrics.wide_latin_width = size.cx;
    if (GetTextExtentPoint32W(dc, L"中", 1, &size))
        metrics.chinese_width = size.cx;
    metrics.has_gb2312 = GetTextCharset(dc) == GB2312_CHARSET;
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
    return metrics;
}

std::string describe(const Face_metrics& m)
{
    return "i=" + std::to_string(m.narrow_width) + " W=" + std::to_string(m.wide_latin_width)
           + " 中=" + std::to_string(m.chinese_width)
           + (m.has_gb2312 ? " GB2312" : " not GB2312");
}

}  // namespace

namespace e2e {

void check_environment(Checks& t)
{
    t.check("Wine's ANSI code page is 936", GetACP() == 936, "GetACP() = " + std::to_string(GetACP()));

    // The list's face must stay fixed-pitch, and both faces must draw Chinese
    // at the 12-pixel width the layout's display lines are measured with.
    const Face_metrics song = measure(L"宋体");
    t.check("宋体 is a Chinese face 12 pixels wide at 9 pt",
            song.has_gb2312 && song.chinese_width == 12, describe(song));
    const Face_metrics new_song = measure(L"新宋体");
    t.check("新宋体 is a fixed-pitch Chinese face",
            new_song.has_gb2312 && new_song.chinese_width == 12 && new_song.narrow_width == 6
                && new_song.wide_latin_width == 6,
            describe(new_song));
}

}  // namespace e2e
