#pragma once

// The window classes by which each player's remote control is found. The
// links look them up; the stand-in player, the tests and the benchmark take
// them on or wait for them. Plain wide strings: no platform header.

namespace morvane::win32players {

// Winamp 1.x, 2.x and 5.x all keep the first version's class (wa_ipc.h).
inline constexpr wchar_t kWinampClass[] = L"Winamp v1.x";
// PotPlayer's 64-bit build, the one installed by default today, then the 32-bit one.
inline constexpr wchar_t kPotPlayer64Class[] = L"PotPlayer64";
inline constexpr wchar_t kPotPlayer32Class[] = L"PotPlayer";
// AIMP's remote-control window and its memory map share this name (apiRemote.h).
inline constexpr wchar_t kAimpRemoteClass[] = L"AIMP2_RemoteInfo";

} // namespace morvane::win32players
