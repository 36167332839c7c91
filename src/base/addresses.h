#pragma once
// Every address the client opens. The help pages ship with the program under
// manual/ in the working directory; so do stand-in pages for the three
// outside addresses, which whoever runs Orvix points at the real ones through
// environment variables.

#include <QString>
#include <QUrl>

namespace addresses {

// Pages under manual/ in the working directory.
inline constexpr const char* kManualFolder = "manual";
inline constexpr const char* kOrvixManual = "index.html";
inline constexpr const char* kGameManuals = "game.html";
inline constexpr const char* kMaps = "maps.html";
inline constexpr const char* kQuickStart = "quickstart.html";

// The outside addresses: the variable that sets each, and its bundled page.
inline constexpr const char* kVotingVariable = "ORVIX_VOTING_URL";
inline constexpr const char* kVotingStandIn = "vote.html";
inline constexpr const char* kExtrasVariable = "ORVIX_EXTRAS_URL";
inline constexpr const char* kExtrasStandIn = "extras.html";
inline constexpr const char* kFeedbackVariable = "ORVIX_FEEDBACK_URL";
inline constexpr const char* kFeedbackStandIn = "feedback.html";

struct Outside {
    QUrl votingPage;
    QUrl extrasPage;
    QUrl feedback; // a mail or web address
};

// Each address from its environment variable when that holds a usable
// address, else the bundled page in `manualFolder`.
Outside ReadOutside(const QString& manualFolder);

} // namespace addresses
