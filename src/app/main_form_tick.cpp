#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "app/layout/layout.h"
#include "app/main_form.h"
#include "stamps/stamps.h"

namespace morvane {

namespace {

// Each action and the button whose handler it runs, in the order the keys
// are asked; the first pressed one wins the tick.
struct HotKeyHandler {
    HotKey action;
    void (MainForm::*handler)();
};

constexpr std::array<HotKeyHandler, 16> kHotKeyHandlers{{
    {HotKey::Play, &MainForm::Play_Click},
    {HotKey::Stop, &MainForm::Stop_Click},
    {HotKey::Pause, &MainForm::Pause_Click},
    {HotKey::Previous, &MainForm::Previous_Click},
    {HotKey::Next, &MainForm::Next_Click},
    {HotKey::Repeat, &MainForm::Repeat_Click},
    {HotKey::Mark, &MainForm::Mark_Click},
    {HotKey::Back, &MainForm::Back_Click},
    {HotKey::Forward, &MainForm::Forward_Click},
    {HotKey::Record, &MainForm::Record_Click},
    {HotKey::Loop, &MainForm::Loop_Click},
    {HotKey::PreviousMark, &MainForm::Previous_Mark_Click},
    {HotKey::NextMark, &MainForm::Next_Mark_Click},
    {HotKey::Slower, &MainForm::Slower_Click},
    {HotKey::Faster, &MainForm::Faster_Click},
    {HotKey::Split, &MainForm::Split_Click},
}};

constexpr std::int16_t kLongestRange = layout::kSeekBarEnd;

std::int16_t RangeMax(std::int32_t length_sec)
{
    // The scroll bar cannot reach past 32767 s; longer tracks still show
    // their times, only the bar stops at its end.
    if (length_sec > kLongestRange) return kLongestRange;
    if (length_sec < 0) return 0;
    return static_cast<std::int16_t>(length_sec);
}

} // namespace

void MainForm::Poll_Tick()
{
    // A tick while a handler waits in a modal window keeps that handler's player.
    if (handlers_waiting_ == 0) ports_.player.Refresh();
    HotKeyStep();
    // Keeping the list may ask a question; no tick under it keeps it again.
    if (handlers_waiting_ == 0) {
        const WaitingHandler waiting(*this);
        KeepStep(ports_.poll_clock.NowMs());
    }
    DisplayStep();
}

void MainForm::HotKeyStep()
{
    // A step that ran a handler left the later keys unasked: they are asked
    // on the next tick whatever the source says.
    if (hot_keys_all_asked_ && !hot_keys_.InputSinceLastCheck()) return;
    hot_keys_all_asked_ = false;
    for (const HotKeyHandler& key : kHotKeyHandlers) {
        if (hot_keys_.Pressed(key.action)) {
            (this->*key.handler)();
            return;
        }
    }
    hot_keys_all_asked_ = true;
}

void MainForm::ForgetHotKeys()
{
    for (const HotKeyHandler& key : kHotKeyHandlers) hot_keys_.Pressed(key.action);
}

void MainForm::DisplayStep()
{
    Player& player = ports_.player;

    // Each thing once: every query is a message to another process.
    const PlayState state = player.GetPlayState();
    const std::int32_t length_sec = player.GetLengthSec();
    const std::int32_t position_ms = player.GetPositionMs();
    const std::optional<std::u16string> practising = practice_.Repetition().StateText(state);
    std::optional<std::u16string> state_text;
    switch (state) {
    case PlayState::Stopped:
        state_text = u"处于停止状态......";
        break;
    case PlayState::Playing:
        state_text = practising.value_or(u"处于播放状态......");
        SetSeekRange(0, RangeMax(length_sec));
        break;
    case PlayState::Paused:
        state_text = practising.value_or(u"处于暂停状态......");
        break;
    case PlayState::Unknown:
        break;
    }
    // A search for sentences, or a short notice, takes the line for a while.
    std::optional<std::u16string> notice = split_.StateText();
    if (!notice) notice = notice_.Current(ports_.poll_clock.NowMs());
    if (notice) state_line_.Set(*notice);
    else if (state_text) state_line_.SetFitted(player.Name(), *state_text);
    if (player_frame_) player_frame_->Set(player.Name() + u"控制区");

    // Decimal text of a 32-bit number always converts.
    const std::u16string total = *FormatSec(DecimalText(length_sec)).value;
    const std::u16string now = *FormatSec(SecondsText(position_ms)).value;
    time_line_.Set(u"总时间:" + total + u"<==>当前时间:" + now);

    mark_line_.Set(mark_text_ + u"<==>" + FormatMs(position_ms));

    // The title is read from the player found now, not the one found at
    // start-up, so a restarted player is followed. With no player the
    // caption keeps the last title.
    std::u16string title;
    if (player.ReadTitle(title) && (!caption_set_ || title != title_)) {
        ports_.window.SetCaption(title);
        title_ = std::move(title);
        caption_set_ = true;
    }
    practice_.Tick(state, position_ms, length_sec);
}

void MainForm::SetSeekRange(std::int16_t min, std::int16_t max)
{
    // The control clamps its value silently; a value moved by the new range
    // is a change like any other.
    const std::int16_t before = seek_bar_.Value();
    seek_bar_.SetRange(min, max);
    if (seek_bar_.Value() != before) Seek_Bar_Change();
}

} // namespace morvane
