#include "unix_cpu.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace bench {
namespace {

// The whole content of a small file (the files under /proc report no size).
std::optional<std::string> ReadSmallFile(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0 && bytes.size() < (1u << 20))
        bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

std::vector<std::wstring> NumericEntries(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = found.cFileName;
        if (!name.empty() && std::all_of(name.begin(), name.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; }))
            names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

std::string LowerAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string Narrow(const std::wstring& text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                         nullptr);
    std::string out(static_cast<std::size_t>(std::max(size, 0)), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

std::wstring Environment(const wchar_t* name)
{
    wchar_t value[1024] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, 1024);
    return length > 0 && length < 1024 ? std::wstring(value, length) : std::wstring();
}

} // namespace

std::optional<UnixCpuClock> UnixCpuClock::Find(const std::wstring& exe)
{
    const std::string wanted = LowerAscii(Narrow(exe));
    const std::wstring prefix = Environment(L"WINEPREFIX");
    const std::string prefix_entry = "WINEPREFIX=" + Narrow(prefix);
    std::optional<unsigned long> match;
    for (const std::wstring& pid : NumericEntries(L"Z:\\proc")) {
        const auto command = ReadSmallFile(L"Z:\\proc\\" + pid + L"\\cmdline");
        if (!command || LowerAscii(*command).find(wanted) == std::string::npos) continue;
        if (!prefix.empty()) {
            const auto env = ReadSmallFile(L"Z:\\proc\\" + pid + L"\\environ");
            if (!env) continue;
            std::string entry = prefix_entry;
            entry.push_back('\0');
            if (env->find(entry) == std::string::npos && !env->starts_with(prefix_entry)) continue;
        }
        if (match) return std::nullopt;  // two candidates: no sure answer
        match = std::wcstoul(pid.c_str(), nullptr, 10);
    }
    if (!match) return std::nullopt;
    return UnixCpuClock(*match);
}

std::optional<double> UnixCpuClock::Seconds() const
{
    // The first field of each thread's schedstat is its time on a CPU in ns.
    const std::wstring tasks = L"Z:\\proc\\" + std::to_wstring(pid_) + L"\\task";
    const auto threads = NumericEntries(tasks);
    if (threads.empty()) return std::nullopt;
    double ns = 0;
    for (const std::wstring& tid : threads) {
        const auto stat = ReadSmallFile(tasks + L"\\" + tid + L"\\schedstat");
        if (!stat) continue;  // a thread that just ended
        ns += std::strtod(stat->c_str(), nullptr);
    }
    return ns / 1e9;
}

} // namespace bench
