#include "app/x11/key_states.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace morvane::x11 {

namespace {

constexpr std::uint16_t kDownNow = 0x8000;
constexpr std::uint16_t kPressedSince = 0x0001;

} // namespace

KeyStates::KeyStates(KeyTable table) : table_(std::move(table)) {}

void KeyStates::SetTable(KeyTable table)
{
    table_ = std::move(table);
}

void KeyStates::Press(int keycode)
{
    if (!IsKeycode(keycode)) return;
    for (const auto& [virtual_key, keycodes] : table_) {
        // Only a code going from up to down is pressed: not by auto-repeat
        // of a held key, nor generic Shift by the second Shift.
        if (std::ranges::find(keycodes, keycode) != keycodes.end() && !IsDown(virtual_key)) {
            pressed_since_.insert(virtual_key);
        }
    }
    down_.set(keycode);
}

void KeyStates::Release(int keycode)
{
    if (IsKeycode(keycode)) down_.reset(keycode);
}

std::int16_t KeyStates::Query(int virtual_key)
{
    std::uint16_t answer = 0;
    // A tap shorter than the poll is released before anyone asks; it still
    // reads as down at its first query, or the caller, who acts on "down
    // and pressed since" only, would lose it.
    const bool pressed = pressed_since_.erase(virtual_key) > 0;
    if (pressed) answer |= kPressedSince;
    if (pressed || IsDown(virtual_key)) answer |= kDownNow;
    return static_cast<std::int16_t>(answer);
}

bool KeyStates::IsDown(int virtual_key) const
{
    const auto found = table_.find(virtual_key);
    if (found == table_.end()) return false;
    return std::ranges::any_of(found->second, [this](int keycode) {
        return IsKeycode(keycode) && down_.test(keycode);
    });
}

bool KeyStates::IsKeycode(int keycode) const
{
    return keycode >= 0 && static_cast<std::size_t>(keycode) < down_.size();
}

} // namespace morvane::x11
