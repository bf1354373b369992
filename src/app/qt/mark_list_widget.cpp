#include "app/qt/mark_list_widget.h"

#include <QCursor>
#include <QHelpEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QToolTip>

#include <algorithm>

namespace morvane::qt {
namespace {

// Rows of one size, so the view never measures entries: with measured rows
// every change to a full list (32 767 entries) lays it all out again,
// about 0.2 s each; MainForm measures the widest entry itself. A row counts
// as wide as the extent alone; the view stretches it over the viewport, so
// a selection spans the whole row. Counting the viewport's width in too made
// the view's range and the extent's disagree whenever a scroll bar came or
// went, and the two bars then showed and hid each other without end.
class RowDelegate final : public QStyledItemDelegate {
public:
    explicit RowDelegate(MarkListWidget& list) : QStyledItemDelegate(&list), list_(list) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {list_.Extent(), QStyledItemDelegate::sizeHint(option, index).height()};
    }

private:
    const MarkListWidget& list_;
};

} // namespace

MarkListWidget::MarkListWidget(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setItemDelegate(new RowDelegate(*this));
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setTextElideMode(Qt::ElideNone);
    viewport()->setMouseTracking(true);
    // Letters typed into the list drive the player; an input method must
    // not turn them into a composition first.
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

void MarkListWidget::SetExtent(int pixels)
{
    pixels = std::max(pixels, 0);
    if (pixels == extent_) return;
    extent_ = pixels;
    scheduleDelayedItemsLayout();  // the rows take the new width
    updateGeometries();
}

void MarkListWidget::SetTip(const QString& text)
{
    setToolTip(text);
    // Only a move over this list sets the tip, so a tip showing is its own.
    if (!QToolTip::isVisible()) return;
    if (text.isEmpty()) QToolTip::hideText();
    else QToolTip::showText(QCursor::pos(), text, viewport());
}

void MarkListWidget::updateGeometries()
{
    QListWidget::updateGeometries();
    // The view sizes the range from its rows; the extent decides instead.
    horizontalScrollBar()->setRange(0, std::max(0, extent_ - viewport()->width()));
}

bool MarkListWidget::viewportEvent(QEvent* event)
{
    if (event->type() != QEvent::ToolTip) return QListWidget::viewportEvent(event);
    const QString tip = toolTip();
    if (tip.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), tip, viewport());
    }
    return true;
}

} // namespace morvane::qt
