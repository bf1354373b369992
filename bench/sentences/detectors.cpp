#include "detectors.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "sentences/sentence_finder.h"

// Debian's libwebrtc-audio-processing exports the detector but installs no
// header for it; these are its declarations (webrtc/common_audio/vad/include/webrtc_vad.h).
extern "C" {
struct WebRtcVadInst;
WebRtcVadInst* WebRtcVad_Create();
void WebRtcVad_Free(WebRtcVadInst* handle);
int WebRtcVad_Init(WebRtcVadInst* handle);
int WebRtcVad_set_mode(WebRtcVadInst* handle, int mode);
int WebRtcVad_Process(WebRtcVadInst* handle, int fs, const std::int16_t* audio_frame, std::size_t frame_length);
}

namespace bench::sentences {

std::vector<std::int32_t> FinderStarts(const std::vector<float>& samples, int min_pause_ms)
{
    morvane::sentences::Settings settings;
    settings.min_pause_ms = min_pause_ms;
    morvane::sentences::SentenceFinder finder(settings);
    // In blocks, as a decoder delivers them.
    constexpr std::size_t kBlock = 4096;
    for (std::size_t at = 0; at < samples.size(); at += kBlock)
        finder.Feed(samples.data() + at, std::min(kBlock, samples.size() - at));
    finder.Finish();
    return finder.StartsMs();
}

std::vector<std::int32_t> SilencedetectStarts(const std::string& wav, int min_pause_ms, ReferenceSettings settings)
{
    char command[4096];
    std::snprintf(command, sizeof command,
                  "ffmpeg -hide_banner -nostats -i '%s' -af silencedetect=n=%ddB:d=%.3f -f null - 2>&1", wav.c_str(),
                  settings.level, min_pause_ms / 1000.0);
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command, "r"), pclose);
    std::vector<std::int32_t> starts;
    if (!pipe) return starts;
    char line[1024];
    while (std::fgets(line, sizeof line, pipe.get())) {
        const char* end = std::strstr(line, "silence_end: ");
        if (end == nullptr) continue;
        const double seconds = std::atof(end + 13);
        starts.push_back(std::max<std::int32_t>(0, static_cast<std::int32_t>(std::lround(seconds * 1000)) - settings.lead_ms));
    }
    return starts;
}

std::vector<std::int32_t> WebRtcStarts(const std::vector<float>& samples, int min_pause_ms, ReferenceSettings settings)
{
    std::vector<std::int32_t> starts;
    std::unique_ptr<WebRtcVadInst, void (*)(WebRtcVadInst*)> vad(WebRtcVad_Create(), WebRtcVad_Free);
    if (!vad || WebRtcVad_Init(vad.get()) != 0 || WebRtcVad_set_mode(vad.get(), settings.level) != 0) return starts;
    constexpr std::size_t kFrame = 160;
    std::int16_t frame[kFrame];
    int quiet_ms = min_pause_ms;  // the recording's start counts as a pause
    for (std::size_t at = 0; at + kFrame <= samples.size(); at += kFrame) {
        for (std::size_t i = 0; i < kFrame; ++i)
            frame[i] = static_cast<std::int16_t>(std::clamp(samples[at + i] * 32768.0f, -32768.0f, 32767.0f));
        const int voiced = WebRtcVad_Process(vad.get(), 16000, frame, kFrame);
        if (voiced == 1) {
            if (quiet_ms >= min_pause_ms)
                starts.push_back(std::max<std::int32_t>(0, static_cast<std::int32_t>(at / 16) - settings.lead_ms));
            quiet_ms = 0;
        } else {
            quiet_ms += 10;
        }
    }
    return starts;
}

} // namespace bench::sentences
