#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/ports/control_set.h"
#include "app/ports/controls.h"

namespace morvane::win32 {

class MainWindow;

// Adapters from the control ports to the Win32 controls. They translate
// calls into messages and keep no state of their own beyond the handles.

class ListAdapter final : public ListBox {
public:
    ListAdapter(MainWindow& window, HWND list, HWND tooltip);
    ~ListAdapter() override;
    ListAdapter(const ListAdapter&) = delete;
    ListAdapter& operator=(const ListAdapter&) = delete;

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
    MainWindow& window_;
    HWND list_;
    HWND tooltip_;
    // A memory DC of its own for measuring, made at the first use: measuring
    // a whole list must not make and free a DC per entry.
    mutable HDC measure_dc_ = nullptr;
};

class TextAdapter final : public TextBox {
public:
    explicit TextAdapter(HWND box) : box_(box) {}
    void SetText(const std::u16string& text) override;
    bool Fits(const std::u16string& text) const override;

private:
    HWND box_;
};

class ScrollAdapter final : public ScrollBar {
public:
    explicit ScrollAdapter(HWND bar) : bar_(bar) {}
    std::int16_t Value() const override;
    void SetRange(std::int16_t min, std::int16_t max) override;

private:
    HWND bar_;
};

class CheckAdapter final : public CheckBox {
public:
    explicit CheckAdapter(HWND box) : box_(box) {}
    bool Checked() const override;

private:
    HWND box_;
};

// The clock under the poll timer: the window's timer `id`.
class PollTimer final : public Timer {
public:
    PollTimer(HWND window, UINT_PTR id) : window_(window), id_(id) {}
    bool Start() override;
    void Stop() override;

private:
    HWND window_;
    UINT_PTR id_;
};

// The adapters of the window's controls, made at the first ask for each.
class WindowControls final : public ControlSet {
public:
    explicit WindowControls(MainWindow& window) : window_(window) {}
    ListBox& List(int id) override;
    TextBox& Text(int id) override;
    ScrollBar& Bar(int id) override;
    CheckBox& Check(int id) override;

private:
    MainWindow& window_;
    std::map<int, ListAdapter> lists_;
    std::map<int, TextAdapter> texts_;
    std::map<int, ScrollAdapter> bars_;
    std::map<int, CheckAdapter> checks_;
};

} // namespace morvane::win32
