#include "social/tmc_code.h"

#include "settings/init.h"
#include "base/addresses.h"
#include "views/mainview.h"

Tmc::Tmc(Init& settings, MainView& mainView, UrlOpener opener, Clock now)
    : init(settings), view(mainView), openUrl(std::move(opener)), clock(std::move(now))
{
}

std::int64_t Tmc::SinceVote() const
{
    return clock() - init.VotingTime();
}

bool Tmc::ReminderDue() const
{
    if (init.VotingTime() == 0)
        return false;
    const std::int64_t since = SinceVote();
    return since > kInterval || since < 0;
}

void Tmc::Vote()
{
    const std::int64_t since = SinceVote();
    if (since >= 0 && since <= kInterval) {
        view.ShowMessage(MessageKind::Error, "You've already voted\nin the last 24 hours!");
        return;
    }
    openUrl(addresses::kVotingPage);
    init.SetVotingTime(clock());
}

void Tmc::AlreadyVoted()
{
    init.SetVotingTime(clock());
}

void Tmc::Cancel()
{
    init.SetVotingTime(0);
}
