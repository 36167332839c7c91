// The voting reminder: the 24-hour rule on 64 bits.
#include <gtest/gtest.h>

#include "social/tmc_code.h"
#include "support/account_settings.h"

namespace {

constexpr std::int64_t kNow = 1796479387;

TEST(TmcRules, ReminderAndVoteByTimeSinceTheLastVote)
{
    const struct {
        std::int64_t votingTime;
        bool due, voteOpens; // a reminder at start-up; "Vote Now" opens the page, else the error box
    } rows[] = {{0, false, true}, // reminders off; voting turns them on
        {kNow - 86400, false, false}, {kNow - 86401, true, true}, {kNow, false, false}, // a day is within it
        {kNow + 3600, false, false},
        {kNow - (std::int64_t{1} << 40), true, true}}; // ahead of the clock; beyond 32 bits
    for (const auto& row : rows) {
        AccountSettings s;
        int opened = 0;
        Tmc tmc(
            s.init, s.view, [&] { ++opened; }, [] { return kNow; });
        s.init.SetVotingTime(row.votingTime);
        EXPECT_EQ(tmc.ReminderDue(), row.due) << row.votingTime;
        tmc.Vote();
        const std::string refused = s.view.messages.empty() ? "" : s.view.messages[0].second; // in an error box
        EXPECT_EQ(
            std::to_string(opened) + refused, row.voteOpens ? "1" : "0You've already voted\nin the last 24 hours!");
        EXPECT_EQ(s.init.VotingTime(), row.voteOpens ? kNow : row.votingTime);
    }
    AccountSettings s; // "Already Voted" postpones the next reminder a day, "Cancel" ends them; times are written whole
    Tmc tmc(s.init, s.view, {}, [] { return kNow; });
    tmc.AlreadyVoted();
    EXPECT_EQ(s.init.VotingTime(), kNow) << "already voted: the next reminder a day from now";
    tmc.Cancel();
    EXPECT_EQ(s.init.VotingTime(), 0) << "cancelled: no more reminders";
    s.init.SetVotingTime(std::int64_t{1} << 33);
    EXPECT_TRUE(s.init.WriteSettings() && s.File().find("\t<voting time='8589934592'/>\n") != std::string::npos);
}

} // namespace
