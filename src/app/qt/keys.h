#pragma once

#include <QString>

#include <memory>

#include "app/ports/hot_keys.h"

namespace morvane::qt {

// The keyboard the hot keys are read from. Without global keys (Wayland,
// no XInput2) it is a keyboard on which no key is ever pressed, and
// `notice` tells the user why, once.
struct Keys {
    std::unique_ptr<HotKeys> keyboard;
    QString notice;
};

// Global keys need X11: only the xcb platform gets them.
Keys OpenKeys(const QString& platform_name);

// A keyboard on which no key is ever down.
class SilentKeyboard final : public HotKeys {
public:
    bool Pressed(HotKey) override { return false; }
    bool Down(HotKey) override { return false; }
};

} // namespace morvane::qt
