#include "app/capped_read.h"

#include <string>

namespace morvane {
namespace {

constexpr std::size_t kChunk = 1 << 20;

} // namespace

Files::ReadResult ReadCapped(std::uint64_t size_at_open, std::size_t max_bytes, const ReadSome& read_some)
{
    Files::ReadResult result;
    if (size_at_open > max_bytes) {
        result.error = FileError{FileError::Kind::TooLarge};
        return result;
    }
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(size_at_open));
    std::string chunk(kChunk, '\0');
    for (;;) {
        const std::optional<std::size_t> got = read_some(chunk.data(), chunk.size(), result);
        if (!got) return result;
        if (*got == 0) break;
        if (bytes.size() + *got > max_bytes) {
            result.error = FileError{FileError::Kind::TooLarge};
            return result;
        }
        bytes.append(chunk.data(), *got);
    }
    result.ok = true;
    result.bytes = std::move(bytes);
    return result;
}

} // namespace morvane
