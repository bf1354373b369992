#include "app/x11/key_states.h"

#include <algorithm>

namespace morvane::x11 {

KeyStates::KeyStates(KeyTable table, keys::KeyMap map, ModifierCodes modifiers)
    : table_(std::move(table)), map_(std::move(map)), modifiers_(std::move(modifiers))
{
}

void KeyStates::SetTable(KeyTable table, ModifierCodes modifiers)
{
    table_ = std::move(table);
    modifiers_ = std::move(modifiers);
}

void KeyStates::Press(int keycode)
{
    if (!IsKeycode(keycode)) return;
    const keys::Modifiers held = Held();
    for (const auto& [action, keys] : table_) {
        if (!keys::Acts(map_[action], held)) continue;
        for (std::size_t k = 0; k < keys.size(); ++k) {
            // Only a key going from up to down is pressed: not by auto-repeat
            // of a held key, nor generic Shift by the second Shift.
            if (std::ranges::find(keys[k], keycode) != keys[k].end() && !IsDown(keys[k]))
                pressed_since_.insert({action, k});
        }
    }
    down_.set(keycode);
}

void KeyStates::Release(int keycode)
{
    if (IsKeycode(keycode)) down_.reset(keycode);
}

bool KeyStates::Pressed(HotKey action)
{
    // Every key of the action is asked, so one press seen on two of them
    // (generic and left Shift) acts once.
    const auto first = pressed_since_.lower_bound({action, 0});
    auto last = first;
    while (last != pressed_since_.end() && last->first == action) ++last;
    const bool pressed = first != last;
    pressed_since_.erase(first, last);
    return pressed;
}

bool KeyStates::IsDown(const KeyCodes& key) const
{
    return std::ranges::any_of(key, [this](int keycode) { return IsKeycode(keycode) && down_.test(keycode); });
}

keys::Modifiers KeyStates::Held() const
{
    keys::Modifiers held = 0;
    for (const auto& [bit, keycodes] : modifiers_)
        if (IsDown(keycodes)) held |= bit;
    return held;
}

bool KeyStates::IsKeycode(int keycode) const
{
    return keycode >= 0 && static_cast<std::size_t>(keycode) < down_.size();
}

} // namespace morvane::x11
