#include <windows.h>

#include "app/win32/system_ports.h"
#include "app/win32/virtual_keys.h"

namespace morvane::win32 {

AsyncKeyboard::AsyncKeyboard(const keys::KeyMap& map) : map_(map)
{
    // Shift and Ctrl have a generic code and one per side; the generic codes
    // never report "pressed since" under Wine, so each side is asked too.
    for (HotKey action : kAllHotKeys)
        if (const auto& chord = map[action].chord) codes_[static_cast<std::size_t>(action)] = VirtualKeys(chord->key);
    for (const auto& codes : codes_)
        for (int code : codes) action_codes_.set(static_cast<std::size_t>(code));
}

bool AsyncKeyboard::Pressed(HotKey action)
{
    // Every code is queried, so each has its "pressed since" bit consumed and
    // one press never acts twice.
    bool pressed = false;
    for (int code : Codes(action)) {
        const bool down = (Sample(code) & 0x8000) != 0;
        if (down && pressed_unasked_.test(static_cast<std::size_t>(code))) pressed = true;
        pressed_unasked_.reset(static_cast<std::size_t>(code));
    }
    return pressed && keys::Acts(map_[action], Held(action));
}

bool AsyncKeyboard::InputSinceLastCheck()
{
    LASTINPUTINFO info{sizeof(info), 0};
    if (!GetLastInputInfo(&info)) return true;
    // A press seen while sampling modifiers waits for its own action's ask.
    const bool same = input_settled_ && info.dwTime == last_input_ && (pressed_unasked_ & action_codes_).none();
    last_input_ = info.dwTime;
    // An input in the clock's current step would carry the same count, so
    // a count is trusted only once the clock has moved past it.
    input_settled_ = static_cast<LONG>(GetTickCount() - info.dwTime) > 0;
    return !same;
}

const std::vector<int>& AsyncKeyboard::Codes(HotKey action) const
{
    return codes_[static_cast<std::size_t>(action)];
}

short AsyncKeyboard::Sample(int code)
{
    // The low bit ("pressed since the previous ask") is consumed by any ask,
    // so it is kept until the action that has this key asks for it.
    const SHORT state = GetAsyncKeyState(code);
    if ((state & 1) != 0) pressed_unasked_.set(static_cast<std::size_t>(code));
    return state;
}

keys::Modifiers AsyncKeyboard::Held(HotKey action)
{
    // Built-in keys ignore modifiers: they are not even sampled, as before.
    if (!map_[action].written) return 0;
    keys::Modifiers held = 0;
    for (const keys::Modifiers bit : {keys::kCtrl, keys::kAlt, keys::kShift, keys::kSuper})
        for (int code : ModifierVirtualKeys(bit))
            if ((Sample(code) & 0x8000) != 0) held |= bit;
    return held;
}

} // namespace morvane::win32
