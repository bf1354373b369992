#include "player/player_choice.h"

#include <utility>

#include "player/choose_player.h"

namespace morvane {

std::optional<std::size_t> WantedCandidate(const std::optional<std::u16string>& wish,
                                           const std::vector<Candidate>& candidates)
{
    if (!wish) return std::nullopt;
    std::u16string name = *wish;
    for (char16_t& c : name)
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    for (std::size_t k = 0; k < candidates.size(); ++k)
        if (candidates[k].option == name) return k;
    return candidates.size();
}

PlayerChoice::PlayerChoice(std::vector<Candidate> candidates, std::optional<std::size_t> wanted)
    : candidates_(std::move(candidates)), wanted_(wanted)
{
    if (wanted_ && *wanted_ < candidates_.size()) chosen_ = wanted_;
}

void PlayerChoice::Refresh()
{
    if (wanted_) {
        if (*wanted_ < candidates_.size()) candidates_[*wanted_].link->Refresh();
        return;
    }
    for (const Candidate& candidate : candidates_) candidate.link->Refresh();
    Choose();
}

void PlayerChoice::Choose()
{
    std::vector<std::size_t> running;
    for (std::size_t i = 0; i < candidates_.size(); ++i)
        if (candidates_[i].link->FindPlayer() != 0) running.push_back(i);
    std::optional<std::size_t> in_use;
    for (std::size_t k = 0; k < running.size(); ++k)
        if (running[k] == chosen_) in_use = k;
    const std::optional<std::size_t> pick = ChoosePlayer(
        running.size(), in_use, [&](std::size_t k) { return candidates_[running[k]].link->GetPlayState(); });
    // None: the last one stays, answering as a missing player does.
    if (pick) chosen_ = running[*pick];
}

std::uintptr_t PlayerChoice::FindPlayer()
{
    if (!chosen_ || (wanted_ && *wanted_ >= candidates_.size())) return 0;
    return Current().FindPlayer();
}

bool PlayerChoice::ReadTitle(std::u16string& title) { return chosen_ && Current().ReadTitle(title); }

std::u16string PlayerChoice::Name() { return Current().Name(); }

std::u16string PlayerChoice::NotFoundMessage()
{
    if (!wanted_) return u"没有找到正在运行的播放器!\r\n请先打开Winamp、PotPlayer或AIMP";
    if (*wanted_ < candidates_.size()) return Current().NotFoundMessage();
    std::u16string names;
    for (std::size_t i = 0; i < candidates_.size(); ++i)
        names += (i == 0 ? u"" : i + 1 == candidates_.size() ? u" 或 " : u"、") + candidates_[i].option;
    return u"--player 后面应是 " + names + u"\r\n例如 morvane.exe --player potplayer";
}

} // namespace morvane
