#pragma once

#include "audio/decoder.h"

#include <string>

namespace morvane::audio {

// The message for the user, in Chinese.
std::u16string DecodeErrorText(const DecodeError& error);

} // namespace morvane::audio
