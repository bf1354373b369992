#include "wav_file.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>

namespace bench::sentences {
namespace {

std::uint32_t Le32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24; }
std::uint16_t Le16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

} // namespace

std::optional<std::vector<float>> ReadWav(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file), {}};
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 || std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        return std::nullopt;
    bool format_ok = false;
    for (std::size_t at = 12; at + 8 <= bytes.size();) {
        const std::uint32_t size = Le32(&bytes[at + 4]);
        const std::size_t body = at + 8;
        const std::size_t available = std::min<std::size_t>(size, bytes.size() - body);
        if (std::memcmp(&bytes[at], "fmt ", 4) == 0 && available >= 16) {
            format_ok = Le16(&bytes[body]) == 1 && Le16(&bytes[body + 2]) == 1 && Le32(&bytes[body + 4]) == 16000 &&
                        Le16(&bytes[body + 14]) == 16;
        } else if (std::memcmp(&bytes[at], "data", 4) == 0) {
            if (!format_ok) return std::nullopt;
            std::vector<float> samples(available / 2);
            for (std::size_t i = 0; i < samples.size(); ++i)
                samples[i] = static_cast<std::int16_t>(Le16(&bytes[body + 2 * i])) / 32768.0f;
            return samples;
        }
        at = body + size + (size & 1);
    }
    return std::nullopt;
}

} // namespace bench::sentences
