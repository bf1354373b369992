#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

#include "app/ports/files.h"

namespace morvane {

// What Files::ReadAll does once a front end has opened the file: it reads to
// the end, not to the size seen at opening (the file may still grow), and
// keeps nothing of a file larger than `max_bytes`. `size_at_open` is the
// system's size; `read_some` fills the buffer and says how much it put
// there, 0 at the end, or nullopt after it has set `result.error`.
using ReadSome = std::function<std::optional<std::size_t>(char* buffer, std::size_t size, Files::ReadResult& result)>;
Files::ReadResult ReadCapped(std::uint64_t size_at_open, std::size_t max_bytes, const ReadSome& read_some);

} // namespace morvane
