#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace morvane {

// The controls MainForm talks to. Text is UTF-16: one element is one character
// wherever entries are counted, cut or compared. Positions in the list are
// counted from 0; -1 stands for "no entry".

// A view of the core's mark list (app/mark_list.h): it shows what it is
// told and keeps no entries of its own.
class ListBox {
public:
    virtual ~ListBox() = default;

    // Shows `entries` in place of the whole content (sort, load, clear) and
    // returns how many it took, from the first: all unless the platform
    // ran out of room.
    virtual std::size_t Show(const std::vector<std::u16string>& entries) = 0;
    // false when the platform refuses.
    virtual bool Insert(int index, const std::u16string& text) = 0;
    virtual bool Remove(int index) = 0;

    // Highlights entry `index` without raising any event of its own (MainForm
    // runs its selection handler itself); false when the platform refuses.
    // The user's own selections come to MainForm as Mark_List_Click.
    virtual bool Select(int index) = 0;
    virtual void Redraw() = 0;
    virtual void Focus() = 0;
    virtual void SetTooltip(const std::u16string& text) = 0;
    virtual void SetHorizontalExtent(int pixels) = 0;
    // The entry under a point of the client area (pixels), -1 when the point
    // lies below the last entry or the list is empty.
    virtual int ItemFromPoint(int x, int y) const = 0;
    // Width in pixels of `text` drawn whole in the list's font, nullopt when
    // it cannot be measured. The core remembers widths (app/char_widths.h).
    virtual std::optional<int> TextWidth(const std::u16string& text) const = 0;
};

class TextBox {
public:
    virtual ~TextBox() = default;
    virtual void SetText(const std::u16string& text) = 0;
    // Whether `text` shows whole on one line of the box in its font. A box
    // that cannot tell answers true: the text is then shown as it is.
    virtual bool Fits(const std::u16string& text) const = 0;
};

// Range and value are signed 16-bit.
class ScrollBar {
public:
    virtual ~ScrollBar() = default;
    virtual std::int16_t Value() const = 0;
    // Spans min..max (min <= max). The control keeps its value inside the
    // range, raising no event; MainForm compares the value before and after.
    virtual void SetRange(std::int16_t min, std::int16_t max) = 0;
};

class CheckBox {
public:
    virtual ~CheckBox() = default;
    virtual bool Checked() const = 0;
};

// The platform's clock under the poll timer (app/gated_timer.h).
class Timer {
public:
    virtual ~Timer() = default;
    // false when the system has no timer to give.
    virtual bool Start() = 0;
    virtual void Stop() = 0;
    // Milliseconds on a clock that only runs forward, for what the form
    // times across ticks (the pause between two passes).
    virtual std::int64_t NowMs() const
    {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }
};

} // namespace morvane
