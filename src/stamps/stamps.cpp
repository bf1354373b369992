#include "stamps/stamps.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <string>

namespace morvane {

namespace {

constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
// Digits beyond this are not counted any more: the value is out of range
// anyway, and the cap keeps the accumulation far from int64 overflow.
constexpr std::int64_t kSaturated = std::int64_t{1} << 40;

// A number read from text: its sign and its whole part (saturated).
struct Number {
    bool negative = false;
    std::int64_t whole = 0;
    std::int64_t Value() const { return negative ? -whole : whole; }
};

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Reads "[spaces][+|-]digits[spaces]", and with `fraction` also a '.' part
// ("12.5", "12.", ".5"). Only plain decimal notation is accepted: exponents,
// hexadecimal prefixes, other separators and (without `fraction`) fractions
// are refused, since no writer of these texts produces them and guessing at
// them would turn stray text into a time.
std::optional<Number> ReadNumber(std::u16string_view text, bool fraction)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] == u' ') ++i;
    Number number;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        number.negative = text[i] == u'-';
        ++i;
    }
    std::size_t digits = 0;
    for (; i < n && IsDigit(text[i]); ++i, ++digits)
        number.whole = std::min(number.whole * 10 + (text[i] - u'0'), kSaturated);
    if (fraction && i < n && text[i] == u'.') {
        // Rounding down keeps only the whole part; the digits just have to be there.
        for (++i; i < n && IsDigit(text[i]); ++i) ++digits;
    }
    if (digits == 0) return std::nullopt;
    while (i < n && text[i] == u' ') ++i;
    if (i != n) return std::nullopt;
    return number;
}

void AppendPadded(std::u16string& out, std::int64_t value, int width)
{
    char buffer[24];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    for (auto length = end - buffer; length < width; ++length) out += u'0';
    out.append(buffer, end);
}

// "[mmm:ss" of a non-negative count of whole seconds.
std::u16string MinutesSeconds(std::int64_t whole_seconds)
{
    std::u16string out = u"[";
    AppendPadded(out, whole_seconds / 60, 3);
    out += u':';
    AppendPadded(out, whole_seconds % 60, 2);
    return out;
}

// Characters [start, start + length) of text, shorter or empty where it ends.
std::u16string_view Field(std::u16string_view text, std::size_t start, std::size_t length)
{
    return start < text.size() ? text.substr(start, length) : std::u16string_view{};
}

bool InInt32(std::int64_t value) { return value >= kInt32Min && value <= kInt32Max; }

template <typename T>
StampResult<T> Failure(StampError error)
{
    return StampResult<T>{std::nullopt, error};
}

} // namespace

std::u16string FormatMs(std::int32_t ms)
{
    const std::int64_t position = std::max<std::int64_t>(ms, 0);
    std::u16string out = MinutesSeconds(position / 1000);
    out += u':';
    AppendPadded(out, position % 1000, 3);
    out += u']';
    return out;
}

StampResult<std::u16string> FormatSec(std::u16string_view seconds)
{
    const auto number = ReadNumber(seconds, true);
    if (!number) return Failure<std::u16string>(StampError::Conversion);
    // Every negative number, however large, reads as zero.
    if (number->negative) return {u"[000:00]"};
    // For a non-negative number rounding down is dropping the fraction.
    if (number->whole > kInt32Max) return Failure<std::u16string>(StampError::Overflow);
    return {MinutesSeconds(number->whole) + u']'};
}

StampResult<std::int32_t> ParseStamp(std::u16string_view text)
{
    std::int64_t fields[3];
    const std::size_t starts[3] = {1, 5, 8};
    const std::size_t lengths[3] = {3, 2, 3};
    for (int k = 0; k < 3; ++k) {
        const auto number = ReadNumber(Field(text, starts[k], lengths[k]), false);
        if (!number) return Failure<std::int32_t>(StampError::Conversion);
        if (!InInt32(number->Value())) return Failure<std::int32_t>(StampError::Overflow);
        fields[k] = number->Value();
    }
    // Each step stays within int64 because its operands are within int32.
    std::int64_t result = fields[0] * 60;
    if (!InInt32(result)) return Failure<std::int32_t>(StampError::Overflow);
    result += fields[1];
    if (!InInt32(result)) return Failure<std::int32_t>(StampError::Overflow);
    result *= 1000;
    if (!InInt32(result)) return Failure<std::int32_t>(StampError::Overflow);
    result += fields[2];
    if (!InInt32(result)) return Failure<std::int32_t>(StampError::Overflow);
    return {static_cast<std::int32_t>(result)};
}

std::u16string DecimalText(std::int32_t value)
{
    std::u16string out;
    AppendPadded(out, value, 1);
    return out;
}

std::u16string SecondsText(std::int32_t ms)
{
    const std::int64_t value = ms;
    const std::int64_t magnitude = value < 0 ? -value : value;
    std::u16string out = value < 0 ? u"-" : u"";
    AppendPadded(out, magnitude / 1000, 1);
    if (std::int64_t fraction = magnitude % 1000; fraction != 0) {
        out += u'.';
        AppendPadded(out, fraction, 3);
        while (out.back() == u'0') out.pop_back();
    }
    return out;
}

} // namespace morvane
