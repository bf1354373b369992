#include "sentences/spectrum.h"

#include <cmath>
#include <numbers>

namespace morvane::sentences {
namespace {

constexpr int kRate = 16000;
constexpr double kLowestHz = 150;
constexpr double kHighestHz = 5000;

int ReversedBits(int value, int bits)
{
    int reversed = 0;
    for (int bit = 0; bit < bits; ++bit) reversed |= ((value >> bit) & 1) << (bits - 1 - bit);
    return reversed;
}

} // namespace

BandSpectrum::BandSpectrum() : twiddles_(kWindow / 2), buffer_(kWindow)
{
    const double pi = std::numbers::pi;
    for (int i = 0; i < kWindow; ++i) hann_[i] = static_cast<float>(0.5 - 0.5 * std::cos(2 * pi * i / kWindow));
    for (int i = 0; i < kWindow / 2; ++i)
        twiddles_[i] = std::polar(1.0f, static_cast<float>(-2 * pi * i / kWindow));
    // Evenly spaced in log frequency: each band covers the same share of an octave.
    const double bin_hz = static_cast<double>(kRate) / kWindow;
    for (int band = 0; band <= kBands; ++band) {
        const double hz = kLowestHz * std::pow(kHighestHz / kLowestHz, static_cast<double>(band) / kBands);
        band_edges_[band] = static_cast<int>(std::lround(hz / bin_hz));
        if (band > 0 && band_edges_[band] <= band_edges_[band - 1]) band_edges_[band] = band_edges_[band - 1] + 1;
    }
}

BandSpectrum::Bands BandSpectrum::Powers(const float* window)
{
    constexpr int kBits = 9;
    static_assert(1 << kBits == kWindow);
    for (int i = 0; i < kWindow; ++i) buffer_[ReversedBits(i, kBits)] = {window[i] * hann_[i], 0.0f};
    for (int size = 2; size <= kWindow; size *= 2) {
        const int half = size / 2;
        const int step = kWindow / size;
        for (int start = 0; start < kWindow; start += size) {
            for (int k = 0; k < half; ++k) {
                const auto odd = buffer_[start + k + half] * twiddles_[k * step];
                buffer_[start + k + half] = buffer_[start + k] - odd;
                buffer_[start + k] += odd;
            }
        }
    }
    Bands powers{};
    // Scaled so that a full-scale sine in one band gives about 1.
    const float scale = 16.0f / (kWindow * kWindow);
    for (int band = 0; band < kBands; ++band) {
        float sum = 0;
        for (int bin = band_edges_[band]; bin < band_edges_[band + 1]; ++bin) sum += std::norm(buffer_[bin]);
        powers[band] = sum * scale;
    }
    return powers;
}

} // namespace morvane::sentences
