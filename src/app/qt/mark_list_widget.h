#pragma once

#include <QListWidget>

namespace morvane::qt {

// The mark list: a list widget that scrolls sideways exactly as far as it
// is told, like a list box with a horizontal extent, and shows its tooltip
// text over the whole viewport rather than per entry.
class MarkListWidget final : public QListWidget {
    Q_OBJECT

public:
    explicit MarkListWidget(QWidget* parent);

    // How wide the content counts as, in pixels; the horizontal scroll bar
    // reaches exactly this far.
    void SetExtent(int pixels);
    // The tip for the viewport; empty: none. A tip already showing follows.
    void SetTip(const QString& text);

    int Extent() const { return extent_; }

protected:
    void updateGeometries() override;
    bool viewportEvent(QEvent* event) override;

private:
    int extent_ = 0;
};

} // namespace morvane::qt
