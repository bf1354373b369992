#include "app/win32/fonts.h"

#include <cwchar>

#include "app/win32/dpi.h"

namespace morvane::win32 {
namespace {

// `hundredths` of a point at `dpi`, as a character height.
LONG Height(int hundredths, UINT dpi) { return -MulDiv(hundredths, static_cast<int>(dpi), 7200); }

HFONT Make_Font(const wchar_t* face, int hundredths, LONG weight, BYTE charset, UINT dpi)
{
    LOGFONTW font{};
    font.lfHeight = Height(hundredths, dpi);
    font.lfWeight = weight;
    font.lfCharSet = charset;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    wcsncpy_s(font.lfFaceName, face, _TRUNCATE);
    return CreateFontIndirectW(&font);
}

HFONT Make_Window_Font(UINT dpi)
{
    LOGFONTW font{};
    if (!Message_Font(font, dpi)) return nullptr;
    return CreateFontIndirectW(&font);
}

} // namespace

std::unique_ptr<Font_Set> Font_Set::Make(UINT dpi)
{
    std::unique_ptr<Font_Set> set(new Font_Set());
    auto& f = set->fonts_;
    f[static_cast<std::size_t>(Face::Common)] = Make_Font(L"宋体", 900, FW_NORMAL, GB2312_CHARSET, dpi);
    f[static_cast<std::size_t>(Face::CommonBold)] = Make_Font(L"宋体", 900, FW_BOLD, GB2312_CHARSET, dpi);
    f[static_cast<std::size_t>(Face::List)] = Make_Font(L"新宋体", 900, FW_NORMAL, GB2312_CHARSET, dpi);
    f[static_cast<std::size_t>(Face::SansSerif)] = Make_Font(L"MS Sans Serif", 975, FW_NORMAL, ANSI_CHARSET, dpi);
    f[static_cast<std::size_t>(Face::WindowDefault)] = Make_Window_Font(dpi);
    for (std::size_t i = 1; i < f.size(); ++i)
        if (f[i] == nullptr) return nullptr;
    return set;
}

Font_Set::~Font_Set()
{
    for (HFONT font : fonts_)
        if (font != nullptr) DeleteObject(font);
}

} // namespace morvane::win32
