// Practice from the window: the list's context menu, the practice keys,
// the step of 快退 and 快进, marks in time order, and settings.ini.

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "app/file_errors.h"
#include "app/main_form.h"
#include "stamps/entry.h"
#include "stamps/stamps.h"
#include "text/utf8.h"

namespace morvane {

namespace {

using settings::Setting;

constexpr std::array<std::optional<int>, 7> kPassChoices{1, 2, 3, 5, 10, 20, std::nullopt};
constexpr std::array<int, 6> kGapChoicesMs{0, 1000, 2000, 3000, 5000, 10000};
constexpr std::array<double, 7> kSpeedChoices{0.5, 0.6, 0.75, 0.9, 1.0, 1.25, 1.5};
constexpr std::array<int, 5> kRewindChoicesMs{0, 1000, 2000, 3000, 5000};
constexpr std::array<int, 5> kStepChoicesMs{1000, 2000, 3000, 5000, 10000};
constexpr double kSpeedStep = 0.05;
constexpr double kSlowest = 0.25, kFastest = 4.0;
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
    kPassesId = 100,
    kGapId = 200,
    kSpeedId = 300,
    kRewindId = 400,
    kStepId = 500,
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

std::u16string Seconds(int ms) { return DecimalText(ms / 1000) + u" 秒"; }

std::u16string SpeedText(double rate)
{
    if (rate == 1.0) return u"1 倍（正常）";
    settings::Settings shown;
    shown.speed = rate;
    const auto text = FromUtf8(settings::ValueText(shown, Setting::Speed));
    return text.value_or(u"") + u" 倍";
}

MenuItem Choice(std::u16string text, int id, bool checked, bool enabled = true)
{
    return MenuItem{std::move(text), id, checked, enabled, {}};
}

MenuItem Submenu(std::u16string text) { return Choice(std::move(text), 0, false); }

} // namespace

std::u16string MainForm::UseSettings(std::u16string path, std::string text)
{
    settings_path_ = std::move(path);
    settings_text_ = std::move(text);
    const settings::SettingsFile file = settings::ParseSettingsFile(settings_text_);
    practice_.settings() = file.settings;
    return FromUtf8Replacing(file.problems);
}

void MainForm::PracticeStep(PlayState state, std::int32_t position_ms, std::int32_t length_sec)
{
    if (practice_.settings().speed && !speed_applied_ && ui_.player.CanChangeSpeed()) {
        ui_.player.SetSpeed(*practice_.settings().speed);
        speed_applied_ = true;
    }
    practice_.Tick(state, position_ms, length_sec, ui_.poll_clock.NowMs());
}

// The steps go to the player unbounded: near the start the target is
// negative, and the player decides what that means.
void MainForm::StepBy(std::int32_t delta_ms)
{
    const std::int32_t target = StepFrom(ui_.player.GetPositionMs(), delta_ms);
    // A step keeps a repetition going wherever it lands.
    if (practice_.Repeating()) practice_.OwnJump(target, ui_.poll_clock.NowMs());
    ui_.player.JumpToMs(target);
}

std::vector<std::int32_t> MainForm::MarkTimes() const
{
    std::vector<std::int32_t> times;
    for (const std::u16string& entry : mark_list_.Entries())
        if (auto ms = EntryTimeMs(entry)) times.push_back(*ms);
    std::ranges::sort(times);
    times.erase(std::unique(times.begin(), times.end()), times.end());
    return times;
}

void MainForm::StartPassage(std::int32_t a_ms)
{
    const std::vector<std::int32_t> times = MarkTimes();
    const PlayState state = ui_.player.GetPlayState();
    const std::int32_t length_sec = ui_.player.GetLengthSec();
    const auto next = std::ranges::upper_bound(times, a_ms);
    const std::int32_t b_ms =
        next != times.end() ? *next : StepFrom(std::min(length_sec, 2'000'000) * 1000, -kEndMarginMs);
    if (b_ms <= a_ms) return;  // a mark at or past the end of the track
    practice_.Start(a_ms, b_ms, length_sec, state, ui_.poll_clock.NowMs());
}

void MainForm::Repeat_Passage_Click(int index)
{
    if (!SelectEntry(index)) return;
    if (auto ms = EntryTimeMs(mark_list_.Text(index))) StartPassage(*ms);
}

void MainForm::Stop_Repeat_Click() { practice_.End(); }

void MainForm::Loop_Click()
{
    if (practice_.Repeating()) {
        practice_.End();
        return;
    }
    const std::int32_t position_ms = ui_.player.GetPositionMs();
    const std::vector<std::int32_t> times = MarkTimes();
    const auto after = std::ranges::upper_bound(times, position_ms);
    if (after != times.begin()) StartPassage(*std::prev(after));
}

void MainForm::Previous_Mark_Click()
{
    const std::int32_t position_ms = ui_.player.GetPositionMs();
    const std::vector<std::int32_t> times = MarkTimes();
    const auto before = std::ranges::lower_bound(times, StepFrom(position_ms, -kBeforeMs));
    if (before == times.begin()) return;
    const std::int32_t target = *std::prev(before);
    if (!practice_.Contains(target)) practice_.End();
    ui_.player.JumpToMs(target);
}

void MainForm::Next_Mark_Click()
{
    const std::int32_t position_ms = ui_.player.GetPositionMs();
    const std::vector<std::int32_t> times = MarkTimes();
    const auto after = std::ranges::upper_bound(times, StepFrom(position_ms, kAfterMs));
    if (after == times.end()) return;
    if (!practice_.Contains(*after)) practice_.End();
    ui_.player.JumpToMs(*after);
}

bool MainForm::SpeedChangeable()
{
    if (ui_.player.CanChangeSpeed()) return true;
    if (!speed_reason_shown_) {
        speed_reason_shown_ = true;
        ui_.window.ShowInfo(ui_.player.Name() + u"不能改变播放速度：它没有提供可以设置的播放速度。", u"提示");
    }
    return false;
}

void MainForm::ChangeSpeed(double rate)
{
    if (!SpeedChangeable()) return;
    rate = std::clamp(rate, kSlowest, kFastest);
    ui_.player.SetSpeed(rate);
    practice_.settings().speed = rate;
    SaveSetting(Setting::Speed);
}

void MainForm::Speed_Click(double rate) { ChangeSpeed(rate); }

// From the rate the player reports, onto the steps of 0.05.
void MainForm::StepSpeed(int steps)
{
    ChangeSpeed(std::round((ui_.player.Speed() + steps * kSpeedStep) / kSpeedStep) * kSpeedStep);
}

void MainForm::Slower_Click() { StepSpeed(-1); }

void MainForm::Faster_Click() { StepSpeed(1); }

void MainForm::Passes_Click(std::optional<int> passes)
{
    if (passes && (*passes < 1 || *passes > 99)) return;
    practice_.settings().passes = passes;
    SaveSetting(Setting::Passes);
}

void MainForm::Gap_Click(int ms)
{
    if (ms < 0 || ms > 10000) return;
    practice_.settings().gap_ms = ms;
    SaveSetting(Setting::Gap);
}

void MainForm::Rewind_Click(int ms)
{
    if (ms < 0 || ms > 10000) return;
    practice_.settings().rewind_ms = ms;
    SaveSetting(Setting::Rewind);
}

void MainForm::Step_Click(int ms)
{
    if (ms < 500 || ms > 30000) return;
    practice_.settings().step_ms = ms;
    SaveSetting(Setting::Step);
}

void MainForm::SaveSetting(Setting setting)
{
    if (settings_path_.empty()) return;
    settings_text_ = settings::WithSetting(settings_text_, practice_.settings(), setting);
    if (const auto error = ui_.files.WriteReplacing(settings_path_, settings_text_))
        ui_.window.ShowInfo(u"无法保存设置文件 " + settings_path_ + u"：" + FileErrorText(*error), u"提示");
}

std::vector<MenuItem> MainForm::Mark_List_ContextMenu(int index)
{
    menu_index_ = index;
    const settings::Settings& now = practice_.settings();
    std::vector<MenuItem> menu;
    if (practice_.Repeating()) menu.push_back(Choice(u"停止复读", kStopRepeatId, false));
    else
        menu.push_back(Choice(u"复读这一段", kRepeatPassageId, false,
                              EntryTimeMs(mark_list_.Text(index)).has_value()));

    MenuItem passes = Submenu(u"复读遍数");
    for (std::size_t i = 0; i < kPassChoices.size(); ++i)
        passes.choices.push_back(Choice(kPassChoices[i] ? DecimalText(*kPassChoices[i]) + u" 遍" : u"不限",
                                        kPassesId + static_cast<int>(i), now.passes == kPassChoices[i]));
    MenuItem gap = Submenu(u"每遍之间停顿");
    for (std::size_t i = 0; i < kGapChoicesMs.size(); ++i)
        gap.choices.push_back(Choice(Seconds(kGapChoicesMs[i]), kGapId + static_cast<int>(i),
                                     now.gap_ms == kGapChoicesMs[i]));
    // Greyed where the player cannot; its rate is what is checked.
    MenuItem speed = Submenu(u"播放速度");
    const bool changeable = ui_.player.CanChangeSpeed();
    const double rate = ui_.player.Speed();
    for (std::size_t i = 0; i < kSpeedChoices.size(); ++i)
        speed.choices.push_back(Choice(SpeedText(kSpeedChoices[i]), kSpeedId + static_cast<int>(i),
                                       std::abs(rate - kSpeedChoices[i]) < kSameSpeed, changeable));
    MenuItem rewind = Submenu(u"继续播放时回退");
    for (std::size_t i = 0; i < kRewindChoicesMs.size(); ++i)
        rewind.choices.push_back(Choice(Seconds(kRewindChoicesMs[i]), kRewindId + static_cast<int>(i),
                                        now.rewind_ms == kRewindChoicesMs[i]));
    MenuItem step = Submenu(u"快退快进一步");
    for (std::size_t i = 0; i < kStepChoicesMs.size(); ++i)
        step.choices.push_back(Choice(Seconds(kStepChoicesMs[i]), kStepId + static_cast<int>(i),
                                      now.step_ms == kStepChoicesMs[i]));
    for (MenuItem* group : {&passes, &gap, &speed, &rewind, &step}) menu.push_back(std::move(*group));

    const bool any_marks = !MarkTimes().empty();
    menu.push_back(Choice(u"跳到上一条", kPreviousMarkId, false, any_marks));
    menu.push_back(Choice(u"跳到下一条", kNextMarkId, false, any_marks));
    return menu;
}

void MainForm::Mark_List_RightClick(int index)
{
    const WaitingHandler waiting(*this);
    if (const int id = ui_.window.ShowMenu(Mark_List_ContextMenu(index)); id != 0) Context_Menu_Click(id);
}

void MainForm::Context_Menu_Click(int id)
{
    // Which choice of a group: the id's offset from the group's base.
    const auto pick = [id](int base, std::size_t count) -> std::optional<std::size_t> {
        if (id < base || id >= base + static_cast<int>(count)) return std::nullopt;
        return static_cast<std::size_t>(id - base);
    };
    if (id == kRepeatPassageId) Repeat_Passage_Click(menu_index_);
    else if (id == kStopRepeatId) Stop_Repeat_Click();
    else if (id == kPreviousMarkId) Previous_Mark_Click();
    else if (id == kNextMarkId) Next_Mark_Click();
    else if (auto i = pick(kPassesId, kPassChoices.size())) Passes_Click(kPassChoices[*i]);
    else if (auto i = pick(kGapId, kGapChoicesMs.size())) Gap_Click(kGapChoicesMs[*i]);
    else if (auto i = pick(kSpeedId, kSpeedChoices.size())) Speed_Click(kSpeedChoices[*i]);
    else if (auto i = pick(kRewindId, kRewindChoicesMs.size())) Rewind_Click(kRewindChoicesMs[*i]);
    else if (auto i = pick(kStepId, kStepChoicesMs.size())) Step_Click(kStepChoicesMs[*i]);
}

} // namespace morvane
