#include <array>
#include <cstdint>
#include <string>
#include <utility>

#include "app/form1.h"
#include "stamps/stamps.h"

namespace morvane {

namespace {

// GetAsyncKeyState's answer for a key that is down now and was pressed since
// the previous query of its code.
constexpr std::int16_t kPressedNow = -32767;

// One hot key: the codes that stand for it (0 marks an unused slot) and the
// button whose handler it runs. Shift and Ctrl have a generic code and one
// per side; the generic codes never report "pressed since" under Wine.
struct HotKey {
    std::array<int, 3> codes;
    void (Form1::*handler)();
};

// In the order the keys are tested; the first pressed one wins the tick.
constexpr std::array<HotKey, 10> kHotKeys{{
    {{80, 0, 0}, &Form1::C_Play_Click},          // P
    {{83, 0, 0}, &Form1::C_stop_Click},          // S
    {{72, 0, 0}, &Form1::C_pause_Click},         // H
    {{85, 0, 0}, &Form1::C_Pre_Click},           // U
    {{78, 0, 0}, &Form1::C_next_Click},          // N
    {{16, 160, 161}, &Form1::Command5_Click},    // Shift, either side: 复读
    {{17, 162, 163}, &Form1::Command4_Click},    // Ctrl, either side: 定位
    {{188, 0, 0}, &Form1::Command1_Click},       // comma: 快退
    {{190, 0, 0}, &Form1::Command2_Click},       // full stop: 快进
    {{96, 0, 0}, &Form1::Command7_Click},        // keypad 0: 记录
}};

// Queries every code of the key, so each one has its "pressed since" bit
// consumed and one press never acts twice.
bool Pressed(Keyboard& keyboard, const HotKey& key)
{
    bool pressed = false;
    for (int code : key.codes) {
        if (code != 0 && keyboard.Get_Async_Key_State(code) == kPressedNow) pressed = true;
    }
    return pressed;
}

constexpr std::int16_t kLongestRange = 32767;

std::int16_t Range_Max(std::int32_t length_sec)
{
    // The scroll bar cannot reach past 32767 s; longer tracks still show
    // their times, only the bar stops at its end.
    if (length_sec > kLongestRange) return kLongestRange;
    if (length_sec < 0) return 0;
    return static_cast<std::int16_t>(length_sec);
}

} // namespace

void Form1::Timer1_Timer()
{
    Hot_Key_Step();
    // A failing display step is restarted once; a second failure ends the
    // tick quietly.
    if (!Display_Step()) Display_Step();
}

void Form1::Hot_Key_Step()
{
    for (const HotKey& key : kHotKeys) {
        if (Pressed(ui_.keyboard, key)) {
            (this->*key.handler)();
            return;
        }
    }
}

void Form1::Forget_Hot_Keys()
{
    for (const HotKey& key : kHotKeys) Pressed(ui_.keyboard, key);
}

bool Form1::Display_Step()
{
    Player& player = ui_.player;

    switch (player.Get_Play_State()) {
    case 0:
        text2_.Set(player.Name() + u"处于停止状态......");
        break;
    case 1:
        text2_.Set(player.Name() + u"处于播放状态......");
        Set_h1_Range(0, Range_Max(player.Get_Length_Sec()));
        break;
    case 3:
        text2_.Set(player.Name() + u"处于暂停状态......");
        break;
    default:
        break;
    }

    const std::int32_t length_sec = player.Get_Length_Sec();
    const std::int32_t position_ms = player.Get_Position_Ms();
    auto total = Format_Sec(Decimal_Text(length_sec));
    if (!total) return false;
    auto now = Format_Sec(Seconds_Text(position_ms));
    if (!now) return false;
    text3_.Set(u"总时间:" + *total.value + u"<==>当前时间:" + *now.value);

    text4_.Set(mark_Text_ + u"<==>" + Format_Ms(player.Get_Position_Ms()));

    // The title is read from the player found now, not the one found at
    // start-up, so a restarted player is followed. With no player the
    // caption keeps the last title.
    std::u16string title;
    if (player.Read_Title(title) && (!caption_set_ || title != title_)) {
        ui_.window.SetCaption(title);
        title_ = std::move(title);
        caption_set_ = true;
    }
    return true;
}

void Form1::Set_h1_Range(std::int16_t min, std::int16_t max)
{
    // The control clamps its value silently; a value moved by the new range
    // is a change like any other.
    const std::int16_t before = ui_.h1.Value();
    ui_.h1.SetMin(min);
    ui_.h1.SetMax(max);
    if (ui_.h1.Value() != before) h1_Change();
}

} // namespace morvane
