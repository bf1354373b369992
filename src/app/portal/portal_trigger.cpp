#include "app/portal/portal_trigger.h"

#include <array>
#include <string_view>

namespace morvane::portal {

std::string PortalTrigger(const keys::Chord& chord)
{
    using keys::KeyKind;
    constexpr std::array<std::string_view, 5> kOperators{"KP_Add", "KP_Subtract", "KP_Multiply", "KP_Divide",
                                                         "KP_Decimal"};
    const int index = chord.key.index;
    std::string key;
    switch (chord.key.kind) {
    case KeyKind::Letter: key = static_cast<char>('a' + index); break;  // the base level's keysym
    case KeyKind::Digit: key = static_cast<char>('0' + index); break;
    case KeyKind::Function: key = "F" + std::to_string(index + 1); break;
    case KeyKind::Keypad: key = "KP_" + std::to_string(index); break;
    case KeyKind::KeypadOperator: key = kOperators.at(index); break;
    case KeyKind::Comma: key = "comma"; break;
    case KeyKind::FullStop: key = "period"; break;
    case KeyKind::Shift:
    case KeyKind::Ctrl: return {};
    }
    std::string trigger;
    for (const auto& [bit, name] : {std::pair{keys::kCtrl, "CTRL+"}, {keys::kAlt, "ALT+"}, {keys::kShift, "SHIFT+"},
                                    {keys::kSuper, "LOGO+"}})
        if ((chord.modifiers & bit) != 0) trigger += name;
    return trigger + key;
}

} // namespace morvane::portal
