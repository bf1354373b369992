#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "sentences/band_powers.h"

namespace morvane::sentences {

// What the finder knows of one 10 ms frame of the recording.
struct Frame {
    float level_db = -200;         // the speech range's power
    float mean_snr_db = 0;         // how far its bands stand above their own floors, on average
    float top_snr_db = 0;          // the same over the four bands that stand highest
    float speech_level_db = -200;  // the recording's speech level so far
    float floor_level_db = -200;   // what the band floors add up to
    BandSpectrum::Bands band_db{};  // each band's power
    float shape_change_db = -1;    // how much the spectrum's shape moved over the last frames; -1: too faint to tell
};

// Turns samples into frames, following each band's noise floor, and keeps
// the latest frames in a ring of a fixed size.
class FrameFeatures {
public:
    static constexpr int kHop = 160;  // 10 ms
    static constexpr int kWindowMs = 1000 * BandSpectrum::kWindow / 16000;
    static constexpr int kChangeSpan = 10;

    explicit FrameFeatures(int frames_kept);

    void Feed(const float* samples, std::size_t count);
    std::int64_t FrameCount() const { return count_; }
    std::int64_t Oldest() const;
    // A silent frame outside the frames kept.
    const Frame& At(std::int64_t frame) const;
    // top_snr_db of a past frame against the floors as they are now, which
    // know more of the recording than they did then.
    float TopSnrNow(std::int64_t frame) const;
    // Whether the frame lies before the first whole window.
    static bool BeforeFirstWindow(std::int64_t frame);

private:
    void AddFrame();
    BandSpectrum::Bands Floors() const;
    const BandSpectrum::Bands& FloorsDb(const BandSpectrum::Bands& floors) const;
    std::size_t Slot(std::int64_t frame) const;

    BandSpectrum spectrum_;
    std::vector<float> window_;  // the latest BandSpectrum::kWindow samples, oldest first
    int filled_ = 0;             // new samples in window_ since the last frame
    std::int64_t kept_;          // frames At gives; frames_ may hold a few more
    std::vector<Frame> frames_;
    std::int64_t count_ = 0;

    // Minimum statistics: each band's lowest smoothed power in blocks of
    // frames; the floor is the lowest of the last few blocks.
    BandSpectrum::Bands smoothed_{};
    BandSpectrum::Bands block_min_{};
    std::vector<BandSpectrum::Bands> block_mins_;
    int block_frames_ = 0;
    int block_index_ = 0;
    std::vector<BandSpectrum::Bands> recent_db_;  // the last kChangeSpan + 1 frames' band powers
    float speech_level_db_ = -200;
    // The floors in dB, worked out again only for the bands whose floor moved.
    mutable BandSpectrum::Bands floors_in_db_{};
    mutable BandSpectrum::Bands floors_db_{};
};

} // namespace morvane::sentences
