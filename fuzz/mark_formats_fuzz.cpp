// The label and subtitle reader takes any bytes. What it accepts must be
// entries that start with a stamp, and writing them in the same format must
// read back with the same times.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "marks/formats.h"
#include "marks/mark_file.h"
#include "stamps/entry.h"
#include "stamps/stamps.h"
#include "test_code_page.h"

namespace {

std::vector<std::u16string_view> SortedStamps(const std::vector<std::u16string>& entries)
{
    std::vector<std::u16string_view> stamps;
    for (const auto& entry : entries) {
        const std::u16string_view stamp = morvane::EntryStamp(entry);
        const auto ms = morvane::ParseStamp(stamp);
        if (!ms || morvane::FormatMs(*ms.value) != stamp || entry.size() > morvane::kMaxEntryLength) std::abort();
        stamps.push_back(stamp);
    }
    // Three-digit minutes: text order is time order.
    std::sort(stamps.begin(), stamps.end());
    return stamps;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const morvane::test::TestCodePage code_page;
    namespace formats = morvane::mark_formats;

    const formats::Read read =
        formats::ReadMarks(std::string_view(reinterpret_cast<const char*>(data), size), code_page);
    if (!read.format && (!read.entries.empty() || !read.error.empty())) std::abort();
    if (!read.format || !read.error.empty()) return 0;
    if (read.entries.size() > morvane::mark_file::kMaxEntries || read.in_file < read.entries.size()) std::abort();
    const auto stamps = SortedStamps(read.entries);
    if (read.entries.empty()) return 0;

    const formats::Written written = formats::WriteMarks(*read.format, read.entries);
    const formats::Read again = formats::ReadMarks(written.bytes, code_page);
    if (written.left_out != 0 || again.format != read.format || !again.error.empty()) std::abort();
    if (SortedStamps(again.entries) != stamps) std::abort();
    return 0;
}
