#include "app/qt/main_window.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>

#include <algorithm>
#include <array>
#include <optional>

#include "app/layout/control_ids.h"
#include "app/list_menu_point.h"
#include "app/qt/mark_list_widget.h"
#include "app/qt/pixels.h"
#include "app/qt/widgets.h"

namespace morvane::qt {
namespace {

constexpr Qt::WindowFlags kWindowFlags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                         Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                         Qt::WindowCloseButtonHint;

bool IsEnter(const QKeyEvent& key) { return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter; }

// The menu key, or Shift+F10 as on Windows.
bool IsMenuKey(const QKeyEvent& key)
{
    return key.key() == Qt::Key_Menu || (key.key() == Qt::Key_F10 && key.modifiers() == Qt::ShiftModifier);
}

} // namespace

MainWindow::MainWindow() : QWidget(nullptr, kWindowFlags)
{
    setWindowTitle(QStringLiteral("Morvane"));
    const double dpi = logicalDpiY();
    // The client area starts where it does on Windows, if the window
    // manager lets it; its size is fixed.
    setGeometry(ToPixels(layout::kDesignLeftTwips, dpi), ToPixels(layout::kDesignTopTwips, dpi),
                ToPixels(layout::kClientWidthTwips, dpi), ToPixels(layout::kClientHeightTwips, dpi));
    setFixedSize(size());
    CreateControls();
    ConnectEvents();
    Control(IDC_CLEAR)->setFocus(Qt::OtherFocusReason);
}

QWidget* MainWindow::Control(int id) const
{
    const auto control = controls_.find(id);
    return control != controls_.end() ? control->second : nullptr;
}

MarkListWidget& MainWindow::List() const { return *static_cast<MarkListWidget*>(Control(IDC_MARK_LIST)); }

QScrollBar& MainWindow::Bar() const { return *static_cast<QScrollBar*>(Control(IDC_SEEK_BAR)); }

void MainWindow::CreateControls()
{
    const double dpi = logicalDpiY();
    // Creation order is the focus order, and the table puts every frame
    // before its children in tab order.
    for (const layout::Row* row : layout::RowsInTabOrder()) {
        QWidget* parent = row->container != 0 ? controls_.at(row->container) : this;
        QWidget* control = MakeControl(*row, parent);
        control->setGeometry(PixelRect(*row, dpi));
        controls_[row->id] = control;
    }
}

void MainWindow::ConnectEvents()
{
    for (const layout::Row& row : layout::Rows()) {
        if (row.kind != layout::Kind::Button && row.kind != layout::Kind::FlatButton) continue;
        connect(static_cast<QPushButton*>(Control(row.id)), &QPushButton::clicked, this, [this, id = row.id] {
            if (form_ != nullptr) form_->Button_Click(id);
        });
    }
    MarkListWidget& list = List();
    connect(&list, &QListWidget::itemSelectionChanged, this, [this] {
        if (form_ == nullptr) return;
        const QModelIndexList selected = List().selectionModel()->selectedIndexes();
        form_->Mark_List_Click(selected.isEmpty() ? -1 : selected.front().row());
    });
    list.installEventFilter(this);
    list.viewport()->installEventFilter(this);

    QScrollBar& bar = Bar();
    connect(&bar, &QScrollBar::valueChanged, this, &MainWindow::OnBarValue);
    connect(&bar, &QScrollBar::sliderReleased, this, [this] {
        if (form_ != nullptr) form_->Seek_Bar_Change();
    });
}

void MainWindow::OnBarValue()
{
    // The range clamps raise no signal, so every value change is the user's:
    // a drag scrolls, anything else (arrows, trough, keys, wheel) changes.
    if (form_ == nullptr) return;
    if (Bar().isSliderDown()) form_->Seek_Bar_Scroll();
    else form_->Seek_Bar_Change();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (form_ == nullptr) return false;
    MarkListWidget& list = List();
    if (watched == &list && event->type() == QEvent::KeyPress) return OnListKey(static_cast<QKeyEvent&>(*event));
    if (watched == &list && event->type() == QEvent::ContextMenu) {
        OnListMenuKey();
        return true;
    }
    if (watched != list.viewport()) return false;
    if (event->type() == QEvent::ContextMenu) {
        const auto& menu = static_cast<QContextMenuEvent&>(*event);
        if (menu.reason() != QContextMenuEvent::Mouse) {
            OnListMenuKey();
            return true;
        }
        // The entry under the pointer; -1 below the last one.
        menu_position_ = menu.globalPos();
        form_->Mark_List_RightClick(list.indexAt(menu.pos()).row());
        return true;
    }
    if (event->type() == QEvent::MouseMove) {
        // MainForm sees each move before any tooltip shows, so the tip is the
        // text set for that very move.
        const auto& mouse = static_cast<QMouseEvent&>(*event);
        const QPoint at = mouse.position().toPoint();
        form_->Mark_List_MouseMove(mouse.buttons() != Qt::NoButton, at.x(), at.y());
    } else if (event->type() == QEvent::MouseButtonDblClick &&
               static_cast<QMouseEvent&>(*event).button() == Qt::LeftButton) {
        form_->Mark_List_DblClick();
    }
    return false;
}

bool MainWindow::OnListKey(const QKeyEvent& key)
{
    // Alt combinations are shortcuts, not typed characters.
    if ((key.modifiers() & Qt::AltModifier) != 0) return false;
    if (IsEnter(key)) return form_->Mark_List_KeyPress(13);
    if (IsMenuKey(key)) {
        OnListMenuKey();
        return true;
    }
    if (key.text().isEmpty()) return false;
    return form_->Mark_List_KeyPress(key.text().front().unicode());
}

void MainWindow::OnListMenuKey()
{
    MarkListWidget& list = List();
    const int index = form_->mark_list().Highlighted();
    std::optional<ListRect> entry;
    if (const QRect shown = index >= 0 ? list.visualRect(list.model()->index(index, 0)) : QRect(); shown.isValid())
        entry = ListRect{shown.x(), shown.y(), shown.x() + shown.width(), shown.y() + shown.height()};
    const QRect view = list.viewport()->rect();
    const ListPoint at =
        KeyboardMenuPoint(entry, ListRect{view.x(), view.y(), view.x() + view.width(), view.y() + view.height()});
    menu_position_ = list.viewport()->mapToGlobal(QPoint(at.x, at.y));
    form_->Mark_List_RightClick(index);
}

void MainWindow::keyPressEvent(QKeyEvent* event)
{
    if (IsEnter(*event) && form_ != nullptr) {
        const auto focused = std::ranges::find(controls_, focusWidget(), &decltype(controls_)::value_type::second);
        if (form_->Window_EnterPress(focused != controls_.end() ? focused->first : 0)) return;
    }
    QWidget::keyPressEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // The window's end is the program's end, even with a notice still open.
    emit Closed();
    QCoreApplication::quit();
    QWidget::closeEvent(event);
}

} // namespace morvane::qt
