#include "app/keys/key_map.h"

namespace morvane::keys {

KeyMap::KeyMap()
{
    const auto letter = [](char c) { return Chord{{KeyKind::Letter, static_cast<std::uint8_t>(c - 'A')}}; };
    (*this)[HotKey::Previous].chord = letter('U');
    (*this)[HotKey::Play].chord = letter('P');
    (*this)[HotKey::Pause].chord = letter('H');
    (*this)[HotKey::Stop].chord = letter('S');
    (*this)[HotKey::Next].chord = letter('N');
    (*this)[HotKey::Back].chord = Chord{{KeyKind::Comma}};
    (*this)[HotKey::Forward].chord = Chord{{KeyKind::FullStop}};
    (*this)[HotKey::Mark].chord = Chord{{KeyKind::Ctrl}};
    (*this)[HotKey::Repeat].chord = Chord{{KeyKind::Shift}};
    (*this)[HotKey::Record].chord = Chord{{KeyKind::Keypad, 0}};
}

std::string_view ActionId(HotKey action)
{
    switch (action) {
    case HotKey::Previous: return "previous";
    case HotKey::Play: return "play";
    case HotKey::Pause: return "pause";
    case HotKey::Stop: return "stop";
    case HotKey::Next: return "next";
    case HotKey::Back: return "back";
    case HotKey::Forward: return "forward";
    case HotKey::Mark: return "mark";
    case HotKey::Repeat: return "repeat";
    case HotKey::Record: return "record";
    case HotKey::Loop: return "loop";
    case HotKey::PreviousMark: return "previous_mark";
    case HotKey::NextMark: return "next_mark";
    case HotKey::Slower: return "slower";
    case HotKey::Faster: return "faster";
    case HotKey::Split: return "split";
    }
    return {};
}

bool Acts(const Binding& binding, Modifiers held)
{
    if (!binding.chord) return false;
    if (!binding.written) return true;
    const Modifiers others = held & static_cast<Modifiers>(~OwnModifier(binding.chord->key));
    if (binding.chord->modifiers != 0) return others == binding.chord->modifiers;
    return (others & (kCtrl | kAlt | kSuper)) == 0;
}

bool Collide(const Binding& a, const Binding& b)
{
    if (!a.chord || !b.chord || a.chord->key != b.chord->key) return false;
    for (Modifiers held = 0; held <= (kCtrl | kAlt | kShift | kSuper); ++held)
        if (Acts(a, held) && Acts(b, held)) return true;
    return false;
}

} // namespace morvane::keys
