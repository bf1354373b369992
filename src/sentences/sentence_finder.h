#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace morvane::sentences {

// The rate the decoders deliver: mono float samples in [-1, 1].
inline constexpr int kSampleRate = 16000;

// Out-of-range values are brought within 0-10 s, 2 s-10 min and 0-100 ms.
struct Settings {
    int min_pause_ms = 300;       // a quieter stretch at least this long ends a sentence
    int max_sentence_ms = 15000;  // a longer passage without such a pause is cut at its quietest point
    int lead_ms = 40;             // how far before the first sound found a mark is placed
};

// Finds where speech starts after a pause, fed block by block; what it keeps
// is bounded by the settings, not by the length of the recording.
class SentenceFinder {
public:
    explicit SentenceFinder(Settings settings = {});
    ~SentenceFinder();
    SentenceFinder(SentenceFinder&&) noexcept;
    SentenceFinder& operator=(SentenceFinder&&) noexcept;

    void Feed(const float* samples, std::size_t count);  // mono, kSampleRate
    void Finish();                                       // end of input

    // Sentence starts found so far, in ms from the start, ascending. Empty
    // after Finish when the recording holds no speech (silence, music).
    const std::vector<std::int32_t>& StartsMs() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace morvane::sentences
