#include "sentences/band_powers.h"

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

// Two stages of the FFT, the butterflies of kHalf and those of twice that,
// in one pass over the samples, and the stages after them; each of a size
// known when compiled, so that the compiler can do several butterflies at once.
template <int kHalf>
void BandSpectrum::Butterflies()
{
    constexpr int kTwice = 2 * kHalf;
    for (int start = 0; start < kPairs; start += 2 * kTwice) {
        for (int k = 0; k < kHalf; ++k) {
            const int first = start + k;
            const int second = first + kHalf;
            const int third = second + kHalf;
            const int fourth = third + kHalf;
            float w_re = stage_re_[kHalf + k];
            float w_im = stage_im_[kHalf + k];
            float odd_re = re_[second] * w_re - im_[second] * w_im;
            float odd_im = re_[second] * w_im + im_[second] * w_re;
            const float low_re = re_[first] + odd_re, low_im = im_[first] + odd_im;
            const float high_re = re_[first] - odd_re, high_im = im_[first] - odd_im;
            odd_re = re_[fourth] * w_re - im_[fourth] * w_im;
            odd_im = re_[fourth] * w_im + im_[fourth] * w_re;
            const float low2_re = re_[third] + odd_re, low2_im = im_[third] + odd_im;
            const float high2_re = re_[third] - odd_re, high2_im = im_[third] - odd_im;

            w_re = stage_re_[kTwice + k];
            w_im = stage_im_[kTwice + k];
            odd_re = low2_re * w_re - low2_im * w_im;
            odd_im = low2_re * w_im + low2_im * w_re;
            re_[first] = low_re + odd_re;
            im_[first] = low_im + odd_im;
            re_[third] = low_re - odd_re;
            im_[third] = low_im - odd_im;
            w_re = stage_re_[kTwice + kHalf + k];
            w_im = stage_im_[kTwice + kHalf + k];
            odd_re = high2_re * w_re - high2_im * w_im;
            odd_im = high2_re * w_im + high2_im * w_re;
            re_[second] = high_re + odd_re;
            im_[second] = high_im + odd_im;
            re_[fourth] = high_re - odd_re;
            im_[fourth] = high_im - odd_im;
        }
    }
    if constexpr (2 * kTwice < kPairs) Butterflies<2 * kTwice>();
}

BandSpectrum::Bands BandSpectrum::Powers(const float* window)
{
    // The pairs in bit-reversed order, windowed, through the first two
    // stages at once: their twiddles are 1 and -i.
    for (int start = 0; start < kPairs; start += 4) {
        std::array<float, 4> re{};
        std::array<float, 4> im{};
        for (int i = 0; i < 4; ++i) {
            const int pair = reversed_[start + i];
            re[i] = window[2 * pair] * hann_[2 * pair];
            im[i] = window[2 * pair + 1] * hann_[2 * pair + 1];
        }
        const float sum_re = re[0] + re[1], sum_im = im[0] + im[1];
        const float diff_re = re[0] - re[1], diff_im = im[0] - im[1];
        const float sum2_re = re[2] + re[3], sum2_im = im[2] + im[3];
        const float diff2_re = re[2] - re[3], diff2_im = im[2] - im[3];
        re_[start] = sum_re + sum2_re;
        im_[start] = sum_im + sum2_im;
        re_[start + 2] = sum_re - sum2_re;
        im_[start + 2] = sum_im - sum2_im;
        re_[start + 1] = diff_re + diff2_im;
        im_[start + 1] = diff_im - diff2_re;
        re_[start + 3] = diff_re - diff2_im;
        im_[start + 3] = diff_im + diff2_re;
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
