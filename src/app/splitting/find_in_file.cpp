#include "app/splitting/find_in_file.h"

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

#include "audio/decode_error_text.h"
#include "audio/decode_file.h"
#include "stamps/stamps.h"

namespace morvane::splitting {
namespace {

// The finder on a thread of its own, so that it works while the next
// samples decode. It takes them in chunks of 2 s, a few at most
// waiting: what it holds stays bounded whatever the length of the file.
class FinderThread {
public:
    explicit FinderThread(const sentences::Settings& settings) : finder_(settings), thread_([this] { Run(); }) {}
    // Drops what still waits.
    ~FinderThread()
    {
        if (!thread_.joinable()) return;
        {
            const std::lock_guard lock(mutex_);
            stopped_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }
    FinderThread(const FinderThread&) = delete;
    FinderThread& operator=(const FinderThread&) = delete;

    void Feed(std::span<const float> samples)
    {
        filling_.insert(filling_.end(), samples.begin(), samples.end());
        if (filling_.size() >= kChunkSamples) HandOn();
    }

    // After the last samples: the sentence starts found.
    std::vector<std::int32_t> Finish()
    {
        HandOn();
        {
            const std::lock_guard lock(mutex_);
            closed_ = true;
        }
        changed_.notify_all();
        thread_.join();
        finder_.Finish();
        return finder_.StartsMs();
    }

private:
    static constexpr std::size_t kChunkSamples = 8 * audio::kBlockSamples;  // 2 s
    static constexpr std::size_t kMostWaiting = 4;

    void HandOn()
    {
        if (filling_.empty()) return;
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return waiting_.size() < kMostWaiting; });
        waiting_.push_back(std::move(filling_));
        filling_.clear();
        if (!spare_.empty()) {
            filling_ = std::move(spare_.back());
            spare_.pop_back();
        }
        lock.unlock();
        changed_.notify_all();
    }

    void Run()
    {
        std::unique_lock lock(mutex_);
        while (true) {
            changed_.wait(lock, [this] { return stopped_ || closed_ || !waiting_.empty(); });
            if (stopped_ || waiting_.empty()) return;
            std::vector<float> chunk = std::move(waiting_.front());
            waiting_.pop_front();
            lock.unlock();
            changed_.notify_all();
            finder_.Feed(chunk.data(), chunk.size());
            chunk.clear();
            lock.lock();
            spare_.push_back(std::move(chunk));
        }
    }

    sentences::SentenceFinder finder_;  // the thread's alone until it is joined
    std::vector<float> filling_;        // the caller's alone
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::vector<float>> waiting_;
    std::vector<std::vector<float>> spare_;  // chunks the finder is done with, to be filled again
    bool closed_ = false;
    bool stopped_ = false;
    std::thread thread_;
};

} // namespace

Found FindInFile(audio::Decoder& decoder, const std::u16string& path, const sentences::Settings& settings,
                 const std::function<void(int percent)>& progress, const std::function<bool()>& cancelled)
{
    static_assert(audio::kDecodedRate == sentences::kSampleRate);
    // The decoder stays on this thread, which made it.
    FinderThread finder(settings);
    std::optional<std::int64_t> duration_ms;
    std::int64_t samples = 0;
    int shown = -1;
    audio::DecodeCallbacks callbacks;
    callbacks.opened = [&](std::optional<std::int64_t> ms) { duration_ms = ms; };
    callbacks.block = [&](std::span<const float> block) {
        finder.Feed(block);
        samples += static_cast<std::int64_t>(block.size());
        const std::optional<int> percent = audio::ProgressPercent(samples, duration_ms);
        if (percent && *percent != shown && progress) progress(shown = *percent);
    };
    callbacks.cancelled = cancelled;

    const audio::DecodeOutcome outcome = audio::DecodeFile(decoder, path, callbacks);
    Found found;
    if (outcome.cancelled) {
        found.end = Found::End::Cancelled;
    } else if (outcome.error) {
        found.reason = audio::DecodeErrorText(*outcome.error);
    } else {
        found.length_ms = static_cast<std::int32_t>(
            std::min<std::int64_t>(outcome.samples * 1000 / audio::kDecodedRate, INT32_MAX));
        found.starts_ms = finder.Finish();
        found.end = found.starts_ms.empty() ? Found::End::NoSpeech : Found::End::Sentences;
    }
    return found;
}

std::vector<std::u16string> SentenceEntries(const std::vector<std::int32_t>& starts_ms)
{
    std::vector<std::u16string> entries;
    entries.reserve(starts_ms.size());
    for (const std::int32_t ms : starts_ms) entries.push_back(FormatMs(ms));
    return entries;
}

} // namespace morvane::splitting
