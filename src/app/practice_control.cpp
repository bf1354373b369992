// Practice from the window: repeating a passage, the mark keys, speed, the
// step of 快退 and 快进, the context menu's choices and settings.ini.


#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "app/practice_control.h"
#include "app/file_errors.h"
#include "stamps/entry.h"
#include "stamps/stamps.h"
#include "text/utf8.h"

namespace morvane {

namespace {

using settings::Setting;

constexpr double kSpeedStep = 0.05;
// A player reports the rate it took, which may be a little off the one asked
// (VLC takes 0.75 as 0.750188).
constexpr double kSameSpeed = 0.01;
// "Before" the position is more than this before it, so pressing again goes
// one mark further back; "after" is this much after, past where a jump to a
// mark may land.
constexpr std::int32_t kBeforeMs = 1000;
constexpr std::int32_t kAfterMs = 300;
// The last mark's passage ends this short of the track's end, while the
// player still plays that track.
constexpr std::int32_t kEndMarginMs = 250;

// The menu's ids: each group of choices counts up from its base.
enum MenuId : int {
    kRepeatPassageId = 1,
    kStopRepeatId,
    kPreviousMarkId,
    kNextMarkId,
    // The settings' submenus: 100 times one more than the row's place in the table.
    kSettingIdStep = 100,
};

// position + delta without overflow. A real player never reports a position
// near the ends of the 32-bit range; if one did, the target stops at the end
// rather than wrapping round to the other side of the track.
std::int32_t StepFrom(std::int32_t position_ms, std::int32_t delta_ms)
{
    const std::int64_t target = static_cast<std::int64_t>(position_ms) + delta_ms;
    if (target > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    if (target < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(target);
}

// A value as its setting's submenu shows it ("3 遍", "1 倍（正常）").
std::u16string ChoiceText(const settings::SettingRow& row, settings::Value value)
{
    if (!value) return std::u16string(row.none_menu);
    for (const settings::ValueWord& word : row.words)
        if (word.value == *value && !word.menu.empty()) return std::u16string(word.menu);
    const std::u16string number = FromUtf8Replacing(settings::NumberText(*value, row.decimals));
    if (row.setting == Setting::Speed && *value == 1.0) return number + std::u16string(row.menu_unit) + u"（正常）";
    return number + std::u16string(row.menu_unit);
}

MenuItem Choice(std::u16string text, int id, bool checked, bool enabled = true)
{
    return MenuItem{std::move(text), id, checked, enabled, {}};
}

MenuItem Submenu(std::u16string text) { return Choice(std::move(text), 0, false); }

} // namespace

std::u16string PracticeControl::UseSettings(std::u16string path, std::string text)
{
    return FromUtf8Replacing(settings_.Use(std::move(path), std::move(text)));
}

void PracticeControl::Tick(PlayState state, std::int32_t position_ms, std::int32_t length_sec)
{
    if (settings_.Values().speed && !speed_applied_ && player_.CanChangeSpeed()) {
        player_.SetSpeed(*settings_.Values().speed);
        speed_applied_ = true;
    }
    practice_.Tick(state, position_ms, length_sec, clock_.NowMs());
}

// The steps go to the player unbounded: near the start the target is
// negative, and the player decides what that means.
void PracticeControl::StepBy(std::int32_t delta_ms)
{
    const std::int32_t target = StepFrom(player_.GetPositionMs(), delta_ms);
    // A step keeps a repetition going wherever it lands.
    if (practice_.Repeating()) practice_.OwnJump(target, clock_.NowMs());
    player_.JumpToMs(target);
}

std::vector<std::int32_t> PracticeControl::MarkTimes() const
{
    std::vector<std::int32_t> times;
    for (const std::u16string& entry : marks_.Entries())
        if (auto ms = EntryTimeMs(entry)) times.push_back(*ms);
    std::ranges::sort(times);
    times.erase(std::unique(times.begin(), times.end()), times.end());
    return times;
}

void PracticeControl::StartPassage(std::int32_t a_ms)
{
    const std::vector<std::int32_t> times = MarkTimes();
    // Asked now, not taken from the last tick: a pause made in the player
    // just before would otherwise leave the repetition paused at A.
    const PlayState state = player_.GetExactPlayState();
    const std::int32_t length_sec = player_.GetLengthSec();
    const auto next = std::ranges::upper_bound(times, a_ms);
    const std::int32_t b_ms =
        next != times.end() ? *next : StepFrom(std::min(length_sec, 2'000'000) * 1000, -kEndMarginMs);
    if (b_ms <= a_ms) return;  // a mark at or past the end of the track
    practice_.Start(a_ms, b_ms, length_sec, state, clock_.NowMs());
}

void PracticeControl::RepeatEntry(int index)
{
    if (auto ms = EntryTimeMs(marks_.Text(index))) StartPassage(*ms);
}

void PracticeControl::StopRepeat() { practice_.End(); }

void PracticeControl::Loop()
{
    if (practice_.Repeating()) {
        practice_.End();
        return;
    }
    const std::int32_t position_ms = player_.GetPositionMs();
    const std::vector<std::int32_t> times = MarkTimes();
    const auto after = std::ranges::upper_bound(times, position_ms);
    if (after != times.begin()) StartPassage(*std::prev(after));
}

std::int32_t PracticeControl::MarkKeyPositionMs()
{
    const std::int32_t position_ms = player_.GetPositionMs();
    if (!mark_jump_) return position_ms;
    const std::int64_t since_ms = clock_.NowMs() - mark_jump_->at_ms;
    if (since_ms < 0 || since_ms > kCommandShowsWithinMs) return position_ms;
    return StepFrom(mark_jump_->target_ms, static_cast<std::int32_t>(since_ms));
}

void PracticeControl::JumpToMark(std::int32_t target_ms)
{
    if (!practice_.Contains(target_ms)) practice_.End();
    player_.JumpToMs(target_ms);
    mark_jump_ = MarkJump{target_ms, clock_.NowMs()};
}

void PracticeControl::PreviousMark()
{
    const std::int32_t position_ms = MarkKeyPositionMs();
    const std::vector<std::int32_t> times = MarkTimes();
    const auto before = std::ranges::lower_bound(times, StepFrom(position_ms, -kBeforeMs));
    if (before != times.begin()) JumpToMark(*std::prev(before));
}

void PracticeControl::NextMark()
{
    const std::int32_t position_ms = MarkKeyPositionMs();
    const std::vector<std::int32_t> times = MarkTimes();
    const auto after = std::ranges::upper_bound(times, StepFrom(position_ms, kAfterMs));
    if (after != times.end()) JumpToMark(*after);
}

bool PracticeControl::SpeedChangeable()
{
    if (player_.CanChangeSpeed()) return true;
    if (!speed_reason_shown_) {
        speed_reason_shown_ = true;
        window_.ShowInfo(player_.Name() + u"不能改变播放速度：它没有提供可以设置的播放速度。", u"提示");
    }
    return false;
}

void PracticeControl::ChangeSpeed(double rate)
{
    if (!SpeedChangeable()) return;
    const settings::SettingRow& row = settings::RowOf(Setting::Speed);
    rate = std::clamp(rate, row.lowest, row.highest);
    player_.SetSpeed(rate);
    ChangeSetting(Setting::Speed, rate);
}

// From the rate the player reports, onto the steps of 0.05.
void PracticeControl::StepSpeed(int steps)
{
    ChangeSpeed(std::round((player_.Speed() + steps * kSpeedStep) / kSpeedStep) * kSpeedStep);
}

void PracticeControl::Slower() { StepSpeed(-1); }

void PracticeControl::Faster() { StepSpeed(1); }

void PracticeControl::ChangeSetting(Setting setting, settings::Value value)
{
    const std::optional<FileError> failed = settings_.Change(setting, value);
    const std::u16string error =
        failed ? u"无法保存设置文件 " + settings_.Path() + u"：" + FileErrorText(*failed) : std::u16string();
    if (!error.empty()) window_.ShowInfo(error, u"提示");
}

std::vector<MenuItem> PracticeControl::Menu(int index) const
{
    std::vector<MenuItem> menu;
    if (practice_.Repeating()) menu.push_back(Choice(u"停止复读", kStopRepeatId, false));
    else
        menu.push_back(Choice(u"复读这一段", kRepeatPassageId, false,
                              EntryTimeMs(marks_.Text(index)).has_value()));
    for (std::size_t i = 0; i < settings::SettingTable().size(); ++i) {
        const settings::SettingRow& row = settings::SettingTable()[i];
        if (row.choices.empty()) continue;  // a setting of its own item, not a submenu
        const int base = kSettingIdStep * static_cast<int>(i + 1);
        // Speed is greyed where the player cannot change it; its rate is what is checked.
        const bool enabled = row.setting != Setting::Speed || player_.CanChangeSpeed();
        const settings::Value now =
            row.setting == Setting::Speed ? player_.Speed() : settings::Get(settings_.Values(), row.setting);
        MenuItem group = Submenu(std::u16string(row.menu));
        for (std::size_t c = 0; c < row.choices.size(); ++c) {
            const settings::Value choice = row.choices[c];
            const bool checked = row.setting == Setting::Speed ? std::abs(*now - *choice) < kSameSpeed : now == choice;
            group.choices.push_back(Choice(ChoiceText(row, choice), base + static_cast<int>(c), checked, enabled));
        }
        menu.push_back(std::move(group));
    }

    const bool any_marks = !MarkTimes().empty();
    menu.push_back(Choice(u"跳到上一条", kPreviousMarkId, false, any_marks));
    menu.push_back(Choice(u"跳到下一条", kNextMarkId, false, any_marks));
    return menu;
}

bool PracticeControl::Choose(int id)
{
    if (id == kRepeatPassageId) return false;
    if (id == kStopRepeatId) StopRepeat();
    else if (id == kPreviousMarkId) PreviousMark();
    else if (id == kNextMarkId) NextMark();
    if (id < kSettingIdStep) return true;
    const std::size_t group = static_cast<std::size_t>(id / kSettingIdStep);
    if (group > settings::SettingTable().size()) return true;
    const settings::SettingRow& row = settings::SettingTable()[group - 1];
    const auto choice = static_cast<std::size_t>(id % kSettingIdStep);
    if (choice >= row.choices.size()) return true;
    if (row.setting == Setting::Speed) ChangeSpeed(*row.choices[choice]);
    else ChangeSetting(row.setting, row.choices[choice]);
    return true;
}

} // namespace morvane
