// The platform's decoder over small files that FFmpeg's command makes here.
#include "audio/decode_file.h"
#include "audio/mono_resampler.h"
#include "text/utf8.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace morvane::audio {
namespace {

namespace fs = std::filesystem;

// One second of silence, then one of a 440 Hz tone (at 1/8 of full
// scale), in stereo at 44.1 kHz.
constexpr const char* kTone =
    "-f lavfi -i anullsrc=r=44100:cl=stereo:d=1 -f lavfi -i sine=f=440:r=44100:d=1 "
    "-filter_complex \"[1]aformat=channel_layouts=stereo[t];[0][t]concat=n=2:v=0:a=1[a]\"";
constexpr const char* kPicture = "-f lavfi -i color=c=blue:s=64x64:r=5:d=2";

struct Decoded {
    DecodeOutcome outcome;
    std::optional<std::int64_t> duration_ms;
    std::vector<float> samples;
    bool blocks_whole = true;  // all of kBlockSamples but the last
};

class AudioDecoderTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = fs::temp_directory_path() / ("morvane-audio-" + std::to_string(std::random_device{}()));
        fs::create_directories(folder_);
    }
    static void TearDownTestSuite() { fs::remove_all(folder_); }

    // Runs ffmpeg with `arguments` to make `name`; false when it could not.
    static bool Make(const std::string& name, const std::string& arguments) {
        const std::string command = "ffmpeg -nostdin -loglevel error -y " + arguments + " '" +
                                    (folder_ / fs::u8path(name)).string() + "'";
        return std::system(command.c_str()) == 0;
    }

    static Decoded Decode(const std::u16string& path, const std::function<void()>& after_first_block = {}) {
        Decoded got;
        auto decoder = MakeDecoder();
        got.outcome = DecodeFile(*decoder, path, {[&](auto duration) { got.duration_ms = duration; },
            [&](std::span<const float> block) {
                got.blocks_whole = got.blocks_whole && got.samples.size() % kBlockSamples == 0;
                if (got.samples.empty() && after_first_block) after_first_block();
                got.samples.insert(got.samples.end(), block.begin(), block.end());
            }, {}});
        return got;
    }

    static std::u16string PathOf(const std::string& name) { return (folder_ / fs::u8path(name)).u16string(); }

    static inline fs::path folder_;
};

TEST_F(AudioDecoderTest, EveryFormatGivesItsSoundInPlace) {
    const std::string video = std::string(kPicture) + " -map 2:v -c:v ";
    const struct {
        std::string name;
        std::string codecs;
        int slack_ms = 10;  // how far the tone may move
    } cases[] = {
        {"tone.wav", "-c:a pcm_s16le"},
        {"tone.mp3", "-c:a libmp3lame -b:a 64k"},
        {"tone.m4a", "-c:a aac"},
        {"tone.flac", "-c:a flac"},
        {"tone.ogg", "-c:a libvorbis"},
        {"tone.opus", "-c:a libopus"},
        // FFmpeg's WMA encoder leaves its delay unsaid; its own command
        // decodes the tone 46 ms early too.
        {"tone.wma", "-c:a wmav2", 60},
        {"录音 ü.wav", "-c:a pcm_u8 -ar 8000"},
        {"video.mp4", video + "mpeg4 -c:a aac"},
        {"video.mkv", video + "mpeg4 -c:a libvorbis"},
        {"video.webm", video + "libvpx -c:a libopus"},
    };
    for (const auto& format : cases) {
        SCOPED_TRACE(format.name);
        ASSERT_TRUE(Make(format.name, std::string(kTone) + " " + format.codecs + " -map [a]"));
        const Decoded decoded = Decode(PathOf(format.name));
        ASSERT_FALSE(decoded.outcome.error) << static_cast<int>(decoded.outcome.error->kind);
        EXPECT_TRUE(decoded.blocks_whole);
        ASSERT_TRUE(decoded.duration_ms);
        EXPECT_NEAR(static_cast<double>(*decoded.duration_ms), 2000, 100);
        EXPECT_NEAR(static_cast<double>(decoded.samples.size()), 2 * kDecodedRate, kDecodedRate / 10);
        // The tone starts where it starts in the file: no encoder delay,
        // no lost lead, within a few milliseconds.
        const auto first_sound = std::find_if(decoded.samples.begin(), decoded.samples.end(),
                                              [](float sample) { return std::abs(sample) > 0.05f; });
        EXPECT_NEAR(static_cast<double>(first_sound - decoded.samples.begin()), kDecodedRate,
                    format.slack_ms * kDecodedRate / 1000);
    }
}

