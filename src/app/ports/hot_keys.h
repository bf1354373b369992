#pragma once

#include <array>

namespace morvane {

// The actions that keys can run while another program has the focus. The
// last six have no built-in key: only a keys file gives them one.
// Which key stands for which action is each key source's business (the
// user's keys file, or the built-in keys); the core only asks per action.
enum class HotKey {
    Previous, Play, Pause, Stop, Next, Back, Forward, Mark, Repeat, Record,
    Loop, PreviousMark, NextMark, Slower, Faster, Split,
};

inline constexpr std::array<HotKey, 16> kAllHotKeys{
    HotKey::Previous, HotKey::Play, HotKey::Pause, HotKey::Stop,   HotKey::Next,
    HotKey::Back,     HotKey::Forward, HotKey::Mark, HotKey::Repeat, HotKey::Record,
    HotKey::Loop, HotKey::PreviousMark, HotKey::NextMark, HotKey::Slower, HotKey::Faster,
    HotKey::Split,
};

// The key presses of every action, asked on the window's tick.
class HotKeys {
public:
    virtual ~HotKeys() = default;
    // true when the action's key went down since the previous ask for this
    // action, with the modifiers it wants (keys::Acts); the ask consumes it,
    // so a key held down answers once.
    //
    // Sources told of every key event (XInput2, the desktop's portal) answer
    // for a tap that ended before the ask, and judge the modifiers as the key
    // goes down. Sampling the keyboard (Windows) sees it only at the ask: a
    // press counts there while its key is still down, with the modifiers held
    // at that moment.
    virtual bool Pressed(HotKey action) = 0;
    // false only when the source knows that no key went down or up since the
    // previous call; a source that cannot tell answers true. Asking every
    // action costs a sampling source a system call each; this costs one.
    virtual bool InputSinceLastCheck() { return true; }
};

} // namespace morvane
