#include "app/keys/key.h"

#include <algorithm>
#include <array>
#include <span>
#include <vector>

#include "text/names.h"

namespace morvane::keys {
namespace {

constexpr std::array<std::string_view, 5> kOperatorNames{"KPAdd", "KPSubtract", "KPMultiply", "KPDivide", "KPDecimal"};

struct ModifierName {
    std::string_view name;
    Modifiers bit;
};
constexpr std::array<ModifierName, 6> kModifierNames{{
    {"Ctrl", kCtrl}, {"Control", kCtrl}, {"Alt", kAlt}, {"Shift", kShift}, {"Super", kSuper}, {"Win", kSuper},
}};

// A number 1..99 written in plain digits.
std::optional<int> SmallNumber(std::string_view text)
{
    if (text.empty() || text.size() > 2 || !std::ranges::all_of(text, [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return std::stoi(std::string(text));
}

std::optional<Key> ParseKey(std::string_view name)
{
    if (name.size() == 1) {
        const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
        if (c >= 'A' && c <= 'Z') return Key{KeyKind::Letter, static_cast<std::uint8_t>(c - 'A')};
        if (c >= '0' && c <= '9') return Key{KeyKind::Digit, static_cast<std::uint8_t>(c - '0')};
        if (c == ',') return Key{KeyKind::Comma};
        if (c == '.') return Key{KeyKind::FullStop};
        return std::nullopt;
    }
    if (SameName(name, "Comma")) return Key{KeyKind::Comma};
    if (SameName(name, "Period") || SameName(name, "FullStop")) return Key{KeyKind::FullStop};
    if (SameName(name, "Shift")) return Key{KeyKind::Shift};
    if (SameName(name, "Ctrl") || SameName(name, "Control")) return Key{KeyKind::Ctrl};
    for (std::size_t i = 0; i < kOperatorNames.size(); ++i)
        if (SameName(name, kOperatorNames[i])) return Key{KeyKind::KeypadOperator, static_cast<std::uint8_t>(i)};
    if (SameName(name.substr(0, 2), "KP") && name.size() == 3 && name[2] >= '0' && name[2] <= '9')
        return Key{KeyKind::Keypad, static_cast<std::uint8_t>(name[2] - '0')};
    if (SameName(name.substr(0, 1), "F"))
        if (const auto number = SmallNumber(name.substr(1)); number && *number >= 1 && *number <= 12)
            return Key{KeyKind::Function, static_cast<std::uint8_t>(*number - 1)};
    return std::nullopt;
}

} // namespace

std::optional<Chord> ParseChord(std::string_view text)
{
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const auto plus = text.find('+', start);
        parts.push_back(TrimSpaces(text.substr(start, plus - start)));
        if (plus == std::string_view::npos) break;
        start = plus + 1;
    }
    const auto key = ParseKey(parts.back());
    if (!key) return std::nullopt;
    Chord chord{*key, 0};
    for (std::string_view part : std::span(parts).first(parts.size() - 1)) {
        const auto named = std::ranges::find_if(kModifierNames, [&](const auto& m) { return SameName(part, m.name); });
        if (named == kModifierNames.end() || (chord.modifiers & named->bit) != 0) return std::nullopt;
        chord.modifiers |= named->bit;
    }
    if ((chord.modifiers & OwnModifier(chord.key)) != 0) return std::nullopt;  // "Shift+Shift"
    return chord;
}

std::string ChordText(const Chord& chord)
{
    std::string text;
    for (const auto& [name, bit] : {ModifierName{"Ctrl", kCtrl}, {"Alt", kAlt}, {"Shift", kShift}, {"Super", kSuper}})
        if ((chord.modifiers & bit) != 0) text.append(name).push_back('+');
    const int index = chord.key.index;
    switch (chord.key.kind) {
    case KeyKind::Letter: text.push_back(static_cast<char>('A' + index)); break;
    case KeyKind::Digit: text.push_back(static_cast<char>('0' + index)); break;
    case KeyKind::Function: text.append("F").append(std::to_string(index + 1)); break;
    case KeyKind::Keypad: text.append("KP").append(std::to_string(index)); break;
    case KeyKind::KeypadOperator: text += kOperatorNames.at(index); break;
    case KeyKind::Comma: text += "Comma"; break;
    case KeyKind::FullStop: text += "Period"; break;
    case KeyKind::Shift: text += "Shift"; break;
    case KeyKind::Ctrl: text += "Ctrl"; break;
    }
    return text;
}

Modifiers OwnModifier(Key key)
{
    if (key.kind == KeyKind::Shift) return kShift;
    if (key.kind == KeyKind::Ctrl) return kCtrl;
    return 0;
}

} // namespace morvane::keys
