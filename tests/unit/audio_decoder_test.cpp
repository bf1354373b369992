// The platform's decoder over small files that FFmpeg's command makes here.
#include "audio/decode_file.h"
#include "audio/mono_resampler.h"
#include "text/utf8.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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
    bool blocks_whole = true;
};

class AudioDecoderTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = fs::temp_directory_path() / ("morvane-audio-" + std::to_string(std::rand()));
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
        Decoded decoded;
        bool short_block_seen = false;
        auto decoder = MakeDecoder();
        decoded.outcome = DecodeFile(*decoder, path,
            {[&](std::optional<std::int64_t> duration) { decoded.duration_ms = duration; },
             [&](std::span<const float> block) {
                 if (short_block_seen) decoded.blocks_whole = false;
                 short_block_seen = block.size() != kBlockSamples;
                 if (decoded.samples.empty() && after_first_block) after_first_block();
                 decoded.samples.insert(decoded.samples.end(), block.begin(), block.end());
             },
             {}});
        return decoded;
    }

    static std::u16string PathOf(const std::string& name) { return (folder_ / fs::u8path(name)).u16string(); }

    static inline fs::path folder_;
};

struct FormatCase {
    const char* name;
    const char* video;  // the pictures' input, or empty
    const char* codecs;
    // How far the tone may move, in milliseconds.
    int slack_ms = 10;
};

TEST_F(AudioDecoderTest, EveryFormatGivesItsSoundInPlace) {
    const FormatCase cases[] = {
        {"tone.wav", "", "-c:a pcm_s16le"},
        {"tone.mp3", "", "-c:a libmp3lame -b:a 64k"},
        {"tone.m4a", "", "-c:a aac"},
        {"tone.flac", "", "-c:a flac"},
        {"tone.ogg", "", "-c:a libvorbis"},
        {"tone.opus", "", "-c:a libopus"},
        // FFmpeg's WMA encoder leaves its delay unsaid; its own command
        // decodes the tone 46 ms early too.
        {"tone.wma", "", "-c:a wmav2", 60},
        {"录音 ü.wav", "", "-c:a pcm_u8 -ar 8000"},
        {"video.mp4", kPicture, "-c:v mpeg4 -c:a aac"},
        {"video.mkv", kPicture, "-c:v mpeg4 -c:a libvorbis"},
        {"video.webm", kPicture, "-c:v libvpx -c:a libopus"},
    };
    for (const FormatCase& format : cases) {
        SCOPED_TRACE(format.name);
        const std::string video = *format.video ? std::string(format.video) + " -map 2:v " : "";
        ASSERT_TRUE(Make(format.name, kTone + (" " + video) + " -map [a] " + format.codecs));
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

struct BadCase {
    const char* name;
    // A shell command run in the folder, or empty for a path that stays missing.
    const char* make;
    DecodeError::Kind kind;
    bool some_sound;
};

TEST_F(AudioDecoderTest, BadInputsSayWhatIsWrong) {
    using Kind = DecodeError::Kind;
    ASSERT_TRUE(Make("long.mp3", "-f lavfi -i sine=f=300:d=10 -c:a libmp3lame"));
    ASSERT_TRUE(Make("pictures.mp4", std::string(kPicture) + " -c:v mpeg4"));
    const BadCase cases[] = {
        {"missing.mp3", "", Kind::NotFound, false},
        {"empty.mp3", ": > empty.mp3", Kind::Empty, false},
        {"notes.mp3", "seq 1 2000 > notes.mp3", Kind::NotAudio, false},
        {"folder.wav", "mkdir folder.wav", Kind::NotAudio, false},
        {"cut.mp3", "head -c 30000 long.mp3 > cut.mp3", Kind::Truncated, true},
        {"pictures.mp4", ":", Kind::NoAudioTrack, false},
        {"http://example.com/lesson.mp3", "", Kind::Stream, false},
        {"rtsp://example.com/live", "", Kind::Stream, false},
    };
    for (const BadCase& bad : cases) {
        SCOPED_TRACE(bad.name);
        if (*bad.make) {
            ASSERT_EQ(std::system(("cd '" + folder_.string() + "' && " + bad.make).c_str()), 0);
        }
        const std::string name = bad.name;
        const Decoded decoded = Decode(name.find("://") != std::string::npos ? std::u16string(name.begin(), name.end()) : PathOf(name));
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
