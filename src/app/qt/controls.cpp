#include "app/qt/controls.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStringList>

#include "app/platform_values.h"
#include "app/qt/main_window.h"
#include "app/qt/mark_list_widget.h"
#include "app/qt/text.h"

namespace morvane::qt {

std::size_t ListAdapter::Show(const std::vector<std::u16string>& entries)
{
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(entries.size()));
    for (const auto& entry : entries) texts.append(ToQString(entry));
    const QSignalBlocker quiet(list_);
    list_.clear();
    list_.addItems(texts);  // one insertion for the whole content
    return entries.size();
}

bool ListAdapter::Insert(int index, const std::u16string& text)
{
    const QSignalBlocker quiet(list_);
    list_.insertItem(index, ToQString(text));
    return true;
}

bool ListAdapter::Remove(int index)
{
    const QSignalBlocker quiet(list_);
    // Qt would hand the highlight to a neighbour; a removed entry takes it
    // along, as MainForm expects.
    if (list_.currentRow() == index) list_.setCurrentRow(-1);
    delete list_.takeItem(index);
    return true;
}

bool ListAdapter::Select(int index)
{
    if (index < 0 || index >= list_.count()) return false;
    const QSignalBlocker quiet(list_);  // MainForm runs Mark_List_Click itself
    list_.setCurrentRow(index);
    return true;
}

void ListAdapter::Redraw() { list_.viewport()->update(); }

void ListAdapter::Focus() { list_.setFocus(Qt::OtherFocusReason); }

void ListAdapter::SetTooltip(const std::u16string& text) { list_.SetTip(ToQString(text)); }

void ListAdapter::SetHorizontalExtent(int pixels) { list_.SetExtent(pixels); }

int ListAdapter::ItemFromPoint(int /*x*/, int y) const
{
    // A list box's entries span its whole width: only the height tells.
    return list_.indexAt(QPoint(0, y)).row();
}

std::optional<int> ListAdapter::TextWidth(const std::u16string& text) const
{
    return QFontMetrics(list_.font()).horizontalAdvance(ToQString(text));
}

void TextAdapter::SetText(const std::u16string& text) { box_.setText(ToQString(text)); }

bool TextAdapter::Fits(const std::u16string& text) const
{
    // A glyph may reach a pixel past its advance, into the frame.
    const int room = box_.contentsRect().width() - 2 * box_.margin() - 2;
    return room <= 0 || box_.fontMetrics().horizontalAdvance(ToQString(text)) <= room;
}

std::int16_t ScrollAdapter::Value() const { return static_cast<std::int16_t>(bar_.value()); }

void ScrollAdapter::SetRange(std::int16_t min, std::int16_t max)
{
    // The value is clamped quietly: only the user's moves are events.
    const QSignalBlocker quiet(bar_);
    bar_.setRange(min, max);
}

bool CheckAdapter::Checked() const { return box_.isChecked(); }

PollTimer::PollTimer()
{
    clock_.setTimerType(Qt::PreciseTimer);
    clock_.setInterval(kLinuxValues.tick_ms);
}

bool PollTimer::Start()
{
    clock_.start();
    return true;
}

void PollTimer::Stop() { clock_.stop(); }

// The layout fixes each control's kind, so the casts cannot miss.
ListBox& WidgetControls::List(int id) { return Adapt(lists_, id, window_.List()); }

TextBox& WidgetControls::Text(int id) { return Adapt(texts_, id, *static_cast<QLabel*>(window_.Control(id))); }

ScrollBar& WidgetControls::Bar(int id) { return Adapt(bars_, id, window_.Bar()); }

CheckBox& WidgetControls::Check(int id) { return Adapt(checks_, id, *static_cast<QCheckBox*>(window_.Control(id))); }

} // namespace morvane::qt
