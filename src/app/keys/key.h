#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace morvane::keys {

// The keys a user may name, free of any platform's codes. `index` counts
// within the kind: the letter A is {Letter, 0}, F7 is {Function, 6}, the
// keypad's 0 is {Keypad, 0}.
enum class KeyKind : std::uint8_t { Letter, Digit, Function, Keypad, KeypadOperator, Comma, FullStop, Shift, Ctrl };

struct Key {
    KeyKind kind{};
    std::uint8_t index = 0;
    friend auto operator<=>(const Key&, const Key&) = default;
};

// Modifier bits.
using Modifiers = std::uint8_t;
inline constexpr Modifiers kCtrl = 1, kAlt = 2, kShift = 4, kSuper = 8;

// A key and the modifiers written with it.
struct Chord {
    Key key;
    Modifiers modifiers = 0;
    friend auto operator<=>(const Chord&, const Chord&) = default;
};

// "Ctrl+Alt+P", "F8", "KP0", "Shift": case and spaces around '+' do not
// matter. nullopt for anything else.
std::optional<Chord> ParseChord(std::string_view text);

// The chord as ParseChord reads it back, modifiers in the order Ctrl, Alt,
// Shift, Super.
std::string ChordText(const Chord& chord);

// The modifier bit that a modifier key itself sets while it is down (Shift
// for Shift), 0 for other keys.
Modifiers OwnModifier(Key key);

} // namespace morvane::keys
