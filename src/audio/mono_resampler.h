#pragma once

#include <span>
#include <vector>

namespace morvane::audio {

// Mixes interleaved frames down to mono and brings them to another rate,
// for a decoder that gives the file's own rate and channels. Going down it
// averages each output sample's share of the input (a box filter, which
// keeps most of what lies above the new Nyquist rate out); going up it
// interpolates linearly. Enough for finding pauses, not for listening.
class MonoResampler {
public:
    MonoResampler(int in_rate, int channels, int out_rate);

    // Appends to `out` the samples that these frames complete; a partial
    // frame at the end is ignored.
    void Push(std::span<const float> interleaved, std::vector<float>& out);
    // Appends what is left over at the end of the input.
    void Finish(std::vector<float>& out);

private:
    void PushMono(float sample, std::vector<float>& out);

    int channels_;
    // Input samples per output sample.
    double step_;
    // Going down: the weighted sum and the weight so far of the output
    // sample being built.
    double sum_ = 0;
    double weight_ = 0;
    // Going up: the last input sample, and where the next output sample
    // lies after it, in input samples.
    float previous_ = 0;
    bool have_previous_ = false;
    double next_at_ = 0;
};

} // namespace morvane::audio
