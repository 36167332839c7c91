#include "social/tmc_code.h"

#include "settings/init.h"
#include "views/mainview.h"

Tmc::Tmc(Init& settings, MainView& mainView, PageOpener opener, Clock now)
    : init(settings)
    , view(mainView)
    , openVotingPage(std::move(opener))
    , clock(std::move(now))
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
    return SinceVote() > kInterval;
}

void Tmc::Vote()
{
    // A vote time ahead of the clock counts as a recent vote.
    if (SinceVote() <= kInterval) {
        view.ShowMessage(MessageKind::Error, "You've already voted\nin the last 24 hours!");
        return;
    }
    openVotingPage();
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
