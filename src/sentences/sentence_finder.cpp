#include "sentences/sentence_finder.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <array>
#include <cmath>
#include <limits>

#include "sentences/frame_features.h"

namespace morvane::sentences {
namespace {

constexpr int kHop = FrameFeatures::kHop;
constexpr int kFrameMs = 1000 * kHop / kSampleRate;  // 10 ms

// A frame is voiced when its bands stand this far above their floors on
// average (dB), and stays voiced until they fall below kOffDb.
constexpr float kOnDb = 10.0f;
constexpr float kOffDb = 6.0f;
// The first sound of a sentence: still this far above the floors.
constexpr float kFaintDb = 6.0f;
// Quieter than this below the speech level counts as a pause whatever the
// floor, as the tail of a room's echo does.
constexpr float kBelowSpeechDb = 38.0f;
// Speech changes the shape of its spectrum all the time, held notes do not:
// the median change over kChangeFrames frames around a frame (dB).
constexpr float kSpeechChangeDb = 2.2f;
constexpr float kVoiceChangeOnDb = 2.5f;
constexpr float kVoiceChangeOffDb = 1.2f;
constexpr int kChangeFrames = 11;
// A start holds when this many of the frames that follow it are voiced.
constexpr int kConfirmFrames = 30;
constexpr int kOnsetFrames = 8;
constexpr int kOnsetVoiced = 4;
constexpr int kLaterVoiced = 3;
// The level of a pause follows its frames: a tenth of the way at each.
constexpr float kPauseLevelFollow = 0.1f;
constexpr float kAbovePauseDb = 3.0f;
constexpr int kBacktrackFrames = 15;
// What the decision waits for: the frames it looks ahead at.
constexpr int kDelayFrames = kConfirmFrames + kChangeFrames / 2 + 1;
// A passage is judged speech or not on this many voiced frames, or its end.
constexpr int kJudgedAfterFrames = 80;
constexpr int kJudgedAtEndFrames = 10;

int FramesOf(int ms) { return std::max(1, ms / kFrameMs); }

} // namespace

struct SentenceFinder::State {
    Settings settings;
    FrameFeatures features;
    std::vector<std::int32_t> starts_ms;

    std::int64_t next_frame = 0;  // the next frame the decisions look at
    bool voiced = false;
    float pause_level_db = -200;
    bool seen_voice = false;
    std::int64_t quiet_frames = 0;  // since the last voiced frame

    // The passage since the last start, until it is judged.
    std::int64_t start_frame = -1;
    std::int32_t start_ms = 0;
    bool judged = false;
    bool is_speech = false;
    int voiced_frames = 0;
    double change_sum = 0;

    explicit State(Settings s)
        : settings(s), features(FramesOf(s.max_sentence_ms) + kDelayFrames + kBacktrackFrames + 100)
    {
    }

    // Over the frames around that stand above the floors: silence around a
    // short word says nothing of its shape.
    float ChangeAround(std::int64_t frame) const
    {
        std::array<float, kChangeFrames> changes{};
        int count = 0;
        for (std::int64_t i = frame - kChangeFrames / 2; i <= frame + kChangeFrames / 2; ++i)
            if (features.At(i).top_snr_db >= kOffDb) changes[count++] = features.At(i).shape_change_db;
        if (count == 0) return 0;
        std::nth_element(changes.begin(), changes.begin() + count / 2, changes.begin() + count);
        return changes[count / 2];
    }
    bool On(std::int64_t index) const
    {
        const Frame& frame = features.At(index);
        return frame.top_snr_db > kOnDb && frame.level_db > frame.speech_level_db - kBelowSpeechDb &&
               ChangeAround(index) > kVoiceChangeOnDb;
    }
    bool Off(std::int64_t index) const
    {
        const Frame& frame = features.At(index);
        return frame.top_snr_db < kOffDb || frame.level_db < frame.speech_level_db - kBelowSpeechDb;
    }

    // Speech ahead, not a click or the attack of a note: voiced at once, and
    // still after the change of shape that any onset brings has passed.
    bool VoiceAhead(std::int64_t frame) const
    {
        int at_once = 0;
        int later = 0;
        for (std::int64_t i = frame; i < frame + kConfirmFrames; ++i) {
            if (!On(i)) continue;
            if (i < frame + kOnsetFrames) ++at_once;
            if (i >= frame + FrameFeatures::kChangeSpan + 2) ++later;
        }
        return at_once >= kOnsetVoiced && later >= kLaterVoiced;
    }

