#include "social/friends_code.h"

#include <algorithm>

#include "markup/xml.h"
#include "base/ansi_case.h"
#include "base/datafiles.h"
#include "views/mainview.h"

Friends::Friends(MainView& v)
    : view(v)
{
}

bool Friends::RankChosen(int32_t rank) const
{
    // The server's number is not trusted: a rank outside the sixteen we know
    // matches nothing instead of shifting past the set.
    return rank >= 0 && rank < kRankCount && (ranks & (1u << rank)) != 0;
}

void Friends::PlayerChanged(int32_t rank, const std::string& name, bool loggedIn)
{
    if (loggedIn && RankChosen(rank)) {
        view.DisplayText(name + " is logged into the game.");
        PlayAlert();
        return;
    }
    if (std::find(names.begin(), names.end(), name) == names.end())
        return;
    if (loggedIn)
        view.AddFriendItem(name);
    else
        view.RemoveFriendItem(name);
    view.DisplayText(name + " is " + (loggedIn ? "logged into" : "logged out of") + " the game.");
    PlayAlert();
}

void Friends::PlayAlert()
{
    if (!audio)
        return;
    const std::string folder = view.WorkDir() + "/sounds";
    std::string path = FindNamedDataFile(folder, "friends.wav");
    if (path.empty())
        path = FindNamedDataFile(folder, "alert.wav");
    if (!path.empty())
        view.PlaySound(path);
}

void Friends::SetRanks(uint32_t value)
{
    ranks |= static_cast<uint16_t>(value & 0xFFFFu);
}

void Friends::SetAudio()
{
    audio = true;
}

void Friends::AddName(const std::string& name)
{
    // Compared in the form it is kept in, so a file listing one friend twice
    // in different cases gives one entry.
    std::string kept = Capitalised(name);
    if (std::find(names.begin(), names.end(), kept) == names.end())
        names.push_back(std::move(kept));
}

std::string Friends::FriendsBlock() const
{
    if (names.empty() && ranks == 0)
        return {};
    std::string block
        = "   <friends-list ranks='" + std::to_string(ranks) + "' audio='" + (audio ? "true" : "false") + "'>\n";
    for (const std::string& name : names)
        block += "      <friend name='" + EscapeText(name) + "'/>\n";
    block += "   </friends-list>\n\n";
    return block;
}

void Friends::Replace(uint16_t newRanks, bool newAudio, const std::vector<std::string>& newNames)
{
    ranks = newRanks;
    audio = newAudio;
    names.clear();
    for (const std::string& name : newNames)
        names.push_back(Capitalised(name));
}
