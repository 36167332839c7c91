#pragma once
// Every address the client opens. Only the first three leave this machine;
// the help pages ship with the program under manual/ in the working
// directory.

namespace addresses {

inline constexpr const char* kVotingPage = "https://kyrn.example.org/vote";
inline constexpr const char* kExtrasPage = "https://kyrn.example.org/extras";
inline constexpr const char* kFeedbackMail = "mailto:feedback@kyrn.example.org";

// Pages under manual/ in the working directory.
inline constexpr const char* kManualFolder = "manual";
inline constexpr const char* kOrvixManual = "index.html";
inline constexpr const char* kGameManuals = "game.html";
inline constexpr const char* kMaps = "maps.html";
inline constexpr const char* kQuickStart = "quickstart.html";

} // namespace addresses
