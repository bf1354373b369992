#include "app/splitting/find_in_file.h"

#include <algorithm>
#include <cstdint>

#include "audio/decode_error_text.h"
#include "audio/decode_file.h"
#include "stamps/stamps.h"

namespace morvane::splitting {

Found FindInFile(audio::Decoder& decoder, const std::u16string& path, const sentences::Settings& settings,
                 const std::function<void(int percent)>& progress, const std::function<bool()>& cancelled)
{
    static_assert(audio::kDecodedRate == sentences::kSampleRate);
    sentences::SentenceFinder finder(settings);
    std::optional<std::int64_t> duration_ms;
    std::int64_t samples = 0;
    int shown = -1;
    audio::DecodeCallbacks callbacks;
    callbacks.opened = [&](std::optional<std::int64_t> ms) { duration_ms = ms; };
    callbacks.block = [&](std::span<const float> block) {
        finder.Feed(block.data(), block.size());
        samples += static_cast<std::int64_t>(block.size());
        const std::optional<int> percent = audio::ProgressPercent(samples, duration_ms);
        if (percent && *percent != shown && progress) progress(shown = *percent);
    };
    callbacks.cancelled = cancelled;

    const audio::DecodeOutcome outcome = audio::DecodeFile(decoder, path, callbacks);
    Found found;
    if (outcome.cancelled) {
        found.end = Found::End::Cancelled;
    } else if (outcome.error) {
        found.reason = audio::DecodeErrorText(*outcome.error);
    } else {
        finder.Finish();
        found.length_ms = static_cast<std::int32_t>(
            std::min<std::int64_t>(outcome.samples * 1000 / audio::kDecodedRate, INT32_MAX));
        found.starts_ms = finder.StartsMs();
        found.end = found.starts_ms.empty() ? Found::End::NoSpeech : Found::End::Sentences;
    }
    return found;
}

std::vector<std::u16string> SentenceEntries(const std::vector<std::int32_t>& starts_ms)
{
    std::vector<std::u16string> entries;
    entries.reserve(starts_ms.size());
    for (const std::int32_t ms : starts_ms) entries.push_back(FormatMs(ms));
    return entries;
}

} // namespace morvane::splitting
