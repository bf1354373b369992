#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The sentence starts that each detector finds in one recording, in ms.
namespace bench::sentences {

struct ReferenceSettings {
    int level = 0;  // silencedetect: the noise level in dB; WebRTC: the mode 0-3
    int lead_ms = 0;
};

std::vector<std::int32_t> FinderStarts(const std::vector<float>& samples, int min_pause_ms);

// FFmpeg's silencedetect filter, run by the ffmpeg program: a start where
// each silence of at least the minimum pause ends. Nothing if ffmpeg fails.
std::vector<std::int32_t> SilencedetectStarts(const std::string& wav, int min_pause_ms, ReferenceSettings settings);

// WebRTC's voice activity detector on 10 ms frames: a start at the first
// voiced frame after unvoiced ones lasting at least the minimum pause.
std::vector<std::int32_t> WebRtcStarts(const std::vector<float>& samples, int min_pause_ms, ReferenceSettings settings);

} // namespace bench::sentences
