// The mark-file reader takes any bytes; what it reads must survive a save and
// a second read unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "marks/mark_file.h"
#include "test_code_page.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const morvane::test::TestCodePage code_page;
    namespace file = morvane::mark_file;

    const auto lines = file::DecodeLines(std::string_view(reinterpret_cast<const char*>(data), size), code_page);
    for (const auto& line : lines)
        if (line.empty()) std::abort();

    const auto again = file::DecodeLines(file::EncodeLines(lines, code_page), code_page);
    if (again != lines) std::abort();
    return 0;
}
