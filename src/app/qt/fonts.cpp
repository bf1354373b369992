#include "app/qt/fonts.h"

#include <QApplication>

namespace morvane::qt {
namespace {

// The Chinese faces Debian ships (fonts-wqy-microhei). The Mono one gives
// every Latin character one width, so the list's stamps line up.
const QString kCommonFace = QStringLiteral("WenQuanYi Micro Hei");
const QString kListFace = QStringLiteral("WenQuanYi Micro Hei Mono");
constexpr double kCommonPoints = 9;

QFont Make(const QString& family, double points, QFont::StyleHint hint)
{
    QFont font(family);
    font.setPointSizeF(points);
    font.setStyleHint(hint);
    return font;
}

} // namespace

QFont FontFor(layout::Face face)
{
    switch (face) {
    case layout::Face::Common: return Make(kCommonFace, kCommonPoints, QFont::SansSerif);
    case layout::Face::CommonBold: {
        QFont font = Make(kCommonFace, kCommonPoints, QFont::SansSerif);
        font.setBold(true);
        return font;
    }
    case layout::Face::List: {
        QFont font = Make(kListFace, kCommonPoints, QFont::Monospace);
        font.setFixedPitch(true);
        return font;
    }
    case layout::Face::SansSerif: return Make(kCommonFace, 9.75, QFont::SansSerif);
    case layout::Face::None:
    case layout::Face::WindowDefault: break;
    }
    // The boxes were sized for a 9 pt system font; a desktop's larger one
    // would cut "Jump" off.
    QFont font = QApplication::font();
    if (font.pointSizeF() > kCommonPoints) font.setPointSizeF(kCommonPoints);
    return font;
}

} // namespace morvane::qt
