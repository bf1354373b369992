// Media Foundation's decoder over the files the build made beside this
// program, in audio-samples\. The checks of the path itself (missing,
// empty, a network address) are portable and tested natively.
#include "audio/decode_file.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace morvane::audio {
namespace {

std::u16string SamplePath(const std::u16string& name) {
    wchar_t exe[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::u16string path(exe, exe + length);
    return path.substr(0, path.find_last_of(u'\\') + 1) + u"audio-samples\\" + name;
}

// UTF-8, for the log.
std::string Shown(const std::u16string& text) {
    const std::u8string utf8 = std::filesystem::path(text).u8string();
    return std::string(utf8.begin(), utf8.end());
}

using Kind = DecodeError::Kind;

// The tones hold a second of silence, then a second of 440 Hz. Wine's Media
// Foundation reads no WMA, and FLAC only where GStreamer has it: those two
// may say NotAudio on such a system, and nothing else.
TEST(MediaFoundationTest, FormatsGiveTheirSoundInPlaceAndBadFilesSayWhy) {
    std::ofstream(std::filesystem::path(SamplePath(u"notes.mp3"))) << std::string(5000, 'x');
    const struct {
        std::u16string name;
        std::optional<Kind> error = std::nullopt;
        bool everywhere = true;
        int slack_ms = 10;  // how far the tone may move
    } cases[] = {{u"tone.wav"}, {u"tone.m4a"}, {u"video.mp4"}, {u"录音.wav"}, {u"tone.flac", {}, false},
                 // Wine's GStreamer keeps the 25 ms of the encoder's delay;
                 // FFmpeg's WMA encoder leaves its 46 ms unsaid.
                 {u"tone.mp3", {}, true, 30}, {u"tone.wma", {}, false, 60},
                 {u"notes.mp3", Kind::NotAudio}, {u"pictures.mp4", Kind::NoAudioTrack}};
    for (const auto& file : cases) {
        SCOPED_TRACE(Shown(file.name));
        std::vector<float> samples;
        std::optional<std::int64_t> duration_ms;
        auto decoder = MakeDecoder();
        const DecodeOutcome outcome = DecodeFile(*decoder, SamplePath(file.name),
            {[&](auto duration) { duration_ms = duration; },
             [&](std::span<const float> block) { samples.insert(samples.end(), block.begin(), block.end()); }, {}});
        if (!file.everywhere && outcome.error && outcome.error->kind == Kind::NotAudio) {
            std::printf("not decoded on this system: %s\n", Shown(file.name).c_str());
            continue;
        }
        ASSERT_EQ(outcome.error ? std::optional(outcome.error->kind) : std::nullopt, file.error)
            << Shown(outcome.error ? outcome.error->detail : u"");
        if (file.error) continue;
        EXPECT_TRUE(duration_ms);
        EXPECT_NEAR(static_cast<double>(samples.size()), 2 * kDecodedRate, kDecodedRate / 10);
        const auto first_sound =
            std::find_if(samples.begin(), samples.end(), [](float sample) { return std::abs(sample) > 0.05f; });
        EXPECT_NEAR(static_cast<double>(first_sound - samples.begin()), kDecodedRate, file.slack_ms * kDecodedRate / 1000);
        std::printf("decoded: %s, tone at %d\n", Shown(file.name).c_str(), static_cast<int>(first_sound - samples.begin()));
    }
}

} // namespace
} // namespace morvane::audio
