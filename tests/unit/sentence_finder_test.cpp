// The sentence finder on generated recordings: speech-like syllables (a
// voice with a moving pitch and moving formants, a hiss of a consonant)
// in pauses, over noise floors, a music-like bed, and without speech.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "sentences/sentence_finder.h"

namespace {

using morvane::sentences::kSampleRate;
using morvane::sentences::SentenceFinder;
using morvane::sentences::Settings;

constexpr double kPi = std::numbers::pi;

struct Recording {
    std::vector<float> samples;
    std::vector<int> starts_ms;  // where each sentence's first sound is
    std::mt19937 random{7};

    int NowMs() const { return static_cast<int>(samples.size() * 1000 / kSampleRate); }
    void Silence(int ms) { samples.resize(samples.size() + static_cast<std::size_t>(ms) * kSampleRate / 1000, 0.0f); }

    // One syllable: a hiss, then a voice whose pitch and formant glide.
    void Syllable(int ms, float loudness)
    {
        std::uniform_real_distribution<double> pick(0, 1);
        const double pitch = 110 + 80 * pick(random), glide = 60 * (pick(random) - 0.5);
        const double formant = 500 + 1500 * pick(random), formant_glide = 800 * (pick(random) - 0.5);
        const int count = ms * kSampleRate / 1000, hiss = count / 5;
        double phase = 0;
        for (int i = 0; i < count; ++i) {
            const double t = static_cast<double>(i) / count;
            const double envelope = std::min({1.0, i / 160.0, (count - i) / 320.0});
            double value = 0;
            if (i < hiss) {
                value = 0.3 * (pick(random) * 2 - 1);
            } else {
                phase += 2 * kPi * (pitch + glide * t) / kSampleRate;
                const double centre = formant + formant_glide * t;
                for (int harmonic = 1; harmonic <= 20; ++harmonic) {
                    const double distance = (harmonic * (pitch + glide * t) - centre) / 400;
                    value += std::sin(harmonic * phase) / (1 + distance * distance) / harmonic * 2;
                }
            }
            samples.push_back(static_cast<float>(loudness * envelope * value));
        }
    }

    void Sentence(int syllables, int gap_ms = 60, int comma_every = 0, float loudness = 0.3f, int comma_ms = 150)
    {
        starts_ms.push_back(NowMs());
        for (int i = 0; i < syllables; ++i) {
            if (i > 0) Silence(comma_every > 0 && i % comma_every == 0 ? comma_ms : gap_ms);
            Syllable(140 + static_cast<int>(random() % 120), loudness);
        }
    }

