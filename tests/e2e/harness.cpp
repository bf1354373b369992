#include "harness.h"

#include <cstdio>

namespace e2e {

std::string utf8(std::wstring_view text)
{
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return "?";
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                        nullptr, nullptr);
    return bytes;
}

std::string quoted(std::wstring_view text)
{
    std::wstring shown = L"\"";
    for (const wchar_t c : text) {
        if (c == L'\r')
            shown += L"\\r";
        else if (c == L'\n')
            shown += L"\\n";
        else
            shown += c;
    }
    return utf8(shown + L"\"");
}

bool Checks::check(std::string_view name, bool passed, std::string_view detail)
{
    std::string line = (passed ? "ok - " : "FAIL - ") + std::string(name);
    if (!passed && !detail.empty())
        line += ": " + std::string(detail);
    line += '\n';
    // Bytes, not console text: the script reads UTF-8 through a pipe.
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
    (passed ? passed_ : failed_) += 1;
    return passed;
}

std::wstring Context::bin(std::wstring_view file) const
{
    return bin_dir + L"\\" + std::wstring(file);
}

std::wstring Context::out(std::wstring_view file) const
{
    return out_dir + L"\\" + std::wstring(file);
}

static std::vector<Test>& tests()
{
    static std::vector<Test> all;
    return all;
}

int register_test(const char* name, Test_fn run)
{
    tests().push_back({name, run});
    return static_cast<int>(tests().size());
}

const std::vector<Test>& registered_tests()
{
    return tests();
}

}  // namespace e2e
