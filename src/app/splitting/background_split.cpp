#include "app/splitting/background_split.h"

namespace morvane::splitting {

void BackgroundSplit::Start(const std::u16string& path, const sentences::Settings& settings,
                            std::function<void(int percent)> progress, std::function<void(Found)> done)
{
    Stop();
    auto job = std::make_shared<Job>();
    job->progress = std::move(progress);
    job->done = std::move(done);
    job_ = job;
    // A task posted back finds its job only while that search is the one
    // under way: one that was stopped is dropped.
    const std::weak_ptr<Job> posted = job;
    // Made, used and destroyed on the worker: Media Foundation's reader
    // belongs to the thread that opened it.
    worker_ = std::thread([this, path, settings, posted, make_decoder = make_decoder_]() mutable {
        std::unique_ptr<audio::Decoder> decoder = make_decoder();
        auto cancelled = [&posted] {
            const std::shared_ptr<Job> job = posted.lock();
            return !job || job->cancel.load();
        };
        auto progress = [this, posted](int percent) {
            window_.Post([posted, percent] {
                if (const std::shared_ptr<Job> job = posted.lock()) job->progress(percent);
            });
        };
        Found found;
        if (decoder) found = FindInFile(*decoder, path, settings, progress, cancelled);
        else found.reason = u"无法解码音频";
        decoder.reset();
        window_.Post([this, posted, found = std::move(found)]() mutable {
            if (const std::shared_ptr<Job> job = posted.lock()) Finished(job, std::move(found));
        });
    });
}

void BackgroundSplit::Finished(const std::shared_ptr<Job>& job, Found found)
{
    // The worker posted this as its last act: the join is at once.
    if (worker_.joinable()) worker_.join();
    job_.reset();
    job->done(std::move(found));
}

void BackgroundSplit::Stop()
{
    if (job_) job_->cancel = true;
    if (worker_.joinable()) worker_.join();
    job_.reset();
}

} // namespace morvane::splitting