    // Something under all of it: a floor of hiss or hum, or held chords.
    void Add(const std::function<double(std::size_t)>& bed)
    {
        for (std::size_t i = 0; i < samples.size(); ++i) samples[i] += static_cast<float>(bed(i));
    }
};

double Hiss(std::mt19937& random, double amplitude)
{
    return amplitude * std::normal_distribution<double>(0, 1)(random);
}

double Hum(std::size_t i)
{
    const double t = static_cast<double>(i) / kSampleRate;
    return 0.02 * std::sin(2 * kPi * 50 * t) + 0.01 * std::sin(2 * kPi * 150 * t);
}

double Chords(std::size_t i)
{
    static const double kNotes[][3] = {{220, 277.2, 329.6}, {196, 246.9, 293.7}, {174.6, 220, 261.6}};
    const double t = static_cast<double>(i) / kSampleRate;
    const auto& chord = kNotes[static_cast<std::size_t>(t / 2) % 3];
    double value = 0;
    for (double note : chord) value += 0.02 * std::sin(2 * kPi * note * t);
    return value;
}

struct Case {
    std::string name;
    std::function<void(Recording&)> make;
    Settings settings;
    int expected_count = -1;  // when the starts cannot be known: how many, at least
};

std::vector<Case> Cases()
{
    Settings short_pause;
    short_pause.min_pause_ms = 200;
    auto lesson = [](Recording& r, std::vector<int> pauses_ms, int comma_ms = 150) {
        r.Silence(700);
        for (int pause : pauses_ms) {
            r.Sentence(8, 60, 3, 0.3f, comma_ms);
            r.Silence(pause);
        }
        r.Sentence(6);
        r.Silence(800);
    };
    return {
        {"clean lesson, commas inside", [&](Recording& r) { lesson(r, {400, 700, 1200, 2000}); }, {}},
        {"speech from the first sample", [&](Recording& r) { r.Sentence(6); r.Silence(500); r.Sentence(5); }, {}},
        {"hiss at 20 dB below the voice",
         [&](Recording& r) { lesson(r, {400, 700, 1200}); r.Add([&](std::size_t) { return Hiss(r.random, 0.01); }); }, {}},
        {"hiss at 10 dB below the voice",
         [&](Recording& r) { lesson(r, {500, 900, 1500}); r.Add([&](std::size_t) { return Hiss(r.random, 0.03); }); }, {}},
        {"mains hum", [&](Recording& r) { lesson(r, {400, 800}); r.Add(Hum); }, {}},
        {"held chords under the voice", [&](Recording& r) { lesson(r, {600, 1000, 1500}); r.Add(Chords); }, {}},
        {"a quiet speaker", [&](Recording& r) { r.Silence(500); r.Sentence(6, 60, 0, 0.02f); r.Silence(600); r.Sentence(6, 60, 0, 0.02f); }, {}},
        {"pauses of 250 ms at the 0.2 s setting", [&](Recording& r) { lesson(r, {250, 250, 400}, 100); }, short_pause},
        {"pauses of 250 ms at the default setting",
         [&](Recording& r) {
             lesson(r, {250, 250});
             r.starts_ms.erase(r.starts_ms.begin() + 1, r.starts_ms.end());
         },
         {}},
        {"20 s without a pause is cut",
         [&](Recording& r) { r.Silence(500); r.Sentence(90, 70); r.Silence(500); }, {}, 2},
        {"silence", [&](Recording& r) { r.Silence(10000); }, {}, 0},
        {"hiss alone", [&](Recording& r) { r.Silence(10000); r.Add([&](std::size_t) { return Hiss(r.random, 0.03); }); }, {}, 0},
        {"held chords alone", [&](Recording& r) { r.Silence(12000); r.Add(Chords); }, {}, 0},
    };
}

TEST(SentenceFinderTest, FindsEachSentenceStartJustBeforeItsFirstSound)
{
    for (const auto& test : Cases()) {
        for (std::size_t block : {std::size_t{1000}, std::size_t{4096}, std::size_t{333333}}) {
            SCOPED_TRACE(test.name + ", blocks of " + std::to_string(block));
            Recording recording;
            test.make(recording);
            SentenceFinder finder(test.settings);
            for (std::size_t at = 0; at < recording.samples.size(); at += block)
                finder.Feed(recording.samples.data() + at, std::min(block, recording.samples.size() - at));
            finder.Finish();
            const auto& found = finder.StartsMs();

            if (test.expected_count >= 0) {
                if (test.expected_count == 0) {
                    EXPECT_TRUE(found.empty());
                }
                EXPECT_GE(found.size(), static_cast<std::size_t>(test.expected_count));
                for (std::size_t i = 1; i <= found.size() && !found.empty(); ++i)
                    EXPECT_LE((i < found.size() ? found[i] : recording.NowMs()) - found[i - 1], test.settings.max_sentence_ms);
                continue;
            }
            EXPECT_EQ(found.size(), recording.starts_ms.size());
            if (found.size() != recording.starts_ms.size()) continue;
            for (std::size_t i = 0; i < found.size(); ++i) {
                EXPECT_LE(found[i], recording.starts_ms[i]) << "sentence " << i << " cut";
                EXPECT_GE(found[i], recording.starts_ms[i] - 100) << "sentence " << i << " too early";
            }
        }
    }
}

TEST(SentenceFinderTest, TakesAnyInputWithoutHarm)
{
    SentenceFinder finder;
    const std::vector<float> odd = {NAN, INFINITY, -INFINITY, 5.0f, -5.0f, 0.0f};
    for (int i = 0; i < 20000; ++i) finder.Feed(odd.data(), odd.size());
    finder.Feed(nullptr, 100);
    finder.Feed(odd.data(), 0);
    finder.Finish();
    finder.Finish();
    EXPECT_TRUE(std::is_sorted(finder.StartsMs().begin(), finder.StartsMs().end()));
}

} // namespace
