#include "sentences/spectrum.h"

#include <cmath>
#include <numbers>

namespace morvane::sentences {
namespace {

constexpr int kRate = 16000;
constexpr double kLowestHz = 150;
constexpr double kHighestHz = 5000;  // below half the rate: the bands need only the first kPairs bins

int ReversedBits(int value, int bits)
{
    int reversed = 0;
    for (int bit = 0; bit < bits; ++bit) reversed |= ((value >> bit) & 1) << (bits - 1 - bit);
    return reversed;
}

} // namespace

BandSpectrum::BandSpectrum()
{
    const double pi = std::numbers::pi;
    for (int i = 0; i < kWindow; ++i) hann_[i] = static_cast<float>(0.5 - 0.5 * std::cos(2 * pi * i / kWindow));
    constexpr int kBits = 8;
    static_assert(1 << kBits == kPairs);
    for (int i = 0; i < kPairs; ++i) {
        reversed_[i] = ReversedBits(i, kBits);
        split_re_[i] = static_cast<float>(std::cos(-2 * pi * i / kWindow));
        split_im_[i] = static_cast<float>(std::sin(-2 * pi * i / kWindow));
    }
    for (int half = 4; half < kPairs; half *= 2)
        for (int k = 0; k < half; ++k) {
            stage_re_[half + k] = static_cast<float>(std::cos(-pi * k / half));
            stage_im_[half + k] = static_cast<float>(std::sin(-pi * k / half));
        }
    // Evenly spaced in log frequency: each band covers the same share of an octave.
    const double bin_hz = static_cast<double>(kRate) / kWindow;
    for (int band = 0; band <= kBands; ++band) {
        const double hz = kLowestHz * std::pow(kHighestHz / kLowestHz, static_cast<double>(band) / kBands);
        band_edges_[band] = static_cast<int>(std::lround(hz / bin_hz));
        if (band > 0 && band_edges_[band] <= band_edges_[band - 1]) band_edges_[band] = band_edges_[band - 1] + 1;
    }
}

// One stage of the FFT and those after it, each of a size known when
// compiled, so that the compiler can do several butterflies at once.
template <int kHalf>
void BandSpectrum::Butterflies()
{
    for (int start = 0; start < kPairs; start += 2 * kHalf) {
        for (int k = 0; k < kHalf; ++k) {
            const int low = start + k;
            const int high = low + kHalf;
            const float odd_re = re_[high] * stage_re_[kHalf + k] - im_[high] * stage_im_[kHalf + k];
            const float odd_im = re_[high] * stage_im_[kHalf + k] + im_[high] * stage_re_[kHalf + k];
            re_[high] = re_[low] - odd_re;
            im_[high] = im_[low] - odd_im;
            re_[low] += odd_re;
            im_[low] += odd_im;
        }
    }
    if constexpr (2 * kHalf < kPairs) Butterflies<2 * kHalf>();
}

BandSpectrum::Bands BandSpectrum::Powers(const float* window)
{
    for (int i = 0; i < kPairs; ++i) {
        re_[reversed_[i]] = window[2 * i] * hann_[2 * i];
        im_[reversed_[i]] = window[2 * i + 1] * hann_[2 * i + 1];
    }
    // The first two stages at once: their twiddles are 1 and -i.
    for (int start = 0; start < kPairs; start += 4) {
        float* re = re_.data() + start;
        float* im = im_.data() + start;
        const float sum_re = re[0] + re[1], sum_im = im[0] + im[1];
        const float diff_re = re[0] - re[1], diff_im = im[0] - im[1];
        const float sum2_re = re[2] + re[3], sum2_im = im[2] + im[3];
        const float diff2_re = re[2] - re[3], diff2_im = im[2] - im[3];
        re[0] = sum_re + sum2_re;
        im[0] = sum_im + sum2_im;
        re[2] = sum_re - sum2_re;
        im[2] = sum_im - sum2_im;
        re[1] = diff_re + diff2_im;
        im[1] = diff_im - diff2_re;
        re[3] = diff_re - diff2_im;
        im[3] = diff_im + diff2_re;
    }
    Butterflies<4>();
    Bands powers{};
    // Scaled so that a full-scale sine in one band gives about 1.
    const float scale = 16.0f / (kWindow * kWindow);
    for (int band = 0; band < kBands; ++band) {
        float sum = 0;
        for (int bin = band_edges_[band]; bin < band_edges_[band + 1]; ++bin) {
            // Bin `bin` of the paired FFT holds the even samples' spectrum
            // plus i times the odd ones'; its mirror bin tells them apart.
            const int mirror = kPairs - bin;
            const float even_re = (re_[bin] + re_[mirror]) / 2;
            const float even_im = (im_[bin] - im_[mirror]) / 2;
            const float odd_re = (im_[bin] + im_[mirror]) / 2;
            const float odd_im = (re_[mirror] - re_[bin]) / 2;
            const float bin_re = even_re + split_re_[bin] * odd_re - split_im_[bin] * odd_im;
            const float bin_im = even_im + split_re_[bin] * odd_im + split_im_[bin] * odd_re;
            sum += bin_re * bin_re + bin_im * bin_im;
        }
        powers[band] = sum * scale;
    }
    return powers;
}

} // namespace morvane::sentences
