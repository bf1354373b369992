#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "app/ports/window.h"
#include "app/splitting/find_in_file.h"

namespace morvane::splitting {

// Finds the sentences of a recording off the window's thread. What it hears
// comes back through the window's own event queue, so every handler still
// runs on the one thread and the worker shares nothing with the form.
class BackgroundSplit {
public:
    using MakeDecoder = std::function<std::unique_ptr<audio::Decoder>()>;
    BackgroundSplit(Window& window, MakeDecoder make_decoder)
        : window_(window), make_decoder_(std::move(make_decoder))
    {
    }
    // Stops the work and waits for it.
    ~BackgroundSplit() { Stop(); }
    BackgroundSplit(const BackgroundSplit&) = delete;
    BackgroundSplit& operator=(const BackgroundSplit&) = delete;

    bool Running() const { return job_ != nullptr; }
    // Starts on `path`, stopping any search under way. `progress` and `done`
    // run on the window's thread; `done` once, unless the search is stopped.
    void Start(const std::u16string& path, const sentences::Settings& settings,
               std::function<void(int percent)> progress, std::function<void(Found)> done);
    // Stops the search; its `done` never runs.
    void Stop();

private:
    struct Job {
        std::atomic<bool> cancel{false};
        std::function<void(int)> progress;
        std::function<void(Found)> done;
    };
    void Finished(const std::shared_ptr<Job>& job, Found found);

    Window& window_;
    MakeDecoder make_decoder_;
    std::shared_ptr<Job> job_;  // the search under way; the worker holds it only weakly
    std::thread worker_;
};

} // namespace morvane::splitting
