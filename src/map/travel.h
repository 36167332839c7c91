#pragma once
// Travel by the map: walks the avatar along the shortest known way to a
// location picked on the map, one move at a time. Each move goes out when
// the server has put the avatar on the location the previous one led to,
// so the server keeps the pace and the last word; the status bar tells
// where the avatar is going, and why it stopped.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "map/path_finder.h"

class KyrMap;
class MainView;

class Travel {
public:
    enum class StopReason { PlayerCommand, Escape, MapChanged, Disconnected };

    using Task = std::function<void()>;

    // `move` shows and sends the move through exit 0 ("n") to 7 ("nw") as
    // the movement button for it does; `soon` runs a task once the lines
    // already received are handled, so a move follows the whole of the
    // location's text.
    Travel(MainView& main, std::function<void(int exit)> move, std::function<void(Task)> soon);

    // Sets out from the map's current location for the one at `target`.
    void Start(const KyrMap& map, int32_t target);
    // The end of an s-new-loc: the next move, or the end of the travel;
    // a location off the way stops it.
    void Arrived(const KyrMap& map);
    // Any text the client sends: a command of the player's stops travel;
    // travel's own moves and the client's markup replies do not.
    void TextSent(const std::string& text);
    void Stop(StopReason reason);

    bool Travelling() const { return next < way.size(); }

private:
    void Move();
    // The move due after an arrival, unless travel stopped meanwhile.
    void MoveIfDue();
    void ShowProgress() const;

    MainView& main;
    std::function<void(int)> move;
    std::function<void(Task)> soon;
    bool moveDue = false;
    std::vector<PathStep> way;
    std::size_t next = 0; // the step sent and awaited
    std::string destination;
    bool moving = false;
};
