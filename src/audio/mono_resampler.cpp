#include "audio/mono_resampler.h"

#include <algorithm>

namespace morvane::audio {

MonoResampler::MonoResampler(int in_rate, int channels, int out_rate)
    : channels_(std::max(channels, 1)), step_(static_cast<double>(std::max(in_rate, 1)) / std::max(out_rate, 1)) {}

void MonoResampler::Push(std::span<const float> interleaved, std::vector<float>& out) {
    const std::size_t frames = interleaved.size() / static_cast<std::size_t>(channels_);
    for (std::size_t frame = 0; frame < frames; ++frame) {
        float sum = 0;
        for (int channel = 0; channel < channels_; ++channel) {
            sum += interleaved[frame * static_cast<std::size_t>(channels_) + static_cast<std::size_t>(channel)];
        }
        PushMono(sum / static_cast<float>(channels_), out);
    }
}

void MonoResampler::PushMono(float sample, std::vector<float>& out) {
    if (step_ > 1.0) {
        double left = 1.0;
        while (weight_ + left >= step_) {
            const double take = step_ - weight_;
            out.push_back(static_cast<float>((sum_ + sample * take) / step_));
            left -= take;
            sum_ = 0;
            weight_ = 0;
        }
        sum_ += sample * left;
        weight_ += left;
        return;
    }
    if (!have_previous_) {
        // The first output sample is the first input sample itself.
        previous_ = sample;
        have_previous_ = true;
        out.push_back(sample);
        next_at_ = step_;
        return;
    }
    while (next_at_ < 1.0) {
        out.push_back(static_cast<float>(previous_ + (sample - previous_) * next_at_));
        next_at_ += step_;
    }
    next_at_ -= 1.0;
    previous_ = sample;
}

void MonoResampler::Finish(std::vector<float>& out) {
    if (step_ > 1.0 && weight_ > step_ / 2) out.push_back(static_cast<float>(sum_ / weight_));
    // An output sample that falls on the last input sample.
    if (step_ <= 1.0 && have_previous_ && next_at_ < 1e-9) out.push_back(previous_);
    sum_ = 0;
    weight_ = 0;
}

} // namespace morvane::audio
