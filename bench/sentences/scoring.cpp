#include "scoring.h"

#include <algorithm>
#include <cstdlib>

namespace bench::sentences {
namespace {

std::size_t PauseIndex(std::int32_t pause_ms)
{
    for (std::size_t i = 0; i < kPausesMs.size(); ++i)
        if (pause_ms == kPausesMs[i]) return i;
    return kPausesMs.size();  // the lead-in
}

} // namespace

double Tally::F1() const
{
    const int denominator = 2 * found + spurious + missed;
    return denominator == 0 ? 0 : 2.0 * found / denominator;
}

double Tally::CutShare() const { return near_starts == 0 ? 0 : static_cast<double>(cutting) / near_starts; }

double Tally::Recall(std::size_t pause_index) const
{
    const int truths = truths_by_pause[pause_index];
    return truths == 0 ? 0 : static_cast<double>(found_by_pause[pause_index]) / truths;
}

void Score(const std::vector<TrueStart>& truth, std::vector<std::int32_t> starts, int counted_pause_ms, Tally& tally)
{
    std::sort(starts.begin(), starts.end());
    std::vector<bool> used(starts.size(), false);
    std::size_t first = 0;
    for (const auto& sentence : truth) {
        // The nearest unused start within the tolerance, one to one.
        while (first < starts.size() && starts[first] < sentence.start_ms - kToleranceMs) ++first;
        std::size_t best = starts.size();
        for (std::size_t i = first; i < starts.size() && starts[i] <= sentence.start_ms + kToleranceMs; ++i)
            if (!used[i] && (best == starts.size() || std::abs(starts[i] - sentence.start_ms) < std::abs(starts[best] - sentence.start_ms)))
                best = i;
        const bool matched = best < starts.size();
        if (matched) used[best] = true;
        if (sentence.pause_ms < counted_pause_ms) continue;

        const std::size_t pause = PauseIndex(sentence.pause_ms);
        ++tally.truths_by_pause[pause];
        if (matched) {
            ++tally.found;
            ++tally.found_by_pause[pause];
        } else {
            ++tally.missed;
        }
        // Whether the mark nearest this start, if any near it, cuts into it.
        std::size_t nearest = starts.size();
        for (std::size_t i = 0; i < starts.size(); ++i) {
            const int offset = starts[i] - sentence.start_ms;
            if (offset >= -kToleranceMs && offset <= 300 &&
                (nearest == starts.size() || std::abs(offset) < std::abs(starts[nearest] - sentence.start_ms)))
                nearest = i;
        }
        if (nearest < starts.size()) {
            ++tally.near_starts;
            if (starts[nearest] - sentence.start_ms > kCutAfterMs) ++tally.cutting;
        }
    }
    // Starts matched to a true start that is not counted are left out.
    for (std::size_t i = 0; i < starts.size(); ++i)
        if (!used[i]) ++tally.spurious;
}

} // namespace bench::sentences
