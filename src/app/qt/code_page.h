#pragma once

#include "text/code_page.h"

namespace morvane::qt {

// GB18030, the superset of code page 936 that covers all of Unicode, so
// mark files and titles from Chinese Windows keep their meaning here.
class Gb18030CodePage final : public CodePage {
public:
    // Bytes that are no GB18030 each read as U+FFFD.
    std::u16string ToText(std::string_view ansi) const override;
    // nullopt only for broken UTF-16 (a lone surrogate).
    std::optional<std::string> ToAnsi(std::u16string_view text) const override;
};

} // namespace morvane::qt
