#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace bench::sentences {

struct TrueStart {
    std::int32_t start_ms = 0;
    std::int32_t pause_ms = 0;  // the silence before it; the recording's lead-in for the first
};

// The pauses that the set is made of, in ms; the first sentence's lead-in
// has its own column.
inline constexpr std::array<int, 5> kPausesMs = {250, 400, 700, 1200, 2000};

// Counts over many recordings of how one detector's starts meet the truth.
struct Tally {
    int found = 0;        // true starts, counted, with a start within the tolerance (one to one)
    int missed = 0;       // true starts, counted, without
    int spurious = 0;     // starts that meet no true start
    int near_starts = 0;  // starts nearest a counted true start, up to 300 ms after it
    int cutting = 0;      // of those, the ones more than 50 ms after it
    std::array<int, kPausesMs.size() + 1> truths_by_pause{};
    std::array<int, kPausesMs.size() + 1> found_by_pause{};

    double F1() const;
    double CutShare() const;
    double Recall(std::size_t pause_index) const;
};

inline constexpr int kToleranceMs = 100;
inline constexpr int kCutAfterMs = 50;

// Adds one recording: true starts after pauses shorter than counted_pause_ms
// count neither way, nor do the starts matched to them.
void Score(const std::vector<TrueStart>& truth, std::vector<std::int32_t> starts, int counted_pause_ms, Tally& tally);

} // namespace bench::sentences
