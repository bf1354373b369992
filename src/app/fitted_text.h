#pragma once

#include <string>
#include <string_view>

#include "app/ports/controls.h"

namespace morvane {

// What `box` shows of `name` followed by `rest` ("处于播放状态......"), by
// one rule for every platform: the whole text when it fits; else the same
// without the trailing dots; else with the end of the name cut off for "…",
// so that the state stays whole. Only a box too narrow for the state alone
// gets the text cut at its end.
std::u16string FittedText(std::u16string_view name, std::u16string_view rest, const TextBox& box);

} // namespace morvane
