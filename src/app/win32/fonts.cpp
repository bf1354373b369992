#include "app/win32/fonts.h"

#include <cwchar>

#include "app/win32/dpi.h"

namespace morvane::win32 {
namespace {

// `hundredths` of a point at `dpi`, as a character height.
LONG Height(int hundredths, UINT dpi) { return -MulDiv(hundredths, static_cast<int>(dpi), 7200); }

HFONT MakeFont(const wchar_t* face, int hundredths, LONG weight, BYTE charset, UINT dpi)
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

HFONT MakeWindowFont(UINT dpi)
{
    LOGFONTW font{};
    if (!MessageFont(font, dpi)) return nullptr;
    return CreateFontIndirectW(&font);
}

} // namespace

std::unique_ptr<FontSet> FontSet::Make(UINT dpi)
{
    std::unique_ptr<FontSet> set(new FontSet());
    auto& f = set->fonts_;
    f[static_cast<std::size_t>(Face::Common)] = MakeFont(L"宋体", 900, FW_NORMAL, GB2312_CHARSET, dpi);
    f[static_cast<std::size_t>(Face::CommonBold)] = MakeFont(L"宋体", 900, FW_BOLD, GB2312_CHARSET, dpi);
    f[static_cast<std::size_t>(Face::List)] = MakeFont(L"新宋体", 900, FW_NORMAL, GB2312_CHARSET, dpi);
    f[static_cast<std::size_t>(Face::SansSerif)] = MakeFont(L"MS Sans Serif", 975, FW_NORMAL, ANSI_CHARSET, dpi);
    f[static_cast<std::size_t>(Face::WindowDefault)] = MakeWindowFont(dpi);
    for (std::size_t i = 1; i < f.size(); ++i)
        if (f[i] == nullptr) return nullptr;
    return set;
}

FontSet::~FontSet()
{
    for (HFONT font : fonts_)
        if (font != nullptr) DeleteObject(font);
}

} // namespace morvane::win32
