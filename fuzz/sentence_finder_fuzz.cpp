// The sentence finder takes any samples, in any blocks, with any of the
// menu's pauses: it must not crash, and its starts must stay in order and
// inside the recording.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "sentences/sentence_finder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    namespace sentences = morvane::sentences;
    if (size < 3) return 0;
    static const int kPausesMs[] = {200, 300, 500, 800, 1200};
    sentences::Settings settings;
    settings.min_pause_ms = kPausesMs[data[0] % 5];
    settings.max_sentence_ms = 1000 + 1000 * (data[0] / 5 % 20);
    // Raw floats reach NaN, infinities and values past full scale; 16-bit
    // samples, repeated, make recordings long enough to hold sentences.
    const bool raw = (data[1] & 1) != 0;
    const int repeats = 1 + data[1] / 2 % 16;
    const std::size_t block = 1 + data[2] * 37u;
    data += 3;
    size -= 3;

    std::vector<float> samples;
    if (raw) {
        samples.resize(size / sizeof(float));
        if (!samples.empty()) std::memcpy(samples.data(), data, samples.size() * sizeof(float));
    } else {
        for (std::size_t i = 0; i + 1 < size; i += 2)
            samples.push_back(static_cast<std::int16_t>(data[i] | data[i + 1] << 8) / 32768.0f);
    }
    sentences::SentenceFinder finder(settings);
    std::size_t fed = 0;
    for (int round = 0; round < repeats; ++round) {
        for (std::size_t at = 0; at < samples.size(); at += block) {
            const std::size_t count = std::min(block, samples.size() - at);
            finder.Feed(samples.data() + at, count);
            fed += count;
        }
    }
    finder.Finish();

    const auto& starts = finder.StartsMs();
    const auto duration_ms = static_cast<std::int64_t>(fed * 1000 / sentences::kSampleRate);
    for (std::size_t i = 0; i < starts.size(); ++i) {
        if (starts[i] < 0 || starts[i] > duration_ms) std::abort();
        if (i > 0 && starts[i] <= starts[i - 1]) std::abort();
    }
    return 0;
}
