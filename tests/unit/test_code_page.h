#pragma once

// Code page 936 for native tests, through the C library's iconv.

#include <iconv.h>

#include <optional>
#include <string>
#include <string_view>

#include "text/code_page.h"

namespace morvane::test {

class TestCodePage final : public CodePage {
public:
    std::u16string ToText(std::string_view ansi) const override
    {
        auto out = Convert("UTF-16LE", "CP936", ansi);
        if (!out) return u"?";
        return std::u16string(reinterpret_cast<const char16_t*>(out->data()), out->size() / 2);
    }
    std::optional<std::string> ToAnsi(std::u16string_view text) const override
    {
        return Convert("CP936", "UTF-16LE",
                       std::string_view(reinterpret_cast<const char*>(text.data()), text.size() * 2));
    }

private:
    static std::optional<std::string> Convert(const char* to, const char* from, std::string_view in)
    {
        iconv_t cd = iconv_open(to, from);
        if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
        std::string out(in.size() * 4 + 4, '\0');
        char* src = const_cast<char*>(in.data());
        std::size_t src_left = in.size();
        char* dst = out.data();
        std::size_t dst_left = out.size();
        const std::size_t done = iconv(cd, &src, &src_left, &dst, &dst_left);
        iconv_close(cd);
        if (done == static_cast<std::size_t>(-1)) return std::nullopt;
        out.resize(out.size() - dst_left);
        return out;
    }
};

} // namespace morvane::test
