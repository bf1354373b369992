// Media Foundation's decoder over the files the build made beside this
// program, in audio-samples\.
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
    const auto* wide = reinterpret_cast<const wchar_t*>(text.c_str());
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string shown(static_cast<std::size_t>(std::max(size, 1)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, shown.data(), size, nullptr, nullptr);
    shown.pop_back();
    return shown;
}

struct Decoded {
    DecodeOutcome outcome;
    std::optional<std::int64_t> duration_ms;
    std::vector<float> samples;
};

Decoded Decode(const std::u16string& path) {
    Decoded decoded;
    auto decoder = MakeDecoder();
    decoded.outcome = DecodeFile(*decoder, path,
        {[&](std::optional<std::int64_t> duration) { decoded.duration_ms = duration; },
         [&](std::span<const float> block) { decoded.samples.insert(decoded.samples.end(), block.begin(), block.end()); },
         {}});
    return decoded;
}

// Each holds a second of silence, then a second of a 440 Hz tone. Wine's
// Media Foundation reads no WMA, and FLAC only where GStreamer has it; on
// such a system those two may say NotAudio, and nothing else.
TEST(MediaFoundationTest, FormatsGiveTheirSoundInPlace) {
    const struct {
        std::u16string name;
        bool everywhere;
    } cases[] = {{u"tone.wav", true}, {u"tone.mp3", true},   {u"tone.m4a", true},  {u"video.mp4", true},
                 {u"录音.wav", true}, {u"tone.wma", false}, {u"tone.flac", false}};
    for (const auto& format : cases) {
        const std::string shown = Shown(format.name);
        SCOPED_TRACE(shown);
        const Decoded decoded = Decode(SamplePath(format.name));
        if (!format.everywhere && decoded.outcome.error && decoded.outcome.error->kind == DecodeError::Kind::NotAudio) {
            std::printf("not decoded on this system: %s\n", shown.c_str());
            continue;
        }
        ASSERT_FALSE(decoded.outcome.error) << static_cast<int>(decoded.outcome.error->kind) << " "
                                            << Shown(decoded.outcome.error->detail);
        EXPECT_TRUE(decoded.duration_ms);
        EXPECT_NEAR(static_cast<double>(decoded.samples.size()), 2 * kDecodedRate, kDecodedRate / 10);
        const auto first_sound = std::find_if(decoded.samples.begin(), decoded.samples.end(),
                                              [](float sample) { return std::abs(sample) > 0.05f; });
        // WMA from FFmpeg's encoder comes 46 ms early everywhere.
        EXPECT_NEAR(static_cast<double>(first_sound - decoded.samples.begin()), kDecodedRate, kDecodedRate * 6 / 100);
        std::printf("decoded: %s\n", shown.c_str());
    }
}

TEST(MediaFoundationTest, BadInputsSayWhatIsWrong) {
    using Kind = DecodeError::Kind;
    const std::u16string folder = SamplePath(u"");
    std::ofstream(std::filesystem::path(folder + u"empty.mp3"));
    std::ofstream(std::filesystem::path(folder + u"notes.mp3")) << std::string(5000, 'x');
    const struct {
        std::u16string path;
        Kind kind;
    } cases[] = {
        {folder + u"missing.mp3", Kind::NotFound},
        {folder + u"empty.mp3", Kind::Empty},
        {folder + u"notes.mp3", Kind::NotAudio},
        {folder + u"pictures.mp4", Kind::NoAudioTrack},
        {u"http://example.com/lesson.mp3", Kind::Stream},
    };
    for (const auto& bad : cases) {
        SCOPED_TRACE(Shown(bad.path));
        const Decoded decoded = Decode(bad.path);
        ASSERT_TRUE(decoded.outcome.error);
        EXPECT_EQ(decoded.outcome.error->kind, bad.kind)
            << Shown(decoded.outcome.error->detail);
    }
}

} // namespace
} // namespace morvane::audio
