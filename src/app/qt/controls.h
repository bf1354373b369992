#pragma once

#include <QTimer>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/ports/control_set.h"
#include "app/ports/controls.h"

class QCheckBox;
class QLabel;
class QScrollBar;

namespace morvane::qt {

class MainWindow;
class MarkListWidget;

// Adapters from the control ports to the widgets. Each carries out what
// MainForm asks and raises no event of its own.

class ListAdapter final : public ListBox {
public:
    explicit ListAdapter(MarkListWidget& list) : list_(list) {}

    std::size_t Show(const std::vector<std::u16string>& entries) override;
    bool Insert(int index, const std::u16string& text) override;
    bool Remove(int index) override;

    bool Select(int index) override;
    void Redraw() override;
    void Focus() override;
    void SetTooltip(const std::u16string& text) override;
    void SetHorizontalExtent(int pixels) override;
    int ItemFromPoint(int x, int y) const override;
    std::optional<int> TextWidth(const std::u16string& text) const override;

private:
    MarkListWidget& list_;
};

class TextAdapter final : public TextBox {
public:
    explicit TextAdapter(QLabel& box) : box_(box) {}
    void SetText(const std::u16string& text) override;
    bool Fits(const std::u16string& text) const override;

private:
    QLabel& box_;
};

class ScrollAdapter final : public ScrollBar {
public:
    explicit ScrollAdapter(QScrollBar& bar) : bar_(bar) {}
    std::int16_t Value() const override;
    void SetRange(std::int16_t min, std::int16_t max) override;

private:
    QScrollBar& bar_;
};

class CheckAdapter final : public CheckBox {
public:
    explicit CheckAdapter(QCheckBox& box) : box_(box) {}
    bool Checked() const override;

private:
    QCheckBox& box_;
};

// The clock under the poll timer.
class PollTimer final : public Timer {
public:
    PollTimer();
    bool Start() override;
    void Stop() override;

    QTimer& Clock() { return clock_; }

private:
    QTimer clock_;
};

// The adapters of the window's controls, made at the first ask for each.
class WidgetControls final : public ControlSet {
public:
    explicit WidgetControls(MainWindow& window) : window_(window) {}
    ListBox& List(int id) override;
    TextBox& Text(int id) override;
    ScrollBar& Bar(int id) override;
    CheckBox& Check(int id) override;

private:
    template <typename Adapter, typename Widget>
    Adapter& Adapt(std::map<int, Adapter>& made, int id, Widget& widget)
    {
        return made.try_emplace(id, widget).first->second;
    }

    MainWindow& window_;
    std::map<int, ListAdapter> lists_;
    std::map<int, TextAdapter> texts_;
    std::map<int, ScrollAdapter> bars_;
    std::map<int, CheckAdapter> checks_;
};

} // namespace morvane::qt
