#include "aimp_map.h"

#include <cstdint>
#include <algorithm>
#include <cstring>
#include <iterator>

#include "player/win32/window_classes.h"

namespace standin {

namespace {

constexpr const wchar_t* kMapName = morvane::win32players::kAimpRemoteClass;
constexpr std::size_t kMapSize = 2048;
constexpr std::size_t kHeaderSize = 88;
// Offsets in the header: Active, Duration (ms), TrackNumber, then the six
// text lengths in characters.
constexpr std::size_t kActiveAt = 4;
constexpr std::size_t kDurationAt = 16;
constexpr std::size_t kTrackNumberAt = 36;
constexpr std::size_t kLengthsAt = 40;

void Put32(unsigned char* at, std::uint32_t value) { std::memcpy(at, &value, sizeof value); }

}  // namespace

bool AimpInfoMap::Create()
{
    map_.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kMapSize, kMapName));
    if (!map_) return false;
    view_.reset(MapViewOfFile(map_.get(), FILE_MAP_WRITE, 0, 0, kMapSize));
    return view_ != nullptr;
}

void AimpInfoMap::Write(const PlayerState& player, const std::wstring& artist, const std::wstring& file)
{
    if (!view_) return;
    const std::wstring texts[] = {L"英语听力", artist,   L"2024", file.empty() ? player.TrackName() + L".mp3" : file,
                                  L"Speech",  player.TrackName()};
    auto* bytes = static_cast<unsigned char*>(view_.get());
    std::memset(bytes, 0, kMapSize);
    Put32(bytes + kActiveAt, 1);
    Put32(bytes + kDurationAt, static_cast<std::uint32_t>(player.LengthSec()) * 1000);
    Put32(bytes + kTrackNumberAt, static_cast<std::uint32_t>(player.TrackNumber()));
    std::size_t at = kHeaderSize;
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        const std::size_t count = std::min(texts[i].size(), (kMapSize - at) / sizeof(wchar_t));
        Put32(bytes + kLengthsAt + 4 * i, static_cast<std::uint32_t>(count));
        std::memcpy(bytes + at, texts[i].data(), count * sizeof(wchar_t));
        at += count * sizeof(wchar_t);
    }
}

}  // namespace standin
