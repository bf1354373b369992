#include <gtest/gtest.h>

#include <cstdint>

#include "app/x11/key_states.h"

namespace morvane::x11 {
namespace {

constexpr std::int16_t kPressedNow = -32767;  // 0x8001, what makes a button act
constexpr std::int16_t kHeld = -32768;        // 0x8000

// PC keycodes; KP_0 and KP_Insert share keypad 0's key.
constexpr int kP = 33, kShiftL = 50, kShiftR = 62, kKeypad0 = 90;

KeyStates PcKeys()
{
    return KeyStates({{80, {kP}}, {16, {kShiftL, kShiftR}}, {160, {kShiftL}}, {161, {kShiftR}},
                      {96, {kKeypad0, kKeypad0}}});
}

TEST(KeyStates, EachPressActsOnceHoweverLongOrShort)
{
    KeyStates keys = PcKeys();

    // Held: X repeats the press meanwhile.
    keys.Press(kP);
    EXPECT_EQ(keys.Query(80), kPressedNow);
    keys.Press(kP);
    EXPECT_EQ(keys.Query(80), kHeld);
    keys.Release(kP);
    EXPECT_EQ(keys.Query(80), 0);

    // A tap that starts and ends between two queries.
    keys.Press(kP);
    keys.Release(kP);
    EXPECT_EQ(keys.Query(80), kPressedNow);
    EXPECT_EQ(keys.Query(80), 0);

    // Keypad 0 by its shared keycode, once, as NumLock does not matter.
    keys.Press(kKeypad0);
    EXPECT_EQ(keys.Query(96), kPressedNow);
}

TEST(KeyStates, ShiftAnswersForEachCodeOnItsOwn)
{
    KeyStates keys = PcKeys();
    keys.Press(kShiftL);
    // Asking for generic Shift leaves the left side's press to be asked.
    EXPECT_EQ(keys.Query(16), kPressedNow);
    EXPECT_EQ(keys.Query(160), kPressedNow);
    EXPECT_EQ(keys.Query(161), 0);
    EXPECT_EQ(keys.Query(16), kHeld);

    // The second Shift is a press of its side; generic Shift was down already.
    keys.Press(kShiftR);
    EXPECT_EQ(keys.Query(16), kHeld);
    EXPECT_EQ(keys.Query(161), kPressedNow);
    keys.Release(kShiftL);
    EXPECT_EQ(keys.Query(16), kHeld);
    keys.Release(kShiftR);
    EXPECT_EQ(keys.Query(16), 0);
}

TEST(KeyStates, NewMappingAndStrayKeycodes)
{
    KeyStates keys = PcKeys();
    // P gains a second key while held: the press stays, the new key adds none.
    keys.Press(kP);
    keys.SetTable({{80, {kP, 34}}, {96, {91}}});
    keys.Press(34);
    EXPECT_EQ(keys.Query(80), kPressedNow);
    keys.Release(kP);
    EXPECT_EQ(keys.Query(80), kHeld);

    // Keypad 0 on a keycode of its own; unknown keycodes and codes change nothing.
    keys.Press(91);
    for (int stray : {-1, 0, 256, 100000}) {
        keys.Press(stray);
        keys.Release(stray);
    }
    EXPECT_EQ(keys.Query(96), kPressedNow);
    EXPECT_EQ(keys.Query(190), 0);
}

} // namespace
} // namespace morvane::x11
