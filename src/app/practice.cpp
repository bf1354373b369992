#include "app/practice.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "stamps/stamps.h"

namespace morvane {
namespace {

// A position this far from where playing would have taken it was moved:
// well above the corrections a carried-forward clock makes (0.4 s) and the
// steps some players move their position in (0.3 s).
constexpr std::int64_t kJumpSlackMs = 1000;

} // namespace

void Practice::Start(std::int32_t a_ms, std::int32_t b_ms, std::int32_t length_sec, PlayState state,
                     std::int64_t now_ms)
{
    passage_ = Passage{a_ms, b_ms, length_sec};
    PlayFromA(state, now_ms);
}

void Practice::OwnJump(std::int32_t target_ms, std::int64_t now_ms)
{
    // Players take a target before the start as the start.
    own_jump_ = PendingJump{std::max(target_ms, 0), now_ms};
}

void Practice::PlayFromA(PlayState state, std::int64_t now_ms)
{
    // A stopped player is started first: a jump while stopped may not hold.
    if (state == PlayState::Stopped) {
        player_.CmdPlay();
        own_resume_at_ms_ = now_ms;
    }
    player_.JumpToMs(passage_->a_ms);
    OwnJump(passage_->a_ms, now_ms);
    // Pause toggles on every player; Play would start Winamp's track again.
    if (state == PlayState::Paused) {
        player_.CmdPause();
        own_resume_at_ms_ = now_ms;
    }
}

std::int64_t Practice::GapMs(const Passage& passage)
{
    if (settings_.gap_passages <= 0) return settings_.gap_ms;
    // To shadow a passage takes as long as it plays, at the speed it plays.
    const double speed = player_.Speed() > 0 ? player_.Speed() : 1.0;
    return static_cast<std::int64_t>(settings_.gap_passages * (passage.b_ms - passage.a_ms) / speed);
}

void Practice::PassEnded(std::int64_t now_ms)
{
    Passage& passage = *passage_;
    if (settings_.passes && passage.pass >= *settings_.passes) {
        End();  // the last pass plays on past B
        return;
    }
    if (const std::int64_t gap_ms = GapMs(passage); gap_ms > 0) {
        player_.CmdPause();
        passage.in_gap = true;
        passage.gap_seen_paused = false;
        passage.gap_ends_ms = now_ms + gap_ms;
        return;
    }
    ++passage.pass;
    PlayFromA(PlayState::Playing, now_ms);
}

bool Practice::MovedAway(const Reading& now)
{
    if (!last_) return false;
    double expected = last_->position_ms;
    if (last_->state == PlayState::Playing)
        expected += static_cast<double>(now.at_ms - last_->at_ms) * player_.Speed();
    const double off = std::abs(now.position_ms - expected);
    // Morvane's own jump has shown once the position is nearer its target
    // than where playing on would have put it.
    bool own = false;
    if (own_jump_) {
        own = std::abs(static_cast<double>(now.position_ms) - own_jump_->target_ms) < off;
        if (own || now.at_ms - own_jump_->at_ms > kCommandShowsWithinMs) own_jump_.reset();
    }
    return off > kJumpSlackMs && !own;
}

void Practice::Tick(PlayState state, std::int32_t position_ms, std::int32_t length_sec, std::int64_t now_ms)
{
    if (state == PlayState::Unknown) return;  // nothing to go by
    const Reading now{state, position_ms, now_ms};
    const bool moved_away = passage_ && MovedAway(now);
    // A resume is the user's unless Morvane asked for it just before.
    const bool user_resumed = last_ && last_->state == PlayState::Paused && state == PlayState::Playing &&
                              !own_resume_at_ms_;
    const bool own_resume_due = own_resume_at_ms_ && now_ms - *own_resume_at_ms_ <= kCommandShowsWithinMs;
    if (state == PlayState::Playing || !own_resume_due) own_resume_at_ms_.reset();
    last_ = now;

    if (passage_) {
        Passage& passage = *passage_;
        // A stop seen while Morvane's own play is on its way is the state before it.
        if ((moved_away && !Contains(position_ms)) || (state == PlayState::Stopped && !own_resume_due) ||
            length_sec != passage.length_sec) {
            End();
        } else if (passage.in_gap) {
            // Until the pause shows, the player may still say it plays; once
            // paused, playing again means the user went on: the gap ends early.
            if (state == PlayState::Paused) passage.gap_seen_paused = true;
            if (now_ms >= passage.gap_ends_ms || (passage.gap_seen_paused && state == PlayState::Playing)) {
                passage.in_gap = false;
                ++passage.pass;
                PlayFromA(state, now_ms);
            }
            return;
        } else if (state == PlayState::Playing && position_ms >= passage.b_ms && !own_jump_) {
            // (While the jump back is on its way the position is still past B.)
            PassEnded(now_ms);
            return;
        }
    }

    if (user_resumed) RewindFrom(position_ms, now_ms);
}

void Practice::RewindFrom(std::int32_t position_ms, std::int64_t now_ms)
{
    if (settings_.rewind_ms <= 0) return;
    const std::int32_t floor_ms = passage_ ? passage_->a_ms : 0;
    const std::int32_t target = std::max(floor_ms, position_ms - settings_.rewind_ms);
    player_.JumpToMs(target);
    OwnJump(target, now_ms);
}

std::optional<std::u16string> Practice::StateText(PlayState state) const
{
    if (!passage_ || state == PlayState::Stopped || state == PlayState::Unknown) return std::nullopt;
    std::u16string text = u"复读第" + DecimalText(passage_->pass);
    if (settings_.passes) text.append(u"/").append(DecimalText(*settings_.passes));
    text.append(u"遍");
    if (passage_->in_gap) text.append(u"后停顿");
    else if (state == PlayState::Paused) text.append(u"，已暂停");
    return text.append(u"......");
}

} // namespace morvane
