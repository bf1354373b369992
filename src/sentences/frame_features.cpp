#include "sentences/frame_features.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <numeric>

namespace morvane::sentences {
namespace {

constexpr int kWindowFilledFrames = (BandSpectrum::kWindow + FrameFeatures::kHop - 1) / FrameFeatures::kHop - 1;
constexpr int kBlockFrames = 25;
constexpr int kBlocks = 6;  // the floor follows what lasted 1.5 s
constexpr float kSmoothing = 0.4f;
// The lowest of many smoothed powers lies below their mean.
constexpr float kFloorBiasDb = 3.0f;
constexpr float kMaxSnrDb = 20.0f;
// Bands this far above their floor count in the shape of the spectrum.
constexpr float kShapeBandDb = 4.0f;
constexpr int kShapeMinBands = 3;
constexpr int kTopBands = 4;
// The speech level rises at once and sinks slowly, 2 dB a second.
constexpr float kSpeechLevelFall = 0.02f;
constexpr float kSpeechSnrDb = 4.5f;
constexpr float kSilentPower = 1e-10f;  // -100 dB: nothing below counts

float Db(float power) { return 10.0f * std::log10(std::max(power, kSilentPower)); }

} // namespace

FrameFeatures::FrameFeatures(int frames_kept)
    : window_(BandSpectrum::kWindow, 0.0f), kept_(std::max(frames_kept, 1)),
      // A power of two, so that finding a frame's place takes no division.
      frames_(std::bit_ceil(static_cast<std::size_t>(kept_))),
      block_mins_(kBlocks), recent_db_(kChangeSpan + 1)
{
    block_min_.fill(std::numeric_limits<float>::max());
    floors_in_db_.fill(std::numeric_limits<float>::quiet_NaN());  // equal to no floor: each is worked out at first
    for (auto& block : block_mins_) block.fill(std::numeric_limits<float>::max());
    for (auto& bands : recent_db_) bands.fill(Db(0));
}

std::int64_t FrameFeatures::Oldest() const
{
    return std::max<std::int64_t>(0, count_ - kept_);
}

const Frame& FrameFeatures::At(std::int64_t frame) const
{
    static const Frame silent;
    if (frame < Oldest() || frame >= count_) return silent;
    return frames_[Slot(frame)];
}

std::size_t FrameFeatures::Slot(std::int64_t frame) const
{
    return static_cast<std::size_t>(frame) & (frames_.size() - 1);
}

bool FrameFeatures::BeforeFirstWindow(std::int64_t frame) { return frame < kWindowFilledFrames; }

BandSpectrum::Bands FrameFeatures::Floors() const
{
    BandSpectrum::Bands floors = block_min_;
    for (const auto& block : block_mins_)
        for (int band = 0; band < BandSpectrum::kBands; ++band) floors[band] = std::min(floors[band], block[band]);
    return floors;
}

const BandSpectrum::Bands& FrameFeatures::FloorsDb(const BandSpectrum::Bands& floors) const
{
    for (int band = 0; band < BandSpectrum::kBands; ++band) {
        if (floors[band] == floors_in_db_[band]) continue;
        floors_in_db_[band] = floors[band];
        floors_db_[band] = Db(floors[band]);
    }
    return floors_db_;
}

namespace {

float TopSnr(const BandSpectrum::Bands& band_db, const BandSpectrum::Bands& floors_db, BandSpectrum::Bands& band_snr)
{
    // A faint sound, such as a fricative or the end of a word, stands out in
    // a few bands only: the highest few, highest first.
    std::array<float, kTopBands> highest{};
    for (int band = 0; band < BandSpectrum::kBands; ++band) {
        float snr = std::clamp(band_db[band] - floors_db[band] - kFloorBiasDb, 0.0f, kMaxSnrDb);
        band_snr[band] = snr;
        for (float& high : highest)
            if (snr > high) std::swap(snr, high);
    }
    return std::accumulate(highest.begin(), highest.end(), 0.0f) / kTopBands;
}

} // namespace

float FrameFeatures::TopSnrNow(std::int64_t frame) const
{
    if (frame < Oldest() || frame >= count_ || BeforeFirstWindow(frame)) return 0;
    BandSpectrum::Bands band_snr{};
    return TopSnr(At(frame).band_db, FloorsDb(Floors()), band_snr);
}

void FrameFeatures::Feed(const float* samples, std::size_t count)
{
    const std::size_t window = window_.size();
    while (count > 0) {
        const std::size_t take = std::min<std::size_t>(count, kHop - filled_);
        std::copy(window_.begin() + take, window_.end(), window_.begin());
        for (std::size_t i = 0; i < take; ++i) {
            const float sample = samples[i];
            // Not a number, or past full scale, as a broken decoder might give.
            window_[window - take + i] = std::isfinite(sample) ? std::clamp(sample, -1.0f, 1.0f) : 0.0f;
        }
        samples += take;
        count -= take;
        filled_ += static_cast<int>(take);
        if (filled_ == kHop) {
            filled_ = 0;
            AddFrame();
        }
    }
}

void FrameFeatures::AddFrame()
{
    // Until the window is full its start is silence that is not in the
    // recording; the floors would learn it.
    if (count_ < kWindowFilledFrames) {
        frames_[Slot(count_)] = Frame{};
        ++count_;
        return;
    }
    const auto powers = spectrum_.Powers(window_.data());
    Frame frame;
    float total = 0;
    for (int band = 0; band < BandSpectrum::kBands; ++band) {
        total += powers[band];
        smoothed_[band] = count_ == kWindowFilledFrames ? powers[band] : smoothed_[band] + kSmoothing * (powers[band] - smoothed_[band]);
        block_min_[band] = std::min(block_min_[band], smoothed_[band]);
        frame.band_db[band] = Db(powers[band]);
    }
    BandSpectrum::Bands band_snr{};
    const auto floors = Floors();
    frame.top_snr_db = TopSnr(frame.band_db, FloorsDb(floors), band_snr);
    frame.floor_level_db = Db(std::accumulate(floors.begin(), floors.end(), 0.0f));
    if (++block_frames_ == kBlockFrames) {
        block_mins_[static_cast<std::size_t>(block_index_)] = block_min_;
        block_index_ = (block_index_ + 1) % kBlocks;
        block_min_.fill(std::numeric_limits<float>::max());
        block_frames_ = 0;
    }
    frame.level_db = Db(total);
    frame.mean_snr_db = std::accumulate(band_snr.begin(), band_snr.end(), 0.0f) / BandSpectrum::kBands;
    const auto& band_db = frame.band_db;

    // The change of shape: how the bands moved against one another, their
    // common rise or fall taken out.
    const auto& before = recent_db_[static_cast<std::size_t>((count_ + 1) % (kChangeSpan + 1))];
    recent_db_[static_cast<std::size_t>(count_ % (kChangeSpan + 1))] = band_db;
    float mean_move = 0;
    int bands = 0;
    for (int band = 0; band < BandSpectrum::kBands; ++band) {
        if (band_snr[band] < kShapeBandDb) continue;
        mean_move += band_db[band] - before[band];
        ++bands;
    }
    if (bands >= kShapeMinBands) {
        mean_move /= static_cast<float>(bands);
        float change = 0;
        for (int band = 0; band < BandSpectrum::kBands; ++band)
            if (band_snr[band] >= kShapeBandDb) change += std::abs(band_db[band] - before[band] - mean_move);
        frame.shape_change_db = change / static_cast<float>(bands);
    }

    if (frame.mean_snr_db > kSpeechSnrDb) {
        speech_level_db_ = std::max(speech_level_db_, frame.level_db);
    } else {
        speech_level_db_ -= kSpeechLevelFall;
    }
    frame.speech_level_db = speech_level_db_;
    frames_[Slot(count_)] = frame;
    ++count_;
}

} // namespace morvane::sentences
