#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <limits>

#include "player/mpris/file_url.h"
#include "player/mpris/player_name.h"
#include "player/mpris/position_clock.h"
#include "player/mpris/property_values.h"
#include "player/mpris/track_caption.h"

namespace morvane::mpris {
namespace {

using namespace std::chrono_literals;
const PositionClock::Time t0{};

TEST(PositionClock, CarriesForwardAtTheRateOnlyWhilePlaying)
{
    PositionClock clock;
    clock.Set(10'000'000, t0);
    clock.SetPlaying(true, t0 + 5s);  // held until then
    EXPECT_EQ(clock.PositionUs(t0 + 7s), 12'000'000);
    clock.SetRate(1.5, t0 + 7s);
    clock.SetRate(std::numeric_limits<double>::quiet_NaN(), t0 + 8s);  // ignored
    EXPECT_EQ(clock.PositionUs(t0 + 9s), 15'000'000);
    clock.SetPlaying(false, t0 + 9s);
    EXPECT_EQ(clock.PositionUs(t0 + 60s), 15'000'000);
    clock.SetLength(16'000'000);
    clock.SetPlaying(true, t0 + 60s);
    EXPECT_EQ(clock.PositionUs(t0 + 90s), 16'000'000);
}

TEST(PositionClock, AnswersCountAtMidRoundTripAndOlderThanAJumpAreDropped)
{
    PositionClock clock;
    clock.SetPlaying(true, t0);
    const auto before_jump = clock.Ticket();
    clock.Answer(before_jump, 5'000'000, t0 + 1s, t0 + 1s + 40ms);
    EXPECT_EQ(clock.PositionUs(t0 + 1s + 40ms), 5'020'000);

    // The player answers the old position before it takes our jump.
    clock.Jump(60'000'000, t0 + 2s);
    clock.Answer(before_jump, 6'000'000, t0 + 1s + 990ms, t0 + 2s + 10ms);
    EXPECT_EQ(clock.PositionUs(t0 + 3s), 61'000'000);
    clock.Answer(clock.Ticket(), 60'500'000, t0 + 3s, t0 + 3s);
    EXPECT_EQ(clock.PositionUs(t0 + 3s), 60'500'000);
}

TEST(PositionClock, SteadyPlaybackFollowsTheFreshestRecentAnswer)
{
    PositionClock clock;
    clock.SetPlaying(true, t0);
    const auto answer = [&](std::int64_t position_us, PositionClock::Time at) {
        clock.Answer(clock.Ticket(), position_us, at, at);
        return clock.PositionUs(at);
    };
    // While the player settles, each answer counts whole, late or not.
    EXPECT_EQ(answer(250'000, t0 + 250ms), 250'000);
    EXPECT_EQ(answer(350'000, t0 + 400ms), 350'000);
    // Settled: a fresher answer is taken, a late one passed over, even one
    // a whole step of VLC's late.
    EXPECT_EQ(answer(1'000'000, t0 + 1s), 1'000'000);
    EXPECT_EQ(answer(960'000, t0 + 1250ms), 1'250'000);
    // Answers all 30 ms late are followed once the fresher ones age out.
    std::int64_t position = 0;
    for (int i = 1; i <= 8; ++i) position = answer(1'220'000 + i * 250'000, t0 + 1250ms + i * 250ms);
    EXPECT_EQ(position, 3'220'000);
    // A stall is taken whole, and the player is let settle again.
    EXPECT_EQ(answer(2'500'000, t0 + 3500ms), 2'500'000);
    EXPECT_EQ(answer(2'700'000, t0 + 3750ms), 2'700'000);
}

TEST(PositionClock, AgreesOnlyWithAPlayerThatMovesSmoothly)
{
    // Answers every 250 ms after the first second of play, the player's
    // Position moving in steps of `step_ms` (1: smoothly, VLC's 300).
    for (const auto [step_ms, agrees] : {std::pair{1, true}, std::pair{50, true}, std::pair{300, false}}) {
        PositionClock clock;
        clock.SetPlaying(true, t0);
        bool agreed = false;
        for (int ms = 1000; ms <= 5000; ms += 250) {
            const auto at = t0 + std::chrono::milliseconds(ms);
            clock.Answer(clock.Ticket(), (ms - 10) / step_ms * step_ms * 1000LL, at, at);
            agreed = agreed || clock.Agrees();
        }
        EXPECT_EQ(agreed, agrees) << step_ms;
        // A jump starts the judging again.
        clock.Jump(0, t0 + 5s);
        EXPECT_FALSE(clock.Agrees());
    }
}

TEST(TrackCaption, TitleElseFileNameThenIdentityOnOneLine)
{
    EXPECT_EQ(TrackCaption("Lesson 1", "file:///m/l1.mp3", "mpv"), u"Lesson 1 - mpv");
    EXPECT_EQ(TrackCaption("", "file:///m/%E7%AC%AC%E4%B8%80%E8%AF%BE.ogg", "VLC"), u"第一课.ogg - VLC");
    EXPECT_EQ(TrackCaption("", "https://a.org/ep%2012.mp3?t=3#x", "mpv"), u"ep 12.mp3 - mpv");
    EXPECT_EQ(TrackCaption("", "", "Audacious"), u"Audacious");
    // Not UTF-8 once decoded, or a broken escape: shown as sent.
    EXPECT_EQ(TrackCaption("", "file:///m/caf%E9.mp3", "mpv"), u"caf%E9.mp3 - mpv");
    EXPECT_EQ(TrackCaption("", "file:///m/100%.mp3", "mpv"), u"100%.mp3 - mpv");
    EXPECT_EQ(TrackCaption("", "file:///m/a%0D%0Ab.mp3", "mpv"), u"a  b.mp3 - mpv");
}

TEST(LocalFilePath, OnlyALocalFileUriWhoseEscapesDecodeToUtf8)
{
    EXPECT_EQ(LocalFilePath("file:///l/%E7%AC%AC%E4%B8%80%E8%AF%BE%20a.mp3"), u"/l/第一课 a.mp3");
    EXPECT_EQ(LocalFilePath("FILE://localhost/m/%2541.ogg"), u"/m/%41.ogg");
    // Not UTF-8, broken escapes, a NUL, a query, another host or scheme.
    for (const char* url : {"file:///caf%E9", "file:///100%", "file:///a%4", "file:///a%zz", "file:///a%00",
                            "file:///a?x=1", "file://nas/a", "file:a", "https://a.org/a%20b", "/m/a.mp3", ""})
        EXPECT_EQ(LocalFilePath(url), u"") << url;
}

// The common cases go through the link's tests; these are the edges.
TEST(PropertyValues, LengthAndJumpTargetAtTheirEdges)
{
    EXPECT_EQ(LengthSec(185'999'999), 185);
    EXPECT_EQ(LengthSec(std::numeric_limits<std::int64_t>::max()), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(JumpTargetUs(120'400'000, 120'500'000), 120'400'000);
    EXPECT_EQ(JumpTargetUs(5'000'000, 400'000), 0);  // shorter than a second
    EXPECT_EQ(JumpTargetUs(999'000'000, 0), 999'000'000);
}

// Each player's own name is tested with the window's font (tests/linux);
// these are the cuts, a Chinese character counting twice.
TEST(PlayerName, AVersionGoesAndWhatStillDoesNotFitIsCutAtItsEnd)
{
    EXPECT_EQ(ShortName(u"Amazing Radio Recorder"), u"Amazing R…");
    EXPECT_EQ(ShortName(u"网易云音乐播放器"), u"网易云音…");
    EXPECT_EQ(ShortName(u"ABCDEFGH😀x"), u"ABCDEFGH…");  // never half a surrogate pair
    EXPECT_EQ(ShortName(u"Quod Libet 4.6.0"), u"Quod Libet");  // a version goes; the rest shows whole
    EXPECT_EQ(ShortName(u"Strawberry Music Player 1.0"), u"Strawberry");
}

} // namespace
} // namespace morvane::mpris
