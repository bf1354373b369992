#include "app/qt/controls.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStringList>

#include <algorithm>

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

int ListAdapter::TextWidth(const std::u16string& text) const
{
    const QFont font = list_.font();
    if (char_widths_.empty() || font != widths_font_) {
        widths_font_ = font;
        char_widths_.assign(0x10000, -1);
    }
    // The list's font is fixed-pitch, so a text is as wide as its characters.
    const QFontMetrics metrics(font);
    int width = 0;
    for (const char16_t c : text) {
        // A surrogate pair is one character: such a text is measured whole.
        if (c >= 0xD800 && c <= 0xDFFF) return metrics.horizontalAdvance(ToQString(text));
        int& known = char_widths_[c];
        if (known < 0) known = metrics.horizontalAdvance(QChar(c));
        width += known;
    }
    return width;
}

void TextAdapter::SetText(const std::u16string& text)
{
    // A centred text wider than its box would lose both ends. The state
    // line's trailing dots go first; then, rarely (its player's name is
    // short already), the start, so the player's state stays. A glyph may
    // reach a pixel past its advance, into the frame.
    const int room = box_.contentsRect().width() - 2 * box_.margin() - 2;
    QString shown = ToQString(text);
    const QFontMetrics metrics = box_.fontMetrics();
    if (room > 0 && metrics.horizontalAdvance(shown) > room) {
        while (shown.endsWith(u'.')) shown.chop(1);
        shown = metrics.elidedText(shown, Qt::ElideLeft, room);
    }
    box_.setText(shown);
}

std::int16_t ScrollAdapter::Value() const { return static_cast<std::int16_t>(bar_.value()); }

void ScrollAdapter::SetMin(std::int16_t value) { SetRange(value, bar_.maximum()); }

void ScrollAdapter::SetMax(std::int16_t value) { SetRange(bar_.minimum(), value); }

void ScrollAdapter::SetRange(int min, int max)
{
    // A maximum below the minimum leaves the minimum alone, as on Windows
    // (Qt's setMaximum would move the minimum down instead). The value is
    // clamped quietly: only the user's moves are events.
    const QSignalBlocker quiet(bar_);
    bar_.setRange(min, std::max(min, max));
}

bool CheckAdapter::Checked() const { return box_.isChecked(); }

PollTimer::PollTimer()
{
    // A 1 ms timer on Windows and under Wine fires about every 10–16 ms, and
    // 10 ms keeps hot keys and the read-outs as quick as they are there.
    clock_.setTimerType(Qt::PreciseTimer);
    clock_.setInterval(10);
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
