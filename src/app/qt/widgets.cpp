#include "app/qt/widgets.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

#include "app/qt/fonts.h"
#include "app/qt/mark_list_widget.h"
#include "app/qt/text.h"

namespace morvane::qt {
namespace {

const QColor kTextBoxColour(layout::kTextBoxColour.red, layout::kTextBoxColour.green, layout::kTextBoxColour.blue);

// Windows runs a frame's top line through the middle of its caption, where
// Qt's styles differ (Fusion puts the caption above, into the controls' room).
QGroupBox* MakeFrame(const QString& caption, const QFont& font, QWidget* parent)
{
    auto* frame = new QGroupBox(caption, parent);
    frame->setStyleSheet(QStringLiteral("QGroupBox { border: 1px solid palette(mid); margin-top: %1px; }"
                                        "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }")
                             .arg(QFontMetrics(font).height() / 2));
    return frame;
}

// Flat, but still a button: a thin line round it, as on Windows.
QPushButton* MakeFlatButton(const QString& caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setFlat(true);
    button->setStyleSheet(QStringLiteral("QPushButton { border: 1px solid palette(dark); padding: 0; }"
                                         "QPushButton:pressed { background: palette(mid); }"
                                         "QPushButton:focus { border-color: palette(highlight); }"));
    return button;
}

// A box only the program writes: centred text on cyan inside a thin line.
// The colours are fixed, so a dark theme cannot put white text on cyan.
QLabel* MakeTextBox(QWidget* parent, bool focusable)
{
    auto* box = new QLabel(parent);
    box->setTextFormat(Qt::PlainText);
    box->setAlignment(Qt::AlignCenter);
    box->setFrameStyle(QFrame::Box | QFrame::Plain);
    box->setLineWidth(1);
    QPalette colours = box->palette();
    colours.setColor(QPalette::Window, kTextBoxColour);
    colours.setColor(QPalette::WindowText, Qt::black);
    box->setPalette(colours);
    box->setAutoFillBackground(true);
    if (focusable) {
        // A read-only edit box: a tab stop whose text can be selected and copied.
        box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        box->setFocusPolicy(Qt::StrongFocus);
    }
    return box;
}

QWidget* Make(const layout::Row& row, QWidget* parent)
{
    const QString caption = ToQString(row.caption);
    switch (row.kind) {
    case layout::Kind::Frame: return MakeFrame(caption, FontFor(row.face), parent);
    case layout::Kind::Button: return new QPushButton(caption, parent);
    case layout::Kind::FlatButton: return MakeFlatButton(caption, parent);
    case layout::Kind::Field: return MakeTextBox(parent, true);
    case layout::Kind::ReadOut: return MakeTextBox(parent, false);
    case layout::Kind::Listing: return new MarkListWidget(parent);
    case layout::Kind::Slider: {
        auto* bar = new QScrollBar(Qt::Horizontal, parent);
        bar->setRange(0, layout::kSeekBarEnd);
        bar->setSingleStep(1);
        bar->setPageStep(1);
        bar->setFocusPolicy(Qt::StrongFocus);
        return bar;
    }
    case layout::Kind::Toggle: return new QCheckBox(caption, parent);
    }
    return new QWidget(parent);
}

} // namespace

QWidget* MakeControl(const layout::Row& row, QWidget* parent)
{
    QWidget* control = Make(row, parent);
    control->setFont(FontFor(row.face));
    return control;
}

} // namespace morvane::qt
