#pragma once

#include <array>

namespace morvane::sentences {

// The power of a short stretch of samples in a few bands of the speech
// range (150 Hz to 5 kHz), each a little wider than the one below it, as
// the ear hears them: a Hann window and a radix-2 FFT.
class BandSpectrum {
public:
    static constexpr int kWindow = 512;  // 32 ms at 16 kHz
    static constexpr int kBands = 16;
    using Bands = std::array<float, kBands>;

    BandSpectrum();
    // window holds kWindow samples, oldest first.
    Bands Powers(const float* window);

private:
    // The samples are real: taken in pairs as complex ones, half as long an
    // FFT gives the same spectrum.
    static constexpr int kPairs = kWindow / 2;

    template <int kHalf>
    void Butterflies();

    std::array<float, kWindow> hann_{};
    std::array<int, kPairs> reversed_{};  // where each pair goes before the FFT
    // e^(-2πik/size) at size/2 + k, for each stage's butterflies of that size.
    std::array<float, kPairs> stage_re_{};
    std::array<float, kPairs> stage_im_{};
    std::array<float, kPairs> split_re_{};  // e^(-2πik/kWindow): the real spectrum out of the paired one
    std::array<float, kPairs> split_im_{};
    std::array<int, kBands + 1> band_edges_{};  // first FFT bin of each band, then the end
    std::array<float, kPairs> re_{};
    std::array<float, kPairs> im_{};
};

} // namespace morvane::sentences