    // Back from the frame that was clearly voiced to the first faint sound:
    // above the floors, and above what the pause before it held (a music bed).
    std::int64_t FirstSound(std::int64_t frame) const
    {
        const std::int64_t earliest = std::max<std::int64_t>({0, frame - kBacktrackFrames, features.Oldest()});
        while (frame > earliest) {
            const Frame& before = features.At(frame - 1);
            if (before.top_snr_db < kFaintDb || before.level_db < before.speech_level_db - kBelowSpeechDb ||
                before.level_db < pause_level_db + kAbovePauseDb)
                break;
            --frame;
        }
        return frame;
    }

    std::int32_t MarkMs(std::int64_t first_sound_frame) const
    {
        // A frame's sound may stand anywhere in its window; the middle of it
        // is where a first sound shows.
        const std::int64_t sound_ms = first_sound_frame * kFrameMs + kFrameMs - FrameFeatures::kWindowMs / 2;
        return static_cast<std::int32_t>(std::max<std::int64_t>(0, sound_ms - settings.lead_ms));
    }

    void Judge()
    {
        judged = true;
        is_speech = voiced_frames > 0 && change_sum / voiced_frames >= kSpeechChangeDb;
        if (is_speech) starts_ms.push_back(start_ms);
    }

    void BeginPassage(std::int64_t frame, std::int32_t mark_ms, bool speech_already)
    {
        if (start_frame >= 0 && !judged && voiced_frames >= kJudgedAtEndFrames) Judge();
        start_frame = frame;
        start_ms = std::max(mark_ms, starts_ms.empty() ? 0 : starts_ms.back() + 1);
        judged = speech_already;
        is_speech = speech_already;
        voiced_frames = 0;
        change_sum = 0;
        if (speech_already) starts_ms.push_back(start_ms);
    }

    // A passage over the longest sentence is cut at its quietest frame.
    void CutLongPassage(std::int64_t frame)
    {
        const std::int64_t from = start_frame + FramesOf(1000);
        const std::int64_t to = frame - FramesOf(500);
        std::int64_t quietest = to;
        float lowest = std::numeric_limits<float>::max();
        for (std::int64_t i = std::max(from, features.Oldest() + 1); i + 1 < to; ++i) {
            const float level = features.At(i - 1).mean_snr_db + features.At(i).mean_snr_db + features.At(i + 1).mean_snr_db;
            if (level < lowest) {
                lowest = level;
                quietest = i;
            }
        }
        BeginPassage(quietest, static_cast<std::int32_t>(quietest * kFrameMs), judged && is_speech);
    }

    void Decide(std::int64_t frame)
    {
        const Frame& current = features.At(frame);
        bool now_voiced = voiced ? !Off(frame) : On(frame) && VoiceAhead(frame);
        if (now_voiced && !voiced) {
            // The pause ends at the first faint sound, not where the voice became clear.
            const std::int64_t first_sound = FirstSound(frame);
            const bool after_pause = !seen_voice || quiet_frames - (frame - first_sound) >= FramesOf(settings.min_pause_ms);
            if (after_pause) BeginPassage(frame, MarkMs(first_sound), false);
            seen_voice = true;
        }
        voiced = now_voiced;
        if (!voiced) pause_level_db += kPauseLevelFollow * (current.level_db - pause_level_db);
        quiet_frames = voiced ? 0 : quiet_frames + 1;
        if (start_frame < 0) return;
        if (voiced) {
            ++voiced_frames;
            change_sum += current.shape_change_db;
            if (!judged && voiced_frames >= kJudgedAfterFrames) Judge();
        }
        if (voiced && frame - start_frame > FramesOf(settings.max_sentence_ms)) CutLongPassage(frame);
    }

    void DecideUpTo(std::int64_t end)
    {
        for (; next_frame < end; ++next_frame) Decide(next_frame);
    }
};

SentenceFinder::SentenceFinder(Settings settings) : state_(std::make_unique<State>(settings)) {}
SentenceFinder::~SentenceFinder() = default;
SentenceFinder::SentenceFinder(SentenceFinder&&) noexcept = default;
SentenceFinder& SentenceFinder::operator=(SentenceFinder&&) noexcept = default;

void SentenceFinder::Feed(const float* samples, std::size_t count)
{
    if (samples == nullptr) return;
    // In pieces, so that no frame leaves the ring before it is decided on.
    constexpr std::size_t kPiece = 100 * kHop;
    while (count > 0) {
        const std::size_t piece = std::min(count, kPiece);
        state_->features.Feed(samples, piece);
        state_->DecideUpTo(state_->features.FrameCount() - kDelayFrames);
        samples += piece;
        count -= piece;
    }
}

void SentenceFinder::Finish()
{
    State& state = *state_;
    state.DecideUpTo(state.features.FrameCount());
    if (state.start_frame >= 0 && !state.judged && state.voiced_frames >= kJudgedAtEndFrames) state.Judge();
    state.start_frame = -1;
}

const std::vector<std::int32_t>& SentenceFinder::StartsMs() const { return state_->starts_ms; }

} // namespace morvane::sentences
