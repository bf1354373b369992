// ParseStamp must give a value or a failure for any text, never crash, and
// agree with FormatMs on every stamp it accepts below 1000 minutes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "stamps/stamps.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::u16string text;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));

    const auto parsed = morvane::ParseStamp(text);
    if (parsed && *parsed.value >= 0 && *parsed.value < 60'000'000) {
        const auto again = morvane::ParseStamp(morvane::FormatMs(*parsed.value));
        if (!again || *again.value != *parsed.value) std::abort();
    }
    return 0;
}
