#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace morvane {

// The system's ANSI code page (936 for this program's users): mark files,
// dialog paths and the player's title travel in it.
class CodePage {
public:
    virtual ~CodePage() = default;
    virtual std::u16string ToText(std::string_view ansi) const = 0;
    // nullopt when some character has no form in the code page.
    virtual std::optional<std::string> ToAnsi(std::u16string_view text) const = 0;
};

} // namespace morvane
