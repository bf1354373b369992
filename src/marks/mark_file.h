#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "text/code_page.h"

namespace morvane::mark_file {

// The list holds at most this many entries.
inline constexpr std::size_t kMaxEntries = 32767;

// How a platform writes mark files, and reads one without a byte-order mark.
enum class Encoding {
    // Written in the ANSI code page when every line fits it, else as UTF-8
    // with a byte-order mark; read in the code page (Windows).
    Ansi,
    // Written as UTF-8 with a byte-order mark; a file of well-formed UTF-8
    // is read as UTF-8, any other in the code page (Linux, where the code
    // page is GB18030, so files from Windows keep their meaning).
    Utf8,
};

// The lines of a file's text, empty ones included, numbered as a user counts
// them: CR LF or a CR alone ends a line, an LF alone stays in the text, and a
// last line without a line end counts.
std::vector<std::string_view> SplitLines(std::string_view text);
// The bytes after a UTF-8 byte-order mark; all of them when there is none.
std::string_view WithoutBom(std::string_view bytes);
// One line as UTF-8 when `utf8` and it is well-formed, else in the code page.
std::u16string DecodeLine(std::string_view line, bool utf8, const CodePage& code_page);

// Whether the bytes of a file are read as UTF-8.
bool ReadsAsUtf8(std::string_view bytes, Encoding encoding);

// Bytes of a mark file to its lines. A line ends at CR LF or at a CR alone;
// an LF alone stays in the text. A last line without a line end counts, and
// empty lines are skipped (older versions wrote two after the entries).
// A file that starts with the UTF-8 byte-order mark is UTF-8 (a line in it
// that is not well-formed UTF-8 is read as ANSI); any other is read as
// `encoding` says.
std::vector<std::u16string> DecodeLines(std::string_view bytes, const CodePage& code_page,
                                         Encoding encoding = Encoding::Ansi);

// The lines of a file to its bytes, each line followed by CR LF, encoded as
// `encoding` says.
std::string EncodeLines(const std::vector<std::u16string>& lines, const CodePage& code_page,
                         Encoding encoding = Encoding::Ansi);

} // namespace morvane::mark_file

namespace morvane::save_name {

// The file the save writes: the chosen name when it already ends in
// `extension` (any letter case), otherwise the chosen name plus `extension`.
std::u16string TargetName(std::u16string_view chosen, std::u16string_view extension = u".txt");

} // namespace morvane::save_name
