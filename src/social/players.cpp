#include "social/players.h"

#include "views/mainview.h"

Players::Players(MainView& v)
    : view(v)
{
}

void Players::AddPlayer(const std::string& name)
{
    if (name.size() > kMaxNameBytes || roster.size() >= kMaxPlayers)
        return;
    if (roster.try_emplace(name, Persona{name}).second)
        view.AddPlayerItem(name);
}

void Players::RemovePlayer(const std::string& name)
{
    if (roster.erase(name) != 0)
        view.RemovePlayerItem(name);
}

void Players::Clear()
{
    roster.clear();
    view.ClearPlayerList();
}
