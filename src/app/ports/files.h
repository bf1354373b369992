#pragma once

#include <cstddef>
#include <string>

namespace morvane {

// Whole-file reads and safe replacing writes. Failures of the system come
// back with a short reason in the user's language, ready to show; what the
// program itself refuses (too large, read-only) the caller decides.
class Files {
public:
    virtual ~Files() = default;

    struct ReadResult {
        bool ok = false;
        std::string bytes;
        std::u16string error;
        // The file holds more than `max_bytes`: nothing was kept.
        bool too_large = false;
    };
    // Reads the whole file, up to `max_bytes`: a larger file (or one that
    // grows past it while read) is too large.
    virtual ReadResult ReadAll(const std::u16string& path, std::size_t max_bytes) = 0;

    virtual bool Exists(const std::u16string& path) = 0;
    // true for a file that the system marks as not to be written.
    virtual bool ReadOnly(const std::u16string& path) = 0;

    // Writes `bytes` beside `path` first and replaces `path` only once every
    // byte is on disk, so a failure leaves any old file as it was.
    // Returns the empty text on success, the reason otherwise.
    virtual std::u16string WriteReplacing(const std::u16string& path, const std::string& bytes) = 0;

    // Makes the folder, and each above it that is missing; true when it is
    // there afterwards.
    virtual bool MakeFolder(const std::u16string& path) = 0;
};

} // namespace morvane
