#include "options.h"

#include <cstddef>
#include <limits>

namespace standin {

namespace {

// A whole decimal number within [low, high], with an optional minus sign.
std::optional<std::int64_t> ParseNumber(const std::wstring& text, std::int64_t low, std::int64_t high)
{
    std::size_t i = text.size() > 1 && text[0] == L'-' ? 1 : 0;
    if (i == text.size())
        return std::nullopt;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < L'0' || text[i] > L'9')
            return std::nullopt;
        value = value * 10 + (text[i] - L'0');
        if (value > high - low)  // out of range already; stop before the sum could overflow
            return std::nullopt;
    }
    if (text[0] == L'-')
        value = -value;
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

template <class T>
bool Assign(T& to, std::optional<std::int64_t> number)
{
    if (!number)
        return false;
    to = static_cast<T>(*number);
    return true;
}

std::optional<PlayMode> ParseState(const std::wstring& text)
{
    if (text == L"play")
        return PlayMode::Playing;
    if (text == L"pause")
        return PlayMode::Paused;
    if (text == L"stop")
        return PlayMode::Stopped;
    return std::nullopt;
}

std::optional<Protocol> ParseProtocol(const std::wstring& text)
{
    if (text == L"winamp")
        return Protocol::Winamp;
    if (text == L"potplayer")
        return Protocol::PotPlayer;
    if (text == L"aimp")
        return Protocol::Aimp;
    return std::nullopt;
}

}  // namespace

ParsedOptions ParseOptions(const std::vector<std::wstring>& args)
{
    constexpr std::int64_t kIntMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t kIntMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int64_t kWaitMax = std::numeric_limits<std::uint32_t>::max() - 1;  // below INFINITE

    ParsedOptions result;
    Options& o = result.options;
    for (std::size_t i = 0; i < args.size(); i += 2) {
        const std::wstring& name = args[i];
        if (i + 1 == args.size()) {
            result.error = L"missing value after " + name;
            return result;
        }
        const std::wstring& value = args[i + 1];
        bool ok = true;
        if (name == L"--as") {
            const auto protocol = ParseProtocol(value);
            ok = protocol.has_value();
            if (ok)
                o.protocol = *protocol;
        } else if (name == L"--log") {
            o.log_path = value;
            ok = !value.empty();
        } else if (name == L"--file") {
            o.file_path = value;
            ok = !value.empty();
        } else if (name == L"--state") {
            const auto state = ParseState(value);
            ok = state.has_value();
            if (ok)
                o.state = *state;
        } else if (name == L"--track") {
            ok = Assign(o.track, ParseNumber(value, 1, kIntMax));
        } else if (name == L"--position") {
            ok = Assign(o.position_ms, ParseNumber(value, kIntMin, kIntMax));
        } else if (name == L"--delay") {
            ok = Assign(o.delay_ms, ParseNumber(value, 0, kWaitMax));
        } else if (name == L"--hang-after") {
            std::uint32_t ms = 0;
            ok = Assign(ms, ParseNumber(value, 0, kWaitMax));
            if (ok)
                o.hang_after_ms = ms;
        } else {
            result.error = L"unknown option " + name;
            return result;
        }
        if (!ok) {
            result.error = L"bad value for " + name + L": " + value;
            return result;
        }
    }
    return result;
}

}  // namespace standin
