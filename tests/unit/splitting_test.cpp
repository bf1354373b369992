// Finding the sentences of a recording: through the decoder, off the
// window's thread, and from the command line.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numbers>
#include <fstream>

#include "app/splitting/background_split.h"
#include "app/splitting/split_command.h"
#include "fakes.h"
#include "text/utf8.h"

namespace morvane::splitting {
namespace {

using test::FakeFiles;
using test::FakeWindow;
using test::TestCodePage;

constexpr int kRate = audio::kDecodedRate;

// DecodeFile looks at the file itself; the decoder makes up its sound.
std::u16string SomeFile()
{
    static const std::filesystem::path path = [] {
        std::filesystem::path file = std::filesystem::temp_directory_path() / "morvane-splitting-test.mp3";
        std::ofstream(file) << "sound";
        return file;
    }();
    return path.u16string();
}

// A recording of syllable-like bursts: `speech` holds, for each sentence,
// its start in ms; each sentence is 1.5 s of sound.
class ScriptedDecoder final : public audio::Decoder {
public:
    std::vector<std::int32_t> sentences_ms{1000, 3500, 6000};
    std::int64_t length_ms = 8000;
    std::optional<audio::DecodeError> open_error;
    std::optional<audio::DecodeError> error_at_end;

    std::optional<audio::DecodeError> Open(const std::u16string&) override { return open_error; }
    std::optional<std::int64_t> DurationMs() const override { return length_ms; }
    audio::ReadResult Read(std::span<float> out) override
    {
        audio::ReadResult result;
        const std::int64_t total = length_ms * kRate / 1000;
        while (result.count < out.size() && at_ < total) {
            out[result.count++] = Sample(at_++);
        }
        if (result.count == 0) result.error = error_at_end;
        return result;
    }

private:
    // Syllables of 180 ms with 40 ms between them, each a hiss and then a
    // voice whose pitch and formant glide, as speech's do.
    float Sample(std::int64_t n) const
    {
        const float hiss = static_cast<float>((n * 7919 % 2001) - 1000) * 2e-7f;
        const double ms = static_cast<double>(n) * 1000 / kRate;
        if (!std::ranges::any_of(sentences_ms, [&](std::int32_t s) { return ms >= s && ms < s + 1500; })) return hiss;
        const double in_syllable = std::fmod(ms, 220.0);
        if (in_syllable >= 180) return hiss;
        const auto syllable = static_cast<int>(ms / 220);
        const double t = in_syllable / 180, seconds = static_cast<double>(n) / kRate;
        const double envelope = std::min({1.0, in_syllable / 10, (180 - in_syllable) / 20});
        if (t < 0.2) return static_cast<float>(0.1 * envelope * ((n * 104729 % 2001) - 1000) / 1000.0);
        const double pitch = 110 + (syllable * 37 % 80) + 30 * t;
        const double formant = 600 + (syllable * 211 % 1400) + 400 * t;
        double sum = 0;
        for (int k = 1; k <= 12; ++k) {
            const double distance = (k * pitch - formant) / 400;
            sum += std::sin(2 * std::numbers::pi * k * pitch * seconds) / (1 + distance * distance) / k;
        }
        return hiss + static_cast<float>(0.5 * envelope * sum);
    }

    std::int64_t at_ = 0;
};

TEST(Splitting, FindsTheSentencesOffTheWindowsThreadAndReportsProgress)
{
    FakeWindow window;
    BackgroundSplit split(window, [] { return std::make_unique<ScriptedDecoder>(); });
    std::vector<int> percents;
    std::optional<Found> found;
    split.Start(SomeFile(), {}, [&](int p) { percents.push_back(p); }, [&](Found f) { found = std::move(f); });
    EXPECT_TRUE(split.Running());
    ASSERT_TRUE(window.RunPosted([&] { return found.has_value(); }));
    EXPECT_FALSE(split.Running());
    ASSERT_EQ(found->end, Found::End::Sentences);
    ASSERT_EQ(found->starts_ms.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_LE(found->starts_ms[i], (std::vector<std::int32_t>{1000, 3500, 6000})[i]);
        EXPECT_GE(found->starts_ms[i], (std::vector<std::int32_t>{900, 3400, 5900})[i]);
    }
    EXPECT_TRUE(std::ranges::is_sorted(percents));
    EXPECT_FALSE(percents.empty());
}

TEST(Splitting, AStoppedSearchNeverAnswers)
{
    FakeWindow window;
    BackgroundSplit split(window, [] {
        auto decoder = std::make_unique<ScriptedDecoder>();
        decoder->length_ms = 3 * 3600 * 1000;
        return decoder;
    });
    bool answered = false;
    split.Start(SomeFile(), {}, [](int) {}, [&](Found) { answered = true; });
    split.Stop();
    EXPECT_FALSE(split.Running());
    window.RunPosted([] { return false; }, 50);
    EXPECT_FALSE(answered);
}

TEST(Splitting, TheCommandWritesEachFormatAndSaysWhatWentWrong)
{
    FakeFiles files;
    TestCodePage code_page;
    auto run = [&](SplitRequest request, ScriptedDecoder decoder = {}) {
        return RunSplit(request, decoder, files, code_page, mark_file::Encoding::Utf8);
    };
    const SplitOutput listed = run({SomeFile(), u"", std::nullopt});
    EXPECT_EQ(listed.exit_code, 0);
    EXPECT_EQ(std::ranges::count(listed.out, '\n'), 3);
    EXPECT_TRUE(listed.out.starts_with("[000:00:9"));
    for (const auto& [to, start] : std::vector<std::pair<std::u16string, std::string>>{
             {u"/o.SRT", "\xEF\xBB\xBF" "1"}, {u"/o.vtt", "WEBVTT"}, {u"/o.labels.txt", "0.9"},
             {u"/o.txt", "\xEF\xBB\xBF[000:00:9"}}) {
        EXPECT_EQ(run({SomeFile(), to, std::nullopt}).exit_code, 0);
        EXPECT_TRUE(files.files[to].starts_with(start)) << files.files[to];
    }
    ScriptedDecoder missing;
    missing.open_error = audio::DecodeError{audio::DecodeError::Kind::NotFound, {}};
    const SplitOutput failed = run({u"/无.mp3", u"/o.srt", std::nullopt}, missing);
    EXPECT_EQ(failed.exit_code, 1);
    EXPECT_NE(failed.message.find(u"“/无.mp3”"), std::u16string::npos);
    EXPECT_EQ(run({SomeFile(), u"", u"abc"}).exit_code, 1);
    // The minimum pause: a longer one takes none of these pauses as a sentence's end.
    EXPECT_EQ(std::ranges::count(run({SomeFile(), u"", u"1.2"}).out, '\n'), 1);
}

} // namespace
} // namespace morvane::splitting
