// The Windows players' replies come from another process: each reading must
// stay within the bytes it was given, whatever counts or terminators they
// hold, and give a local path or nothing. The first byte picks the reply.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <numeric>
#include <string>
#include <string_view>
#include <vector>

#include "player/win32/file_path_replies.h"
#include "test_code_page.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const morvane::test::TestCodePage code_page;
    namespace replies = morvane::win32players;
    if (size == 0) return 0;
    // A copy exactly as long as the reply, so a read past it is caught.
    const std::vector<unsigned char> reply(data + 1, data + size);
    const std::string_view bytes(reinterpret_cast<const char*>(reply.data()), reply.size());

    std::u16string path;
    switch (data[0] % 4) {
    case 0: {
        std::u16string units(reply.size() / 2, u'\0');
        if (!units.empty()) std::memcpy(units.data(), reply.data(), units.size() * 2);
        path = replies::PathFromWideRead(units);
        break;
    }
    case 1: path = replies::PathFromAnsiRead(bytes, code_page); break;
    case 2: path = replies::PathFromUtf8Reply(bytes); break;
    default:
        if (const auto texts = replies::AimpMapTexts(reply)) {
            const std::size_t chars = texts->album.size() + texts->artist.size() + texts->date.size() +
                                      texts->file_name.size() + texts->genre.size() + texts->title.size();
            if (88 + 2 * chars > reply.size()) std::abort();
        }
        return 0;
    }
    if (!path.empty() && !replies::IsLocalPath(path)) std::abort();
    return 0;
}
