#include "audio/decode_file.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>
#include <vector>

namespace morvane::audio {
namespace {

// What a file looked like on disk, to tell whether it changed under the reader.
struct FileState {
    std::uintmax_t size = 0;
    std::filesystem::file_time_type written;
    bool operator==(const FileState&) const = default;
};

std::optional<FileState> StateOf(const std::filesystem::path& path) {
    std::error_code error;
    FileState state;
    state.size = std::filesystem::file_size(path, error);
    if (error) return std::nullopt;
    state.written = std::filesystem::last_write_time(path, error);
    if (error) return std::nullopt;
    return state;
}

// A lone half of a surrogate pair names no file, and std::filesystem
// would throw on converting it.
bool WellFormed(const std::u16string& path) {
    for (std::size_t i = 0; i < path.size(); ++i) {
        const char16_t c = path[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < path.size() && path[i + 1] >= 0xDC00 && path[i + 1] <= 0xDFFF) {
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            return false;
        }
    }
    return true;
}

// The checks both decoders would make, with the same answers everywhere.
std::optional<DecodeError> CheckPath(const std::u16string& path, const std::filesystem::path& file) {
    using Kind = DecodeError::Kind;
    if (IsStreamAddress(path)) return DecodeError{Kind::Stream, {}};
    std::error_code error;
    const auto status = std::filesystem::status(file, error);
    if (status.type() == std::filesystem::file_type::not_found) return DecodeError{Kind::NotFound, {}};
    if (status.type() == std::filesystem::file_type::directory) return DecodeError{Kind::NotAudio, {}};
    if (status.type() == std::filesystem::file_type::regular && std::filesystem::file_size(file, error) == 0 && !error) {
        return DecodeError{Kind::Empty, {}};
    }
    // Anything else (no access, a device) is left to the decoder's own open.
    return std::nullopt;
}

// Decoders may overshoot full scale a little (MP3) or, from a damaged
// file, give anything; what follows counts on [-1, 1].
void Clamp(std::span<float> samples) {
    for (float& sample : samples) {
        sample = std::isfinite(sample) ? std::clamp(sample, -1.0f, 1.0f) : 0.0f;
    }
}

} // namespace

DecodeOutcome DecodeFile(Decoder& decoder, const std::u16string& path, const DecodeCallbacks& callbacks) {
    DecodeOutcome outcome;
    if (!WellFormed(path)) {
        outcome.error = DecodeError{DecodeError::Kind::NotFound, {}};
        return outcome;
    }
    const std::filesystem::path file(path);
    if (auto error = CheckPath(path, file)) {
        outcome.error = std::move(error);
        return outcome;
    }
    const auto before = StateOf(file);
    if (auto error = decoder.Open(path)) {
        outcome.error = std::move(error);
        return outcome;
    }
    if (callbacks.opened) callbacks.opened(decoder.DurationMs());

    std::vector<float> block(kBlockSamples);
    std::size_t filled = 0;
    const auto hand_on = [&] {
        Clamp(std::span(block.data(), filled));
        if (callbacks.block) callbacks.block(std::span<const float>(block.data(), filled));
        outcome.samples += static_cast<std::int64_t>(filled);
        filled = 0;
    };
    for (;;) {
        if (callbacks.cancelled && callbacks.cancelled()) {
            outcome.cancelled = true;
            return outcome;
        }
        ReadResult read = decoder.Read(std::span(block.data() + filled, block.size() - filled));
        filled += read.count;
        const bool ended = read.error || read.count == 0;
        if (filled == block.size() || (ended && filled > 0)) hand_on();
        if (read.error) {
            outcome.error = std::move(read.error);
            break;
        }
        if (read.count == 0) break;
    }
    // A file written to meanwhile gave a mix of old and new, or an error
    // that says less than this.
    if (before && StateOf(file) != before) {
        outcome.error = DecodeError{DecodeError::Kind::Changed, {}};
    } else if (!outcome.error && outcome.samples == 0) {
        outcome.error = DecodeError{DecodeError::Kind::NotAudio, {}};
    }
    return outcome;
}

std::optional<int> ProgressPercent(std::int64_t samples, std::optional<std::int64_t> duration_ms) {
    if (!duration_ms || *duration_ms <= 0) return std::nullopt;
    const std::int64_t done_ms = samples * 1000 / kDecodedRate;
    return static_cast<int>(std::clamp<std::int64_t>(done_ms * 100 / *duration_ms, 0, 99));
}

bool IsStreamAddress(const std::u16string& path) {
    const auto colon = path.find(u"://");
    // One letter before it is a drive ("C://x" is still a path).
    if (colon == std::u16string::npos || colon < 2) return false;
    for (std::size_t i = 0; i < colon; ++i) {
        const char16_t c = path[i];
        const bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
        const bool other = (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.';
        if (!letter && !(i > 0 && other)) return false;
    }
    return path.compare(0, colon, u"file") != 0;
}

} // namespace morvane::audio
