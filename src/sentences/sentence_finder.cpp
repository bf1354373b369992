#include "sentences/sentence_finder.h"

namespace morvane::sentences {

struct SentenceFinder::State {
    Settings settings;
    std::vector<std::int32_t> starts_ms;
};

SentenceFinder::SentenceFinder(Settings settings) : state_(std::make_unique<State>()) { state_->settings = settings; }
SentenceFinder::~SentenceFinder() = default;
SentenceFinder::SentenceFinder(SentenceFinder&&) noexcept = default;
SentenceFinder& SentenceFinder::operator=(SentenceFinder&&) noexcept = default;

void SentenceFinder::Feed(const float*, std::size_t) {}
void SentenceFinder::Finish() {}
const std::vector<std::int32_t>& SentenceFinder::StartsMs() const { return state_->starts_ms; }

} // namespace morvane::sentences
