#include "map/travel.h"

#include "map/kyrmap.h"
#include "views/mainview.h"

namespace {

constexpr int kMapPanel = 3;

std::string NameOf(const KyrMap& map, int32_t key)
{
    const auto found = map.Locations().find(key);
    return found == map.Locations().end() ? std::string() : found->second->name;
}

const char* Why(Travel::StopReason reason)
{
    switch (reason) {
    case Travel::StopReason::PlayerCommand: return "you sent a command";
    case Travel::StopReason::Escape: return "you pressed Escape";
    case Travel::StopReason::MapChanged: return "the map changed";
    case Travel::StopReason::Disconnected: return "the connection closed";
    }
    return "";
}

} // namespace

Travel::Travel(MainView& m, std::function<void(int)> mover, std::function<void(Task)> later)
    : main(m)
    , move(std::move(mover))
    , soon(std::move(later))
{
}

void Travel::Start(const KyrMap& map, int32_t target)
{
    way.clear();
    next = 0;
    moveDue = false;
    destination = NameOf(map, target);
    if (target == map.Current()) {
        main.SetStatusText(kMapPanel, "You are already at " + destination);
        return;
    }
    way = FindPath(map, map.Current(), target);
    if (way.empty()) {
        main.SetStatusText(kMapPanel, "No known path to " + destination);
        return;
    }
    ShowProgress();
    Move();
}

void Travel::Arrived(const KyrMap& map)
{
    if (!Travelling())
        return;
    if (map.Current() != way[next].key) {
        const std::string where = NameOf(map, map.Current());
        way.clear();
        moveDue = false;
        main.SetStatusText(kMapPanel,
            "Travel to " + destination + " stopped: you arrived at " + (where.empty() ? std::string("a place") : where)
                + ", off the path");
        return;
    }
    if (++next < way.size()) {
        ShowProgress();
        moveDue = true;
        soon([this] { MoveIfDue(); });
        return;
    }
    way.clear();
    main.SetStatusText(kMapPanel, "Arrived at " + destination);
}

void Travel::TextSent(const std::string& text)
{
    // Every command ends in a line feed; the client's own replies are markup.
    if (!moving && !text.starts_with('<'))
        Stop(StopReason::PlayerCommand);
}

void Travel::Stop(StopReason reason)
{
    if (!Travelling())
        return;
    way.clear();
    moveDue = false;
    main.SetStatusText(kMapPanel, "Travel to " + destination + " stopped: " + Why(reason));
}

void Travel::MoveIfDue()
{
    if (!moveDue || !Travelling())
        return;
    moveDue = false;
    Move();
}

void Travel::Move()
{
    moving = true;
    move(way[next].exit);
    moving = false;
}

void Travel::ShowProgress() const
{
    const std::size_t left = way.size() - next;
    main.SetStatusText(kMapPanel,
        "Travelling to " + destination + ": " + std::to_string(left) + (left == 1 ? " step to go" : " steps to go"));
}
