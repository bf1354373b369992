#pragma once

#include <string>

namespace morvane {

// Whole-file reads and safe replacing writes. Failures come back with a
// short reason in the user's language, ready to show.
class Files {
public:
    virtual ~Files() = default;

    struct ReadResult {
        bool ok = false;
        std::string bytes;
        std::u16string error;
    };
    virtual ReadResult ReadAll(const std::u16string& path) = 0;

    virtual bool Exists(const std::u16string& path) = 0;

    // Writes `bytes` beside `path` first and replaces `path` only once every
    // byte is on disk, so a failure leaves any old file as it was.
    // Returns the empty text on success, the reason otherwise.
    virtual std::u16string WriteReplacing(const std::u16string& path, const std::string& bytes) = 0;
};

} // namespace morvane
