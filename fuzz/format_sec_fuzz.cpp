// FormatSec takes whatever text it is given: a short time text or a failure.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "stamps/stamps.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::u16string text(data, data + size);
    const auto shown = morvane::FormatSec(text);
    if (shown && (shown.value->size() < 8 || shown.value->front() != u'[' || shown.value->back() != u']'))
        std::abort();
    return 0;
}
