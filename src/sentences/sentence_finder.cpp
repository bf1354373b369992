#include "sentences/sentence_finder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "sentences/frame_features.h"

namespace morvane::sentences {
namespace {

constexpr int kHop = FrameFeatures::kHop;
constexpr int kFrameMs = 1000 * kHop / kSampleRate;  // 10 ms

// A frame is voiced when its loudest bands stand this far above their
// floors (dB), and stays voiced until they fall below kOffDb.
constexpr float kOnDb = 10.0f;
constexpr float kOffDb = 6.0f;
// The first sound of a sentence: still this far above the floors.
constexpr float kFaintDb = 6.0f;
// Nothing this far below the speech level counts as sound, whatever the floors.
constexpr float kBelowSpeechDb = 38.0f;
// A sentence ends sooner: below this, what still sounds is mostly the
// room's echo of it.
constexpr float kEndBelowSpeechDb = 25.0f;
// Speech changes the shape of its spectrum all the time, held notes do not:
// the median change over kChangeFrames frames around a frame (dB).
constexpr float kSpeechChangeDb = 2.2f;
constexpr float kVoiceChangeOnDb = 2.5f;
constexpr float kVoiceChangeOffDb = 1.2f;
constexpr int kChangeFrames = 11;
// Voice ends for a steady sound only when it held this long: a long vowel is not a note.
constexpr int kSteadyFrames = 31;
// Where too few bands stand out to tell: neither voiced nor not.
constexpr float kUnknownChangeDb = (kVoiceChangeOnDb + kVoiceChangeOffDb) / 2;
// A start holds when this many of the frames that follow it are voiced.
constexpr int kConfirmFrames = 50;
constexpr int kOnsetFrames = 8;
constexpr int kOnsetVoiced = 4;
constexpr int kLaterVoiced = 3;
// A note: loud and unchanging for kHeldNote of the frames up to kHeldFrames after its onset.
constexpr int kHeldFrames = 30;
constexpr int kHeldNote = 10;
// The level of a pause: over this many of the last unvoiced frames.
constexpr int kPauseLevelFrames = 31;
constexpr float kAbovePauseDb = 3.0f;
constexpr float kOnAbovePauseDb = 9.0f;
// A pause that stands above the floors holds a bed, such as music; the
// voice must stand out of it by as much as the bed stands above the floors
// less kBedDb, up to kOnAbovePauseDb.
constexpr float kBedDb = 3.0f;
constexpr int kBacktrackFrames = 20;
// How much of a pause noise seems to add: nothing where speech stands
// kUnmaskedDb above the floors, then kMaskedMsPerDb for each dB less.
constexpr float kUnmaskedDb = 35.0f;
constexpr float kMaskedMsPerDb = 6.0f;
constexpr float kMostMaskedMs = 90.0f;
// The share of that which falls on the start of the next sentence.
constexpr float kHiddenStartShare = 0.3f;
// About as quiet as the quietest: within this, over three frames (dB).
constexpr float kAsQuietDb = 1.0f;
// What the decision waits for: the frames it looks ahead at.
constexpr int kDelayFrames = kConfirmFrames + kSteadyFrames / 2 + 1;
// A passage is judged speech or not on this many voiced frames, or its end.
constexpr int kJudgedAfterFrames = 80;
constexpr int kJudgedAtEndFrames = 10;

int FramesOf(int ms) { return std::max(1, ms / kFrameMs); }

// Settings within what the finder can honour in bounded memory.
Settings Bounded(Settings settings)
{
    settings.min_pause_ms = std::clamp(settings.min_pause_ms, 0, 10'000);
    settings.max_sentence_ms = std::clamp(settings.max_sentence_ms, 2'000, 600'000);
    settings.lead_ms = std::clamp(settings.lead_ms, 0, 100);
    return settings;
}

} // namespace

struct SentenceFinder::State {
    Settings settings;
    FrameFeatures features;
    std::vector<std::int32_t> starts_ms;

    std::int64_t next_frame = 0;  // the next frame the decisions look at
    bool voiced = false;
    float pause_level_db = -200;
    std::array<float, kPauseLevelFrames> pause_levels{};
    int pause_level_next = 0;
    int pause_level_count = 0;
    bool seen_voice = false;
    std::int64_t quiet_frames = 0;  // since the last voiced frame

    // The passage since the last start, until it is judged.
    std::int64_t start_frame = -1;
    std::int32_t start_ms = 0;
    bool judged = false;
    bool is_speech = false;
    int voiced_frames = 0;
    double change_sum = 0;

