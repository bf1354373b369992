#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace morvane {

// Why a file could not be read or written. The core words it
// (FileErrorText); where the system names a failure this program has no
// kind for, its own words or code come along.
struct FileError {
    enum class Kind {
        NotFound,
        FolderNotFound,
        NoAccess,
        InUse,
        DiskFull,
        WriteProtected,
        BadName,
        IsFolder,
        NotAFile,
        DiskError,
        TooLarge,        // more than the reader's cap: nothing was kept
        SystemWords,     // `words` as the system puts them
        SystemError,     // `code` with the system's `words` for it
        WriteFailed,     // a write the system describes in `words`
        UnnamedError,    // only `code`: the system has no words for it
    };
    FileError() = default;
    FileError(Kind kind_of, std::u16string words_of = {}, std::int64_t code_of = 0)
        : kind(kind_of), words(std::move(words_of)), code(code_of)
    {
    }

    Kind kind = Kind::SystemWords;
    std::u16string words;
    std::int64_t code = 0;
};

// Whole-file reads and safe replacing writes. Failures come back as a
// FileError; what the program itself refuses (read-only) the caller decides.
class Files {
public:
    virtual ~Files() = default;

    struct ReadResult {
        bool ok = false;
        std::string bytes;
        std::optional<FileError> error;  // set whenever !ok
    };
    // Reads the whole file, up to `max_bytes`: a larger file (or one that
    // grows past it while read) is too large.
    virtual ReadResult ReadAll(const std::u16string& path, std::size_t max_bytes) = 0;

    virtual bool Exists(const std::u16string& path) = 0;
    // true for a file that the system marks as not to be written.
    virtual bool ReadOnly(const std::u16string& path) = 0;

    // Writes `bytes` beside `path` first and replaces `path` only once every
    // byte is on disk, so a failure leaves any old file as it was.
    // nullopt on success.
    virtual std::optional<FileError> WriteReplacing(const std::u16string& path, const std::string& bytes) = 0;

    // Makes the folder, and each above it that is missing; true when it is
    // there afterwards.
    virtual bool MakeFolder(const std::u16string& path) = 0;
};

} // namespace morvane
