#pragma once

#include <array>
#include <complex>
#include <vector>

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
    std::array<float, kWindow> hann_{};
    std::vector<std::complex<float>> twiddles_;
    std::array<int, kBands + 1> band_edges_{};  // first FFT bin of each band, then the end
    std::vector<std::complex<float>> buffer_;
};

} // namespace morvane::sentences
