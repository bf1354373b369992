#include "options.h"

#include <cstddef>
#include <limits>

namespace standin {

namespace {

// A whole decimal number within [low, high], with an optional minus sign.
std::optional<std::int64_t> parse_number(const std::wstring& text, std::int64_t low, std::int64_t high)
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
bool assign(T& to, std::optional<std::int64_t> number)
{
    if (!number)
        return false;
    to = static_cast<T>(*number);
    return true;
}

std::optional<PlayMode> parse_state(const std::wstring& text)
{
    if (text == L"play")
        return PlayMode::Playing;
    if (text == L"pause")
        return PlayMode::Paused;
    if (text == L"stop")
        return PlayMode::Stopped;
    return std::nullopt;
}

}  // namespace

ParsedOptions parse_options(const std::vector<std::wstring>& args)
{
    constexpr std::int64_t int_min = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t int_max = std::numeric_limits<std::int32_t>::max();
    constexpr std::int64_t wait_max = std::numeric_limits<std::uint32_t>::max() - 1;  // below INFINITE

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
        if (name == L"--log") {
            o.log_path = value;
            ok = !value.empty();
        } else if (name == L"--state") {
            const auto state = parse_state(value);
            ok = state.has_value();
            if (ok)
                o.state = *state;
        } else if (name == L"--track") {
            ok = assign(o.track, parse_number(value, 1, int_max));
        } else if (name == L"--position") {
            ok = assign(o.position_ms, parse_number(value, int_min, int_max));
        } else if (name == L"--delay") {
            ok = assign(o.delay_ms, parse_number(value, 0, wait_max));
        } else if (name == L"--hang-after") {
            std::uint32_t ms = 0;
            ok = assign(ms, parse_number(value, 0, wait_max));
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
