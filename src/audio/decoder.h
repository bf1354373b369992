#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace morvane::audio {

// Every decoder hands on mono samples at this rate, enough for speech.
inline constexpr int kDecodedRate = 16000;

// Why a recording could not be decoded, or not to its end.
struct DecodeError {
    enum class Kind {
        NotFound,
        NoAccess,
        Empty,         // 0 bytes
        NotAudio,      // no format this system reads, or no sound in it
        NoAudioTrack,  // a video without sound
        Unsupported,   // an audio track in a coding this system cannot decode
        Truncated,     // ends before the length its header gives
        Damaged,       // of a known format, yet unreadable from the start
        Changed,       // written to while it was read
        Stream,        // a network address: only local files are read
        Other,
    };
    Kind kind = Kind::Other;
    // The system's own words for Unsupported and Other; may be empty.
    std::u16string detail;
};

// What one call of Decoder::Read gave: `count` samples, or the error that
// stopped the decoding.
struct ReadResult {
    std::size_t count = 0;
    std::optional<DecodeError> error;
};

// Turns a local file into mono float samples in [-1, 1] at kDecodedRate,
// a piece at a time, so memory stays the same however long the recording.
// One object decodes one file, on the thread that opened it, and is
// destroyed there (Media Foundation ties itself to that thread).
class Decoder {
public:
    virtual ~Decoder() = default;

    // Called once, before anything else; the rest only after it succeeded.
    virtual std::optional<DecodeError> Open(const std::u16string& path) = 0;
    // The length the file declares, nullopt when it does not say.
    virtual std::optional<std::int64_t> DurationMs() const = 0;
    // Fills the start of `out` with the next samples and says how many;
    // 0 only at the end. A Truncated error comes after every sample that
    // was there.
    virtual ReadResult Read(std::span<float> out) = 0;
};

// The decoder of this platform: FFmpeg's libraries on Linux, Media
// Foundation on Windows. Defined by the implementation linked in.
std::unique_ptr<Decoder> MakeDecoder();

} // namespace morvane::audio