TEST_F(AudioDecoderTest, BadInputsSayWhatIsWrong) {
    using Kind = DecodeError::Kind;
    ASSERT_TRUE(Make("long.mp3", "-f lavfi -i sine=f=300:d=10 -c:a libmp3lame"));
    ASSERT_TRUE(Make("pictures.mp4", std::string(kPicture) + " -c:v mpeg4"));
    ASSERT_TRUE(Make("long.m4a", "-f lavfi -i sine=f=300:d=10 -c:a aac"));
    const struct {
        std::string name;
        std::string make;  // run in the folder first
        Kind kind;
        bool some_sound;
    } cases[] = {
        {"missing.mp3", "", Kind::NotFound, false},
        {"half", "", Kind::NotFound, false},  // half a surrogate pair
        {"empty.mp3", "&& : > empty.mp3", Kind::Empty, false},
        {"notes.mp3", "&& seq 1 2000 > notes.mp3", Kind::NotAudio, false},
        {"folder.wav", "&& mkdir folder.wav", Kind::NotAudio, false},
        {"cut.mp3", "&& head -c 30000 long.mp3 > cut.mp3", Kind::Truncated, true},
        {"pictures.mp4", "", Kind::NoAudioTrack, false},
        {"cut.m4a", "&& head -c 30000 long.m4a > cut.m4a", Kind::Damaged, false},  // its index was at the end
        {"http://example.com/lesson.mp3", "", Kind::Stream, false},
        {"rtsp://example.com/live", "", Kind::Stream, false},
    };
    for (const auto& bad : cases) {
        SCOPED_TRACE(bad.name);
        ASSERT_EQ(std::system(("cd '" + folder_.string() + "' && true " + bad.make).c_str()), 0);
        const bool url = bad.name.find("://") != std::string::npos;
        const Decoded decoded = Decode(url ? std::u16string(bad.name.begin(), bad.name.end())
                                     : bad.name == "half" ? PathOf("") + u'\xD800' : PathOf(bad.name));
        ASSERT_TRUE(decoded.outcome.error);
        EXPECT_EQ(decoded.outcome.error->kind, bad.kind) << ToUtf8(decoded.outcome.error->detail);
        EXPECT_EQ(!decoded.samples.empty(), bad.some_sound);
    }
}

TEST_F(AudioDecoderTest, AFileWrittenToWhileReadAndACancelStopIt) {
    ASSERT_TRUE(Make("changing.wav", std::string(kTone) + " -map [a] -c:a pcm_s16le"));
    const Decoded changed = Decode(PathOf("changing.wav"), [] {
        std::ofstream(folder_ / "changing.wav", std::ios::app | std::ios::binary) << std::string(50000, '\x7f');
    });
    ASSERT_TRUE(changed.outcome.error);
    EXPECT_EQ(changed.outcome.error->kind, DecodeError::Kind::Changed);

    int blocks = 0;
    auto decoder = MakeDecoder();
    const DecodeOutcome cancelled = DecodeFile(*decoder, PathOf("changing.wav"),
                                               {{}, [&](std::span<const float>) { ++blocks; }, [&] { return blocks == 2; }});
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_FALSE(cancelled.error);
    EXPECT_EQ(cancelled.samples, 2 * static_cast<std::int64_t>(kBlockSamples));
}

TEST(MonoResamplerTest, KeepsTheToneAtEveryRate) {
    const struct {
        int rate;
        int channels;
    } cases[] = {{44100, 2}, {48000, 1}, {22050, 2}, {16000, 1}, {8000, 1}};
    for (const auto& in : cases) {
        SCOPED_TRACE(in.rate);
        MonoResampler resampler(in.rate, in.channels, kDecodedRate);
        std::vector<float> out;
        std::vector<float> chunk;
        for (int frame = 0; frame < in.rate; ++frame) {
            const auto sample = static_cast<float>(0.5 * std::sin(2 * M_PI * 440 * frame / in.rate));
            chunk.insert(chunk.end(), static_cast<std::size_t>(in.channels), sample);
            if (chunk.size() >= 999) {
                resampler.Push(chunk, out);
                chunk.clear();
            }
        }
        resampler.Push(chunk, out);
        resampler.Finish(out);
        ASSERT_NEAR(static_cast<double>(out.size()), kDecodedRate, 2);
        for (std::size_t i = 100; i < out.size(); i += 1601) {
            // A box over the input span is centred half an input sample
            // late at most; the tone moves little in that.
            const double expected = 0.5 * std::sin(2 * M_PI * 440 * (i + 0.5) / kDecodedRate);
            EXPECT_NEAR(out[i], expected, 0.06) << i;
        }
    }
}

} // namespace
} // namespace morvane::audio
