#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "audio/decoder.h"
#include "sentences/sentence_finder.h"

namespace morvane::splitting {

// What a search for the sentences of a recording came to.
struct Found {
    enum class End {
        Sentences,  // `starts_ms`, at least one
        NoSpeech,   // the recording holds no speech: silence or music
        Failed,     // `reason`, for the user
        Cancelled,
    };
    End end = End::Failed;
    std::vector<std::int32_t> starts_ms;
    std::int32_t length_ms = 0;  // of the sound decoded
    std::u16string reason;
};

// Decodes `path` with `decoder` (fresh from MakeDecoder) and finds where its
// sentences start. `progress` hears 0 to 99 as the decoding goes on, when
// the file declares its length; `cancelled` is asked between blocks. A file
// that cannot be decoded to its end has failed: half a list of sentences
// would look like the whole one.
Found FindInFile(audio::Decoder& decoder, const std::u16string& path, const sentences::Settings& settings,
                 const std::function<void(int percent)>& progress, const std::function<bool()>& cancelled);

// The entries that mark `starts_ms`, without notes.
std::vector<std::u16string> SentenceEntries(const std::vector<std::int32_t>& starts_ms);

} // namespace morvane::splitting
