#pragma once
// The daily reminder to vote for the game on The Mud Connector: when the
// player last voted, whether a reminder is due, and the three answers.

#include <cstdint>
#include <functional>
#include <string>

#include "base/clock.h"

class Init;
class MainView;

class Tmc {
public:
    using UrlOpener = std::function<void(const std::string& address)>;

    Tmc(Init& init, MainView& view, UrlOpener openUrl, Clock clock = SystemClock());

    // A day and more since the last vote, unless reminders are off. A vote
    // time ahead of the clock counts as due, so a clock that was once wrong
    // cannot silence the reminders for years.
    bool ReminderDue() const;

    // "Vote Now": opens the voting page unless the player voted in the last
    // 24 hours, which is said in an error box instead.
    void Vote();
    // "Already Voted": the next reminder comes a day from now.
    void AlreadyVoted();
    // "Cancel": no more reminders.
    void Cancel();

    static constexpr std::int64_t kInterval = 86400;

private:
    // Seconds since the last vote; negative when the vote time is ahead.
    std::int64_t SinceVote() const;

    Init& init;
    MainView& view;
    UrlOpener openUrl;
    Clock clock;
};
