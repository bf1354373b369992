#pragma once

#include <cstdint>
#include <string>

#include "app/ports/files.h"

namespace morvane {

// A file's failure as the user reads it: short, in Chinese.
std::u16string FileErrorText(const FileError& error);

} // namespace morvane
