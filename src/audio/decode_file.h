#pragma once

#include "audio/decoder.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

namespace morvane::audio {

// The size of the blocks DecodeFile hands on: 256 ms.
inline constexpr std::size_t kBlockSamples = 4096;

struct DecodeCallbacks {
    // Once, after the file opened: the length it declares, if any.
    std::function<void(std::optional<std::int64_t> duration_ms)> opened;
    // Each block in order; every block but the last has kBlockSamples.
    std::function<void(std::span<const float> block)> block;
    // Asked before every block; true stops the decoding.
    std::function<bool()> cancelled;
};

struct DecodeOutcome {
    bool cancelled = false;
    // Set when the decoding failed or stopped early; the blocks handed on
    // before it stand (a Truncated file's are all the sound it has).
    std::optional<DecodeError> error;
    // Samples handed on, at kDecodedRate.
    std::int64_t samples = 0;
};

// Decodes the local file `path` with `decoder`, fresh from MakeDecoder, and
// hands the samples on in fixed blocks. Refuses network addresses, and
// says so when the file was written to while it was read.
DecodeOutcome DecodeFile(Decoder& decoder, const std::u16string& path, const DecodeCallbacks& callbacks);

// How far a decoding got, 0 to 99, from the samples handed on and the
// declared length; nullopt when the file did not declare one.
std::optional<int> ProgressPercent(std::int64_t samples, std::optional<std::int64_t> duration_ms);

// True for an address such as "http://..." or "rtsp://...", which the
// decoders would fetch from a network; "file://" is not one.
bool IsStreamAddress(const std::u16string& path);

} // namespace morvane::audio
