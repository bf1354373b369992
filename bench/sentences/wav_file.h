#pragma once

#include <optional>
#include <string>
#include <vector>

namespace bench::sentences {

// The samples of a 16-bit PCM mono WAV at 16 kHz, scaled to [-1, 1];
// nothing for any other file.
std::optional<std::vector<float>> ReadWav(const std::string& path);

} // namespace bench::sentences