    struct ChangeKnown {
        std::int64_t frame = -1;
        float change_db = 0;
    };
    static constexpr std::int64_t kChangesKnown = 64;  // more than VoiceAhead looks at
    mutable std::array<ChangeKnown, kChangesKnown> changes_known{};

    explicit State(Settings s)
        : settings(Bounded(s)), features(FramesOf(settings.max_sentence_ms) + kDelayFrames + kBacktrackFrames + 100)
    {
    }

    // Over the frames around that stand above the floors: silence around a
    // short word says nothing of its shape.
    float ChangeAround(std::int64_t frame) const
    {
        // Asked of the same frames again and again while a pause is looked
        // through; the frames around are final by then, and so is the answer.
        ChangeKnown* known = nullptr;
        if (frame >= 0) known = &changes_known[static_cast<std::size_t>(frame % kChangesKnown)];
        if (known != nullptr && known->frame == frame) return known->change_db;
        std::array<float, kChangeFrames> changes{};
        int count = 0;
        for (std::int64_t i = frame - kChangeFrames / 2; i <= frame + kChangeFrames / 2; ++i) {
            const Frame& around = features.At(i);
            if (around.top_snr_db >= kOffDb && around.shape_change_db >= 0) changes[count++] = around.shape_change_db;
        }
        float change_db = kUnknownChangeDb;
        if (count > 0) {
            std::nth_element(changes.begin(), changes.begin() + count / 2, changes.begin() + count);
            change_db = changes[count / 2];
        }
        if (known != nullptr) *known = {frame, change_db};
        return change_db;
    }
    // Whether the same median over kSteadyFrames lies below `limit`: whether
    // more than half of the changes counted do.
    bool SteadyChangeBelow(std::int64_t frame, float limit) const
    {
        int count = 0;
        int below = 0;
        for (std::int64_t i = frame - kSteadyFrames / 2; i <= frame + kSteadyFrames / 2; ++i) {
            const Frame& around = features.At(i);
            if (around.top_snr_db >= kOffDb && around.shape_change_db >= 0) {
                ++count;
                if (around.shape_change_db < limit) ++below;
            }
        }
        return count == 0 ? kUnknownChangeDb < limit : below > count / 2;
    }
    bool On(std::int64_t index) const
    {
        const Frame& frame = features.At(index);
        return frame.top_snr_db > kOnDb && frame.level_db > frame.speech_level_db - kBelowSpeechDb &&
               frame.level_db > pause_level_db + BedMarginDb(frame) && ChangeAround(index) > kVoiceChangeOnDb;
    }
    float BedMarginDb(const Frame& frame) const
    {
        return std::clamp(pause_level_db - frame.floor_level_db - kBedDb, 0.0f, kOnAbovePauseDb);
    }
    bool Off(std::int64_t index) const
    {
        const Frame& frame = features.At(index);
        return frame.top_snr_db < kOffDb || frame.level_db < frame.speech_level_db - kEndBelowSpeechDb ||
               SteadyChangeBelow(index, kVoiceChangeOffDb);
    }

    // Speech ahead, not a click or the attack of a note: voiced at once, and
    // still after the change of shape that any onset brings has passed.
    bool VoiceAhead(std::int64_t frame) const
    {
        int at_once = 0;
        int later = 0;
        int held = 0;
        for (std::int64_t i = frame; i < frame + kConfirmFrames; ++i) {
            const bool after_onset = i >= frame + FrameFeatures::kChangeSpan + 2;
            const bool loud = features.At(i).top_snr_db > kOnDb;
            if (after_onset && i < frame + kHeldFrames && loud && ChangeAround(i) < kVoiceChangeOnDb) ++held;
            if (!On(i)) continue;
            if (i < frame + kOnsetFrames) ++at_once;
            if (after_onset) ++later;
        }
        return at_once >= kOnsetVoiced && later >= kLaterVoiced && held < kHeldNote;
    }

    // Back from the frame that was clearly voiced to the first faint sound:
    // above the floors as they are now, and above what the pause before it
    // held (a music bed). Back to the first window: sound from the start.
    std::int64_t FirstSound(std::int64_t frame) const
    {
        std::int64_t earliest = std::max<std::int64_t>({0, frame - kBacktrackFrames, features.Oldest()});
        if (FrameFeatures::BeforeFirstWindow(earliest - kBacktrackFrames)) earliest = 0;
        while (frame > earliest) {
            if (FrameFeatures::BeforeFirstWindow(frame - 1)) return 0;
            const Frame& before = features.At(frame - 1);
            if (features.TopSnrNow(frame - 1) < kFaintDb || before.level_db < before.speech_level_db - kBelowSpeechDb ||
                before.level_db < pause_level_db + kAbovePauseDb)
                break;
            --frame;
        }
        return frame;
    }

