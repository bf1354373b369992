#include "app/qt/code_page.h"

#include <iconv.h>

#include <cerrno>

namespace morvane::qt {
namespace {

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (Valid()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much of `in` as it can into `out` (appended), advancing
    // `in` past what was converted. Returns 0 or the errno that stopped it.
    int Step(std::string_view& in, std::string& out)
    {
        char* src = const_cast<char*>(in.data());
        std::size_t src_left = in.size();
        const std::size_t start = out.size();
        // Every GB18030 or UTF-16 unit of input gives at most twice its bytes.
        out.resize(start + in.size() * 2 + 8);
        char* dst = out.data() + start;
        std::size_t dst_left = out.size() - start;
        const std::size_t done = iconv(cd_, &src, &src_left, &dst, &dst_left);
        const int error = done == static_cast<std::size_t>(-1) ? errno : 0;
        out.resize(out.size() - dst_left);
        in.remove_prefix(in.size() - src_left);
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
        return error;
    }

private:
    iconv_t cd_;
};

} // namespace

std::u16string Gb18030CodePage::ToText(std::string_view ansi) const
{
    Converter convert("UTF-16LE", "GB18030");
    if (!convert.Valid()) return std::u16string(ansi.size(), u'\uFFFD');
    std::string utf16;
    while (!ansi.empty()) {
        if (convert.Step(ansi, utf16) == 0) break;
        // A byte that starts no character, or a character cut off at the end.
        utf16 += "\xFD\xFF";
        ansi.remove_prefix(1);
    }
    return std::u16string(reinterpret_cast<const char16_t*>(utf16.data()), utf16.size() / 2);
}

std::optional<std::string> Gb18030CodePage::ToAnsi(std::u16string_view text) const
{
    Converter convert("GB18030", "UTF-16LE");
    if (!convert.Valid()) return std::nullopt;
    std::string_view in(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    std::string out;
    if (convert.Step(in, out) != 0) return std::nullopt;
    return out;
}

} // namespace morvane::qt
