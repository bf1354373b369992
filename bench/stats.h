#pragma once

// Small statistics over samples: median and percentiles.

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace bench {

// The value below which `fraction` of the samples lie (nearest rank);
// 0 for no samples.
inline double Percentile(std::vector<double> samples, double fraction)
{
    if (samples.empty()) return 0;
    std::sort(samples.begin(), samples.end());
    const auto rank = static_cast<std::size_t>(fraction * static_cast<double>(samples.size() - 1) + 0.5);
    return samples[std::min(rank, samples.size() - 1)];
}

inline double Median(std::vector<double> samples) { return Percentile(std::move(samples), 0.5); }

inline double Maximum(const std::vector<double>& samples)
{
    return samples.empty() ? 0 : *std::max_element(samples.begin(), samples.end());
}

} // namespace bench
