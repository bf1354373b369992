#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace morvane {

// Why a conversion of text into a time failed.
enum class StampError { Conversion, Overflow };

// A time conversion that either gives a value or says why it could not.
template <typename T>
struct StampResult {
    std::optional<T> value;
    StampError error = StampError::Conversion;
    explicit operator bool() const { return value.has_value(); }
};

// Position in milliseconds to the stamp "[mmm:ss:mmm]": whole seconds
// rounded down, minutes with at least three digits (more from 1000 minutes
// on), and "[000:00:000]" for every negative position.
std::u16string FormatMs(std::int32_t ms);

// Seconds given as decimal text ("245", "83.412", "-1") to "[mmm:ss]".
// The text is a plain decimal number with '.' as separator whatever the
// locale; surrounding spaces are allowed.
StampResult<std::u16string> FormatSec(std::u16string_view seconds);

// The first 11 characters of `text` as a stamp, back to milliseconds. The
// fields are taken by position (minutes 2-4, seconds 6-7, milliseconds 9-11),
// each a decimal integer with an optional sign and surrounding spaces.
StampResult<std::int32_t> ParseStamp(std::u16string_view text);

// Decimal text of a number as the program writes it for FormatSec.
std::u16string DecimalText(std::int32_t value);
// Milliseconds as decimal seconds with up to three decimals ("83.412").
std::u16string SecondsText(std::int32_t ms);

} // namespace morvane
