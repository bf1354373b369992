#pragma once

#include <optional>
#include <string>

#include "app/command_line.h"
#include "app/ports/files.h"
#include "audio/decoder.h"
#include "marks/mark_file.h"
#include "text/code_page.h"

namespace morvane::splitting {

// `morvane --sentences FILE [--to OUT] [--pause SECONDS]`: the sentences of
// FILE, without a window.
struct SplitRequest {
    std::u16string file;
    std::u16string to;  // empty: standard output
    std::optional<std::u16string> pause_seconds;
};

struct SplitOutput {
    int exit_code = 0;
    std::string out;          // for standard output, UTF-8
    std::u16string message;   // for standard error, when there is something to say
};

// Writes to `to` in the format its name ends in: ".srt", ".vtt", "labels.txt"
// for Audacity labels, else the mark file.
SplitOutput RunSplit(const SplitRequest& request, audio::Decoder& decoder, Files& files, const CodePage& code_page,
                     mark_file::Encoding encoding);
// The same for `morvane --sentences`, with this platform's decoder.
SplitOutput RunSplit(const CommandLine& command_line, Files& files, const CodePage& code_page,
                     mark_file::Encoding encoding);

} // namespace morvane::splitting
