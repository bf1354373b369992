#include <gtest/gtest.h>

#include "app/keys/keys_file.h"
#include "app/x11/key_states.h"

namespace morvane::x11 {
namespace {

// PC keycodes; KP_0 and KP_Insert share keypad 0's key.
constexpr int kP = 33, kShiftL = 50, kShiftR = 62, kKeypad0 = 90;

KeyStates PcKeys()
{
    return KeyStates({{HotKey::Play, {{kP}}},
                      {HotKey::Repeat, {{kShiftL, kShiftR}, {kShiftL}, {kShiftR}}},
                      {HotKey::Record, {{kKeypad0, kKeypad0}}}});
}

TEST(KeyStates, EachPressActsOnceHoweverLongOrShort)
{
    KeyStates keys = PcKeys();

    // Held: X repeats the press meanwhile.
    keys.Press(kP);
    EXPECT_TRUE(keys.Pressed(HotKey::Play));
    keys.Press(kP);
    EXPECT_FALSE(keys.Pressed(HotKey::Play));
    keys.Release(kP);

    // A tap that starts and ends between two asks.
    keys.Press(kP);
    keys.Release(kP);
    EXPECT_TRUE(keys.Pressed(HotKey::Play));
    EXPECT_FALSE(keys.Pressed(HotKey::Play));

    // Keypad 0 by its shared keycode, once, as NumLock does not matter.
    keys.Press(kKeypad0);
    EXPECT_TRUE(keys.Pressed(HotKey::Record));
    EXPECT_FALSE(keys.Pressed(HotKey::Record));
}

TEST(KeyStates, ShiftActsOncePerSideGoingDown)
{
    KeyStates keys = PcKeys();
    // Seen as generic and as left Shift: one press.
    keys.Press(kShiftL);
    EXPECT_TRUE(keys.Pressed(HotKey::Repeat));
    EXPECT_FALSE(keys.Pressed(HotKey::Repeat));

    // The second Shift is a press of its side, though generic Shift was down.
    keys.Press(kShiftR);
    EXPECT_TRUE(keys.Pressed(HotKey::Repeat));
    keys.Release(kShiftL);
    keys.Release(kShiftR);
    EXPECT_FALSE(keys.Pressed(HotKey::Repeat));
}

TEST(KeyStates, NewMappingAndStrayKeycodes)
{
    KeyStates keys = PcKeys();
    // P gains a second key while held: the press stays, the new key adds none.
    keys.Press(kP);
    keys.SetTable({{HotKey::Play, {{kP, 34}}}, {HotKey::Record, {{91}}}});
    keys.Press(34);
    EXPECT_TRUE(keys.Pressed(HotKey::Play));
    keys.Release(kP);
    keys.Press(kP);  // while 34 is still down
    EXPECT_FALSE(keys.Pressed(HotKey::Play));

    // Keypad 0 on a keycode of its own; unknown keycodes and actions change nothing.
    keys.Press(91);
    for (int stray : {-1, 0, 256, 100000}) {
        keys.Press(stray);
        keys.Release(stray);
    }
    EXPECT_TRUE(keys.Pressed(HotKey::Record));
    EXPECT_FALSE(keys.Pressed(HotKey::Forward));
}

TEST(KeyStates, WrittenKeysCountTheModifiersHeldAsTheyGoDown)
{
    constexpr int kCtrlL = 37, kAltL = 64, k0 = 19, kF8 = 74;
    KeyStates keys({{HotKey::Record, {{k0}}}, {HotKey::Pause, {{kF8}}}},
                   keys::ParseKeysFile("record = Ctrl+Alt+0\npause = F8").map,
                   {{keys::kCtrl, {kCtrlL}}, {keys::kAlt, {kAltL}}});

    keys.Press(k0);
    keys.Release(k0);
    keys.Press(kF8);
    EXPECT_FALSE(keys.Pressed(HotKey::Record));  // a plain 0
    EXPECT_TRUE(keys.Pressed(HotKey::Pause));
    keys.Release(kF8);

    // Ctrl+Alt+0 typed quickly, all up before the ask: one press.
    keys.Press(kCtrlL);
    keys.Press(kAltL);
    keys.Press(k0);
    keys.Press(kF8);  // Ctrl+Alt+F8 is someone else's shortcut
    for (int key : {kF8, k0}) keys.Release(key);
    EXPECT_TRUE(keys.Pressed(HotKey::Record));
    EXPECT_FALSE(keys.Pressed(HotKey::Record));
    EXPECT_FALSE(keys.Pressed(HotKey::Pause));

    // A new layout moves 0 while Ctrl and Alt are held: they still count.
    keys.SetTable({{HotKey::Record, {{k0 + 1}}}}, {{keys::kCtrl, {kCtrlL}}, {keys::kAlt, {kAltL}}});
    keys.Press(k0 + 1);
    EXPECT_TRUE(keys.Pressed(HotKey::Record));
}

} // namespace
} // namespace morvane::x11
