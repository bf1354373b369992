#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "app/ports/files.h"
#include "marks/mark_file.h"
#include "text/code_page.h"

namespace morvane::keeping {

// Mark files that Morvane writes by itself: read back only when every line
// is an entry, so that a file it did not write is never taken for one and
// written over.
class MarkStore {
public:
    MarkStore(Files& files, const CodePage& code_page, mark_file::Encoding encoding)
        : files_(files), code_page_(code_page), encoding_(encoding)
    {
    }

    struct Read {
        enum class Kind {
            Missing,   // no file there
            Marks,     // a mark file: `entries`
            Foreign,   // a file that is not a mark file: `reason`
            Failed,    // there, but it could not be read: `reason`
        } kind = Kind::Missing;
        std::vector<std::u16string> entries;
        std::u16string reason;
    };
    Read ReadMarks(const std::u16string& path) const;

    // Replaces `path` safely; the reason when it failed, empty on success.
    std::u16string Write(const std::u16string& path, const std::vector<std::u16string>& entries) const;

    Files& files() const { return files_; }

private:
    Files& files_;
    const CodePage& code_page_;
    mark_file::Encoding encoding_;
};

// Mark files of this size and beyond are not the list's: the list holds at
// most mark_file::kMaxEntries entries of at most kMaxEntryLength characters.
inline constexpr std::size_t kMaxKeptBytes = 10u * 1024 * 1024;

} // namespace morvane::keeping