    // Before the floors knew the recording, its first sounds may have set
    // them: the first sentence reaches back over pauses too short to end it.
    std::int64_t FirstSoundOfRecording(std::int64_t frame) const
    {
        std::int64_t first = FirstSound(frame);
        std::int64_t quiet = 0;
        for (std::int64_t i = first - 1; i >= features.Oldest() && quiet < FramesOf(settings.min_pause_ms); --i) {
            if (FrameFeatures::BeforeFirstWindow(i)) return 0;
            if (features.TopSnrNow(i) >= kOnDb) {
                first = FirstSound(i);
                i = first;
                quiet = 0;
            } else {
                ++quiet;
            }
        }
        return first;
    }

    std::int32_t MarkMs(std::int64_t first_sound_frame) const
    {
        // A frame's sound may stand anywhere in its window; the middle of it
        // is where a first sound shows.
        if (first_sound_frame == 0) return 0;
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

    // A passage over the longest sentence is cut at its quietest frame; of
    // frames about as quiet, at the one nearest its middle.
    void CutLongPassage(std::int64_t frame)
    {
        const std::int64_t from = std::max(start_frame + FramesOf(1000), features.Oldest() + 1);
        const std::int64_t to = frame - FramesOf(500);
        const std::int64_t middle = (start_frame + frame) / 2;
        std::int64_t quietest = to;
        float lowest = std::numeric_limits<float>::max();
        for (std::int64_t i = from; i + 1 < to; ++i) {
            const float level = features.At(i - 1).mean_snr_db + features.At(i).mean_snr_db + features.At(i + 1).mean_snr_db;
            const bool as_quiet = std::abs(level - lowest) <= kAsQuietDb;
            if ((level < lowest && !as_quiet) || (as_quiet && std::abs(i - middle) < std::abs(quietest - middle))) {
                lowest = std::min(lowest, level);
                quietest = i;
            }
        }
        BeginPassage(quietest, static_cast<std::int32_t>(quietest * kFrameMs), judged && is_speech);
    }

    // Noise hides the faint end of a word and the faint start of the next,
    // so a pause seems longer than it is, the more so the less the speech
    // stands above the floors.
    float MaskedMs(const Frame& frame) const
    {
        const float clear_db = frame.speech_level_db - frame.floor_level_db;
        return std::clamp((kUnmaskedDb - clear_db) * kMaskedMsPerDb, 0.0f, kMostMaskedMs);
    }

    // The median of the last unvoiced frames: neither a short dip in a bed
    // nor the faint end of a word moves it.
    void FollowPauseLevel(float level_db)
    {
        pause_levels[static_cast<std::size_t>(pause_level_next)] = level_db;
        pause_level_next = (pause_level_next + 1) % kPauseLevelFrames;
        pause_level_count = std::min(pause_level_count + 1, kPauseLevelFrames);
        const int count = pause_level_count;
        auto sorted = pause_levels;
        std::nth_element(sorted.begin(), sorted.begin() + count / 2, sorted.begin() + count);
        pause_level_db = sorted[count / 2];
    }

    void Decide(std::int64_t frame)
    {
        const Frame& current = features.At(frame);
        bool now_voiced = voiced ? !Off(frame) : On(frame) && VoiceAhead(frame);
        if (now_voiced && !voiced) {
            // The pause ends at the first faint sound, not where the voice became clear.
            const std::int64_t first_sound = seen_voice ? FirstSound(frame) : FirstSoundOfRecording(frame);
            const auto masked_frames = static_cast<std::int64_t>(MaskedMs(current)) / kFrameMs;
            const bool after_pause =
                !seen_voice || quiet_frames - (frame - first_sound) >= FramesOf(settings.min_pause_ms) + masked_frames;
            // The hidden start of the sentence lies before the first sound found.
            const auto hidden_ms = static_cast<std::int32_t>(kHiddenStartShare * MaskedMs(current));
            if (after_pause) BeginPassage(frame, std::max(0, MarkMs(first_sound) - hidden_ms), false);
            seen_voice = true;
        }
        voiced = now_voiced;
        if (!voiced) FollowPauseLevel(current.level_db);
        quiet_frames = voiced ? 0 : quiet_frames + 1;
        if (start_frame < 0) return;
        if (voiced) {
            ++voiced_frames;
            change_sum += std::max(0.0f, current.shape_change_db);
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
